// A drive that is only its IDENTIFY block: answers IDENTIFY DEVICE from a
// stored copy and refuses every other command but the spin-up the library
// sends for a block whose word 2 is 0x37C8, which changes nothing: a stored
// block decodes as it stands. Lets the library's decoding run on a block
// read from a file.
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
    constexpr std::uint8_t kSetFeatures = 0xEF;
    constexpr std::uint16_t kSpinUp = 0x07;
    if (taskfile.command == kSetFeatures && (taskfile.features & 0xFF) == kSpinUp) {
      taskfile.outStatus = 0x50;
      SetLastTaskfile(taskfile);
      return;
    }
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
