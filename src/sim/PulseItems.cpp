// Item table of the pulse input modules of the simulated unit: the encoder counters
// (kind 11: "PI2" and the one-channel "PI1", "PI1/A"), the 8-channel counter (kind 19) and
// the 32- and 16-channel counters (kind 21).
//
// Encoder counter. Group "00":
//   "20"/"21" current position of channel 1/2   counts up as it is read (a turning shaft)
//   "22"/"23" current speed                      a moving integer
//   "24"/"25" latch position, "26"/"27" latch speed, "28"/"29" reset position
//   "52".."55" data type, speed range, count mode, position data type (list indexes, one
//             setting for both channels)
// Group "01" ("01" takes the "F" that selects the group):
//   "28" "POS" or "SPE" (the view the unit asks for)
//   per channel (channel 2 only on the two-channel module): drop-out "10"/"11",
//   reset value "14"/"15", liner min "16"/"17", max "18"/"19", bias "34"/"36", gain
//   "35"/"37", zero scale "38"/"40", full scale "39"/"41", fieldbus command "42"/"43",
//   alarms "44".."53" / "54".."63", latch and reset switches "64".."77", Z latch "86"/"87"
//   ("/A" model only), timers "06".."08"
//   requests (write "1"): latch "78"/"79", reset "80"/"81", latch data clear "82"/"83",
//   reset data clear "84"/"85"; they act on the live values above
//
// 8-channel counter ("Q5Z3UECT-1-PI8A" reports 16 channels: each channel twice):
//   group c: "20" carry 0/1, "21" largest count 1..4294967295, "11" input invalid 0/1,
//            "08" preset (write only: the count starts again from it)
//   group "00": "21".."28" counts, "29".."32" edge and reset lists (0/1), "78" takes the
//            settings over on "1"
//
// 32- / 16-channel counter, everything in group "00":
//   "12" carry mask (eight hexadecimal digits, channels 17-32 first), "13".. largest count
//   per channel, "45".. counts (a write presets the count), "77" status mask, moving
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

namespace {

std::string Item(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

std::optional<long long> Integer(std::string_view text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  long long v = 0;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > 99999999999LL) return std::nullopt;
  }
  return text[0] == '-' ? -v : v;
}

WriteHook Decimal(double lo, double hi, int places) {
  return [=](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    const std::string s(data);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || end != s.c_str() + s.size() || !(v >= lo && v <= hi)) return std::nullopt;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", places, v);
    return std::string(buf);
  };
}

// A pulse counter: starts from a preset and counts `step` pulses per read; past the
// largest count it starts again from 0 when carry is on, otherwise it stays there.
struct Counter {
  long long base = 0;
  std::uint64_t fromRead = 0;
  long long step = 1;
  long long value(std::uint64_t reads, long long max, bool carry) const {
    long long v = base + step * static_cast<long long>(reads - fromRead);
    if (max <= 0) return v;
    if (carry) return v % (max + 1);
    return v > max ? max : v;
  }
};

// ---- Encoder counter ------------------------------------------------------------------

struct Encoder {
  long long position = 0;
  long long latchPosition = 0;
  long long latchSpeed = 0;
  long long resetPosition = 0;
  long long speed = 0;
};

void AddEncoderItems(SimulatedUnit& unit) {
  const bool twoChannels = unit.channelCount() >= 2;
  const bool zLatch = unit.modelIs("Q5T3NML3-6-PI1/A");
  // "F" selects the group; the item keeps no value of its own.
  unit.item("01", "01").set("").accept([](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    if (data != "F") return std::nullopt;
    return std::string();
  });
  unit.item("01", "28").set("POS").readOnly();
  unit.item("00", "52").set("0").accept(IntegerIn(0, 1));
  unit.item("00", "53").set("0").accept(IntegerIn(0, 6));
  unit.item("00", "54").set("0").accept(IntegerIn(0, 3));
  unit.item("00", "55").set("0").accept(IntegerIn(0, 1));

  for (int c = 1; c <= 2; ++c) {
    auto enc = std::make_shared<Encoder>();
    const bool present = c == 1 || twoChannels;
    const long long step = present ? 7 * c : 0;  // a unit without channel 2 shows 0
    unit.item("00", Item(19 + c)).set("0").readOnly().live(
        [enc, step](const SimulatedUnit&, const LiveTick&) {
          enc->position += step;
          return std::to_string(enc->position);
        });
    unit.item("00", Item(21 + c)).set("0").readOnly().live(
        [enc, step](const SimulatedUnit&, const LiveTick& t) {
          enc->speed = step == 0 ? 0 : 1000 * step + static_cast<long long>(t.reads % 50);
          return std::to_string(enc->speed);
        });
    auto show = [enc](long long Encoder::*field) {
      return [enc, field](const SimulatedUnit&, const LiveTick&) { return std::to_string((*enc).*field); };
    };
    unit.item("00", Item(23 + c)).set("0").readOnly().live(show(&Encoder::latchPosition));
    unit.item("00", Item(25 + c)).set("0").readOnly().live(show(&Encoder::latchSpeed));
    unit.item("00", Item(27 + c)).set("0").readOnly().live(show(&Encoder::resetPosition));

    // Requests: they act at once and read back as "0".
    const std::string g = "01";
    auto request = [enc, c](int kind) {
      return [enc, c, kind](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        if (data != "1") return std::nullopt;
        switch (kind) {
          case 0: enc->latchPosition = enc->position; enc->latchSpeed = enc->speed; break;
          case 1:
            enc->resetPosition = enc->position;
            enc->position = Integer(u.value("01", Item(13 + c))).value_or(0);
            break;
          case 2: enc->latchPosition = enc->latchSpeed = 0; break;
          default: enc->resetPosition = 0; break;
        }
        return std::string("0");
      };
    };
    for (int kind = 0; kind < 4; ++kind)
      unit.item(g, Item(77 + c + 2 * kind)).set("0").accept(request(kind));

    if (!present) continue;
    const int pair = 2 * (c - 1);
    const int alarm = 10 * (c - 1);
    unit.item(g, Item(9 + c)).set("0.10").accept(Decimal(0.1, 25, 2));
    unit.item(g, Item(13 + c)).set("0").accept(IntegerIn(-2100000000LL, 4294967295LL));
    unit.item(g, Item(15 + c)).set("-2100000000").accept(IntegerIn(-2100000000LL, 2099999999LL));
    unit.item(g, Item(17 + c)).set("2100000000").accept(IntegerIn(-2099999999LL, 2100000000LL));
    unit.item(g, Item(34 + pair)).set("0.00").accept(Decimal(-320, 320, 2));
    unit.item(g, Item(35 + pair)).set("1.0000").accept(Decimal(-3.2, 3.2, 4));
    unit.item(g, Item(38 + pair)).set("0").accept(IntegerIn(-32000, 32000));
    unit.item(g, Item(39 + pair)).set("10000").accept(IntegerIn(-32000, 32000));
    unit.item(g, Item(41 + c)).set("0").accept(IntegerIn(0, 1));
    const char* defaults[] = {"0", "80.00", "5.00", "100000000", "1000",
                              "0", "20.00", "5.00", "1", "1"};
    for (int k = 0; k < 10; ++k) {
      auto& item = unit.item(g, Item(44 + alarm + k)).set(defaults[k]);
      switch (k % 5) {
        case 0: item.accept(IntegerIn(0, 4)); break;
        case 1: item.accept(Decimal(-15, 115, 2)); break;
        case 2: item.accept(Decimal(0, 115, 2)); break;
        case 3: item.accept(IntegerIn(-2100000000LL, 4294967294LL)); break;
        default: item.accept(IntegerIn(0, 4294967293LL)); break;
      }
    }
    for (int item = 63 + c; item <= 75 + c; item += 2)
      unit.item(g, Item(item)).set("0").accept(IntegerIn(0, 2));
    if (zLatch)
      unit.item(g, Item(85 + c)).set("0").accept(IntegerIn(0, 1));
    else
      unit.item(g, Item(85 + c)).unused();
  }
  unit.item("01", "06").set("5.0").accept(Decimal(0, 60, 1));
  unit.item("01", "07").set("0.1").accept(Decimal(0, 60, 1));
  unit.item("01", "08").set("0.1").accept(Decimal(0, 60, 1));
}

// ---- 8-channel counter --------------------------------------------------------------

void AddCounter8Items(SimulatedUnit& unit) {
  const bool twice = unit.modelIs("Q5Z3UECT-1-PI8A");
  const int channels = unit.channelCount();
  // This unit reports each of its channels twice.
  if (twice && unit.options().channels == 0) unit.setChannelCount(2 * channels);
  for (int c = 1; c <= channels; ++c) {
    const std::string g = std::to_string(c);
    const std::string countItem = std::to_string(20 + c);
    auto counter = std::make_shared<Counter>();
    counter->step = 3 * c;
    unit.item(g, "20").set("0").accept(OneOf({"0", "1"}));
    unit.item(g, "21").set("4294967295").accept(IntegerIn(1, 4294967295LL));
    unit.item(g, "11").set("0").accept(OneOf({"0", "1"}));
    unit.item(g, "08").set("0").accept(
        [counter, countItem](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
          const auto v = Integer(data);
          if (!v || *v < 0 || *v > 4294967295LL) return std::nullopt;
          counter->base = *v;
          counter->fromRead = u.item("00", countItem).reads;
          return std::string(data);
        });
    unit.item("00", countItem).set("0").readOnly().live(
        [counter, g](const SimulatedUnit& u, const LiveTick& t) {
          const long long max = Integer(u.value(g, "21")).value_or(0);
          return std::to_string(counter->value(t.reads, max, u.value(g, "20") == "1"));
        });
  }
  for (const char* item : {"29", "30", "31", "32"}) unit.item("00", item).set("0").accept(OneOf({"0", "1"}));
  unit.item("00", "78").set("0").accept(OneOf({"0", "1"}));
}

// ---- 32- / 16-channel counter -------------------------------------------------------

std::optional<std::string> MaskWrite(SimulatedUnit&, std::string_view data) {
  if (data.size() != 8) return std::nullopt;
  for (char ch : data)
    if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'))) return std::nullopt;
  return std::string(data);
}

bool CarryBit(const std::string& mask, int c) {
  if (mask.size() != 8) return false;
  const std::string half = c <= 16 ? mask.substr(4, 4) : mask.substr(0, 4);
  const unsigned v = static_cast<unsigned>(std::stoul(half, nullptr, 16));
  return (v >> ((c - 1) % 16)) & 1u;
}

void AddCounter32Items(SimulatedUnit& unit) {
  const int channels = unit.channelCount();
  unit.item("00", "12").set("00000000").accept(MaskWrite);
  for (int c = 1; c <= channels; ++c) {
    const std::string maxItem = std::to_string(12 + c);
    const std::string countItem = std::to_string(44 + c);
    auto counter = std::make_shared<Counter>();
    counter->step = c;
    unit.item("00", maxItem).set("4294967295").accept(IntegerIn(1, 4294967295LL));
    unit.item("00", countItem)
        .set("0")
        .accept([counter, countItem](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
          const auto v = Integer(data);
          if (!v || *v < 0 || *v > 4294967295LL) return std::nullopt;
          counter->base = *v;
          counter->fromRead = u.item("00", countItem).reads;
          return std::string(data);
        })
        .live([counter, c, maxItem](const SimulatedUnit& u, const LiveTick& t) {
          const long long max = Integer(u.value("00", maxItem)).value_or(0);
          return std::to_string(counter->value(t.reads, max, CarryBit(u.value("00", "12"), c)));
        });
  }
  // The input state of each channel: a pattern that moves with every read.
  unit.item("00", "77").set("00000000").readOnly().live([channels](const SimulatedUnit&, const LiveTick& t) {
    unsigned long long mask = 0;
    for (int c = 1; c <= channels; ++c)
      if ((t.reads / 2 + static_cast<std::uint64_t>(c)) % 3 == 0) mask |= 1ULL << (c - 1);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04llX%04llX", (mask >> 16) & 0xFFFF, mask & 0xFFFF);
    return std::string(buf);
  });
}

}  // namespace

void AddPulseItems(SimulatedUnit& unit) {
  switch (unit.moduleKind()) {
    case 11: AddEncoderItems(unit); break;
    case 19: AddCounter8Items(unit); break;
    case 21: AddCounter32Items(unit); break;
    default: break;
  }
}

}  // namespace q5::sim
