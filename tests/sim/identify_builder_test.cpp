#include "sim/identify_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ata/identify_map.h"
#include "tests/support/identify_fixture.h"

namespace sim {
namespace {

// Every field the system decodes from IDENTIFY, in one comparable value.
auto Fields(const std::uint8_t* block) {
  const tessel::AtaIdentifyDeviceMap map(block);
  char model[41], serial[21], firmware[9];
  map.ReadAtaString(tessel::identify::kModelOffset, 20, model, sizeof model);
  map.ReadAtaString(tessel::identify::kSerialOffset, 10, serial, sizeof serial);
  map.ReadAtaString(tessel::identify::kFirmwareOffset, 4, firmware, sizeof firmware);
  return std::make_tuple(std::string(model), std::string(serial), std::string(firmware),
                         map.UserAddressableSectors(), map.LogicalSectorSize(),
                         map.WorldWideName(), map.VeltraxFamilyId(), map.VendorChannelLevel(),
                         map.DownloadMicrocodeSupported(), map.SegmentedDownloadSupported(),
                         map.DownloadMinimumBlocks(), map.DownloadMaximumBlocks(),
                         map.SecuritySupported(), map.SecurityEnabled(), map.NeedsSpinUp());
}

DriveDescription Described(std::string model, std::string serial, std::string firmware,
                           std::uint64_t wwn) {
  DriveDescription d;
  d.model = std::move(model);
  d.serial = std::move(serial);
  d.firmware = std::move(firmware);
  d.wwn = wwn;
  return d;
}

// A drive described as the fixture's drive is answers with what the
// fixture block says.
TEST(IdentifyBuilder, DescribedDrivesAnswerAsTheFixtureBlocks) {
  DriveDescription vx7221 = Described("VX7221-500G", "VX00A1B2C3", "02.01P02", 0x5A1B2C3004D2A1B2);
  vx7221.securitySupported = true;

  DriveDescription vx7241 = Described("VX7241-4T0E-B", "VX41Z00917", "03.02P05", 0x5C3D4E5001F0C3A7);
  vx7241.sectors = 976754646;
  vx7241.logicalSectorSize = 4096;
  vx7241.vscLevel = 5;
  vx7241.familyId = 1234;
  vx7241.transferMinBlocks = 8;
  vx7241.transferMaxBlocks = 256;
  vx7241.securitySupported = true;
  vx7241.securityEnabled = true;

  DriveDescription other = Described("QD2000-NAS", "QD7Y4K0211", "CC41", 0x5011223340A1B2C3);
  other.sectors = 3907029168;
  other.vscLevel = 0;
  other.familyId = 0;
  other.downloadMicrocode = false;
  other.segmented = false;

  const std::pair<const char*, const DriveDescription*> cases[] = {
      {"identify_vx7221.txt", &vx7221},
      {"identify_vx7241_4k.txt", &vx7241},
      {"identify_other_maker.txt", &other},
  };
  for (const auto& [file, drive] : cases) {
    SCOPED_TRACE(file);
    const auto fixture = testing_support::ReadIdentifyFixture(file);
    ASSERT_EQ(fixture[0], 0x40) << "fixture missing";
    const Sector built = BuildIdentify(*drive, drive->firmware, true);
    EXPECT_EQ(Fields(built.data()), Fields(fixture.data()));
  }
}

}  // namespace
}  // namespace sim
