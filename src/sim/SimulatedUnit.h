#pragma once
// The simulated unit's protocol engine: a Remote I/O Q5 unit as seen through its
// configuration port, answering "G" + group, "I" + item and "D" + data lines one at a
// time. Qt-free and deterministic: time is whatever the caller passes in.
//
// Wire behaviour (every line and reply ends with CR):
//   "G" + group  -> "COK" when the unit has that group, else "CNG". The selected group is
//                   kept until the next "G" line; a refused "G" leaves no group selected.
//   "I" + item   -> "C" + value for an item of the selected group, "CNU" for an item the
//                   module does not use, "CNG" when no group is selected or the item is
//                   unknown (configurable: UnitOptions::unknownItemReply).
//   "D" + data   -> writes the item named by the last "I" line of the selected group:
//                   "COK" when accepted (the value is kept and read back), "CNG" when
//                   refused, "CNU" for an unused item. "D" without a named item: "CNG".
//   anything else (empty line, unknown letter) -> "CNG".
//
// Identification items of group "00", present for every model:
//   "01"  "MNTSW:Q5"            accepts the write "F" (anything else is refused)
//   "02"  "TAG:" + model
//   "03"  "CH:" + count + "CHs" ("CH:4CHs"); an uninitialised unit answers
//         "CH:" + UnitOptions::uninitialisedChannelValue (begins with "N")
//   "06"  "VER:" + version      ("VER:1.05")
//   "88"  "Q5CFG:" + node information text
//
// Firmware update (group "00"; raw lines may end in CR LF, the LF is not part of a line):
//   "82"  write "SS": update mode (received image forgotten); read: "FIRMWARE:" + state,
//         where state is "IDLE", "RECV" (receiving) or, after "SV", the CRC16 of the
//         received data bytes as four hex digits, from character 10 of the value
//   "86"  the unit's line rate ("BAUD:9600"); write "115200" (or another standard rate):
//         the reply goes out at the old rate, then the unit listens at the new one only
//   S-record line (update mode)  its data bytes are kept: "COK"; a damaged record or one
//         longer than the unit's 78-character buffer: "CNG"
//   "SV"  computes the CRC16 (CCITT, initial FFFF) of the data bytes received: "COK"
//   "SW"  programs the image (after "SV"): "COK", then the unit restarts at 9600 baud with
//         the new version (UnitOptions::firmwareVersion, or the old one plus 0.01)
//
// ---------------------------------------------------------------------------------------
// Writing an item table for a module kind (the only thing a page engineer needs):
//
//   // src/sim/MyKindItems.cpp
//   #include "sim/SimulatedUnit.h"
//   namespace q5::sim {
//   void AddMyKindItems(SimulatedUnit& unit) {
//     if (unit.moduleKind() != 15) return;                 // not my module kind
//     for (int ch = 1; ch <= unit.channelCount(); ++ch) {
//       const std::string g = std::to_string(ch);         // groups "1", "2", ...
//       unit.item(g, "20").set("3");                       // plain: reply "C3", writable
//       unit.item(g, "29").set("3").format(Prefix("AVENUM:"));  // reply "CAVENUM:3"
//       unit.item(g, "4").set("0").accept(OneOf({"0", "1", "2"}));  // others -> "CNG"
//       unit.item(g, "40").live(Sine(5000, 4000, 2'000'000)).readOnly();  // moving value
//     }
//     if (!unit.modelStartsWith("Q5T3NML3-6-SG2A")) unit.item("00", "35").unused();  // "CNU"
//   }
//   }  // namespace q5::sim
//
// then declare it in sim/ItemTables.h and call it from AddItemTables() in
// SimulatedUnit.cpp (one line each). Every table function is called for every model and
// returns at once for module kinds it does not serve.
//
// What a reply is made of, for a read of an item:
//   1. when the item has a live generator, value = live(unit, tick) (and is kept);
//   2. reply = "C" + format(unit, value)   (format defaults to the value itself).
// What a write does:
//   1. unused item -> "CNU"; read-only item -> "CNG";
//   2. when the item has a write hook, it returns the value to keep (possibly transformed)
//      or std::nullopt to refuse ("CNG"); without one the data itself is kept;
//   3. "COK", or "C" + writeReply(unit, kept value) when the item has one.
// Hooks get the SimulatedUnit, so a write may change other items (unit.item(...)).
// ---------------------------------------------------------------------------------------
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace q5::sim {

class SimulatedUnit;

// When and how often a live value is read: the time the "I" line was complete (in
// microseconds, on the caller's clock) and how many times this item was read before.
struct LiveTick {
  std::int64_t nowUs = 0;
  std::uint64_t reads = 0;
};

// Produces the reply text after "C" from the stored value.
using ReplyFormatter = std::function<std::string(const SimulatedUnit&, const std::string& value)>;
// Validates / transforms written data: the value to keep, or std::nullopt to refuse ("CNG").
using WriteHook =
    std::function<std::optional<std::string>(SimulatedUnit&, std::string_view data)>;
// Produces the current value of a live item (monitoring reads it over and over).
using LiveGenerator = std::function<std::string(const SimulatedUnit&, const LiveTick&)>;

// One item of one group. Fluent setters return the item, so a table line reads like
// unit.item("1", "20").set("3").format(Prefix("RANGE:")).
struct SimItem {
  std::string value;          // the stored value text (what the last accepted write kept)
  ReplyFormatter formatter;   // empty: the reply is "C" + value
  WriteHook writeHook;        // empty: every write is accepted and kept as it is
  ReplyFormatter writeReply;  // empty: an accepted write answers "COK"; else "C" + this
  LiveGenerator generator;    // empty: the value only changes by writes
  bool isReadOnly = false;    // writes are refused with "CNG"
  bool isUnused = false;      // reads and writes are answered "CNU"
  std::uint64_t reads = 0;    // reads answered so far (LiveTick::reads)
  std::uint64_t writes = 0;   // accepted writes so far

  SimItem& set(std::string v) { value = std::move(v); return *this; }
  SimItem& format(ReplyFormatter f) { formatter = std::move(f); return *this; }
  SimItem& accept(WriteHook h) { writeHook = std::move(h); return *this; }
  // An accepted write answers "C" + f(unit, kept value) instead of "COK" (buttons whose
  // reply carries the setting the unit arrived at, e.g. a gain step).
  SimItem& replyOnWrite(ReplyFormatter f) { writeReply = std::move(f); return *this; }
  SimItem& live(LiveGenerator g) { generator = std::move(g); return *this; }
  SimItem& readOnly(bool on = true) { isReadOnly = on; return *this; }
  SimItem& unused(bool on = true) { isUnused = on; return *this; }
};

// Ready-made pieces for item tables -------------------------------------------------------

// Reply "C" + prefix + value (e.g. Prefix("AVENUM:") answers "CAVENUM:3").
ReplyFormatter Prefix(std::string prefix);
// Accepts exactly the listed data texts, keeps them unchanged; refuses the rest.
WriteHook OneOf(std::vector<std::string> allowed);
// Accepts decimal integers (optional "-") within [lo, hi]; keeps the text as written.
WriteHook IntegerIn(long long lo, long long hi);
// Accepts any data and keeps what `transform` makes of it.
WriteHook Transform(std::function<std::string(std::string_view)> transform);
// Live values: an integer counting up by `step` each read, wrapping past `modulo`
// (0: never wraps), starting at `start`.
LiveGenerator Counter(long long start, long long step, long long modulo = 0);
// Live values: round(centre + amplitude * sin(2*pi*t/period)), as a decimal integer.
LiveGenerator Sine(long long centre, long long amplitude, std::int64_t periodUs);
// Live values: a walking bit pattern over `width` bits (1, 2, 4, ... one bit per read),
// as uppercase hex with `digits` digits (zero padded).
LiveGenerator WalkingBit(int width, int digits);

// What the engine is built from -------------------------------------------------------------

struct UnitOptions {
  std::string model = "Q5T3NML3-6-AI4";
  std::string version = "1.05";   // item "06" answers "VER:" + version
  int channels = 0;               // 0: from the module part's digits (AI4 -> 4, BI32 -> 32)
  bool initialised = true;        // false: item "03" answers "CH:" + uninitialisedChannelValue
  std::string uninitialisedChannelValue = "NG";
  std::string nodeInformation;    // item "88" answers "Q5CFG:" + this; empty: a default text
  std::string unknownItemReply = "CNG";  // reply to an "I" line naming no item of the group
  std::string firmwareVersion;    // version after a firmware update; "" the old one + 0.01
};

// What the unit knows of a firmware update in progress.
struct SimFirmware {
  bool updateMode = false;            // "SS" accepted, not yet programmed
  bool verified = false;              // "SV" computed the CRC16 of what arrived
  std::vector<std::uint8_t> received; // data bytes of the records, in arrival order
  std::size_t records = 0;            // record lines accepted since "SS"
  std::size_t refusedRecords = 0;     // record lines refused since "SS"
  std::uint16_t crc = 0;              // after "SV"
  int programmed = 0;                 // images programmed by "SW"
};

// CRC16 as the unit computes it over an image: polynomial 1021, initial FFFF, no reflection.
std::uint16_t Crc16(const std::vector<std::uint8_t>& bytes);

class SimulatedUnit {
 public:
  explicit SimulatedUnit(UnitOptions options = {});
  explicit SimulatedUnit(std::string model) : SimulatedUnit(WithModel(std::move(model))) {}

  // The protocol: one complete line without its CR, received when the clock read nowUs.
  // Returns the whole reply including its final CR ("COK\r", "C4\r", "CNG\r").
  std::string HandleLine(std::string_view line, std::int64_t nowUs = 0);

  // ---- What tables decide on -------------------------------------------------------------
  const std::string& model() const { return options_.model; }
  // The module part of the model ("Q5T3NML3-6-AI4" -> "AI4", "Q5W3ND-BI32A-I" -> "BI32").
  const std::string& modulePart() const { return modulePart_; }
  // The module kind number (0..21 or 99), with the pulse-counting override applied
  // (so a "Q5T3PM-BI16" is 21, not 5).
  int moduleKind() const { return moduleKind_; }
  // The page kind: the module kind, or 99 for the models that have no page.
  int pageKind() const { return pageKind_; }
  // Channels reported in item "03" and looped over by per-channel tables.
  int channelCount() const { return channels_; }
  const std::string& version() const { return options_.version; }
  bool initialised() const { return options_.initialised; }
  bool modelIs(std::string_view m) const { return options_.model == m; }
  bool modelStartsWith(std::string_view prefix) const {
    return options_.model.compare(0, prefix.size(), prefix) == 0;
  }
  const UnitOptions& options() const { return options_; }

  // ---- The item tables -----------------------------------------------------------------------
  // The item, created (empty value, plain reply, writable) when missing. Creating an item
  // also makes its group known to "G".
  SimItem& item(const std::string& group, const std::string& item);
  // The item or nullptr, without creating it.
  SimItem* findItem(const std::string& group, const std::string& item);
  const SimItem* findItem(const std::string& group, const std::string& item) const;
  // The stored value ("" when the item does not exist).
  std::string value(const std::string& group, const std::string& item) const;
  // Makes a group known to "G" without items (its "I" lines get unknownItemReply).
  void addGroup(const std::string& group);
  bool hasGroup(const std::string& group) const;
  void removeItem(const std::string& group, const std::string& item);

  // ---- State of the protocol -------------------------------------------------------------
  // The group selected by the last accepted "G" line ("" before the first).
  const std::string& selectedGroup() const { return group_; }
  // The item named by the last "I" line of the selected group ("" when none).
  const std::string& namedItem() const { return item_; }
  // The time (as passed to HandleLine) of the line being answered, for hooks whose
  // effect depends on a moving value (a zero calibration takes the present load).
  std::int64_t lineTimeUs() const { return lineTimeUs_; }
  // "I" lines naming items missing from the tables, as "group/item" (helps table authors).
  const std::vector<std::string>& unknownItems() const { return unknownItems_; }
  // Writes accepted for an item, oldest first, as "group/item=data".
  const std::vector<std::string>& writeLog() const { return writeLog_; }

  // Changes after construction (the channel reply follows at once).
  void setVersion(std::string v) { options_.version = std::move(v); }
  void setChannelCount(int n) { channels_ = n; }
  void setInitialised(bool on) { options_.initialised = on; }

  // The firmware update's state.
  SimFirmware& firmware() { return firmware_; }
  const SimFirmware& firmware() const { return firmware_; }
  // The rate the unit listens at; 0 until a firmware update set it (the unit then takes
  // whatever rate the line runs at). A line sent at another rate is not understood.
  int baud() const { return baud_; }
  void setBaud(int baud) { baud_ = baud; }

  // The channel count the module part's digits give ("AIF8N" -> 8, "SG2" -> 2; 1 when none).
  static int ChannelsFromModulePart(std::string_view part);

 private:
  static UnitOptions WithModel(std::string model) {
    UnitOptions o;
    o.model = std::move(model);
    return o;
  }
  std::string readItem(std::int64_t nowUs);
  std::string writeItem(std::string_view data);
  void addIdentification();
  void addFirmwareItems();
  std::string firmwareLine(std::string_view line);

  UnitOptions options_;
  std::string modulePart_;
  int moduleKind_ = 99;
  int pageKind_ = 99;
  int channels_ = 1;
  std::map<std::string, std::map<std::string, SimItem>> groups_;
  std::string group_;
  std::string item_;
  std::int64_t lineTimeUs_ = 0;
  std::vector<std::string> unknownItems_;
  std::vector<std::string> writeLog_;
  SimFirmware firmware_;
  int baud_ = 0;
};

}  // namespace q5::sim
