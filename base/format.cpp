#include "base/format.h"

namespace base::format_detail {
namespace {

void AppendHex(std::u16string& out, std::uint64_t value, bool upper) {
  const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
  char16_t text[16];
  int length = 0;
  do {
    text[length++] = digits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (length > 0) out += text[--length];
}

void AppendDecimal(std::u16string& out, std::uint64_t magnitude,
                   bool negative) {
  char16_t text[20];
  int length = 0;
  do {
    text[length++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) out += u'-';
  while (length > 0) out += text[--length];
}

}  // namespace

// The format was checked against the arguments when it was compiled, so
// every conversion here has its argument of the right kind.
std::u16string Render(std::u16string_view format, const Arg* args,
                      std::size_t count) {
  std::u16string out;
  out.reserve(format.size() + 16 * count);
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    const char16_t conversion = format[++i];
    if (conversion == u'%') {
      out += u'%';
      continue;
    }
    const Arg& arg = args[next++];
    switch (conversion) {
      case u's':
        out += arg.text;
        break;
      case u'd': {
        const auto value = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(arg.bits));
        const std::uint64_t magnitude =
            value < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
                      : static_cast<std::uint64_t>(value);
        AppendDecimal(out, magnitude, value < 0);
        break;
      }
      case u'u':
        AppendDecimal(out, arg.bits, false);
        break;
      case u'x':
        AppendHex(out, arg.bits, false);
        break;
      case u'X':
        AppendHex(out, arg.bits, true);
        break;
      case u'I':
        i += 3;
        AppendHex(out, arg.bits, true);
        break;
    }
  }
  return out;
}

}  // namespace base::format_detail
