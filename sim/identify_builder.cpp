#include "sim/identify_builder.h"

#include "sim/bytes.h"

namespace sim {
namespace {

void PutWord(Sector& s, int word, std::uint16_t value) { Put16(s.data() + 2 * word, value); }

// ATA strings: two characters a word, the first in the high byte, padded
// with blanks.
void PutAtaString(Sector& s, int firstWord, int words, std::string text) {
  text.resize(2 * words, ' ');
  for (int k = 0; k < words; ++k) {
    s[2 * (firstWord + k)] = static_cast<std::uint8_t>(text[2 * k + 1]);
    s[2 * (firstWord + k) + 1] = static_cast<std::uint8_t>(text[2 * k]);
  }
}

void PutQwordWords(Sector& s, int firstWord, std::uint64_t value) {
  for (int i = 0; i < 4; ++i) {
    PutWord(s, firstWord + i, static_cast<std::uint16_t>(value >> (16 * i)));
  }
}

}  // namespace

Sector BuildIdentify(const DriveDescription& d, const std::string& firmware,
                     bool spunUp) {
  Sector s{};
  PutWord(s, 0, 0x0040);  // fixed device
  PutWord(s, 2, spunUp ? 0xC837 : 0x37C8);
  PutAtaString(s, 10, 10, d.serial);
  PutAtaString(s, 23, 4, firmware);
  PutAtaString(s, 27, 20, d.model);
  const std::uint64_t lba28 = d.sectors > 0x0FFFFFFF ? 0x0FFFFFFF : d.sectors;
  PutWord(s, 60, static_cast<std::uint16_t>(lba28));
  PutWord(s, 61, static_cast<std::uint16_t>(lba28 >> 16));
  PutWord(s, 69, 1 << 3);
  PutWord(s, 83, static_cast<std::uint16_t>(0x4000 | 1 << 10 | (d.downloadMicrocode ? 1 : 0)));
  PutWord(s, 86, static_cast<std::uint16_t>(1 << 10 | (d.downloadMicrocode ? 1 : 0)));
  PutQwordWords(s, 100, d.sectors);
  if (d.logicalSectorSize != 512) {
    PutWord(s, 106, 0x5000);
    const std::uint32_t words = d.logicalSectorSize / 2;
    PutWord(s, 117, static_cast<std::uint16_t>(words));
    PutWord(s, 118, static_cast<std::uint16_t>(words >> 16));
  } else {
    PutWord(s, 106, 0x4000);
  }
  PutWord(s, 108, static_cast<std::uint16_t>(d.wwn >> 48));
  PutWord(s, 109, static_cast<std::uint16_t>(d.wwn >> 32));
  PutWord(s, 110, static_cast<std::uint16_t>(d.wwn >> 16));
  PutWord(s, 111, static_cast<std::uint16_t>(d.wwn));
  const std::uint16_t segmented = d.segmented ? 0x4010 : 0x4000;
  PutWord(s, 119, segmented);
  PutWord(s, 120, segmented);
  PutWord(s, 128, static_cast<std::uint16_t>((d.securitySupported ? 1 : 0) |
                                             (d.securityEnabled ? 2 : 0)));
  if (d.familyId > 0xFD) {
    PutWord(s, 133, 0x00FE);
    PutWord(s, 134, d.familyId);
  } else {
    PutWord(s, 133, d.familyId);
  }
  PutWord(s, 142, d.vscLevel);
  PutQwordWords(s, 230, d.sectors);
  PutWord(s, 234, d.transferMinBlocks);
  PutWord(s, 235, d.transferMaxBlocks);
  for (const auto& [word, value] : d.identifyWords) {
    if (word >= 0 && word < 256) PutWord(s, word, value);
  }
  // A drive that has not spun up reports no more than its configuration.
  if (!spunUp) {
    Sector partial{};
    PutWord(partial, 0, 0x0040);
    PutWord(partial, 2, 0x37C8);
    return partial;
  }
  return s;
}

// The host reads base A0 A1 A2 B0 B1 C5 C0 C1 and suffix A2 A3 A4 B2 B3 B4
// C2 C3 C4 C5; the drive stores its revisions that way round.
Sector BuildPhysParams(const DriveDescription& d,
                       const std::string& revisionSet) {
  Sector s{};
  const auto space = revisionSet.find(' ');
  std::string base = revisionSet.substr(0, space);
  std::string suffix = space == std::string::npos ? "" : revisionSet.substr(space + 1);
  base.resize(8, '\0');
  suffix.resize(10, '\0');
  const char a[8] = {base[0], base[1], base[2], suffix[1], suffix[2]};
  const char b[8] = {base[3], base[4], suffix[3], suffix[4], suffix[5]};
  const char c[8] = {base[6], base[7], suffix[6], suffix[7], suffix[8], base[5]};
  for (int i = 0; i < 8; ++i) {
    s[2 + i] = static_cast<std::uint8_t>(a[i]);
    s[10 + i] = static_cast<std::uint8_t>(b[i]);
    s[18 + i] = static_cast<std::uint8_t>(c[i]);
  }
  if (d.familyId > 0xFD) {
    s[26] = 0xFE;
    s[364] = d.familyId & 0xFF;
    s[365] = d.familyId >> 8;
  } else {
    s[26] = static_cast<std::uint8_t>(d.familyId);
  }
  s[366] = d.configId & 0xFF;
  s[367] = d.configId >> 8;
  for (const auto& [offset, value] : d.physParamBytes) {
    if (offset >= 0 && offset < 512) s[offset] = value;
  }
  return s;
}

}  // namespace sim
