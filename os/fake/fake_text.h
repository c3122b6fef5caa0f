// The fake's code pages: the ANSI code page (CP_ACP, CP_THREAD_ACP) is 1252.
#pragma once

#include <map>
#include <string>

#include "os/fake/faults.h"
#include "os/errors.h"
#include "os/text.h"

namespace os::fake {

class FakeText final : public Text {
 public:
  FakeText(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte,
                          int multiByteCount, char16_t* wide,
                          int wideCount) override;
  int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide,
                          int wideCount, char* multiByte, int multiByteCount,
                          const char* defaultChar,
                          BOOL* usedDefaultChar) override;

 private:
  int Fail(DWORD code);

  Errors& errors_;
  Faults& faults_;
};

}  // namespace os::fake
