// Data exchange between a page's members and its controls: pulled from
// the controls (save) or pushed to them.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class DataExchange {
 public:
  DataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}
  bool saving() const { return save_; }

  // A control's window text.
  void Text(int id, std::u16string& value) const;

 private:
  HWND dialog_;
  bool save_;
};

}  // namespace ui
