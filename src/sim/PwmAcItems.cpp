// Item table of the PWM output module (kind 15) and the AC current input module (kind 16)
// of the simulated unit.
//
// PWM output, per channel (group "1" to "4"):
//   "15" phase 0..65535          "30" max duty 0..9000 (hundredths of a percent)
//   "13" frequency 10..65000     "19" max current 1000..1300
//   "14" dither frequency 1..310 "16" dither amplitude 0..400
//   "17" output clear value 0..9000
//   "11" output "0" valid / "1" invalid, "12" dither "0" valid / "1" invalid
// Module-wide (group "00"):
//   "21".."24" output values in hundredths, answered with two places ("45.00"); they
//              follow the controller (a slow sine) until item "78" is written "1"
//              (manual mode), then they are what was last written; writing them
//              before that is refused
//   "78"      manual mode "0" / "1"
//   "29"      output hold/clear, "HOLD_CLR:1" (the index is the 10th character); read only
//
// AC current input, per channel (group "1" to "32"):
//   "22" zero scale, "23" full scale  integers 0..65535
//   "20" bias 0..10 (kept with two places), "21" gain 0.1..3.2 (four places)
//   "08" input "0" valid / "1" invalid
//   "10" live current, a moving decimal ("3.17")
// Module-wide (group "00"):
//   "09" module information "MODULE:AC32"
//   "19" averaging index 0..4, answered "AVERAGE:2" (the index is the 9th character)
//   "15" drop-out 0.5..5 %, answered "DROPOUT:1.00" (characters 9 to 12)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
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
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// Accepts a decimal within [lo, hi] and keeps it with the given number of places.
WriteHook DecimalIn(double lo, double hi, int places) {
  return [=](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    const auto v = Decimal(data);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return Fixed(*v, places);
  };
}

double Wave(std::int64_t nowUs, std::int64_t periodUs) {
  const double pi = 3.14159265358979323846;
  return std::sin(2 * pi * static_cast<double>(nowUs % periodUs) / static_cast<double>(periodUs));
}

void AddPwmItems(SimulatedUnit& unit) {
  for (int ch = 1; ch <= unit.channelCount(); ++ch) {
    const std::string g = std::to_string(ch);
    unit.item(g, "15").set("0").accept(IntegerIn(0, 65535));
    unit.item(g, "30").set("5000").accept(IntegerIn(0, 9000));
    unit.item(g, "13").set("10000").accept(IntegerIn(10, 65000));
    unit.item(g, "19").set("1300").accept(IntegerIn(1000, 1300));
    unit.item(g, "14").set("300").accept(IntegerIn(1, 310));
    unit.item(g, "16").set("50").accept(IntegerIn(0, 400));
    unit.item(g, "17").set("0").accept(IntegerIn(0, 9000));
    unit.item(g, "11").set("0").accept(OneOf({"0", "1"}));
    unit.item(g, "12").set("1").accept(OneOf({"0", "1"}));
  }
  unit.item("00", "78").set("0").accept(OneOf({"0", "1"}));
  for (int n = 1; n <= 4; ++n) {
    const std::string item = std::to_string(20 + n);
    // What was written in manual mode, in hundredths.
    auto manual = std::make_shared<long long>(0);
    unit.item("00", item)
        .set("0.00")
        .accept([manual](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
          if (u.value("00", "78") != "1") return std::nullopt;
          const auto v = Decimal(data);
          if (!v || *v < -32000 || *v > 32000) return std::nullopt;
          *manual = std::llround(*v);
          return Fixed(*manual / 100.0, 2);
        })
        .live([manual, n](const SimulatedUnit& u, const LiveTick& tick) {
          if (u.value("00", "78") == "1") return Fixed(*manual / 100.0, 2);
          const double duty = 2500 + 1500 * Wave(tick.nowUs, 3'000'000 + 500'000 * n);
          return Fixed(std::round(duty) / 100.0, 2);
        });
  }
  unit.item("00", "29").set("0").format(Prefix("HOLD_CLR:")).readOnly();
}

void AddAcCurrentItems(SimulatedUnit& unit) {
  for (int ch = 1; ch <= unit.channelCount(); ++ch) {
    const std::string g = std::to_string(ch);
    unit.item(g, "22").set("0").accept(IntegerIn(0, 65535));
    unit.item(g, "23").set("10000").accept(IntegerIn(0, 65535));
    unit.item(g, "20").set("0.00").accept(DecimalIn(0, 10, 2));
    unit.item(g, "21").set("1.0000").accept(DecimalIn(0.1, 3.2, 4));
    unit.item(g, "08").set("0").accept(OneOf({"0", "1"}));
    unit.item(g, "10").set("0.00").readOnly().live([ch](const SimulatedUnit&, const LiveTick& t) {
      const double amps = 0.2 * ch + 0.1 * ch * Wave(t.nowUs, 2'000'000 + 150'000 * ch);
      return Fixed(amps, 2);
    });
  }
  unit.item("00", "09").set("AC32").format(Prefix("MODULE:")).readOnly();
  unit.item("00", "19").set("1").format(Prefix("AVERAGE:")).accept(IntegerIn(0, 4));
  unit.item("00", "15").set("1.00").format(Prefix("DROPOUT:")).accept(DecimalIn(0.5, 5, 2));
}

}  // namespace

void AddPwmAcItems(SimulatedUnit& unit) {
  if (unit.moduleKind() == 15) AddPwmItems(unit);
  if (unit.moduleKind() == 16) AddAcCurrentItems(unit);
}

}  // namespace q5::sim
