#include "sim/SimulatedUnit.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "catalogue/Catalogue.h"
#include "sim/ItemTables.h"

namespace q5::sim {
namespace {

constexpr const char* kOk = "COK\r";
constexpr const char* kRefused = "CNG\r";
constexpr const char* kNotUsed = "CNU\r";

// Every item table; each returns at once for module kinds it does not serve.
void AddItemTables(SimulatedUnit& unit) {
  AddDiscreteItems(unit);
  AddAnalogInputItems(unit);
  AddPwmAcItems(unit);
  AddPulseItems(unit);
  AddLoadCellItems(unit);
  AddLinearizerItems(unit);
  AddTemperatureOutputItems(unit);
  // Network items last: a module's own item of the same code is kept.
  AddNetworkItems(unit);
}

bool ParseInteger(std::string_view text, long long& out) {
  if (text.empty()) return false;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size();
}

}  // namespace

// Ready-made pieces ------------------------------------------------------------------------

ReplyFormatter Prefix(std::string prefix) {
  return [prefix = std::move(prefix)](const SimulatedUnit&, const std::string& value) {
    return prefix + value;
  };
}

WriteHook OneOf(std::vector<std::string> allowed) {
  return [allowed = std::move(allowed)](SimulatedUnit&,
                                        std::string_view data) -> std::optional<std::string> {
    for (const auto& a : allowed)
      if (a == data) return std::string(data);
    return std::nullopt;
  };
}

WriteHook IntegerIn(long long lo, long long hi) {
  return [lo, hi](SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    long long v = 0;
    if (!ParseInteger(data, v) || v < lo || v > hi) return std::nullopt;
    return std::string(data);
  };
}

WriteHook Transform(std::function<std::string(std::string_view)> transform) {
  return [transform = std::move(transform)](
             SimulatedUnit&, std::string_view data) -> std::optional<std::string> {
    return transform(data);
  };
}

LiveGenerator Counter(long long start, long long step, long long modulo) {
  return [=](const SimulatedUnit&, const LiveTick& tick) {
    long long v = start + step * static_cast<long long>(tick.reads);
    if (modulo > 0) v = ((v % modulo) + modulo) % modulo;
    return std::to_string(v);
  };
}

LiveGenerator Sine(long long centre, long long amplitude, std::int64_t periodUs) {
  return [=](const SimulatedUnit&, const LiveTick& tick) {
    const double pi = 3.14159265358979323846;
    double phase = periodUs > 0 ? 2 * pi * static_cast<double>(tick.nowUs % periodUs) /
                                      static_cast<double>(periodUs)
                                : 0.0;
    return std::to_string(std::llround(static_cast<double>(centre) +
                                       static_cast<double>(amplitude) * std::sin(phase)));
  };
}

LiveGenerator WalkingBit(int width, int digits) {
  return [=](const SimulatedUnit&, const LiveTick& tick) {
    const int w = width > 0 && width <= 64 ? width : 1;
    const unsigned long long bit = 1ULL << (tick.reads % static_cast<unsigned>(w));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits > 0 && digits < 20 ? digits : 1, bit);
    return std::string(buf);
  };
}

// The engine ------------------------------------------------------------------------------

int SimulatedUnit::ChannelsFromModulePart(std::string_view part) {
  // The first run of digits: "AI4" -> 4, "AIF8N" -> 8, "BIO32" -> 32, "PI1/A" -> 1.
  std::size_t i = 0;
  while (i < part.size() && !(part[i] >= '0' && part[i] <= '9')) ++i;
  int n = 0;
  bool any = false;
  while (i < part.size() && part[i] >= '0' && part[i] <= '9' && n < 1000) {
    n = n * 10 + (part[i] - '0');
    any = true;
    ++i;
  }
  return any && n > 0 ? n : 1;
}

SimulatedUnit::SimulatedUnit(UnitOptions options) : options_(std::move(options)) {
  modulePart_ = catalogue::ModulePartOf(options_.model);
  std::int16_t kind = catalogue::kNoPage;
  catalogue::ModuleKindOf(modulePart_, kind);
  catalogue::PulseOverride(options_.model, kind);
  moduleKind_ = kind;
  pageKind_ = catalogue::PageKindOf(options_.model, kind);
  channels_ = options_.channels > 0 ? options_.channels : ChannelsFromModulePart(modulePart_);
  addIdentification();
  addFirmwareItems();
  AddItemTables(*this);
}

void SimulatedUnit::addIdentification() {
  item("00", "01")
      .set("MNTSW:Q5")
      .accept([](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        // "F" prepares the unit for reading and writing its settings; the
        // identification text itself does not change.
        if (data != "F") return std::nullopt;
        return u.value("00", "01");
      });
  item("00", "02").set(options_.model).format(Prefix("TAG:")).readOnly();
  item("00", "03").readOnly().format([](const SimulatedUnit& u, const std::string&) {
    if (!u.initialised()) return "CH:" + u.options().uninitialisedChannelValue;
    return "CH:" + std::to_string(u.channelCount()) + "CHs";
  });
  item("00", "06").readOnly().format(
      [](const SimulatedUnit& u, const std::string&) { return "VER:" + u.version(); });
  item("00", "88")
      .set(options_.nodeInformation.empty()
               ? "Remote I/O Q5 " + options_.model + " (simulated unit)"
               : options_.nodeInformation)
      .format(Prefix("Q5CFG:"))
      .readOnly();
}

SimItem& SimulatedUnit::item(const std::string& group, const std::string& name) {
  return groups_[group][name];
}

SimItem* SimulatedUnit::findItem(const std::string& group, const std::string& name) {
  auto g = groups_.find(group);
  if (g == groups_.end()) return nullptr;
  auto i = g->second.find(name);
  return i == g->second.end() ? nullptr : &i->second;
}

const SimItem* SimulatedUnit::findItem(const std::string& group, const std::string& name) const {
  return const_cast<SimulatedUnit*>(this)->findItem(group, name);
}

std::string SimulatedUnit::value(const std::string& group, const std::string& name) const {
  const SimItem* it = findItem(group, name);
  return it ? it->value : std::string();
}

void SimulatedUnit::addGroup(const std::string& group) { groups_[group]; }

bool SimulatedUnit::hasGroup(const std::string& group) const {
  return groups_.find(group) != groups_.end();
}

void SimulatedUnit::removeItem(const std::string& group, const std::string& name) {
  auto g = groups_.find(group);
  if (g != groups_.end()) g->second.erase(name);
}

std::string SimulatedUnit::HandleLine(std::string_view line, std::int64_t nowUs) {
  lineTimeUs_ = nowUs;
  if (line.empty()) return kRefused;
  const char code = line.front();
  const std::string_view arg = line.substr(1);
  switch (code) {
    case 'G':
      item_.clear();
      if (arg.empty() || !hasGroup(std::string(arg))) {
        group_.clear();
        return kRefused;
      }
      group_ = std::string(arg);
      return kOk;
    case 'I':
      item_.clear();
      if (group_.empty() || arg.empty()) return kRefused;
      item_ = std::string(arg);
      return readItem(nowUs);
    case 'D':
      return writeItem(arg);
    case 'S':
      // Firmware update: record lines, "SV", "SW".
      return firmwareLine(line);
    default:
      return kRefused;
  }
}

std::string SimulatedUnit::readItem(std::int64_t nowUs) {
  SimItem* it = findItem(group_, item_);
  if (!it) {
    unknownItems_.push_back(group_ + "/" + item_);
    const std::string& r = options_.unknownItemReply;
    // An unknown item cannot be written either.
    item_.clear();
    return r + "\r";
  }
  if (it->isUnused) return kNotUsed;
  if (it->generator) it->value = it->generator(*this, LiveTick{nowUs, it->reads});
  ++it->reads;
  // The formatter may look at other items; copy what it needs first.
  std::string text = it->formatter ? it->formatter(*this, it->value) : it->value;
  return "C" + text + "\r";
}

std::string SimulatedUnit::writeItem(std::string_view data) {
  if (group_.empty() || item_.empty()) return kRefused;
  SimItem* it = findItem(group_, item_);
  if (!it) return kRefused;
  if (it->isUnused) return kNotUsed;
  if (it->isReadOnly) return kRefused;
  std::optional<std::string> kept;
  if (it->writeHook) {
    WriteHook hook = it->writeHook;  // the hook may add items (and move this one)
    kept = hook(*this, data);
    it = findItem(group_, item_);
    if (!it) return kRefused;
  } else {
    kept = std::string(data);
  }
  if (!kept) return kRefused;
  it->value = std::move(*kept);
  ++it->writes;
  writeLog_.push_back(group_ + "/" + item_ + "=" + std::string(data));
  if (it->writeReply) return "C" + it->writeReply(*this, it->value) + "\r";
  return kOk;
}

}  // namespace q5::sim
