// Item table of the linearizing converter of the simulated unit (kind 14, one channel).
//
// Input (group "01"):
//   "20" zero scale, "21" full scale (integers), "22" bias "0.00", "23" gain "1.0000"
//   "11" averaging index 0..8           "13" offset in degrees "0.0" (read only here)
//   "14" span in degrees "270.00" (60 to 360)   "15" rotating direction 0 CW / 1 CCW
// Group "1", item "13", data "1": the present angle becomes the offset; the write answers
// the new offset.
// Table (group "02"): "10" points in use (0, or 3 to 31); X of point i at item 2i + 9,
// Y at 2i + 10 (points 1 to 32), integers -1500 to 11500.
// Output (group "03"): "20" to "23" as the input, "09" range 0 / 1, "41" hold 0 / clear 1,
// "40" clear value "-15.00" (-15 to 115).
// Module-wide (group "00"): "29" averaging index, "11" output valid 0 / invalid 1,
// "21" input in hundredths of a percent of the span (two places, moving), "25" output:
// the input through the table while it is in use, or the value written to "25" by hand
// until the input moves on by a second.
#include <cmath>
#include <cstdio>
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
  std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size()) return std::nullopt;
  return v;
}

WriteHook DecimalIn(double low, double high, int places) {
  return [=](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    const auto v = Decimal(data);
    if (!v || *v < low || *v > high) return std::nullopt;
    return Fixed(*v, places);
  };
}

long long Integer(const SimulatedUnit& u, const std::string& group, const std::string& item) {
  const auto v = Decimal(u.value(group, item));
  return v ? std::llround(*v) : 0;
}

// The input as a percentage of the span, in hundredths: a slow swing over the range.
long long InputAt(std::int64_t nowUs) {
  const double pi = 3.14159265358979323846;
  constexpr std::int64_t kPeriod = 8'000'000;
  const double phase = 2 * pi * static_cast<double>(nowUs % kPeriod) / static_cast<double>(kPeriod);
  return std::llround(5000.0 + 4500.0 * std::sin(phase));
}

// The input through the table of points in use (straight through without one).
long long Linearized(const SimulatedUnit& u, long long x) {
  const long long n = Integer(u, "02", "10");
  if (n < 2) return x;
  auto px = [&](long long i) { return Integer(u, "02", std::to_string(2 * i + 9)); };
  auto py = [&](long long i) { return Integer(u, "02", std::to_string(2 * i + 10)); };
  if (x <= px(1)) return py(1);
  for (long long i = 2; i <= n; ++i) {
    const long long x0 = px(i - 1), x1 = px(i);
    if (x <= x1 && x1 > x0)
      return py(i - 1) + (py(i) - py(i - 1)) * (x - x0) / (x1 - x0);
  }
  return py(n);
}

struct Manual {
  bool set = false;
  std::string value;
  std::int64_t sinceUs = 0;
};

}  // namespace

void AddLinearizerItems(SimulatedUnit& unit) {
  if (unit.moduleKind() != 14) return;

  for (const std::string g : {"01", "03"}) {
    unit.item(g, "20").set("0").accept(IntegerIn(-32000, 32000));
    unit.item(g, "21").set("10000").accept(IntegerIn(-32000, 32000));
    unit.item(g, "22").set("0.00").accept(DecimalIn(-320, 320, 2));
    unit.item(g, "23").set("1.0000").accept(DecimalIn(-3.2, 3.2, 4));
  }
  unit.item("01", "11").set("0").accept(IntegerIn(0, 8));
  unit.item("01", "13").set("0.0").readOnly();
  unit.item("01", "14").set("270.00").accept(DecimalIn(60, 360, 2));
  unit.item("01", "15").set("0").accept(OneOf({"0", "1"}));
  unit.item("1", "13")
      .accept([](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        if (data != "1") return std::nullopt;
        // The present angle: the input's share of the span.
        const double span = std::strtod(u.value("01", "14").c_str(), nullptr);
        const double angle = static_cast<double>(InputAt(u.lineTimeUs())) / 10000.0 * span;
        const std::string offset = Fixed(angle, 1);
        u.item("01", "13").set(offset);
        return offset;
      })
      .replyOnWrite([](const SimulatedUnit&, const std::string& v) { return v; });

  unit.item("02", "10").set("0").accept([](SimulatedUnit& u, std::string_view data) {
    const auto n = IntegerIn(0, 31)(u, data);
    if (n && *n != "0" && std::stoi(*n) < 3) return std::optional<std::string>();
    return n;
  });
  for (int p = 1; p <= 32; ++p) {
    // A straight line through the points until the table is written.
    const std::string v = std::to_string((p - 1) * 10000 / 31);
    unit.item("02", std::to_string(2 * p + 9)).set(v).accept(IntegerIn(-1500, 11500));
    unit.item("02", std::to_string(2 * p + 10)).set(v).accept(IntegerIn(-1500, 11500));
  }

  unit.item("03", "09").set("0").accept(OneOf({"0", "1"}));
  unit.item("03", "41").set("0").accept(OneOf({"0", "1"}));
  unit.item("03", "40").set("-15.00").accept(DecimalIn(-15, 115, 2));

  unit.item("00", "29").set("0").accept(IntegerIn(0, 8));
  unit.item("00", "11").set("0").accept(OneOf({"0", "1"}));
  unit.item("00", "21")
      .live([](const SimulatedUnit&, const LiveTick& tick) {
        return Fixed(static_cast<double>(InputAt(tick.nowUs)) / 100.0, 2);
      })
      .readOnly();
  auto manual = std::make_shared<Manual>();
  unit.item("00", "25")
      .live([manual](const SimulatedUnit& u, const LiveTick& tick) {
        if (manual->set && tick.nowUs - manual->sinceUs < 1'000'000) return manual->value;
        manual->set = false;
        return Fixed(static_cast<double>(Linearized(u, InputAt(tick.nowUs))) / 100.0, 2);
      })
      .accept([manual](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        const auto v = IntegerIn(-32000, 32000)(u, data);
        if (!v) return std::nullopt;
        manual->set = true;
        manual->value = Fixed(std::stod(*v) / 100.0, 2);
        manual->sinceUs = u.lineTimeUs();
        return manual->value;
      });
}

}  // namespace q5::sim
