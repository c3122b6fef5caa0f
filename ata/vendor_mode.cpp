#include "ata/vendor_mode.h"

#include <exception>

namespace tessel {
namespace {

// The failure of the last attempt, or none once the drive has left.
std::exception_ptr LeaveVendorMode(VscInterface& channel, AtaInterface& drive,
                                   const DisableFailureReport& report) {
  std::exception_ptr last;
  for (int attempt = 1; attempt <= kDisableAttempts; ++attempt) {
    try {
      channel.Disable();
      ThrowIfCommandFailed(drive.GetTaskfile(), "disable");
      return nullptr;
    } catch (const Exception& failure) {
      if (report) report(attempt, failure);
      last = std::current_exception();
    }
  }
  return last;
}

}  // namespace

void InVendorMode(VscInterface& channel, AtaInterface& drive,
                  const std::function<void()>& steps,
                  const DisableFailureReport& report) {
  try {
    channel.Enable();
    ThrowIfCommandFailed(drive.GetTaskfile(), "enable");
    steps();
  } catch (...) {
    try {
      LeaveVendorMode(channel, drive, report);
    } catch (...) {
      // Only the exchange's own failure tells the caller what went wrong.
    }
    throw;
  }
  if (const std::exception_ptr failure = LeaveVendorMode(channel, drive, report)) {
    std::rethrow_exception(failure);
  }
}

}  // namespace tessel
