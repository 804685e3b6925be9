#include "pages/PageHelpers.h"

#include <cmath>
#include <cstdio>

#include "link/TextRoutines.h"
#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

void FillList(ComboBox& box, std::initializer_list<std::string_view> items) {
  box.clear();
  for (auto item : items) box.add(std::string(item));
}

void SelectLeadingIndex(ComboBox& box, std::string_view value) {
  const auto code = DecimalValue(value.substr(0, 2));
  // A reply that is not a number selects nothing and is not written back.
  box.selectCode(code.value_or(-1));
}

std::optional<std::string> GroupValue(link::Link& link, std::string_view group,
                                      std::string_view item, int retry) {
  std::string value = link::ValueAfterColon(link.GroupItemReadRetry(retry, group, item));
  if (value.empty()) return std::nullopt;
  return value;
}

std::optional<std::string> ItemValue(link::Link& link, std::string_view item, int retry) {
  std::string value = link::ValueAfterColon(link.ItemReadRetry(retry, item));
  if (value.empty()) return std::nullopt;
  return value;
}

bool NumberWithin(std::string_view text, double low, double high) {
  if (!IsNumeric(text)) return false;
  const double v = NumericValue(text);
  return v >= low && v <= high;
}

std::string PlainDecimal(std::string_view text) {
  if (!IsNumeric(text)) return std::string(text);
  const double v = NumericValue(text);
  if (!std::isfinite(v)) return std::string(text);
  if (v == std::floor(v) && std::fabs(v) < 9.007199254740992e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v == 0 ? 0.0 : v);
    return buf;
  }
  // Fractions: the shortest form that reads back as the same number.
  char buf[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    if (NumericValue(buf) == v) break;
  }
  std::string s = buf;
  // %g may choose an exponent; a person reads plain decimals.
  if (s.find('e') != std::string::npos) {
    std::snprintf(buf, sizeof buf, "%.10f", v);
    s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

std::string PrepareFieldsForSending(ModulePage& page) {
  struct Fields : ControlVisitor {
    std::string unsafe;
    void text(const ControlInfo& info, TextBox& box) override {
      const std::string_view name = info.name;
      std::size_t b = 0, e = box.text.size();
      while (b < e && box.text[b] == ' ') ++b;
      while (e > b && box.text[e - 1] == ' ') --e;
      if (b != 0 || e != box.text.size()) box.text = box.text.substr(b, e - b);
      if (!unsafe.empty()) return;
      for (char c : box.text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
          unsafe = std::string(name) + " holds a control character (" + link::ControlName(c) + ")";
          return;
        }
      }
    }
  } fields;
  page.visitControls(fields);
  return fields.unsafe;
}

}  // namespace q5::pages
