// The SAT register descriptor: a command over SCSI pass-through whose
// reply and register reply come from the input.
#include <vector>

#include "ata/exception.h"
#include "ata/sat_pass_through_drive.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr char16_t kDrive[] = u"\\\\.\\PhysicalDrive0";

os::fake::ScriptedDevice::Response Reply(fuzz::Input& input, std::size_t length) {
  os::fake::ScriptedDevice::Response reply;
  const std::uint8_t how = input.Byte();
  reply.result = (how & 1) != 0 ? os::kFalse : os::kTrue;
  reply.error = (how & 2) != 0 ? os::kErrorIoDevice : os::kErrorGenFailure;
  reply.output = input.Bytes(length);
  return reply;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  os::fake::ScopedFakeSystem fake;
  auto device = std::make_shared<os::fake::ScriptedDevice>();
  fake.devices.Add(kDrive, device);
  const std::uint8_t split = input.Byte();
  device->responses.push_back(Reply(input, split));
  device->responses.push_back(Reply(input, 128));
  tessel::SatDrivePassThrough drive(fake.devices.CreateFileW(
      kDrive, os::kGenericRead | os::kGenericWrite, 3, nullptr, os::kOpenExisting, 0, nullptr));
  std::vector<std::uint8_t> buffer(512);
  try {
    drive.IdentifyDevice(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
  } catch (const tessel::Exception&) {
  }
  return 0;
}
