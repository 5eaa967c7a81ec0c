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

}  // namespace
