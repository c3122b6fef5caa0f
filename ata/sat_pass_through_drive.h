// The transport for drives the system presents as SCSI devices: each ATA
// command travels in an ATA PASS-THROUGH (16) command block through
// IOCTL_SCSI_PASS_THROUGH, and a second request (return response
// information) fetches the registers, so every command costs two calls.
#pragma once

#include "ata/ata_drive.h"
#include "os/scoped_handle.h"

namespace tessel {

class SatDrivePassThrough final : public AtaDrive {
 public:
  // Owns `deviceHandle` from here on.
  explicit SatDrivePassThrough(os::DeviceHandle deviceHandle)
      : deviceHandle_(deviceHandle) {}

  // Fills the result half of `taskfile` from the drive's ATA status return
  // descriptor.
  void ReadTaskfile(Taskfile& taskfile) override;
  void ExecuteCommand(AtaProtocol protocol, Taskfile& taskfile,
                      std::uint8_t* buffer, std::uint32_t size) override;

  // Gives the handle back, so a transport that failed can be dropped while
  // another uses the same handle.
  [[nodiscard]] os::DeviceHandle ReleaseHandle() { return deviceHandle_.Release(); }

 private:
  os::UniqueDeviceHandle deviceHandle_;
};

}  // namespace tessel
