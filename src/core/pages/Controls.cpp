#include "pages/Controls.h"

#include <algorithm>
#include <cmath>

#include "pages/ChannelScaling.h"
#include "pages/PageHelpers.h"

namespace q5::pages {

std::string_view RoleName(Role role) {
  switch (role) {
    case Role::Setting:
      return "setting";
    case Role::Live:
      return "live value";
    case Role::ShownOnly:
      return "shown-only value";
    case Role::Action:
      return "button";
    case Role::Tab:
      return "tab";
    case Role::Label:
      return "label";
    case Role::CaptionState:
      return "state shown in a caption";
  }
  return "control";
}

namespace {

// Places after the point as the value has them: "1.50" has one, "12" none.
int PlacesOf(std::string_view number) {
  const std::string t = TrimmedNumber(number);
  const std::size_t point = t.find('.');
  if (point == std::string::npos) return 0;
  const std::size_t last = t.find_last_not_of('0');
  return last == std::string::npos || last <= point ? 0 : static_cast<int>(last - point);
}

}  // namespace

ControlInfo RangedSetting::info() const {
  ControlInfo i = Setting(name, caption).in_unit(std::string(unit));
  if (rounded) return std::move(i).roundedRange(min, max, decimals < 0 ? 0 : decimals);
  return std::move(i).range(min, max, decimals);
}

ControlInfo RangedSetting::info(int channel) const {
  ControlInfo i = info();
  i.name = Indexed(name, channel);
  return std::move(i).ch(channel);
}

bool InDeclaredRange(const ControlInfo& info, std::string_view text) {
  if (!info.ranged) return true;
  if (!IsNumeric(text)) return false;
  const double v = NumericValue(text);
  if (info.rounded) {
    // Compared as the unit takes it: in steps of the last place, rounded (ties to even).
    const double scale = std::pow(10.0, std::max(info.decimals, 0));
    const double steps = RoundHalfEven(v * scale);
    return steps >= RoundHalfEven(info.min * scale) && steps <= RoundHalfEven(info.max * scale);
  }
  if (v < info.min || v > info.max) return false;
  return info.decimals < 0 || PlacesOf(text) <= info.decimals;
}

std::string RangeText(const ControlInfo& info) {
  if (!info.ranged) return {};
  return PlainDecimal(std::to_string(info.min)) + " to " + PlainDecimal(std::to_string(info.max));
}

std::string OutOfRangeReason(const ControlInfo& info, std::string_view text) {
  std::string what = info.caption.empty() ? info.name : info.caption;
  if (info.channel >= 0 && !info.channelHeading.empty()) what += " of " + info.channelHeading;
  std::string why = what + " is \"" + std::string(text) + "\"; allowed " + RangeText(info);
  if (info.decimals == 0 && !info.rounded)
    why += ", a whole number";
  else if (info.decimals > 0)
    why += ", at most " + std::to_string(info.decimals) + " decimals";
  return why + ".";
}

}  // namespace q5::pages
