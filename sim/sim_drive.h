// One simulated physical drive as its port driver presents it: the
// IOCTL_ATA_PASS_THROUGH and IOCTL_SCSI_PASS_THROUGH (SAT ATA PASS-THROUGH
// (16)) blocks are parsed byte by byte and checked as a careful port driver
// would, IOCTL_STORAGE_QUERY_PROPERTY answers with the bus type, and the
// storage firmware codes reach the drive when its stack offers them.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include "os/types.h"
#include "sim/ata_device.h"
#include "sim/command_faults.h"
#include "sim/storage_firmware_port.h"

namespace sim {

class SimDrive {
 public:
  SimDrive(std::uint32_t busType, DriveDescription description)
      : busType_(busType), device_(std::move(description)) {}

  // DeviceIoControl on the drive's handle: TRUE with `returned`, or FALSE
  // with `error`. `in` and `out` may be the same block. An `injected` fault
  // the request cannot carry (a SCSI status on an ATA pass-through, any on
  // the storage query) fails the call instead.
  os::BOOL Control(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                   os::DWORD outSize, os::DWORD& returned, os::DWORD& error,
                   InjectedFault injected = InjectedFault::None);

  // The drive's stack offers Windows' own firmware interface; without it
  // those control codes fail with ERROR_INVALID_FUNCTION.
  void OfferFirmwareInterface(std::uint32_t segmentDelayMs);

  AtaDevice& device() { return device_; }
  // Requests answered so far, and the time spent answering them: the
  // drive's own share of a run.
  std::uint64_t Commands() const;
  std::chrono::nanoseconds BusyTime() const;
  std::uint32_t busType() const { return busType_; }

 private:
  os::BOOL Answer(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                  os::DWORD outSize, os::DWORD& returned, os::DWORD& error,
                  InjectedFault injected);
  os::BOOL AtaPassThrough(const std::vector<std::uint8_t>& in, void* out,
                          os::DWORD outSize, os::DWORD& returned,
                          os::DWORD& error,
                 InjectedFault injected);
  os::BOOL ScsiPassThrough(const std::vector<std::uint8_t>& in, void* out,
                           os::DWORD outSize, os::DWORD& returned,
                           os::DWORD& error,
                 InjectedFault injected);
  os::BOOL ReturnResponseInformation(const std::vector<std::uint8_t>& in,
                                     void* out, os::DWORD outSize,
                                     os::DWORD& returned, os::DWORD& error,
                 InjectedFault injected);
  os::BOOL StorageQuery(const std::vector<std::uint8_t>& in, void* out,
                        os::DWORD outSize, os::DWORD& returned,
                        os::DWORD& error,
                 InjectedFault injected);

  std::uint32_t busType_;
  AtaDevice device_;
  std::unique_ptr<StorageFirmwarePort> firmwarePort_;
  mutable std::mutex mutex_;
  AtaResult lastResult_;  // what the SAT register request returns
  bool lastExtend_ = false;
  std::uint64_t commands_ = 0;
  std::chrono::nanoseconds busy_{0};
};

}  // namespace sim
