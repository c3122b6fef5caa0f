#include "sim/firmware_image.h"

#include <algorithm>
#include <cstring>

#include "sim/bytes.h"

namespace sim {
namespace {

constexpr char kMagic[4] = {'V', 'X', 'F', 'W'};
constexpr std::uint32_t kBlock = 512;

void PutText(std::vector<std::uint8_t>& b, std::size_t at, std::size_t width,
             const std::string& text) {
  std::memcpy(b.data() + at, text.data(), std::min(width, text.size()));
}

std::string GetText(const std::vector<std::uint8_t>& b, std::size_t at,
                    std::size_t width) {
  std::string text(reinterpret_cast<const char*>(b.data() + at), width);
  return text.substr(0, text.find('\0'));
}

}  // namespace

std::uint32_t ImageChecksum(const std::uint8_t* image, std::uint32_t payloadLength) {
  std::vector<std::uint8_t> covered(image, image + kImageHeaderSize + payloadLength);
  std::fill_n(covered.begin() + kChecksumOffset, 4, 0);
  return Crc32(covered.data(), covered.size());
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<std::uint8_t> BuildFirmwareImage(const FirmwareImageHeader& header,
                                             const std::vector<std::uint8_t>& payload) {
  std::size_t total = kImageHeaderSize + payload.size();
  total = (total + kBlock - 1) / kBlock * kBlock;
  std::vector<std::uint8_t> image(total, 0);
  std::memcpy(image.data(), kMagic, 4);
  Put16(image.data() + 4, 1);
  Put16(image.data() + 6, header.familyId);
  Put16(image.data() + 8, header.configId);
  Put32(image.data() + 12, static_cast<std::uint32_t>(payload.size()));
  PutText(image, 20, 12, header.revisionBase);
  PutText(image, 32, 16, header.revisionSuffix);
  PutText(image, 48, 8, header.firmwareRevision);
  if (!payload.empty()) {
    std::memcpy(image.data() + kImageHeaderSize, payload.data(), payload.size());
  }
  Put32(image.data() + kChecksumOffset,
        ImageChecksum(image.data(), static_cast<std::uint32_t>(payload.size())));
  return image;
}

std::optional<FirmwareImageHeader> CheckFirmwareImage(
    const std::vector<std::uint8_t>& image) {
  if (image.size() < kImageHeaderSize || std::memcmp(image.data(), kMagic, 4) != 0) {
    return std::nullopt;
  }
  FirmwareImageHeader header;
  header.familyId = Get16(image, 6);
  header.configId = Get16(image, 8);
  header.payloadLength = Get32(image, 12);
  if (header.payloadLength > image.size() - kImageHeaderSize) return std::nullopt;
  if (ImageChecksum(image.data(), header.payloadLength) != Get32(image, kChecksumOffset)) {
    return std::nullopt;
  }
  header.revisionBase = GetText(image, 20, 12);
  header.revisionSuffix = GetText(image, 32, 16);
  header.firmwareRevision = GetText(image, 48, 8);
  return header;
}

std::vector<std::uint8_t> BuildDemoImage() {
  FirmwareImageHeader header;
  header.familyId = 666;
  header.configId = 2445;
  header.revisionBase = "02.01P02";
  header.revisionSuffix = ".30.3C.31P";
  header.firmwareRevision = "02.01P03";
  // A payload of some size, so a transfer takes several segments.
  std::vector<std::uint8_t> payload(96 * 1024 + 123);
  std::uint32_t x = 0x7221;
  for (auto& byte : payload) {
    x = x * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(x >> 16);
  }
  return BuildFirmwareImage(header, payload);
}

}  // namespace sim
