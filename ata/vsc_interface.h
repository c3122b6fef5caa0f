// The vendor-specific command channel: actions named in a 512-byte key
// sector written to a SMART log, with their data moved through a second
// log. The drive must be switched into vendor-specific mode (Enable) before
// an exchange and back (Disable) afterwards (see vendor_mode.h). An
// operation that sends more than one command judges each but the last
// itself (AtaException named after the step); the caller judges the last
// through the drive's GetTaskfile(). The order of the operations is the
// virtual table's.
#pragma once

#include <cstdint>

namespace tessel {

class VscInterface {
 public:
  virtual void Enable() = 0;
  virtual void Disable() = 0;
  virtual void ReadKeyLog(std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadSense(std::uint8_t* buffer, std::uint32_t size) = 0;
  // Returns the number of data sectors the action moves.
  virtual std::uint16_t WriteKeySector(const std::uint8_t* sector,
                                       std::uint32_t size) = 0;
  virtual void ReadData(std::uint8_t count, std::uint8_t* buffer,
                        std::uint32_t size) = 0;
  virtual void WriteData(std::uint8_t count, const std::uint8_t* data,
                         std::uint32_t size) = 0;
  virtual int GetLevel() const = 0;
  // Returns the number of sectors read.
  virtual std::uint16_t GetDataTable(std::uint16_t table, std::uint8_t* buffer,
                                     std::uint32_t size) = 0;
  virtual void ReadPhysParams(std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual ~VscInterface() = default;
};

}  // namespace tessel
