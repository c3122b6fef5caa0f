// The simulated drives' firmware image format (ours; a real drive maker's
// format is the maker's business). All fields little-endian:
//
//   offset  size  content
//   0       4     magic "VXFW"
//   4       2     format version, 1
//   6       2     family id the image is for
//   8       2     configuration id the image is for
//   10      2     reserved, 0
//   12      4     payload length in bytes
//   16      4     CRC-32 (IEEE) of header and payload, this field
//                 counted as zero
//   20      12    revision base it installs, NUL-padded
//   32      16    revision suffix it installs, NUL-padded
//   48      8     IDENTIFY firmware revision it installs, NUL-padded
//   56      8     reserved, 0
//   64      n     payload
//
// The whole image is padded with zeros to a multiple of 512 bytes, the
// unit DOWNLOAD MICROCODE moves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct FirmwareImageHeader {
  std::uint16_t familyId = 0;
  std::uint16_t configId = 0;
  std::string revisionBase;
  std::string revisionSuffix;
  std::string firmwareRevision;
  std::uint32_t payloadLength = 0;
};

constexpr std::uint32_t kImageHeaderSize = 64;
constexpr std::uint32_t kChecksumOffset = 16;

std::vector<std::uint8_t> BuildFirmwareImage(const FirmwareImageHeader& header,
                                             const std::vector<std::uint8_t>& payload);

// The header of a whole, undamaged image; none when the magic, the length
// or the checksum is wrong.
std::optional<FirmwareImageHeader> CheckFirmwareImage(
    const std::vector<std::uint8_t>& image);

// The demo package's image: family 666, configuration 2445, installing
// "02.01P02 .30.3C.31P" and firmware "02.01P03".
std::vector<std::uint8_t> BuildDemoImage();

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);

// The checksum of the header (its checksum field as zero) and the
// `payloadLength` bytes of payload; `image` must hold both.
std::uint32_t ImageChecksum(const std::uint8_t* image, std::uint32_t payloadLength);

}  // namespace sim
