// Item table of the discrete input / output modules of the simulated unit.
//
//   group "01" item "11"  input conversion rate, list index "0".."7" (10, 1, 5, 20, 50,
//                         70, 100, 200 ms); most BI16 units answer with the time in ms
//   group "01" item "12"  output hold/clear of BO16 / BIO16, "0" Clear, "1" Hold; most
//                         BO16 units answer "ON" for Hold and "OFF" for Clear
//   group "02" item "12"  output hold/clear of BO32 / BIO32
//   group "01"/"02" item "16"  invalid-output masks (four upper-case hex digits)
//   group "00" item "21"  live word of points 0-15 (BIO16: outputs high byte, inputs low)
//   group "00" item "22"  live word of points 16-31 (BIO32: the outputs)
// Live words are answered as "0x" + four hex digits and move with time, so monitoring
// shows points switching on and off.
#include <cstdio>
#include <string>

#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

namespace {

constexpr const char* kRatesMs[] = {"10", "1", "5", "20", "50", "70", "100", "200"};
// How often the live words move.
constexpr std::int64_t kStepUs = 250'000;

std::string Hex4(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFFu);
  return buf;
}

// A mask write: hexadecimal text up to FFFF, kept as four digits the way the unit
// reports it; anything else is refused.
std::optional<std::string> MaskWrite(SimulatedUnit&, std::string_view data) {
  if (data.empty() || data.size() > 4) return std::nullopt;
  unsigned v = 0;
  for (char c : data) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else
      return std::nullopt;
    v = v * 16 + static_cast<unsigned>(d);
  }
  return Hex4(v);
}

WriteHook IndexWrite(int count) {
  std::vector<std::string> allowed;
  for (int i = 0; i < count; ++i) allowed.push_back(std::to_string(i));
  return OneOf(std::move(allowed));
}

// Inputs: a point walking up through the block, with a slowly counting top digit.
LiveGenerator InputWord(unsigned seed) {
  return [seed](const SimulatedUnit&, const LiveTick& t) {
    const auto step = static_cast<unsigned>(t.nowUs / kStepUs) + seed;
    return "0x" + Hex4((1u << (step % 12)) | (((step / 12) % 16) << 12));
  };
}

// Outputs: two groups of points blinking in turn, plus a walking point.
LiveGenerator OutputWord(unsigned seed) {
  return [seed](const SimulatedUnit&, const LiveTick& t) {
    const auto step = static_cast<unsigned>(t.nowUs / kStepUs) + seed;
    const unsigned blink = (step / 4) % 2 ? 0x00F0u : 0x000Fu;
    return "0x" + Hex4(blink | (1u << (8 + step % 8)));
  };
}

// One combined word of the 8-in / 8-out module: outputs in the high byte.
LiveGenerator CombinedWord() {
  return [](const SimulatedUnit&, const LiveTick& t) {
    const auto step = static_cast<unsigned>(t.nowUs / kStepUs);
    const unsigned inputs = 1u << (step % 8);
    const unsigned outputs = (step / 8) % 2 ? 0x0Fu : 0xF0u;
    return "0x" + Hex4((outputs << 8) | inputs);
  };
}

void ConversionRate(SimulatedUnit& unit, bool answersInMs) {
  auto& item = unit.item("01", "11").set("3").accept(IndexWrite(8));  // 20 ms
  if (answersInMs) {
    item.format([](const SimulatedUnit&, const std::string& v) {
      const int i = v.size() == 1 && v[0] >= '0' && v[0] <= '7' ? v[0] - '0' : 0;
      return std::string(kRatesMs[i]);
    });
  }
}

void OutputHold(SimulatedUnit& unit, const std::string& group, bool answersOnOff) {
  auto& item = unit.item(group, "12").set("1").accept(IndexWrite(2));  // Hold
  if (answersOnOff) {
    item.format([](const SimulatedUnit&, const std::string& v) {
      return std::string(v == "1" ? "ON" : "OFF");
    });
  }
}

}  // namespace

void AddDiscreteItems(SimulatedUnit& unit) {
  switch (unit.moduleKind()) {
    case 5: {  // 16 inputs
      const bool index = unit.modelStartsWith("Q5T3NEIP-6-BI16") ||
                         unit.modelStartsWith("Q5W3NEIP-BI16") ||
                         unit.modelStartsWith("Q5W3UD-BI16");
      ConversionRate(unit, !index);
      unit.item("00", "21").live(InputWord(0)).readOnly();
      break;
    }
    case 6: {  // 16 outputs
      if (unit.modelIs("Q5V3PE-6-BO16")) {
        unit.item("01", "12").unused();  // no hold setting on this model
      } else {
        const bool index = unit.modelStartsWith("Q5T3NEIP-6-BO16") ||
                           unit.modelStartsWith("Q5W3NEIP-BO16") ||
                           unit.modelStartsWith("Q5W3UD-BO16");
        OutputHold(unit, "01", !index);
        if (unit.modelStartsWith("Q5W3UD-BO16")) unit.item("01", "12").readOnly();
      }
      unit.item("00", "21").live(OutputWord(0)).readOnly();
      break;
    }
    case 8:  // 32 inputs
      ConversionRate(unit, false);
      unit.item("00", "21").live(InputWord(0)).readOnly();
      unit.item("00", "22").live(InputWord(5)).readOnly();
      break;
    case 9: {  // 32 outputs
      OutputHold(unit, "02", false);
      const bool mask =
          unit.modelStartsWith("Q5Z3UECT-1-BO32A") || unit.modelStartsWith("Q5Z3UML3-BO32");
      if (mask) {
        unit.item("01", "16").set("0000").accept(MaskWrite);
        unit.item("02", "16").set("0000").accept(MaskWrite);
      } else {
        unit.item("01", "16").unused();
        unit.item("02", "16").unused();
      }
      unit.item("00", "21").live(OutputWord(0)).readOnly();
      unit.item("00", "22").live(OutputWord(3)).readOnly();
      break;
    }
    case 18: {  // 16 inputs / 16 outputs
      OutputHold(unit, "02", false);
      ConversionRate(unit, false);
      // Units whose settings are fixed (the tool shows them disabled) refuse the
      // writes it does not send anyway.
      if (unit.modelStartsWith("Q5W3ND-BIO32")) unit.item("02", "12").readOnly();
      const bool mask = unit.modelStartsWith("Q5Z3UECT-1-BIO32") ||
                        unit.modelStartsWith("Q5Z3UML3-BIO32") ||
                        unit.modelStartsWith("Q5Z3UEIP-BIO32");
      if (mask)
        unit.item("02", "16").set("0000").accept(MaskWrite);
      else
        unit.item("02", "16").unused();
      unit.item("00", "21").live(InputWord(0)).readOnly();
      unit.item("00", "22").live(OutputWord(0)).readOnly();
      break;
    }
    case 20:  // 8 inputs / 8 outputs
      OutputHold(unit, "01", false);
      ConversionRate(unit, false);
      if (unit.modelStartsWith("Q5W3UD-BIO16")) unit.item("01", "12").readOnly();
      unit.item("00", "21").live(CombinedWord()).readOnly();
      break;
    default:
      return;
  }
}

}  // namespace q5::sim
