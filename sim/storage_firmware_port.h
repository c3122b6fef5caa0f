// Windows' own storage firmware interface as the inbox AHCI driver offers
// it on a drive's handle: IOCTL_STORAGE_FIRMWARE_GET_INFO answers from the
// drive's IDENTIFY data (one writable slot; alignment and largest segment
// from words 234 and 235), each IOCTL_STORAGE_FIRMWARE_DOWNLOAD becomes one
// DOWNLOAD MICROCODE mode 0Eh, IOCTL_STORAGE_FIRMWARE_ACTIVATE mode 0Fh.
// The driver's checks and error codes: a malformed request or a segment
// that is empty, not aligned or too large fails with 87, a drive without
// the deferred modes with 50, a command the drive aborts with 1117.
#pragma once

#include <cstdint>
#include <vector>

#include "os/types.h"
#include "sim/ata_device.h"
#include "sim/command_faults.h"

namespace sim {

class StorageFirmwarePort {
 public:
  explicit StorageFirmwarePort(AtaDevice& device, std::uint32_t segmentDelayMs)
      : device_(device), segmentDelayMs_(segmentDelayMs) {}

  // True for the three control codes this port answers.
  static bool Handles(os::DWORD code);

  os::BOOL Control(os::DWORD code, const std::vector<std::uint8_t>& in, void* out,
                   os::DWORD outSize, os::DWORD& returned, os::DWORD& error,
                   InjectedFault injected);

  // The driver's view of the drive: bytes per alignment unit and largest
  // segment.
  std::uint32_t Alignment() const;
  std::uint32_t MaxSegment() const;

 private:
  os::BOOL GetInfo(const std::vector<std::uint8_t>& in, void* out, os::DWORD outSize,
                   os::DWORD& returned, os::DWORD& error);
  os::BOOL Download(const std::vector<std::uint8_t>& in, os::DWORD& error,
                    InjectedFault injected);
  os::BOOL Activate(const std::vector<std::uint8_t>& in, os::DWORD& error,
                    InjectedFault injected);
  // Sends one DOWNLOAD MICROCODE, unless `injected` stands in for the
  // drive's answer.
  os::BOOL Send(const AtaCommand& c, std::vector<std::uint8_t>& data, os::DWORD& error,
                InjectedFault injected);
  bool Upgradable() const;
  std::uint16_t IdentifyWord(int word) const;

  AtaDevice& device_;
  std::uint32_t segmentDelayMs_;
};

}  // namespace sim
