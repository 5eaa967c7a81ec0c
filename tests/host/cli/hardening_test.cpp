// Faults the validator and the fuzzer found, each kept here as the smallest
// run that shows it, so it cannot come back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <unistd.h>

#include "hostapp/records/record_file.h"
#include "params/record/parameter_fields.h"
#include "shell/host/ai_art_suites.h"
#include "hostapp/validator/random_records.h"
#include "support/run_host.h"
#include "support/scratch_folder.h"
#include "support/session_fixture.h"

namespace {

constexpr HostErr kBadSelection = static_cast<HostErr>(host::fourCharCode("!sel"));

class Hardening : public SessionFixture {
 protected:
  bool startsUp() const override { return true; }
  int errorDialogs() {
    int n = 0;
    for (const host::ShownDialog& shown : session().dialogs().shown()) n += shown.name == "Error Dialog" ? 1 : 0;
    return n;
  }
};

// The error dialog's init proc read its texts through the user data without
// looking: a host that could not hand it back crashed the plug-in.
TEST_F(Hardening, ErrorDialogWithoutItsUserDataStillShowsOnce) {
  host().gate().failOperation(kADMDialogSuite, "GetUserData", kHostBadParameterErr);
  EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuGo), kBadSelection);
  EXPECT_EQ(errorDialogs(), 1);
}

// A preview that failed was kept as Go's result (previewDrawn stayed set):
// the filter chosen through its dialog reported success with no art. Go now
// draws again and reports its own failure, once.
TEST_F(Hardening, AFailedPreviewDoesNotStandAsGosResult) {
  host().gate().failOperation(kArtSuite, "NewArt", -108);
  session().dialogs().setDriver([](host::DialogManager& manager, host::Dialog& dialog) {
    if (!dialog.ended()) manager.pressEnter(dialog);
  });
  EXPECT_EQ(session().chooseFilter(), -108);
  EXPECT_EQ(errorDialogs(), 1);
  ASSERT_TRUE(keptRecord());
  EXPECT_EQ(keptRecord()->previewDrawn, 0);
  EXPECT_EQ(host().document().liveArtCount(), 0u);
}

// A record beyond what the host may hold ends with -108 and the memory
// message, whatever the budget is set to.
TEST(MemoryBudgetOption, ARunBeyondTheBudgetEndsWithTheMemoryMessage) {
  const HostRun run = runSpiralHost("draw --no-dialog --set spiralCount=2147483647 --memory-budget 1000000" +
                                        pluginOption(),
                                    "budget");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("there isn't enough memory (RAM) available."), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("-108"), std::string::npos) << run.err;
}

// ---- Record files -------------------------------------------------------------

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class RecordFileHardening : public testing_support::ScratchFolderTest {
 protected:
  RecordFileHardening() : ScratchFolderTest("spiral-hardening-") {}
  std::string refusal(const std::string& file) const {
    try {
      records::loadRecordFile(file, SpiralParameters{});
    } catch (const records::RecordError& e) {
      return e.what();
    }
    return "accepted";
  }
};

// Infinities and NaN used to become null in JSON and came back as the one
// quiet NaN: a record with them did not survive its JSON form.
TEST_F(RecordFileHardening, EveryRecordSurvivesBothFormsBitForBit) {
  for (std::uint64_t i = 0; i < 300; ++i) {
    const SpiralParameters random = validator::randomRecord(11, i);
    for (const char* name : {"r.bin", "r.json"}) {
      // Bool fields in JSON take only what --set takes; the binary form holds any value.
      SpiralParameters r = random;
      if (std::string(name) == "r.json") {
        for (const ParameterField& field : kParameterFields) {
          if (field.kind != FieldKind::Bool) continue;
          unsigned char* at = reinterpret_cast<unsigned char*>(&r) + field.offset;
          int32_t v;
          std::memcpy(&v, at, 4);
          v = v != 0;
          std::memcpy(at, &v, 4);
        }
      }
      records::saveRecordFile(path(name), records::recordBytes(r));
      const SpiralParameters back = records::loadRecordFile(path(name), SpiralParameters{});
      ASSERT_EQ(std::memcmp(&back, &r, sizeof r), 0) << name << " of record " << i << ": " << validator::recordHex(r);
      const std::string first = fileBytes(path(name));
      records::saveRecordFile(path(name), records::recordBytes(back));
      ASSERT_EQ(fileBytes(path(name)), first) << name << " of record " << i;
    }
  }
}

// Numbers that no field can hold were converted anyway (undefined for
// floats, wrapped for unsigned 64-bit integers).
TEST_F(RecordFileHardening, NumbersBeyondTheFieldsRangeAreRefused) {
  EXPECT_NE(refusal(write("big.json", R"({"armGap": 1e300})")).find("out of the float range"), std::string::npos);
  // Beyond a double the JSON reader itself refuses the number; that used to
  // escape as an exception of the reader instead of a refusal.
  EXPECT_NE(refusal(write("huge.json", R"({"armGap": 1e400})")).find("number overflow"), std::string::npos);
  EXPECT_NE(refusal(write("wrap.json", R"({"armCount": 18446744073709551615})")).find("out of the 32-bit range"),
            std::string::npos);
  EXPECT_NE(refusal(write("text.json", R"({"armGap": "infinity"})")).find("needs a number"), std::string::npos);
  EXPECT_NE(refusal(write("long.bin", std::string(309, '\0'))).find("309 bytes"), std::string::npos);
  SpiralParameters r{};
  EXPECT_THROW(records::applyAssignment(r, "armGap=1e39"), records::RecordError);
  records::applyAssignment(r, "armGap=3.4028234e38");
  EXPECT_EQ(r.armGap, std::numeric_limits<float>::max());
  records::applyAssignment(r, "decay=nan:0x7fa00001");
  EXPECT_TRUE(std::isnan(r.decay));
}

}  // namespace
