// The vendor channel's responses: a drive whose every reply but IDENTIFY
// (registers and data) comes from the input, asked for its physical
// parameters and, at level 5, its revision set, the way the enumeration
// asks.
#include <algorithm>
#include <array>
#include <cstring>

#include "ata/ata_drive.h"
#include "ata/exception.h"
#include "ata/vendor_mode.h"
#include "ata/vsc_interface.h"
#include "ata/vx_device_info.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr std::uint8_t kIdentifyDevice = 0xEC;

class InputDrive final : public tessel::AtaDrive {
 public:
  InputDrive(fuzz::Input& input, std::uint8_t level) : input_(input) {
    identify_[2 * 142] = level;  // the vendor channel's level
  }

  void ExecuteCommand(tessel::AtaProtocol protocol, tessel::Taskfile& taskfile,
                      std::uint8_t* buffer, std::uint32_t size) override {
    if (taskfile.command == kIdentifyDevice && buffer != nullptr && size >= 512) {
      std::memcpy(buffer, identify_.data(), identify_.size());
      taskfile.outStatus = 0x50;
      SetLastTaskfile(taskfile);
      return;
    }
    if (input_.Empty()) throw tessel::Exception(tessel::ErrorSystem, "input ended");
    if (protocol == tessel::AtaProtocol::PioIn && buffer != nullptr) {
      std::memset(buffer, 0, size);
      const auto bytes = input_.Bytes(size);
      std::copy(bytes.begin(), bytes.end(), buffer);
    }
    taskfile.outStatus = input_.Byte();
    taskfile.outError = input_.Byte();
    taskfile.outLbaMid = input_.Byte();
    taskfile.outLbaHigh = input_.Byte();
    SetLastTaskfile(taskfile);
  }

 private:
  fuzz::Input& input_;
  std::array<std::uint8_t, 512> identify_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::uint8_t level = (input.Byte() & 1) != 0 ? 5 : 4;
  InputDrive drive(input, level);
  try {
    auto channel = drive.CreateVsc();
    if (channel == nullptr) __builtin_trap();  // levels 4 and 5 have one
    std::array<std::uint8_t, 512> block{};
    tessel::InVendorMode(*channel, drive, [&] {
      channel->ReadPhysParams(block.data(), static_cast<std::uint32_t>(block.size()));
      tessel::ThrowIfCommandFailed(drive.GetTaskfile(), "read phy params");
    }, {});
    const tessel::VscPhysParam1v2Map map(block.data());
    if (level == 5) tessel::VxVscImpl5AtaDeviceInfo(drive, map).GetFirmwareRevisionSet();
  } catch (const tessel::Exception&) {
  }
  return 0;
}
