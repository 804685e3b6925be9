#include "link/TextRoutines.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

#include "ui/UserDialogs.h"

namespace q5::link {
namespace {

std::string afterFirst(std::string_view text, char c) {
  auto p = text.find(c);
  return std::string(p == std::string_view::npos ? text : text.substr(p + 1));
}

}  // namespace

std::string ValueAfterColon(std::string_view text) { return afterFirst(text, ':'); }

std::string ValueBeforeColon(std::string_view text) {
  return std::string(text.substr(0, text.find(':')));
}

std::string ValueAfterX(std::string_view text) { return afterFirst(text, 'x'); }

std::string RemovePoint(std::string_view text) {
  std::string s(text);
  auto p = s.find('.');
  if (p != std::string::npos) s.erase(p, 1);
  return s;
}

int HexDigitValue(std::string_view text) {
  if (text.size() == 1) {
    char c = text[0];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
  }
  if (text.size() == 2 && text[0] == '1' && text[1] >= '0' && text[1] <= '6') {
    return 10 + (text[1] - '0');
  }
  return 0;
}

std::array<std::string, 4> SplitDotted(std::string_view text) {
  std::array<std::string, 4> out;
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    auto p = text.find('.', start);
    if (p == std::string_view::npos) {
      out[i] = std::string(text.substr(start));
      return out;  // fewer than three points: the remaining fields stay empty
    }
    out[i] = std::string(text.substr(start, p - start));
    start = p + 1;
  }
  out[3] = std::string(text.substr(start));
  return out;
}

std::int16_t CheckNumberInput(std::string_view value, ui::UserDialogs& dialogs) {
  if (value.empty()) return 0;
  auto complain = [&] {
    dialogs.message("Please enter number.\r\n0 to 32767.", std::string(kProgramTitle),
                    ui::Icon::Information);
    return std::int16_t{0};
  };
  for (std::size_t i = 0; i < value.size() && i < 3; ++i) {
    if (value[i] == '+' || value[i] == '-' || value[i] == '.') return complain();
  }
  std::string s(value);
  // Blanks around the number are accepted, as a text box conversion would.
  auto b = s.find_first_not_of(' ');
  auto e = s.find_last_not_of(' ');
  if (b == std::string::npos) return complain();
  s = s.substr(b, e - b + 1);
  if (s.find_first_not_of("0123456789.eE+-") != std::string::npos) return complain();
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(d)) return complain();
  // Fractions are rounded half to even, as the 16-bit conversion does.
  std::fesetround(FE_TONEAREST);
  double r = std::nearbyint(d);
  if (r < 0 || r > 32767) return complain();
  return static_cast<std::int16_t>(r);
}

std::string FillLeft(std::string_view text, std::string_view fill, std::size_t width) {
  if (text.size() >= width || fill.empty()) return std::string(text);
  std::string s(width - text.size(), fill[0]);
  s += text;
  return s;
}

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  std::size_t n = 0;
  unsigned min = 0;
  unsigned cp = 0;
  if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; min = 0x80; }
  else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; min = 0x800; }
  else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; min = 0x10000; }
  else return 0;
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(text, i)) {
        out.append(text.substr(i, n));
        i += n;
        continue;
      }
    }
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
    ++i;
  }
  return out;
}

bool HasControlCharacter(std::string_view text, char* found) {
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) {
      if (found) *found = ch;
      return true;
    }
  }
  return false;
}

}  // namespace q5::link
