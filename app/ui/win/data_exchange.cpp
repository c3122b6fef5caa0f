#include "app/ui/win/data_exchange.h"

namespace ui {

void DataExchange::Text(int id, std::u16string& value) const {
  const HWND control = ::GetDlgItem(dialog_, id);
  if (control == nullptr) return;
  if (!save_) {
    ::SetWindowTextW(control, reinterpret_cast<const wchar_t*>(value.c_str()));
    return;
  }
  const int length = ::GetWindowTextLengthW(control);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = ::GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  value = std::move(text);
}

}  // namespace ui
