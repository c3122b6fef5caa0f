// The IDENTIFY DEVICE block: 256 little-endian words. The word layout the
// system relies on, with the byte offsets the readers take:
//
//   word     bytes    content
//   2        4-5      specific configuration (0x37C8: spin-up required)
//   10-19    20-39    serial number, 20 ATA characters
//   23-26    46-53    firmware revision, 8 ATA characters
//   27-46    54-93    model number, 40 ATA characters
//   60-61    120-123  user-addressable sectors, 28-bit
//   69       138      bit 3: words 230-233 valid
//   83       166      bit 0: DOWNLOAD MICROCODE; bit 10: 48-bit (100-103)
//   86       172      bit 0: DOWNLOAD MICROCODE (enabled copy)
//   100-103  200-207  user-addressable sectors, 48-bit
//   106      212      15:14 = 01b valid; bit 12: words 117-118 valid
//   108-111  216-223  world wide name, word 108 most significant
//   117-118  234-237  logical sector size in words
//   119/120  238/240  bit 4: segmented DOWNLOAD MICROCODE
//   128      256      bit 0 security supported, bit 1 security enabled
//   133      266      low byte: Veltrax family id, 0xFE: see word 134
//   134      268      Veltrax 16-bit family id
//   142      284      low byte: vendor-specific channel level
//   230-233  460-467  extended user-addressable sectors
//   234/235  468/470  min/max blocks per segmented download transfer
#pragma once

#include <cstdint>

#include "ata/block_map.h"

namespace tessel {

namespace identify {
constexpr std::uint32_t kSerialOffset = 20;
constexpr std::uint32_t kSerialWords = 10;
constexpr std::uint32_t kFirmwareOffset = 46;
constexpr std::uint32_t kFirmwareWords = 4;
constexpr std::uint32_t kModelOffset = 54;
constexpr std::uint32_t kModelWords = 20;

constexpr std::uint16_t kSpinUpRequired = 0x37C8;
constexpr std::uint8_t kLongFamilyId = 0xFE;

// Byte offset of word `n`.
constexpr std::uint32_t Word(std::uint32_t n) { return 2 * n; }
}  // namespace identify

class AtaIdentifyDeviceMap : public BlockMap {
 public:
  using BlockMap::BlockMap;

  // The value of IDENTIFY word `n`.
  std::uint16_t IdentifyWord(std::uint32_t n) const {
    return Word(identify::Word(n));
  }
  bool Bit(std::uint32_t word, unsigned bit) const {
    return (IdentifyWord(word) >> bit) & 1u;
  }

  // The fields the system reads, each decoded here once.

  // Word 2: 0x37C8 when the drive waits for the spin-up subcommand.
  std::uint16_t SpecificConfiguration() const { return IdentifyWord(2); }
  bool NeedsSpinUp() const { return SpecificConfiguration() == identify::kSpinUpRequired; }
  // Words 108-111, word 108 most significant.
  std::uint64_t WorldWideName() const;
  // The NAA nibble and IEEE OUI (the name's top 28 bits) are Veltrax's.
  bool HasVeltraxWorldWideName() const;
  // Word 106 valid (15:14 = 01b) with bit 12 set: words 117-118 count the
  // logical sector in words; otherwise 512 bytes.
  std::uint32_t LogicalSectorSize() const;
  // Word 69 bit 3 before word 83 bit 10 before the 28-bit count.
  std::uint64_t UserAddressableSectors() const;
  // Word 142, bits 7:0.
  std::uint8_t VendorChannelLevel() const { return Byte(identify::Word(142)); }
  // Word 133's low byte, or word 134 where that byte is 0xFE.
  std::uint16_t VeltraxFamilyId() const;
  // Words 83 and 86, bit 0.
  bool DownloadMicrocodeSupported() const { return Bit(83, 0) && Bit(86, 0); }
  // Words 119 and 120, bit 4.
  bool SegmentedDownloadSupported() const { return Bit(119, 4) && Bit(120, 4); }
  // Words 234 and 235 as the drive reports them (0 and 0xFFFF included).
  std::uint16_t DownloadMinimumBlocks() const { return IdentifyWord(234); }
  std::uint16_t DownloadMaximumBlocks() const { return IdentifyWord(235); }
  // Word 128, bits 0 and 1.
  bool SecuritySupported() const { return Bit(128, 0); }
  bool SecurityEnabled() const { return Bit(128, 1); }

  // Copies `wordCount` words of ATA characters (first character in the high
  // byte) from byte `start` into `destination` and ends them with a zero
  // byte. `destination` must hold 2 * wordCount + 1 bytes.
  void ReadAtaString(std::uint32_t start, std::uint32_t wordCount,
                     char* destination, std::uint32_t destinationSize) const;
};

}  // namespace tessel
