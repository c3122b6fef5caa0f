#include "update/multi_string.h"

#include <algorithm>
#include <new>

#include "os/ascii_case.h"
#include "os/constants.h"
#include "os/system.h"

namespace update {

namespace {

constexpr auto kInvalidData = static_cast<os::LSTATUS>(os::kErrorInvalidData);
constexpr char16_t kBootExecute[] = u"BootExecute";

bool SameName(const char16_t* entry, std::size_t length, const std::u16string& name) {
  if (length != name.size()) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (os::AsciiLower(entry[i]) != os::AsciiLower(name[i])) return false;
  }
  return true;
}

}  // namespace

std::uint32_t MultiStringLength(const char16_t* list, std::uint32_t capacity) {
  if (list == nullptr || capacity == 0) return 0;
  std::uint32_t at = 0;
  while (at < capacity) {
    if (list[at] == u'\0') return at + 1;  // the closing NUL
    while (at < capacity && list[at] != u'\0') ++at;
    ++at;  // the entry's NUL
  }
  return capacity;
}

os::LSTATUS QueryBootExecute(os::HKEY key, char16_t* buffer, std::uint32_t capacity,
                             std::uint32_t& length) {
  if (buffer == nullptr || capacity < 2) return static_cast<os::LSTATUS>(os::kErrorInsufficientBuffer);
  os::DWORD type = 0;
  os::DWORD bytes = capacity * 2;
  const os::LSTATUS status = os::Sys().registry.RegQueryValueExW(
      key, kBootExecute, nullptr, &type, reinterpret_cast<std::uint8_t*>(buffer), &bytes);
  if (status != os::kErrorSuccess) return status;
  if (type != os::kRegMultiSz || bytes % 2 != 0 || bytes == 0 || bytes > capacity * 2) {
    return kInvalidData;
  }
  const std::uint32_t units = bytes / 2;
  if (buffer[units - 1] != u'\0' || (units >= 2 && buffer[units - 2] != u'\0')) {
    return kInvalidData;
  }
  length = units;
  return os::kErrorSuccess;
}

os::LSTATUS SetBootExecute(os::HKEY key, const MultiString* list) {
  if (list == nullptr || list->empty()) return kInvalidData;
  const std::uint32_t units =
      MultiStringLength(list->data(), static_cast<std::uint32_t>(list->size()));
  return os::Sys().registry.RegSetValueExW(
      key, kBootExecute, 0, os::kRegMultiSz,
      reinterpret_cast<const std::uint8_t*>(list->data()), units * 2);
}

int RemoveMultiStringEntry(MultiString& list, const std::u16string& name) {
  int removed = 0;
  std::size_t at = 0;
  while (at < list.size() && list[at] != u'\0') {
    const std::size_t end = std::find(list.begin() + at, list.end(), u'\0') - list.begin();
    if (SameName(list.data() + at, end - at, name)) {
      list.erase(list.begin() + at, list.begin() + std::min(end + 1, list.size()));
      ++removed;
    } else {
      at = end + 1;
    }
  }
  list.resize(std::min(list.size(), at + 1));
  return removed;
}

bool PrependMultiStringEntry(const std::u16string& name, MultiString& list) {
  MultiString joined;
  try {
    joined.reserve(name.size() + 1 + list.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  joined.insert(joined.end(), name.begin(), name.end());
  joined.push_back(u'\0');
  joined.insert(joined.end(), list.begin(), list.end());
  list.swap(joined);
  return true;
}

}  // namespace update
