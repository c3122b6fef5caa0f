// A typed formatter for the printf subset the system writes: "%s" (UTF-16
// text), "%d", "%u", "%x", "%X" (32-bit integers), "%I64X" (64-bit) and
// "%%". The format is checked against the argument types while compiling:
// a 64-bit value under "%x", a number under "%s" or a missing argument does
// not build.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace base {
namespace format_detail {

enum class Kind { Text, Int32, Int64, Invalid };

template <class T>
constexpr Kind KindOf() {
  using U = std::remove_cvref_t<std::decay_t<T>>;
  if constexpr (std::is_same_v<U, std::u16string> ||
                std::is_same_v<U, std::u16string_view> ||
                std::is_same_v<U, const char16_t*> ||
                std::is_same_v<U, char16_t*>) {
    return Kind::Text;
  } else if constexpr (std::is_integral_v<U> && !std::is_same_v<U, bool> &&
                       !std::is_same_v<U, char> &&
                       !std::is_same_v<U, char8_t> &&
                       !std::is_same_v<U, char16_t> &&
                       !std::is_same_v<U, char32_t> &&
                       !std::is_same_v<U, wchar_t>) {
    return sizeof(U) <= 4 ? Kind::Int32
                          : (sizeof(U) == 8 ? Kind::Int64 : Kind::Invalid);
  } else {
    return Kind::Invalid;
  }
}

// True when `format` takes exactly `kinds`, one per conversion, in order.
template <std::size_t N>
constexpr bool Matches(std::u16string_view format,
                       const std::array<Kind, N>& kinds) {
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%') continue;
    if (++i == format.size()) return false;
    Kind wanted = Kind::Invalid;
    switch (format[i]) {
      case u'%':
        continue;
      case u's':
        wanted = Kind::Text;
        break;
      case u'd':
      case u'u':
      case u'x':
      case u'X':
        wanted = Kind::Int32;
        break;
      case u'I':
        if (format.substr(i, 4) != u"I64X") return false;
        i += 3;
        wanted = Kind::Int64;
        break;
      default:
        return false;
    }
    if (next == N || kinds[next] != wanted) return false;
    ++next;
  }
  return next == N;
}

// Reached only when a format does not match its arguments; being a plain
// function it stops the constant evaluation, and so the build.
void FormatDoesNotMatchItsArguments();

struct Arg {
  Kind kind;
  std::u16string_view text;
  std::uint64_t bits;
};

template <class T>
Arg MakeArg(const T& value) {
  constexpr Kind kind = KindOf<T>();
  if constexpr (kind == Kind::Text) {
    using U = std::remove_cvref_t<std::decay_t<T>>;
    if constexpr (std::is_pointer_v<U>) {
      return Arg{kind, value == nullptr ? u"(null)" : std::u16string_view(value),
                 0};
    } else {
      return Arg{kind, std::u16string_view(value), 0};
    }
  } else if constexpr (kind == Kind::Int32) {
    // As printf promotes: signed values widen with their sign.
    return Arg{kind, {}, static_cast<std::uint32_t>(value)};
  } else {
    return Arg{kind, {}, static_cast<std::uint64_t>(value)};
  }
}

std::u16string Render(std::u16string_view format, const Arg* args,
                      std::size_t count);

}  // namespace format_detail

// Whether `format` accepts arguments of the types Args: the compile-time
// check of FormatString, usable in static_assert.
template <class... Args>
constexpr bool FormatAccepts(std::u16string_view format) {
  return format_detail::Matches(
      format,
      std::array<format_detail::Kind, sizeof...(Args)>{
          format_detail::KindOf<Args>()...});
}

template <class... Args>
class FormatString {
 public:
  template <std::size_t N>
  consteval FormatString(const char16_t (&text)[N]) : text_(text, N - 1) {
    if (!FormatAccepts<Args...>(text_)) {
      format_detail::FormatDoesNotMatchItsArguments();
    }
  }
  constexpr std::u16string_view text() const { return text_; }

 private:
  std::u16string_view text_;
};

template <class... Args>
std::u16string Format(FormatString<std::type_identity_t<Args>...> format,
                      const Args&... args) {
  const std::array<format_detail::Arg, sizeof...(Args)> packed{
      format_detail::MakeArg(args)...};
  return format_detail::Render(format.text(), packed.data(), packed.size());
}

// A format known only at run time (a string-table text): checked against
// the arguments as it is used; a text that does not match them is returned
// as it stands instead of being filled in.
template <class... Args>
std::u16string FormatLoaded(std::u16string_view format, const Args&... args) {
  if (!FormatAccepts<Args...>(format)) return std::u16string(format);
  const std::array<format_detail::Arg, sizeof...(Args)> packed{format_detail::MakeArg(args)...};
  return format_detail::Render(format, packed.data(), packed.size());
}

}  // namespace base
