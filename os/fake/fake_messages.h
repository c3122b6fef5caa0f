// The fake's message boxes: each one recorded, answered from a script.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "os/messages.h"

namespace os::fake {

class FakeMessages final : public Messages {
 public:
  struct Box {
    std::u16string text;
    std::u16string caption;
    UINT type;
  };
  // Answers in order; IDOK for an OK box, IDNO otherwise, when none is left.
  std::deque<int> answers;
  std::vector<Box> Boxes() const;

  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                  UINT type) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Box> boxes_;
};

}  // namespace os::fake
