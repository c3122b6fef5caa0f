// One fault put on one command the simulated machine carries, counted
// across every drive and the firmware driver in the order the commands
// arrive: a sweep fails each command of a run in turn.
//
// A command is a DeviceIoControl on a drive's or the driver's handle, or a
// DOWNLOAD MICROCODE the driver sends to a drive.
#pragma once

#include <cstdint>
#include <mutex>

namespace sim {

enum class InjectedFault {
  None,
  IoctlFailure,   // the call fails (31, a general failure), nothing done
  AtaError,       // the drive aborts the command (status 0x51, error 0x04)
  BadScsiStatus,  // SCSI BUSY (0x08), nothing done
};

class CommandFaults {
 public:
  // The drive number of the driver's own requests.
  static constexpr int kDriver = -1;

  // Fails the `index`-th command from now on, counted from 1.
  void Arm(std::uint64_t index, InjectedFault kind);

  // Counts one command for `target` (a drive number or kDriver) and tells
  // whether it is the one to fail. `code` is the request's control code
  // (0 for a command the driver sends to a drive).
  InjectedFault Next(int target, std::uint32_t code = 0);

  bool Struck() const;
  // The target and control code of the failed command; meaningful once
  // Struck().
  int StruckTarget() const;
  std::uint32_t StruckCode() const;

 private:
  mutable std::mutex mutex_;
  std::uint64_t remaining_ = 0;
  InjectedFault kind_ = InjectedFault::None;
  bool struck_ = false;
  int struckTarget_ = 0;
  std::uint32_t struckCode_ = 0;
};

}  // namespace sim
