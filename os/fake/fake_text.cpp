#include "os/fake/fake_text.h"

#include "os/cp1252.h"

namespace os::fake {

int FakeText::Fail(DWORD code) {
  errors_.SetLastError(code);
  return 0;
}

int FakeText::MultiByteToWideChar(UINT codePage, DWORD, const char* multiByte,
                                  int multiByteCount, char16_t* wide,
                                  int wideCount) {
  if (auto code = faults_.Take("text", "MultiByteToWideChar")) return Fail(*code);
  DWORD error = 0;
  const int count = cp1252::MultiByteToWide(codePage, multiByte, multiByteCount,
                                            wide, wideCount, error);
  return count == 0 ? Fail(error) : count;
}

int FakeText::WideCharToMultiByte(UINT codePage, DWORD, const char16_t* wide,
                                  int wideCount, char* multiByte,
                                  int multiByteCount, const char* defaultChar,
                                  BOOL* usedDefaultChar) {
  if (auto code = faults_.Take("text", "WideCharToMultiByte")) return Fail(*code);
  DWORD error = 0;
  const int count =
      cp1252::WideToMultiByte(codePage, wide, wideCount, multiByte,
                              multiByteCount, defaultChar, usedDefaultChar, error);
  return count == 0 ? Fail(error) : count;
}

}  // namespace os::fake
