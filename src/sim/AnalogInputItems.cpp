// Item table of the analog input modules of the simulated unit: the 4-channel modules
// (kind 0), the 2-channel F modules (kind 7) and the 8-channel modules (kind 17).
//
// Per channel (group "1", "2", ...):
//   "20" zero scale, "21" full scale     integers, kept as written
//   "22" bias, "23" gain                 decimals within +-320 / +-3.2, kept as "0.00" / "1.0000"
//   "24" zero base, "25" full base       the ends of the channel's input range in its unit
//                                        ("-10.00", "10.00"); writable only on kind 7
//   "09" input range code                decimal code
//   "11" valid/invalid                   "0" / "1" (models with that setting)
//   "13" data type                       "0" signed / "1" unsigned (AINF4 models)
//   "08" switch and range                "F," + range code (the switch-less model)
// Module-wide (group "00"):
//   "09" range switch                    "SW1:F" (kind 0), "RANGE01:0" (kind 17)
//   "14" output hold/clear               written "0" / "1", read "ON" / "OFF"
//   "21".. live values                   moving decimals with two places ("4.87")
//   "29" averaging index                 "AVENUM:3" (index at character 8) or
//                                        "AVERAGE_NUM:3" (character 13)
//   "30" conversion rate (AI4 model)     written "0".."3", read "CONV_SPEED:80ms" (the
//                                        rate at characters 12 and 13)
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

namespace {

std::string Fixed(double v, int places) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", places, v);
  return buf;
}

std::optional<double> Decimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size()) return std::nullopt;
  return v;
}

// Accepts a decimal within +-limit and keeps it with the given number of places.
WriteHook DecimalWithin(double limit, int places) {
  return [=](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    const auto v = Decimal(data);
    if (!v || *v < -limit || *v > limit) return std::nullopt;
    return Fixed(*v, places);
  };
}

// The ends of an input range by its code (codes 8 and 15 and unknown ones: 0 to 0).
struct RangeEnds {
  double zero;
  double full;
};
RangeEnds EndsOf(int code) {
  switch (code) {
    case 0: return {-10, 10};
    case 1: return {-5, 5};
    case 2: return {-1, 1};
    case 3: return {0, 10};
    case 4: return {0, 5};
    case 5: return {1, 5};
    case 6: return {0, 1};
    case 7: return {-0.5, 0.5};
    case 9: return {-20, 20};
    case 10: return {4, 20};
    case 11: return {0, 20};
    default: return {0, 0};
  }
}

int CodeOf(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (...) {
    return -1;
  }
}

// Live value of a channel: a slow sine in hundredths, shown with two places.
LiveGenerator LiveChannel(int ch) {
  const double centre = ch;
  const double amplitude = 0.5 + 0.25 * ch;
  const std::int64_t periodUs = 4'000'000 + 700'000 * ch;
  return [=](const SimulatedUnit&, const LiveTick& tick) {
    const double pi = 3.14159265358979323846;
    const double phase = 2 * pi * static_cast<double>(tick.nowUs % periodUs) /
                         static_cast<double>(periodUs);
    return Fixed(std::round((centre + amplitude * std::sin(phase)) * 100) / 100, 2);
  };
}

}  // namespace

void AddAnalogInputItems(SimulatedUnit& unit) {
  const int kind = unit.moduleKind();
  if (kind != 0 && kind != 7 && kind != 17) return;

  // The models with their own settings.
  const bool ai4Model = unit.modelIs("Q5T3NML3-6-AI4");
  const bool switchLess = unit.modelIs("Q5T3NH-A-AIF4");
  const bool dataType = unit.modelStartsWith("Q5T3NML3-6-AINF4");
  const bool averaging4 = unit.modelIs("Q5T3NML3-6-AIF4") || unit.modelIs("Q5T3NML-6-AIF4") ||
                          switchLess || dataType;
  const bool fixedRange = unit.modelIs("Q5Z3UECT-1-AIF8N") || unit.modelIs("Q5Z3UECT-1-AIMF8N");
  const bool mixed = unit.modelIs("Q5Z3UECT-1-AIMF8N");
  const bool listed8 = fixedRange || unit.modelIs("Q5T3NML-6-AIF8N");
  const bool withValid = (kind == 0 && (ai4Model || averaging4)) || (kind == 17 && listed8);
  const int maxRange = kind == 17 ? 5 : (ai4Model || averaging4 ? 11 : 7);

  for (int ch = 1; ch <= unit.channelCount(); ++ch) {
    const std::string g = std::to_string(ch);
    const bool currentInput = mixed && ch >= 5;  // fixed "4mA to 20mA"

    unit.item(g, "20").set("0").accept(IntegerIn(-32768, 65535));
    unit.item(g, "21").set("10000").accept(IntegerIn(-32768, 65535));
    unit.item(g, "22").set("0.00").accept(DecimalWithin(320, 2));
    unit.item(g, "23").set("1.0000").accept(DecimalWithin(3.2, 4));

    if (kind == 7) {
      // The F 2-channel module keeps its base values as written.
      unit.item(g, "24").set("-10.00").accept(DecimalWithin(1000, 2));
      unit.item(g, "25").set("10.00").accept(DecimalWithin(1000, 2));
      continue;
    }

    unit.item(g, "09").set("0").accept(IntegerIn(0, maxRange));
    // The bases follow the channel's range.
    auto base = [g, currentInput](bool full) {
      return [g, currentInput, full](const SimulatedUnit& u, const std::string&) {
        const RangeEnds ends = currentInput ? RangeEnds{4, 20} : EndsOf(CodeOf(u.value(g, "09")));
        return Fixed(full ? ends.full : ends.zero, 2);
      };
    };
    unit.item(g, "24").format(base(false)).readOnly();
    unit.item(g, "25").format(base(true)).readOnly();

    if (withValid)
      unit.item(g, "11").set("0").accept(OneOf({"0", "1"}));
    else
      unit.item(g, "11").unused();
    if (dataType) unit.item(g, "13").set("0").accept(OneOf({"0", "1"}));
    if (switchLess) {
      // This model has a switch per channel, set to "F" (software range).
      unit.item(g, "08")
          .format([g](const SimulatedUnit& u, const std::string&) {
            return "F," + u.value(g, "09");
          })
          .readOnly();
    }
  }

  // Module-wide items.
  if (kind == 0) unit.item("00", "09").set("F").format(Prefix("SW1:")).readOnly();
  if (kind == 17) unit.item("00", "09").set("0").format(Prefix("RANGE01:")).readOnly();
  if (kind == 0) {
    unit.item("00", "14")
        .set("0")
        .accept(OneOf({"0", "1"}))
        .format([](const SimulatedUnit&, const std::string& v) {
          return std::string(v == "0" ? "ON" : "OFF");
        });
  }

  const int live = kind == 0 ? 4 : unit.channelCount();
  for (int ch = 1; ch <= live; ++ch)
    unit.item("00", std::to_string(20 + ch)).set("0.00").live(LiveChannel(ch)).readOnly();

  if ((kind == 0 && averaging4) || kind == 17) {
    const bool at13 = dataType || fixedRange;
    unit.item("00", "29")
        .set("0")
        .accept(IntegerIn(0, kind == 17 ? 7 : 8))
        .format(Prefix(at13 ? "AVERAGE_NUM:" : "AVENUM:"));
  }
  if (kind == 0 && ai4Model) {
    unit.item("00", "30")
        .set("0")
        .accept(OneOf({"0", "1", "2", "3"}))
        .format([](const SimulatedUnit&, const std::string& v) {
          static const char* const kRates[] = {"80", "40", "20", "10"};
          const int i = CodeOf(v);
          return std::string("CONV_SPEED:") + (i >= 0 && i < 4 ? kRates[i] : "80") + "ms";
        });
  }
}

}  // namespace q5::sim
