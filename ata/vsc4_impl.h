// Level 4 of the vendor-specific channel: vendor mode by a non-data
// command carrying the signature 0x613C; no response sector.
#pragma once

#include "ata/ata_interface.h"
#include "ata/vsc_interface.h"

namespace tessel {

class Vsc4Impl final : public VscInterface {
 public:
  explicit Vsc4Impl(AtaInterface& drive) : drive_(drive) {}

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
  int GetLevel() const override { return 4; }
  std::uint16_t GetDataTable(std::uint16_t table, std::uint8_t* buffer,
                             std::uint32_t size) override;
  void ReadPhysParams(std::uint8_t* buffer, std::uint32_t size) override;

 private:
  void SendVendorMode(std::uint16_t features);

  AtaInterface& drive_;
};

}  // namespace tessel
