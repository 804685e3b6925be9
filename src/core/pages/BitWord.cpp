#include "pages/BitWord.h"

#include <cstdio>

#include "link/TextRoutines.h"

namespace q5::pages {

namespace {

// The value of an upper-case hexadecimal digit, or -1.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void ShowBits(std::string_view word, const std::array<Indicator*, 16>& boxes) {
  for (int k = 1; k <= 4; ++k) {
    if (static_cast<int>(word.size()) < k) break;
    const int v = DigitValue(word[k - 1]);
    if (v < 0) continue;
    const int base = 16 - 4 * k;
    for (int bit = 0; bit < 4; ++bit) {
      if (Indicator* box = boxes[base + bit]) box->colour = (v >> bit) & 1 ? kGreen : kRed;
    }
  }
}

void ShowBits(std::string_view word, Indicator* first) {
  std::array<Indicator*, 16> boxes{};
  for (int i = 0; i < 16; ++i) boxes[i] = first + i;
  ShowBits(word, boxes);
}

void MaskToChecks(std::string_view digits, CheckBox* first) {
  // From the last digit (points 0-3) to the first (points 12-15).
  for (int k = 4; k >= 1; --k) {
    const std::string_view c =
        static_cast<int>(digits.size()) >= k ? digits.substr(k - 1, 1) : std::string_view();
    const int v = link::HexDigitValue(c);
    const int base = 16 - 4 * k;
    for (int bit = 0; bit < 4; ++bit) first[base + bit].value = (v >> bit) & 1;
  }
}

std::string ChecksToMask(const CheckBox* first) {
  unsigned sum = 0;
  for (int n = 0; n < 16; ++n)
    if (first[n].value) sum |= 1u << n;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%X", sum);
  return buf;
}

std::string PointDigits(int n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (int i = 0; i < n && i < 16; ++i) {
    if (i) s += ' ';
    s += kDigits[i];
  }
  return s;
}

}  // namespace q5::pages
