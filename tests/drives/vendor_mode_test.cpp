// No drive is left in vendor mode: a fault on each vendor step, at both
// channel levels and over both transports, during the enumeration.
#include "base/text.h"
#include "tests/drives/drives_fixture.h"

namespace drives::test_support {
namespace {

using VendorModeExit = DrivesTest;

// The log line of a failed attempt, up to the failure's own message.
std::u16string DisableFailure(int attempt) {
  return u"Leaving vendor mode failed on \\\\.\\PhysicalDrive0 (attempt " +
         base::Widen(std::to_string(attempt)) + u" of 3): ";
}

TEST_F(VendorModeExit, AFaultOnAnyVendorStepLeavesTheDriveOutOfVendorMode) {
  struct Case {
    const char* fault;
    bool listed;
    int failedDisables;
  } cases[] = {
      {R"({"on": "vendor:enable", "status": 81, "error": 4})", false, 0},
      // The drive switched, but the command's call failed all the same
      // (31: a general failure; 1117 would carry the drive's reply).
      {R"({"on": "vendor:enable", "ioctlError": 31})", false, 0},
      {R"({"on": "vendor:key", "status": 81, "error": 4})", false, 0},
      {R"({"on": "vendor:key", "ioctlError": 31})", false, 0},
      {R"({"on": "vendor:data", "status": 81, "error": 4})", false, 0},
      {R"({"on": "vendor:data", "ioctlError": 31})", false, 0},
      {R"({"on": "vendor:disable", "status": 81, "error": 4, "times": 1})", true, 1},
      {R"({"on": "vendor:disable", "ioctlError": 31, "times": 2})", true, 2},
  };
  for (const int level : {4, 5}) {
    for (const int bus : {11, 7}) {
      for (const auto& c : cases) {
        const std::string drive = R"({"number": 0, "vscLevel": )" + std::to_string(level) +
                                  R"(, "busType": )" + std::to_string(bus) +
                                  R"(, "faults": [)" + c.fault + "]}";
        SCOPED_TRACE(drive);
        Load(R"({"drives": [)" + drive + "]}");
        EXPECT_EQ(Enumerate().size(), c.listed ? 1u : 0u);
        EXPECT_FALSE(machine().Drive(0)->device().vendorModeOn());
        for (int attempt = 1; attempt <= 3; ++attempt) {
          EXPECT_EQ(LogHas(DisableFailure(attempt)), attempt <= c.failedDisables) << attempt;
        }
      }
    }
  }
}

// When the drive never leaves, it is dropped, and the log says so three
// times: that is the truth about it.
TEST_F(VendorModeExit, ADriveThatNeverLeavesIsDroppedAfterThreeAttempts) {
  Load(R"({"drives": [{"number": 0, "vscLevel": 4,
      "faults": [{"on": "vendor:disable", "status": 81, "error": 4}]}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_TRUE(machine().Drive(0)->device().vendorModeOn());
  EXPECT_TRUE(LogHas(DisableFailure(3)));
  EXPECT_TRUE(LogHas(u"Line      = 504\r\nFunction  = CDrive::FillVxData"));
}

}  // namespace
}  // namespace drives::test_support
