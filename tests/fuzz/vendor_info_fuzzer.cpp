// The vendor device information: a physical-parameters block (the first
// 512 bytes) through every value read from it at both channel levels, and
// an information record (the rest).
#include <algorithm>
#include <array>

#include "ata/exception.h"
#include "ata/vx_device_info.h"
#include "tests/ata/scripted_drive.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  std::array<std::uint8_t, 512> block{};
  const auto physParams = input.Bytes(block.size());
  std::copy(physParams.begin(), physParams.end(), block.begin());
  const tessel::VscPhysParam1v2Map map(block.data());

  tessel::test_support::ScriptedDrive drive;
  drive.PrimeIdentify(std::vector<std::uint8_t>(512, 0));
  tessel::VxVscImpl4DeviceInfo level4(drive, map);
  try {
    level4.GetFamilyId();
    level4.GetConfigId();
    level4.GetFirmwareRevisionSet();
    level4.GetPhysText1();
    level4.GetPhysText2();
    level4.GetPhysText3();
    level4.GetPhysText4();
    level4.GetPhysText5();
    level4.GetPhysText6();
    level4.GetPhysText7();
    tessel::VxVscImpl5AtaDeviceInfo(drive, map).GetFamilyId();
  } catch (const tessel::Exception&) {
  }

  const auto record = input.Rest();
  try {
    tessel::ParseInfoRecord(record.data(), static_cast<std::uint32_t>(record.size()));
  } catch (const tessel::Exception&) {
  }
  return 0;
}
