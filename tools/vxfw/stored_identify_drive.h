// A drive that is only its IDENTIFY block: answers IDENTIFY DEVICE from a
// stored copy and refuses every other command. Lets the library's decoding
// run on a block read from a file.
#pragma once

#include <array>
#include <cstring>

#include "ata/ata_drive.h"
#include "ata/exception.h"

namespace vxfw {

class StoredIdentifyDrive final : public tessel::AtaDrive {
 public:
  explicit StoredIdentifyDrive(const std::array<std::uint8_t, 512>& block)
      : block_(block) {}

  void ExecuteCommand(tessel::AtaProtocol, tessel::Taskfile& taskfile,
                      std::uint8_t* buffer, std::uint32_t size) override {
    constexpr std::uint8_t kIdentifyDevice = 0xEC;
    if (taskfile.command != kIdentifyDevice || buffer == nullptr ||
        size < block_.size()) {
      throw tessel::Exception(tessel::ErrorNotImplemented,
                              "a stored IDENTIFY block answers IDENTIFY only");
    }
    std::memcpy(buffer, block_.data(), block_.size());
    taskfile.outStatus = 0x50;
    SetLastTaskfile(taskfile);
  }

 private:
  std::array<std::uint8_t, 512> block_;
};

}  // namespace vxfw
