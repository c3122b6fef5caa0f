// GET_INFO's answer as a drive's stack might return it: any bytes, any
// returned length, read within that length; each slot read lies inside it.
#include <cstdint>
#include <vector>

#include "os/fake/fake_system.h"
#include "tests/fuzz/fuzz_input.h"
#include "update/storage_firmware_channel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  // The log line widens the revisions through the system's code page.
  os::fake::ScopedFakeSystem fake;
  const std::vector<std::uint8_t> answer = input.Rest();
  // An exact-size copy: a read past the returned bytes is an ASan report.
  const auto info = update::ParseFirmwareInterfaceInfo(
      answer.empty() ? nullptr : answer.data(), static_cast<std::uint32_t>(answer.size()));
  if (!info) return 0;
  if (answer.size() < 24 + 32 * info->slots.size()) __builtin_trap();
  update::DescribeFirmwareInterfaceInfo(*info);
  const std::uint32_t segment = update::SegmentSize(info->alignment, info->maxSize, 0);
  if (segment != 0 && (segment % info->alignment != 0 || segment > info->maxSize)) {
    __builtin_trap();
  }
  return 0;
}
