// The ATA command set over one transport: every operation of AtaInterface
// but ExecuteCommand, which the transports supply. Each command checks the
// caller's buffer, builds a zeroed Taskfile, and hands it to ExecuteCommand
// with its protocol; the caller judges the result through GetTaskfile().
#pragma once

#include <array>
#include <cstdint>

#include "ata/ata_interface.h"

namespace tessel {

class AtaDrive : public AtaInterface {
 public:
  static constexpr std::uint32_t kSectorSize = 512;
  static constexpr std::int32_t kDefaultTimeoutMs = 30000;

  std::int32_t GetTimeout() const override;
  void SetTimeout(std::int32_t milliseconds) override;
  const Taskfile& GetTaskfile() const override;
  void IdentifyDevice(std::uint8_t* buffer, std::uint32_t size) override;
  void RefreshIdentify() override;
  std::uint8_t DownloadMicrocode(std::uint8_t subcommand,
                                 std::uint16_t blockCount,
                                 std::uint16_t bufferOffset,
                                 const std::uint8_t* data,
                                 std::uint32_t size) override;
  void ReadDma(std::uint32_t lba, std::uint8_t count, std::uint8_t* buffer,
               std::uint32_t size) override;
  void ReadDmaExt(std::uint64_t lba, std::uint16_t count, std::uint8_t* buffer,
                  std::uint32_t size) override;
  void ReadLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                     std::uint16_t pageNumber, std::uint16_t pageCount,
                     std::uint8_t* buffer, std::uint32_t size) override;
  void ReadLogExt(std::uint16_t features, std::uint8_t logAddress,
                  std::uint16_t pageNumber, std::uint16_t pageCount,
                  std::uint8_t* buffer, std::uint32_t size) override;
  void ReadSectors(std::uint32_t lba, std::uint8_t count, std::uint8_t* buffer,
                   std::uint32_t size) override;
  void ReadSectorsExt(std::uint64_t lba, std::uint16_t count,
                      std::uint8_t* buffer, std::uint32_t size) override;
  void ReadVerifySectors(std::uint32_t lba, std::uint8_t count) override;
  void ReadVerifySectorsExt(std::uint64_t lba, std::uint16_t count) override;
  void WriteDma(std::uint32_t lba, std::uint8_t count,
                const std::uint8_t* data, std::uint32_t size) override;
  void WriteDmaExt(std::uint64_t lba, std::uint16_t count,
                   const std::uint8_t* data, std::uint32_t size) override;
  void WriteLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                      std::uint16_t pageNumber, std::uint16_t pageCount,
                      const std::uint8_t* data, std::uint32_t size) override;
  void WriteLogExt(std::uint16_t features, std::uint8_t logAddress,
                   std::uint16_t pageNumber, std::uint16_t pageCount,
                   const std::uint8_t* data, std::uint32_t size) override;
  void WriteSectors(std::uint32_t lba, std::uint8_t count,
                    const std::uint8_t* data, std::uint32_t size) override;
  void WriteSectorsExt(std::uint64_t lba, std::uint16_t count,
                       const std::uint8_t* data, std::uint32_t size) override;
  void SmartDisableOperations() override;
  void SmartEnableOperations() override;
  void SmartExecuteOfflineImmediate(std::uint8_t subcommand) override;
  void SmartReadData(std::uint8_t* buffer, std::uint32_t size) override;
  void SmartReadLog(std::uint8_t logAddress, std::uint8_t count,
                    std::uint8_t* buffer, std::uint32_t size) override;
  void SmartReadThreshold(std::uint8_t* buffer, std::uint32_t size) override;
  bool SmartReturnStatus() override;
  void SmartWriteLog(std::uint8_t logAddress, std::uint8_t count,
                     const std::uint8_t* data, std::uint32_t size) override;
  void DisableAcousticManagement() override;
  void EnableAcousticManagement(std::uint8_t level) override;
  void SpinUp() override;
  void FlushCache() override;
  void FlushCacheExt() override;
  std::uint8_t CheckPowerMode() override;
  void Idle(std::uint8_t standbyTimer) override;
  void IdleImmediate() override;
  void Sleep() override;
  void StandbyImmediate() override;
  void Standby(std::uint8_t standbyTimer) override;
  void Recalibrate() override;
  void SctReadStatus(std::uint8_t* buffer, std::uint32_t size) override;
  void SctWriteSame(std::uint64_t startLba, std::uint64_t blockCount,
                    const std::uint8_t* data, std::uint32_t size,
                    std::uint8_t foreground) override;
  void SctWriteSamePattern(std::uint64_t startLba, std::uint64_t blockCount,
                           std::uint32_t pattern,
                           std::uint8_t foreground) override;
  void ReadTaskfile(Taskfile& taskfile) override;
  std::uint32_t ReadScr(std::uint32_t scrRegister) override;
  void SataBist(std::uint8_t pattern) override;
  void WriteScr(std::uint32_t scrRegister, std::uint32_t value) override;
  const std::uint8_t* GetIdentifyData() override;
  std::unique_ptr<VscInterface> CreateVsc() override;
  std::uint32_t GetLogicalSectorSize() override;

 protected:
  AtaDrive() = default;

  // Transports call this when a command completed.
  void SetLastTaskfile(const Taskfile& taskfile) { lastTaskfile_ = taskfile; }

 private:
  void SendData(AtaProtocol protocol, Taskfile& taskfile,
                const std::uint8_t* data, std::uint32_t size);
  void SendNonData(AtaProtocol protocol, Taskfile taskfile);
  void ReadCommand(AtaProtocol protocol, Taskfile taskfile, std::uint8_t* buffer,
                   std::uint32_t size, std::uint64_t needed, bool zeroed,
                   const char* message);
  void WriteCommand(AtaProtocol protocol, Taskfile taskfile, const std::uint8_t* data,
                    std::uint32_t size, std::uint64_t needed, const char* message);
  std::uint64_t SectorBytes(std::uint32_t count);

  Taskfile lastTaskfile_{};
  std::int32_t timeoutMs_ = kDefaultTimeoutMs;
  std::array<std::uint8_t, kSectorSize> identifyCache_{};
};

}  // namespace tessel
