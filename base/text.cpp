#include "base/text.h"

#include <climits>

#include "os/constants.h"
#include "os/system.h"

namespace base {

std::u16string Widen(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  auto& seam = os::Sys().text;
  const int length = static_cast<int>(text.size());
  const int needed = seam.MultiByteToWideChar(os::kCpThreadAcp, 0, text.data(),
                                              length, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(needed), u'\0');
  const int written = seam.MultiByteToWideChar(
      os::kCpThreadAcp, 0, text.data(), length, wide.data(), needed);
  if (written <= 0) return {};
  wide.resize(static_cast<std::size_t>(written));
  return wide;
}

std::string Narrow(std::u16string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  auto& seam = os::Sys().text;
  const int length = static_cast<int>(text.size());
  const int needed = seam.WideCharToMultiByte(
      os::kCpThreadAcp, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  const int written =
      seam.WideCharToMultiByte(os::kCpThreadAcp, 0, text.data(), length,
                               narrow.data(), needed, nullptr, nullptr);
  if (written <= 0) return {};
  narrow.resize(static_cast<std::size_t>(written));
  return narrow;
}

std::u16string TrimWhiteSpace(std::u16string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsCWhiteSpace(text[first])) ++first;
  while (last > first && IsCWhiteSpace(text[last - 1])) --last;
  return std::u16string(text.substr(first, last - first));
}

}  // namespace base
