#include "os/fake/fake_path.h"

#include <vector>

#include "os/ascii_case.h"

namespace os::fake {
namespace {

bool HasDrive(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':';
}

// Length of the part that no element removal may touch: "x:\", "x:", "\\",
// "\" or nothing.
std::size_t RootLength(std::u16string_view path) {
  if (HasDrive(path)) return path.size() >= 3 && path[2] == u'\\' ? 3 : 2;
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') return 2;
  if (!path.empty() && path[0] == u'\\') return 1;
  return 0;
}

}  // namespace

std::u16string CanonicalPath(std::u16string_view path,
                             std::u16string_view currentDirectory) {
  std::u16string text(path);
  for (auto& c : text) c = c == u'/' ? u'\\' : os::AsciiLower(c);
  std::u16string base(currentDirectory);
  if (!HasDrive(text)) {
    if (!text.empty() && text[0] == u'\\') {
      text = base.substr(0, 2) + text;
    } else {
      text = base + u"\\" + text;
    }
  }
  // Split after "x:" and rebuild the elements, resolving "." and "..".
  std::u16string drive = text.substr(0, 2);
  std::vector<std::u16string> elements;
  std::u16string element;
  auto flush = [&] {
    if (element == u"..") {
      if (!elements.empty()) elements.pop_back();
    } else if (!element.empty() && element != u".") {
      elements.push_back(element);
    }
    element.clear();
  };
  for (std::size_t i = 2; i < text.size(); ++i) {
    if (text[i] == u'\\') {
      flush();
    } else {
      element += text[i];
    }
  }
  flush();
  std::u16string result = drive;
  for (const auto& e : elements) result += u"\\" + e;
  if (elements.empty()) result += u"\\";
  return result;
}

std::u16string ParentOf(const std::u16string& canonical) {
  const auto slash = canonical.rfind(u'\\');
  if (slash == std::u16string::npos || slash + 1 == canonical.size()) {
    return canonical;
  }
  if (slash == 2) return canonical.substr(0, 3);
  return canonical.substr(0, slash);
}

bool RemoveFileSpec(char16_t* path) {
  const std::u16string_view text(path);
  const std::size_t root = RootLength(text);
  std::size_t cut = root;
  const auto slash = text.rfind(u'\\');
  if (slash != std::u16string_view::npos && slash >= root) cut = slash;
  if (cut >= text.size()) return false;
  path[cut] = u'\0';
  return true;
}

}  // namespace os::fake
