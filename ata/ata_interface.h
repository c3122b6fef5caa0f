// The command interface to one drive. ExecuteCommand is the one operation
// that talks to the hardware; AtaDrive builds every other one on it. The
// order of the operations is the order of the interface's virtual table.
//
// Buffers are byte pointers with a 32-bit size: "data" is read by the
// drive, "buffer" filled by it.
#pragma once

#include <cstdint>
#include <memory>

#include "ata/taskfile.h"

namespace tessel {

class VscInterface;

class AtaInterface {
 public:
  virtual std::int32_t GetTimeout() const = 0;
  virtual void SetTimeout(std::int32_t milliseconds) = 0;
  virtual const Taskfile& GetTaskfile() const = 0;
  virtual void IdentifyDevice(std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void RefreshIdentify() = 0;
  virtual std::uint8_t DownloadMicrocode(std::uint8_t subcommand,
                                         std::uint16_t blockCount,
                                         std::uint16_t bufferOffset,
                                         const std::uint8_t* data,
                                         std::uint32_t size) = 0;
  virtual void ReadDma(std::uint32_t lba, std::uint8_t count,
                       std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadDmaExt(std::uint64_t lba, std::uint16_t count,
                          std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                             std::uint16_t pageNumber, std::uint16_t pageCount,
                             std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadLogExt(std::uint16_t features, std::uint8_t logAddress,
                          std::uint16_t pageNumber, std::uint16_t pageCount,
                          std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadSectors(std::uint32_t lba, std::uint8_t count,
                           std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadSectorsExt(std::uint64_t lba, std::uint16_t count,
                              std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void ReadVerifySectors(std::uint32_t lba, std::uint8_t count) = 0;
  virtual void ReadVerifySectorsExt(std::uint64_t lba, std::uint16_t count) = 0;
  virtual void WriteDma(std::uint32_t lba, std::uint8_t count,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual void WriteDmaExt(std::uint64_t lba, std::uint16_t count,
                           const std::uint8_t* data, std::uint32_t size) = 0;
  virtual void WriteLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                              std::uint16_t pageNumber,
                              std::uint16_t pageCount,
                              const std::uint8_t* data,
                              std::uint32_t size) = 0;
  virtual void WriteLogExt(std::uint16_t features, std::uint8_t logAddress,
                           std::uint16_t pageNumber, std::uint16_t pageCount,
                           const std::uint8_t* data, std::uint32_t size) = 0;
  virtual void WriteSectors(std::uint32_t lba, std::uint8_t count,
                            const std::uint8_t* data, std::uint32_t size) = 0;
  virtual void WriteSectorsExt(std::uint64_t lba, std::uint16_t count,
                               const std::uint8_t* data,
                               std::uint32_t size) = 0;
  virtual void SmartDisableOperations() = 0;
  virtual void SmartEnableOperations() = 0;
  virtual void SmartExecuteOfflineImmediate(std::uint8_t subcommand) = 0;
  virtual void SmartReadData(std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void SmartReadLog(std::uint8_t logAddress, std::uint8_t count,
                            std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void SmartReadThreshold(std::uint8_t* buffer,
                                  std::uint32_t size) = 0;
  virtual bool SmartReturnStatus() = 0;
  virtual void SmartWriteLog(std::uint8_t logAddress, std::uint8_t count,
                             const std::uint8_t* data,
                             std::uint32_t size) = 0;
  virtual void DisableAcousticManagement() = 0;
  virtual void EnableAcousticManagement(std::uint8_t level) = 0;
  virtual void SpinUp() = 0;
  virtual void FlushCache() = 0;
  virtual void FlushCacheExt() = 0;
  virtual std::uint8_t CheckPowerMode() = 0;
  virtual void Idle(std::uint8_t standbyTimer) = 0;
  virtual void IdleImmediate() = 0;
  virtual void Sleep() = 0;
  virtual void StandbyImmediate() = 0;
  virtual void Standby(std::uint8_t standbyTimer) = 0;
  virtual void Recalibrate() = 0;
  virtual void SctReadStatus(std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual void SctWriteSame(std::uint64_t startLba, std::uint64_t blockCount,
                            const std::uint8_t* data, std::uint32_t size,
                            std::uint8_t foreground) = 0;
  virtual void SctWriteSamePattern(std::uint64_t startLba,
                                   std::uint64_t blockCount,
                                   std::uint32_t pattern,
                                   std::uint8_t foreground) = 0;
  virtual void ReadTaskfile(Taskfile& taskfile) = 0;
  virtual std::uint32_t ReadScr(std::uint32_t scrRegister) = 0;
  virtual void SataBist(std::uint8_t pattern) = 0;
  virtual void WriteScr(std::uint32_t scrRegister, std::uint32_t value) = 0;
  virtual const std::uint8_t* GetIdentifyData() = 0;
  virtual std::unique_ptr<VscInterface> CreateVsc() = 0;
  virtual std::uint32_t GetLogicalSectorSize() = 0;
  // Sends the command half of `taskfile`, moves the data, fills the result
  // half and, on success, keeps the record as the drive's last one. Throws
  // on transport failure only: the caller judges the returned registers.
  virtual void ExecuteCommand(AtaProtocol protocol, Taskfile& taskfile,
                              std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual ~AtaInterface() = default;
};

}  // namespace tessel
