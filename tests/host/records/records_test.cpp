#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "hostapp/records/record_file.h"
#include "params/record/default_parameters.h"
#include "params/record/parameter_fields.h"
#include "params/record/record_codec.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class RecordFiles : public testing_support::ScratchFolderTest {
 protected:
  RecordFiles() : ScratchFolderTest("spiral-records-") {}
};

TEST(RecordLayout, PersistedFormIsLittleEndianWords) {
  SpiralParameters r = defaultParameters(306, 396);
  unsigned char bytes[kSpiralParametersSize];
  encodeParameters(r, bytes);
  const unsigned char armCount[4] = {10, 0, 0, 0};
  EXPECT_EQ(std::memcmp(bytes + 156, armCount, 4), 0);
  const unsigned char armGap[4] = {0x00, 0x00, 0x48, 0x43};  // 200.0f
  EXPECT_EQ(std::memcmp(bytes + 204, armGap, 4), 0);
  SpiralParameters back{};
  decodeParameters(bytes, back);
  EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
}

TEST(RecordLayout, FieldsAreFoundByNameAtTheirOffsets) {
  SpiralParameters r{};
  EXPECT_EQ(findParameterField("armCount")->offset, offsetof(SpiralParameters, armCount));
  EXPECT_EQ(findParameterField("dialogBoundsValid")->offset, offsetof(SpiralParameters, dialogBoundsValid));
  EXPECT_EQ(findParameterField("nope"), nullptr);
  records::applyAssignment(r, "dialogBoundsValid=1");
  EXPECT_EQ(r.dialogBoundsValid, 1);
}

TEST(RecordText, AssignmentsByFieldName) {
  SpiralParameters r = defaultParameters(0, 0);
  records::applyAssignment(r, "armCount=12");
  records::applyAssignment(r, "threePoints=1");
  records::applyAssignment(r, "closeSpiral=on");
  records::applyAssignment(r, "armGap=12.5");
  records::applyAssignment(r, "decay=nan");
  EXPECT_EQ(r.armCount, 12);
  EXPECT_EQ(r.threePoints, 1);
  EXPECT_EQ(r.closeSpiral, 1);
  EXPECT_FLOAT_EQ(r.armGap, 12.5f);
  EXPECT_TRUE(std::isnan(r.decay));
  for (const char* bad : {"armCount", "=3", "bogus=1", "armCount=1.5", "armCount=x", "armGap=1e", "armGap=",
                          "armCount=99999999999"})
    EXPECT_THROW(records::applyAssignment(r, bad), records::RecordError) << bad;
}

TEST_F(RecordFiles, BinaryAndJsonRoundTrips) {
  SpiralParameters r = defaultParameters(10, 20);
  r.armCount = 7;
  r.spiralOffsetX = -3.25f;
  r.fromGo = 123456;
  const std::string bin = (dir_ / "r.bin").string();
  records::saveRecordFile(bin, records::recordBytes(r));
  EXPECT_EQ(fs::file_size(bin), kSpiralParametersSize);
  SpiralParameters back = records::loadRecordFile(bin, SpiralParameters{});
  EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
  // Saved again, the bytes are identical.
  const std::string bin2 = (dir_ / "r2.bin").string();
  records::saveRecordFile(bin2, records::recordBytes(back));
  std::ifstream a(bin, std::ios::binary), b(bin2, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));

  // JSON bool fields take what --set takes; the plug-in only writes 0 and 1.
  r.fromGo = 1;
  const std::string json = (dir_ / "r.json").string();
  records::saveRecordFile(json, records::recordBytes(r));
  SpiralParameters fromJson = records::loadRecordFile(json, SpiralParameters{});
  EXPECT_EQ(std::memcmp(&fromJson, &r, sizeof r), 0);
}

TEST_F(RecordFiles, PartialJsonKeepsTheBase) {
  const SpiralParameters base = defaultParameters(0, 0);
  const SpiralParameters r = records::loadRecordFile(write("p.json", R"({"armCount": 3, "closeSpiral": true})"), base);
  EXPECT_EQ(r.armCount, 3);
  EXPECT_EQ(r.closeSpiral, 1);
  EXPECT_FLOAT_EQ(r.armGap, base.armGap);
}

TEST_F(RecordFiles, BadFilesAreRefusedWithAReason) {
  const SpiralParameters base{};
  auto message = [&](const std::string& path) {
    try {
      records::loadRecordFile(path, base);
    } catch (const records::RecordError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_NE(message(write("short.bin", std::string(307, '\0'))).find("307 bytes"), std::string::npos);
  EXPECT_NE(message(write("bad.json", "{\"armCount\": ")).find("not valid JSON"), std::string::npos);
  EXPECT_NE(message(write("unknown.json", R"({"armCount": 1, "spin": 2})")).find("unknown field 'spin'"),
            std::string::npos);
  EXPECT_NE(message(write("type.json", R"({"armCount": "ten"})")).find("needs an integer"), std::string::npos);
  EXPECT_NE(message(write("float.json", R"({"armGap": [1]})")).find("needs a number"), std::string::npos);
  EXPECT_NE(message(write("array.json", "[1, 2]")).find("JSON object"), std::string::npos);
  EXPECT_NE(message((dir_ / "missing.bin").string()).find("cannot read record file"), std::string::npos);
}

TEST_F(RecordFiles, JsonIsToldFromBinaryByContent) {
  const SpiralParameters base = defaultParameters(0, 0);
  auto message = [&](const std::string& path) {
    try {
      records::loadRecordFile(path, base);
    } catch (const records::RecordError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  // A typo padded with blanks to the binary size is text: a JSON error.
  std::string typo = "{\"armCont\":3}";
  typo.resize(kSpiralParametersSize, ' ');
  EXPECT_NE(message(write("typo.rec", typo)).find("unknown field 'armCont'"), std::string::npos);
  std::string syntax = "\xEF\xBB\xBF {\"armCount\":";
  syntax.resize(kSpiralParametersSize, ' ');
  EXPECT_NE(message(write("syntax.rec", syntax)).find("not valid JSON"), std::string::npos);
  // A BOM before a JSON record of any size.
  EXPECT_EQ(records::loadRecordFile(write("bom.rec", "\xEF\xBB\xBF{\"armCount\": 4}"), base).armCount, 4);
  // Binary bytes that start with '{' stay binary.
  SpiralParameters r = defaultParameters(0, 0);
  std::vector<unsigned char> bytes = records::recordBytes(r);
  bytes[0] = '{';
  const SpiralParameters back =
      records::loadRecordFile(write("brace.bin", std::string(bytes.begin(), bytes.end())), SpiralParameters{});
  EXPECT_EQ(records::recordBytes(back), bytes);
  // Deep nesting is refused by its depth, not followed.
  // Deep nesting is refused by the file's size bound or its depth, never followed.
  const std::string deep = "{\"armCount\":" + std::string(1000000, '[') + std::string(1000000, ']') + "}";
  EXPECT_NE(message(write("deep.json", deep)).find("larger than 1 MiB"), std::string::npos);
  const std::string deepSmall = "{\"armCount\":" + std::string(400000, '[') + std::string(400000, ']') + "}";
  EXPECT_NE(message(write("deep2.json", deepSmall)).find("nested deeper than 64 levels"), std::string::npos);
  EXPECT_NE(message(write("twice.json", R"({"armCount": 1, "armCount": 2})")).find("'armCount' twice"),
            std::string::npos);
}

TEST(RecordText, BooleansTakeWhatSetTakes) {
  SpiralParameters r{};
  for (const char* yes : {"true", "1", "\"on\"", "\"true\"", "\"1\""}) {
    r.closeSpiral = 0;
    records::applyJson(r, nlohmann::json::parse(std::string("{\"closeSpiral\":") + yes + "}"));
    EXPECT_EQ(r.closeSpiral, 1) << yes;
  }
  for (const char* no : {"false", "0", "\"off\""}) {
    r.closeSpiral = 1;
    records::applyJson(r, nlohmann::json::parse(std::string("{\"closeSpiral\":") + no + "}"));
    EXPECT_EQ(r.closeSpiral, 0) << no;
  }
  for (const char* bad : {"2", "-1", "\"yes\"", "0.5", "null", "[1]"}) {
    try {
      records::applyJson(r, nlohmann::json::parse(std::string("{\"closeSpiral\":") + bad + "}"));
      ADD_FAILURE() << "accepted " << bad;
    } catch (const records::RecordError& e) {
      EXPECT_NE(std::string(e.what()).find("'closeSpiral'"), std::string::npos) << e.what();
    }
  }
  // Messages quote at most 200 bytes of what was given, NULs shown.
  try {
    records::applyAssignment(r, "armCount=" + std::string(500000, '7'));
    ADD_FAILURE();
  } catch (const records::RecordError& e) {
    EXPECT_LT(std::string(e.what()).size(), 300u);
  }
  try {
    records::applyJson(r, nlohmann::json::parse("{\"arm\\u0000x\":1}"));
    ADD_FAILURE();
  } catch (const records::RecordError& e) {
    EXPECT_NE(std::string(e.what()).find("arm\\x00x"), std::string::npos) << e.what();
  }
}

}  // namespace
