// The transport for drives the system reaches through its ATA port driver:
// one command is one IOCTL_ATA_PASS_THROUGH call whose block carries the
// registers out and back. PIO and non-data protocols only.
#pragma once

#include "ata/ata_drive.h"
#include "os/scoped_handle.h"

namespace tessel {

class AtaDriveWinPassThrough final : public AtaDrive {
 public:
  // Owns `deviceHandle` from here on.
  explicit AtaDriveWinPassThrough(os::DeviceHandle deviceHandle)
      : deviceHandle_(deviceHandle) {}

  // The registers come back with the command.
  void ReadTaskfile(Taskfile&) override {}
  void ExecuteCommand(AtaProtocol protocol, Taskfile& taskfile,
                      std::uint8_t* buffer, std::uint32_t size) override;

  // Gives the handle back, so a transport that failed can be dropped while
  // another uses the same handle.
  [[nodiscard]] os::DeviceHandle ReleaseHandle() { return deviceHandle_.Release(); }

 private:
  os::UniqueDeviceHandle deviceHandle_;
};

}  // namespace tessel
