// Item table of the load-cell modules of the simulated unit (kind 13, two channels).
//
// Settings per channel (group "1", "2"):
//   "11" averaging index 0..9          "20" zero scale, "21" full scale (integers)
//   "22" bias "0.00", "23" gain "1.0000" "28" load ratio "100.00" (10 to 100)
//   "40" gain adjustment "0.000"       "42" monitor output value
//   "09" filter mode "0" / "1"         (the four CC-Link IE Field / EtherCAT models)
//   "24", "25", "26" percent data      (the two percent models)
//   "50" not used
// Calibration, by channel group "01" (channel 0) and "02" (channel 1), each taking "F" at
// item "01" first:
//   "32" Auto Zero, "30" Zero          the present load becomes the zero: the live value
//                                      reads 0 at the next read
//   "33" "0" Offset Clear              the zero goes back to none
//   "31" Span                          the present load (above the zero) becomes the full
//                                      scale "21"
//   "38" value, "39" Auto Scale        full scale "21" set so that the present load reads
//                                      the value; "21" reads the channel's full scale
//   "40" "U" / "D" / a number          steps the gain by 0.001 or sets it; answers the gain
//   "42" value                         monitor output; "43" "1" cancels it
//   "11" index                         averaging; answers the index kept
// Module-wide (group "00"):
//   "21", "22" live values of channel 0 and 1, "20" their total (decimals, two places)
//   "52" CR filter "0" / "1", "53" excitation "0" (2.5V) / "-1" (5V, the SG2A model only):
//   both answer the setting kept when written
//   "14" output hold/clear             written "0" / "1", read "ON" / "OFF"
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <array>
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

ReplyFormatter Kept() {
  return [](const SimulatedUnit&, const std::string& v) { return v; };
}

// What a channel's load cell feels: a slow swing in hundredths, and what the
// calibration made of it.
struct Channel {
  int index = 0;
  long long zero = 0;         // counts taken as no load
  bool zeroPending = false;   // Auto Zero / Zero: the next read takes the present load
  long long Load(std::int64_t nowUs) const {
    const double pi = 3.14159265358979323846;
    const std::int64_t period = 5'000'000 + 1'300'000 * index;
    const double phase = 2 * pi * static_cast<double>(nowUs % period) / static_cast<double>(period);
    return std::llround(2500.0 + 1500.0 * index + (800.0 + 200.0 * index) * std::sin(phase));
  }
  long long Value(std::int64_t nowUs) {
    if (zeroPending) {
      zero = Load(nowUs);
      zeroPending = false;
    }
    return Load(nowUs) - zero;
  }
};

}  // namespace

void AddLoadCellItems(SimulatedUnit& unit) {
  if (unit.moduleKind() != 13) return;
  const bool extVoltage = unit.modelIs("Q5T3NML3-6-SG2A");
  const bool filterMode = unit.modelStartsWith("Q5Z3UCIE-SG2-9/F2K") ||
                          unit.modelStartsWith("Q5Z3UCIE-SG2-9/F1") ||
                          unit.modelStartsWith("Q5T3SECT-SG2-A/F2K") ||
                          unit.modelStartsWith("Q5T3SECT-SG2-A/F1");
  const bool percent =
      unit.modelStartsWith("Q5T3SECT-SG2-A/F2K") || unit.modelStartsWith("Q5T3SECT-SG2-A/F1");

  auto channels = std::make_shared<std::array<Channel, 2>>();
  (*channels)[1].index = 1;
  const int count = std::min(unit.channelCount(), 2);

  for (int ch = 1; ch <= count; ++ch) {
    const std::string g = std::to_string(ch);
    unit.item(g, "11").set("3").accept(IntegerIn(0, 9));
    unit.item(g, "20").set("0").accept(IntegerIn(-32000, 32000));
    unit.item(g, "21").set("10000").accept(IntegerIn(-32000, 32000));
    unit.item(g, "22").set("0.00").accept(DecimalIn(-320, 320, 2));
    unit.item(g, "23").set("1.0000").accept(DecimalIn(-3.2, 3.2, 4));
    unit.item(g, "28").set("100.00").accept(DecimalIn(10, 100, 2));
    unit.item(g, "40").set("0.000").accept(DecimalIn(-3.2, 3.2, 3));
    unit.item(g, "42").set("0").accept(IntegerIn(-32000, 32000));
    unit.item(g, "50").unused();
    if (filterMode) unit.item(g, "09").set(ch == 1 ? "1" : "0").readOnly();
    if (percent) {
      unit.item(g, "24").set("0").accept(IntegerIn(-11500, 11500));
      unit.item(g, "25").set("10000").accept(IntegerIn(-11500, 11500));
      unit.item(g, "26").set("0").accept(IntegerIn(-10000, 10000));
    }

    // The buttons of the channel.
    const std::string b = ch == 1 ? "01" : "02";
    Channel* c = &(*channels)[ch - 1];
    unit.item(b, "01").set("MNTSW:Q5").accept(OneOf({"F"}));
    auto zeroHere = [channels, c](SimulatedUnit&, std::string_view) -> std::optional<std::string> {
      c->zeroPending = true;
      return std::string();
    };
    unit.item(b, "32").accept(zeroHere);
    unit.item(b, "30").accept(zeroHere);
    unit.item(b, "33").accept([channels, c](SimulatedUnit&,
                                            std::string_view data) -> std::optional<std::string> {
      if (data != "0") return std::nullopt;
      c->zero = 0;
      c->zeroPending = false;
      return std::string(data);
    });
    unit.item(b, "31").accept([channels, c, g](SimulatedUnit& u,
                                               std::string_view) -> std::optional<std::string> {
      const long long span = c->Value(u.lineTimeUs());
      if (span <= 0 || span > 32000) return std::nullopt;
      u.item(g, "21").set(std::to_string(span));
      return std::string();
    });
    // The full scale as Auto Scale reads it back in the button group.
    unit.item(b, "21")
        .format([g](const SimulatedUnit& u, const std::string&) { return u.value(g, "21"); })
        .readOnly();
    unit.item(b, "38").set("0").accept(IntegerIn(0, 32000));
    unit.item(b, "39").accept([channels, c, g, b](SimulatedUnit& u,
                                                  std::string_view) -> std::optional<std::string> {
      // The full scale that makes the present load read the value of "38".
      const double target = std::strtod(u.value(b, "38").c_str(), nullptr);
      const long long load = c->Value(u.lineTimeUs());
      // Without a load to scale by, the value itself; never past the scale's limits.
      const double full = load > 0 ? target * 10000.0 / static_cast<double>(load) : target;
      u.item(g, "21").set(std::to_string(std::llround(std::clamp(full, -32000.0, 32000.0))));
      return std::string();
    });
    unit.item(b, "40")
        .accept([g](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
          double gain = std::strtod(u.value(g, "40").c_str(), nullptr);
          if (data == "U") {
            gain += 0.001;
          } else if (data == "D") {
            gain -= 0.001;
          } else {
            const auto v = Decimal(data);
            if (!v) return std::nullopt;
            gain = *v;
          }
          if (gain < -3.2 - 1e-9 || gain > 3.2 + 1e-9) return std::nullopt;
          const std::string kept = Fixed(gain, 3);
          u.item(g, "40").set(kept);
          return kept;
        })
        .replyOnWrite(Kept());
    unit.item(b, "42").accept([g](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
      const auto keep = IntegerIn(-32000, 32000)(u, data);
      if (keep) u.item(g, "42").set(*keep);
      return keep;
    });
    unit.item(b, "43").accept(OneOf({"1"}));
    unit.item(b, "11")
        .accept([g](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
          const auto keep = IntegerIn(0, 9)(u, data);
          if (keep) u.item(g, "11").set(*keep);
          return keep;
        })
        .replyOnWrite(Kept());
  }

  // Live values and their total.
  auto live = [channels](int i) {
    return [channels, i](const SimulatedUnit&, const LiveTick& tick) {
      return Fixed(static_cast<double>((*channels)[i].Value(tick.nowUs)) / 100.0, 2);
    };
  };
  unit.item("00", "21").live(live(0)).readOnly();
  unit.item("00", "22").live(live(1)).readOnly();
  unit.item("00", "20")
      .live([channels](const SimulatedUnit&, const LiveTick& tick) {
        const long long total = (*channels)[0].Value(tick.nowUs) + (*channels)[1].Value(tick.nowUs);
        return Fixed(static_cast<double>(total) / 100.0, 2);
      })
      .readOnly();

  unit.item("00", "52").set("0").accept(OneOf({"0", "1"})).replyOnWrite(Kept());
  if (extVoltage)
    unit.item("00", "53").set("-1").accept(OneOf({"0", "-1"})).replyOnWrite(Kept());
  else
    unit.item("00", "53").unused();
  unit.item("00", "14")
      .set("0")
      .accept(OneOf({"0", "1"}))
      .format([](const SimulatedUnit&, const std::string& v) {
        return std::string(v == "0" ? "ON" : "OFF");
      });
}

}  // namespace q5::sim
