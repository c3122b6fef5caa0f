#include "os/cp1252.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "os/constants.h"

namespace os::cp1252 {
namespace {

// Bytes 0x80..0x9F; everything else maps to the code point of its value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> FromUnicode(char16_t unit) {
  for (unsigned i = 0; i < 32; ++i) {
    if (kHighControls[i] == unit) return static_cast<unsigned char>(0x80 + i);
  }
  if (unit <= 0xFF && !(unit >= 0x80 && unit <= 0x9F)) {
    return static_cast<unsigned char>(unit);
  }
  return std::nullopt;
}

namespace {

bool IsAnsiCodePage(UINT codePage) {
  return codePage == kCpAcp || codePage == kCpThreadAcp;
}

}  // namespace

}  // namespace os::cp1252

namespace os {

int LoadStringFromTable(const std::map<UINT, std::u16string>* table, UINT id,
                        char16_t* buffer, int bufferMax, DWORD& error) {
  const auto it = table == nullptr ? decltype(table->end()){} : table->find(id);
  if (table == nullptr || it == table->end() || buffer == nullptr || bufferMax <= 0) {
    error = kErrorResourceNameNotFound;
    return 0;
  }
  const std::size_t length =
      std::min(it->second.size(), static_cast<std::size_t>(bufferMax - 1));
  std::copy_n(it->second.data(), length, buffer);
  buffer[length] = u'\0';
  return static_cast<int>(length);
}

}  // namespace os

namespace os::cp1252 {

int MultiByteToWide(UINT codePage, const char* multiByte, int multiByteCount,
                    char16_t* wide, int wideCount, DWORD& error) {
  if (!IsAnsiCodePage(codePage) || multiByte == nullptr || wideCount < 0 ||
      multiByteCount == 0 || multiByteCount < -1 ||
      (wideCount > 0 && wide == nullptr)) {
    error = kErrorInvalidParameter;
    return 0;
  }
  // -1: the string and its terminating NUL.
  const std::size_t count = multiByteCount == -1
                                ? std::strlen(multiByte) + 1
                                : static_cast<std::size_t>(multiByteCount);
  if (wideCount == 0) return static_cast<int>(count);
  if (count > static_cast<std::size_t>(wideCount)) {
    error = kErrorInsufficientBuffer;
    return 0;
  }
  for (std::size_t i = 0; i < count; ++i) {
    wide[i] = ToUnicode(static_cast<unsigned char>(multiByte[i]));
  }
  return static_cast<int>(count);
}

int WideToMultiByte(UINT codePage, const char16_t* wide, int wideCount,
                    char* multiByte, int multiByteCount,
                    const char* defaultChar, BOOL* usedDefaultChar,
                    DWORD& error) {
  if (!IsAnsiCodePage(codePage) || wide == nullptr || multiByteCount < 0 ||
      wideCount == 0 || wideCount < -1 ||
      (multiByteCount > 0 && multiByte == nullptr)) {
    error = kErrorInvalidParameter;
    return 0;
  }
  const std::size_t count =
      wideCount == -1 ? std::char_traits<char16_t>::length(wide) + 1
                      : static_cast<std::size_t>(wideCount);
  std::string converted;
  bool usedDefault = false;
  for (std::size_t i = 0; i < count; ++i) {
    const auto byte = FromUnicode(wide[i]);
    usedDefault = usedDefault || !byte;
    converted += byte ? static_cast<char>(*byte)
                      : (defaultChar != nullptr ? *defaultChar : '?');
  }
  if (multiByteCount != 0) {
    if (count > static_cast<std::size_t>(multiByteCount)) {
      error = kErrorInsufficientBuffer;
      return 0;
    }
    std::memcpy(multiByte, converted.data(), count);
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? kTrue : kFalse;
  return static_cast<int>(count);
}

}  // namespace os::cp1252
