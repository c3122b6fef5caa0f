// Level 5 of the vendor-specific channel: vendor mode by a key sector with
// the signature, and a response sector after every key sector that tells
// the length of the action's data.
#pragma once

#include <array>
#include <cstdint>

#include "ata/ata_interface.h"
#include "ata/vsc_interface.h"

namespace tessel {

// The 6-byte vendor-mode signature of the level-5 enable key sector,
// written at bytes 258-263.
inline constexpr std::array<std::uint8_t, 6> kVsc5VendorModeSignature = {
    0x56, 0x58, 0x4D, 0x44, 0x35, 0xA5};

class Vsc5Impl final : public VscInterface {
 public:
  explicit Vsc5Impl(AtaInterface& drive) : drive_(drive) {}

  void Enable() override;
  void Disable() override;
  void ReadKeyLog(std::uint8_t* buffer, std::uint32_t size) override;
  void ReadSense(std::uint8_t* buffer, std::uint32_t size) override;
  std::uint16_t WriteKeySector(const std::uint8_t* sector,
                               std::uint32_t size) override;
  void ReadData(std::uint8_t count, std::uint8_t* buffer,
                std::uint32_t size) override;
  void WriteData(std::uint8_t count, const std::uint8_t* data,
                 std::uint32_t size) override;
  int GetLevel() const override { return 5; }
  std::uint16_t GetDataTable(std::uint16_t table, std::uint8_t* buffer,
                             std::uint32_t size) override;
  void ReadPhysParams(std::uint8_t* buffer, std::uint32_t size) override;

 private:
  // Writes a key sector, judged as `step`, and reads its response.
  std::uint16_t SendKeySector(const std::uint8_t* sector, std::uint32_t size,
                              const char* step);

  AtaInterface& drive_;
};

}  // namespace tessel
