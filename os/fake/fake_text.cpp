#include "os/fake/fake_text.h"

#include <cstring>
#include <string>

#include "os/constants.h"
#include "os/cp1252.h"

namespace os::fake {
namespace {

bool IsAnsiCodePage(UINT codePage) {
  return codePage == kCpAcp || codePage == kCpThreadAcp;
}

}  // namespace

int FakeText::Fail(DWORD code) {
  errors_.SetLastError(code);
  return 0;
}

int FakeText::MultiByteToWideChar(UINT codePage, DWORD, const char* multiByte,
                                  int multiByteCount, char16_t* wide,
                                  int wideCount) {
  if (auto code = faults_.Take("MultiByteToWideChar")) return Fail(*code);
  if (!IsAnsiCodePage(codePage) || multiByte == nullptr || wideCount < 0 ||
      multiByteCount == 0 || multiByteCount < -1 ||
      (wideCount > 0 && wide == nullptr)) {
    return Fail(kErrorInvalidParameter);
  }
  // -1: the string and its terminating NUL.
  const std::size_t count = multiByteCount == -1
                                ? std::strlen(multiByte) + 1
                                : static_cast<std::size_t>(multiByteCount);
  if (wideCount == 0) return static_cast<int>(count);
  if (count > static_cast<std::size_t>(wideCount)) {
    return Fail(kErrorInsufficientBuffer);
  }
  for (std::size_t i = 0; i < count; ++i) {
    wide[i] = cp1252::ToUnicode(static_cast<unsigned char>(multiByte[i]));
  }
  return static_cast<int>(count);
}

int FakeText::WideCharToMultiByte(UINT codePage, DWORD, const char16_t* wide,
                                  int wideCount, char* multiByte,
                                  int multiByteCount, const char* defaultChar,
                                  BOOL* usedDefaultChar) {
  if (auto code = faults_.Take("WideCharToMultiByte")) return Fail(*code);
  if (!IsAnsiCodePage(codePage) || wide == nullptr || multiByteCount < 0 ||
      wideCount == 0 || wideCount < -1 ||
      (multiByteCount > 0 && multiByte == nullptr)) {
    return Fail(kErrorInvalidParameter);
  }
  const std::size_t count =
      wideCount == -1 ? std::char_traits<char16_t>::length(wide) + 1
                      : static_cast<std::size_t>(wideCount);
  std::string converted;
  bool usedDefault = false;
  for (std::size_t i = 0; i < count; ++i) {
    const auto byte = cp1252::FromUnicode(wide[i]);
    usedDefault = usedDefault || !byte;
    converted += byte ? static_cast<char>(*byte)
                      : (defaultChar != nullptr ? *defaultChar : '?');
  }
  if (multiByteCount != 0) {
    if (count > static_cast<std::size_t>(multiByteCount)) {
      return Fail(kErrorInsufficientBuffer);
    }
    std::memcpy(multiByte, converted.data(), count);
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? kTrue : kFalse;
  return static_cast<int>(count);
}

}  // namespace os::fake
