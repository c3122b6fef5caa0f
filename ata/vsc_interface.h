// The vendor-specific command channel: actions named in a 512-byte key
// sector written to a SMART log, with their data moved through a second
// log. The drive must be switched into vendor-specific mode (Enable) before
// an exchange and back (Disable) afterwards. The operations never look at
// the returned status; the caller checks the drive's GetTaskfile() after
// each step. The order of the operations is the virtual table's.
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

// Runs the `steps` of an exchange after a successful Enable. When one
// throws, the drive is switched back out of vendor mode first (best effort:
// a failure to leave it must not hide the one that got here), then the
// exception goes on unchanged.
template <class Steps>
void WhileInVendorMode(VscInterface& channel, Steps&& steps) {
  try {
    steps();
  } catch (...) {
    try {
      channel.Disable();
    } catch (...) {
    }
    throw;
  }
}

}  // namespace tessel
