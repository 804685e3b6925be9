// Item tables of the simulated temperature input modules (thermocouple kind 1,
// resistance thermometer kind 2) and analog output modules (voltage kind 3, current
// kind 4, current F kind 10, voltage F kind 12).
//
// Per channel (group "1", "2", ...), every kind:
//   "20" zero scale, "21" full scale     integers, kept as written
//   "22" bias, "23" gain                 decimals within +-320 / +-3.2, kept as "0.00" / "1.0000"
//   "24" zero base, "25" full base       temperatures (kinds 1, 2) or output values,
//                                        kept as written ("0.00", "4.00", "-10.00")
// Temperature kinds:
//   "09" sensor type code                decimal ("0" = K(CA), "0" = Pt100(JIS'97))
//   "04" unit                            written "0".."2", read "UNIT:C" / "UNIT:F" / "UNIT:K"
//   "03" type as the unit names it       follows "09" ("TYPE:K", "TYPE:Pt100")
//   "08" burnout direction (kind 1)      written "0"/"1", read "BOUT:DOWN" / "BOUT:UP"
//   "15" valid/invalid (TC4 model)       "0" / "1"; other thermocouple models answer CNU
// Output kinds:
//   "09" output range code (3, 12)       decimal code 0..7
//   "12" clear value (10, 12)            decimal text ("-15.00"); hundredths on
//                                        "Q5Z3UECT-1-OVF4" ("-1500")
//   "11" valid/invalid (10, 12)          "0" / "1"
// Module-wide (group "00"):
//   "09" range switch (2, 3, 12)         "SW1:F"
//   "14" output hold/clear (1..4, 10)    written "0" / "1", read "ON" / "OFF"
//   "04" burnout flags (1, 2)            "BOUT0" + one hex digit, bit n = channel n
//                                        (the digit is the 6th character)
//   "21".."24" live values               temperatures: moving decimals ("23.40");
//                                        outputs: the present output as a scaled
//                                        integer, "0" until a manual value (-32000 to
//                                        32000) is written, then that value
//   "29" hold choice (10, 12)            "HOLD_CLR:1" (list index at character 10);
//                                        "Q5Z3UECT-1-OVF4": "OUT_HOLD_CLR:0" (character
//                                        14, "0" = hold)
// Group "01": "61" averaging (TC4 model) "AVESW:1" (character 7); "05" burnout direction
// of kind 2, "UP".
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

WriteHook DecimalWithin(double limit, int places) {
  return [=](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    const auto v = Decimal(data);
    if (!v || *v < -limit || *v > limit) return std::nullopt;
    return Fixed(*v, places);
  };
}

int CodeOf(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (...) {
    return -1;
  }
}

// A temperature drifting slowly around a room value, one decimal place shown as two.
LiveGenerator LiveTemperature(int ch) {
  const std::int64_t periodUs = 6'000'000 + 900'000 * ch;
  return [=](const SimulatedUnit&, const LiveTick& tick) {
    const double pi = 3.14159265358979323846;
    const double phase = 2 * pi * static_cast<double>(tick.nowUs % periodUs) /
                         static_cast<double>(periodUs);
    return Fixed(std::round((20 + 2 * ch + 1.5 * std::sin(phase)) * 10) / 10, 2);
  };
}

// Names of the types the unit reports in item "03".
constexpr const char* kThermocoupleNames[] = {"K", "E", "J", "T", "B", "R", "S",
                                              "C", "N", "U", "L", "P", "PR"};
constexpr const char* kResistanceNames[] = {"Pt100", "Pt100", "JPt100", "Pt50", "Ni100",
                                            "Cu10",  "-",     "-",      "Cu50"};

void AddScaling(SimulatedUnit& unit, const std::string& g, const char* zeroBase,
                const char* fullBase) {
  unit.item(g, "20").set("0").accept(IntegerIn(-32768, 65535));
  unit.item(g, "21").set("10000").accept(IntegerIn(-32768, 65535));
  unit.item(g, "22").set("0.00").accept(DecimalWithin(320, 2));
  unit.item(g, "23").set("1.0000").accept(DecimalWithin(3.2, 4));
  unit.item(g, "24").set(zeroBase).accept(DecimalWithin(100000, 2));
  unit.item(g, "25").set(fullBase).accept(DecimalWithin(100000, 2));
}

void AddHoldClear(SimulatedUnit& unit) {
  unit.item("00", "14")
      .set("0")
      .accept(OneOf({"0", "1"}))
      .format([](const SimulatedUnit&, const std::string& v) {
        return std::string(v == "0" ? "ON" : "OFF");
      });
}

void AddTemperatureItems(SimulatedUnit& unit) {
  const int kind = unit.moduleKind();
  const bool thermocouple = kind == 1;
  const bool tc4Model = unit.modelIs("Q5T3NML3-6-TC4");
  for (int ch = 1; ch <= unit.channelCount(); ++ch) {
    const std::string g = std::to_string(ch);
    AddScaling(unit, g, "0.00", "0.00");
    unit.item(g, "09").set("0").accept(IntegerIn(0, thermocouple ? 12 : 8));
    unit.item(g, "04")
        .set("0")
        .accept(OneOf({"0", "1", "2"}))
        .format([](const SimulatedUnit&, const std::string& v) {
          static const char* const kUnits[] = {"C", "F", "K"};
          const int u = CodeOf(v);
          return std::string("UNIT:") + (u >= 0 && u < 3 ? kUnits[u] : "C");
        });
    unit.item(g, "03")
        .format([g, thermocouple](const SimulatedUnit& u, const std::string&) {
          const int t = CodeOf(u.value(g, "09"));
          const int n = thermocouple ? 13 : 9;
          const char* name = t >= 0 && t < n
                                 ? (thermocouple ? kThermocoupleNames[t] : kResistanceNames[t])
                                 : "-";
          return std::string("TYPE:") + name;
        })
        .readOnly();
    if (thermocouple) {
      unit.item(g, "08")
          .set("0")
          .accept(OneOf({"0", "1"}))
          .format([](const SimulatedUnit&, const std::string& v) {
            return std::string(v == "1" ? "BOUT:UP" : "BOUT:DOWN");
          });
      if (tc4Model)
        unit.item(g, "15").set("0").accept(OneOf({"0", "1"}));
      else
        unit.item(g, "15").unused();
    }
  }
  if (kind == 2) {
    unit.item("00", "09").set("F").format(Prefix("SW1:")).readOnly();
    unit.item("01", "05").set("UP").readOnly();
  }
  AddHoldClear(unit);
  // Burnout flags: none until a test or a user of q5sim sets the digit.
  unit.item("00", "04").set("0").format(Prefix("BOUT0")).readOnly();
  for (int ch = 1; ch <= 4; ++ch)
    unit.item("00", std::to_string(20 + ch)).set("0.00").live(LiveTemperature(ch)).readOnly();
  if (tc4Model) unit.item("01", "61").set("0").accept(OneOf({"0", "1"})).format(Prefix("AVESW:"));
}

void AddOutputItems(SimulatedUnit& unit) {
  const int kind = unit.moduleKind();
  const bool voltage = kind == 3 || kind == 12;
  const bool fVariant = kind == 10 || kind == 12;
  const bool hundredths = unit.modelStartsWith("Q5Z3UECT-1-OVF4");
  for (int ch = 1; ch <= unit.channelCount(); ++ch) {
    const std::string g = std::to_string(ch);
    AddScaling(unit, g, voltage ? "-10.00" : "4.00", voltage ? "10.00" : "20.00");
    if (kind == 12) {
      // The output values at the range ends follow the range here; they are not written.
      unit.item(g, "24").readOnly().format([g](const SimulatedUnit& u, const std::string&) {
        static const double kZero[] = {-10, -5, -1, 0, 0, 1, 0, -0.5};
        const int r = CodeOf(u.value(g, "09"));
        return Fixed(r >= 0 && r < 8 ? kZero[r] : 0, 2);
      });
      unit.item(g, "25").readOnly().format([g](const SimulatedUnit& u, const std::string&) {
        static const double kFull[] = {10, 5, 1, 10, 5, 5, 1, 0.5};
        const int r = CodeOf(u.value(g, "09"));
        return Fixed(r >= 0 && r < 8 ? kFull[r] : 0, 2);
      });
    }
    if (voltage) unit.item(g, "09").set("0").accept(IntegerIn(0, 7));
    if (fVariant) {
      if (hundredths)
        unit.item(g, "12").set("-1500").accept(IntegerIn(-1500, 11500));
      else
        unit.item(g, "12").set("-15.00").accept(DecimalWithin(115, 2));
      unit.item(g, "11").set("0").accept(OneOf({"0", "1"}));
    }
  }
  if (voltage) unit.item("00", "09").set("F").format(Prefix("SW1:")).readOnly();
  if (kind != 12) AddHoldClear(unit);
  // The present outputs: what was last written by hand ("0.00" before). A 2-channel F
  // unit takes the writes of channels 2 and 3 and has nothing to put them on.
  const int outputs = fVariant ? 4 : 2;
  for (int ch = 1; ch <= outputs; ++ch)
    unit.item("00", std::to_string(20 + ch)).set("0").accept(IntegerIn(-32000, 32000));
  if (fVariant) {
    unit.item("00", "29")
        .set(hundredths ? "0" : "1")
        .accept(OneOf({"0", "1"}))
        .format(Prefix(hundredths ? "OUT_HOLD_CLR:" : "HOLD_CLR:"));
  }
}

}  // namespace

void AddTemperatureOutputItems(SimulatedUnit& unit) {
  switch (unit.moduleKind()) {
    case 1:
    case 2: AddTemperatureItems(unit); break;
    case 3:
    case 4:
    case 10:
    case 12: AddOutputItems(unit); break;
    default: break;
  }
}

}  // namespace q5::sim
