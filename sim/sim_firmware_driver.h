// The firmware update driver's stand-in, "\\.\VLXFMDriver": takes one
// FirmwareUpdateRecord through IOCTL_UPDATE_FIRMWARE, finds the drive by
// its path and sends it the image with DOWNLOAD MICROCODE, in segments of
// at most transferMax bytes (mode 3) or whole (mode 7), keeping bytesDone in
// the caller's record current while it works.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "os/types.h"
#include "sim/command_faults.h"

namespace sim {

class AtaDevice;

class SimFirmwareDriver {
 public:
  // Finds the drive a record's drivePath names, or null.
  using DriveLookup = std::function<AtaDevice*(const std::u16string& drivePath)>;

  // Each DOWNLOAD MICROCODE the driver sends is counted in `faults`.
  SimFirmwareDriver(DriveLookup lookup, CommandFaults& faults)
      : lookup_(std::move(lookup)), faults_(faults) {}

  // Pause after each segment, so progress can be watched.
  void SetSegmentDelayMs(std::uint32_t ms) { segmentDelayMs_ = ms; }

  os::BOOL Control(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                   os::DWORD outSize, os::DWORD& returned, os::DWORD& error);

  // The time spent in Control: the transfers' own share of a run.
  std::chrono::nanoseconds BusyTime() const { return std::chrono::nanoseconds(busy_.load()); }

 private:
  os::BOOL Transfer(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                    os::DWORD outSize, os::DWORD& returned, os::DWORD& error);

  std::atomic<std::int64_t> busy_{0};
  DriveLookup lookup_;
  CommandFaults& faults_;
  std::uint32_t segmentDelayMs_ = 0;
};

}  // namespace sim
