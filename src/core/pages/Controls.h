#pragma once
// Control states of a module page: plain values that a view shows and edits. A page
// keeps its settings only here; the GUI binds widgets to them, the command line prints
// them, configuration files read and write them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q5::pages {

// Colours as 0xRRGGBB.
using Rgb = std::uint32_t;

struct Control {
  bool enabled = true;
  bool visible = true;
  // A box's own background (text and combo boxes); none: the view's usual colour.
  std::optional<Rgb> backColour;
};

struct TextBox : Control {
  std::string text;
  int maxLength = 0;  // 0: no limit
  // A value the page only shows (the input range decides it): never typed into, whatever
  // the enabled flag says, and drawn as a value rather than as a greyed input.
  bool shownOnly = false;
  // Read only while enabled: drawn as an input, but not typed into (a window's box
  // that waits for a complete upload, or for a download to finish).
  bool locked = false;
};

struct ComboBox : Control {
  std::vector<std::string> items;
  int index = -1;  // -1: nothing selected
  // A code the unit reported that names no item of the list. Nothing is selected then,
  // and a Download writes this code back, so the unit keeps its own setting instead of
  // receiving "-1".
  std::string unlistedCode;
  void clear() {
    items.clear();
    index = -1;
    unlistedCode.clear();
  }
  // Selects the item of a code read from the unit, or remembers an unlisted code.
  void selectCode(int code) {
    const bool listed = code >= 0 && code < static_cast<int>(items.size());
    index = listed ? code : -1;
    unlistedCode = listed || code < 0 ? std::string() : std::to_string(code);
  }
  // The selection as it travels to the unit: the list index in decimal, or the unlisted
  // code read from the unit.
  std::string code() const {
    if (index < 0 && !unlistedCode.empty()) return unlistedCode;
    return std::to_string(index);
  }
  void add(std::string item) { items.push_back(std::move(item)); }
  // The text of the selected item ("" when nothing is selected).
  std::string text() const {
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
  }
};

struct CheckBox : Control {
  std::string caption;
  bool value = false;
};

struct OptionButton : Control {
  std::string caption;
  bool value = false;
};

struct Label : Control {
  std::string caption;
};

struct Button : Control {
  std::string caption;
};

// A frame; frames named frmSet1, frmSet2 ... serve as tab pages.
struct Frame : Control {
  std::string caption;
};

inline constexpr Rgb kGreen = 0x00FF00;
inline constexpr Rgb kRed = 0xFF0000;
// The background of an information box (a tooltip), a box's normal colour.
inline constexpr Rgb kInfoBackground = 0xFFFFE1;

// A live-value box (a discrete point's lamp, a burnout alarm): a colour and a short
// caption.
struct Indicator : Control {
  std::string caption;
  Rgb colour = kRed;
  // The colour that means "on" when the box is read as a bit: green for a point, red
  // for an alarm.
  Rgb litColour = kGreen;
};

// What a control is, declared once by the page (or window) that names it. Every generic
// reader (the command line's printing and NAME=VALUE, the live columns of monitoring,
// Trend and Record..., the window's read-only fields and stale marks, the comparison of
// configurations) goes by the role, never by the control's name.
enum class Role {
  Setting,       // a value the person sets and a Download writes
  Live,          // a value the unit reports while it runs (read by ReadingData)
  ShownOnly,     // a value only shown (fixed by the model or by another setting)
  Action,        // a button: pressed, it runs a sequence or opens a dialog
  Tab,           // a tab button or the frame it shows
  Label,         // a caption or a frame without state of its own
  CaptionState,  // a button whose caption carries a state of the unit ("5V", "2KHz")
};

// "setting", "live value", "shown-only value", "button", "tab", "label",
// "state shown in a caption": the role as messages name it.
std::string_view RoleName(Role role);

// The places after the point of a ranged value whose check does not limit them.
inline constexpr int kAnyPlaces = -1;

struct ControlInfo {
  std::string name;     // "cmbUserRange(0)"
  std::string caption;  // the text a person sees beside it ("" when none)
  Role role = Role::Setting;
  std::string unit;     // "%", "mA" ... ("" when none)
  int channel = -1;     // the channel it belongs to (-1: module-wide)
  std::string channelHeading;  // the heading of that channel as the page shows it, "CH 0"
  std::string group;    // the tab or frame it sits in ("frmSet1"; "" when none)
  // A plain range check: the value must be a number within [min, max]. `decimals` is the
  // number of places after the point the check takes (kAnyPlaces: as many as typed);
  // `rounded` says the check first rounds the value to `decimals` places (ties to even),
  // so 9000.4 passes a whole-number range ending at 9000. `checkedBy` names the button
  // whose click checks the range ("" : the check before a Download).
  bool ranged = false;
  double min = 0;
  double max = 0;
  int decimals = kAnyPlaces;
  bool rounded = false;
  std::string checkedBy;

  // Builders, so that a page states each fact once where it names the control.
  ControlInfo ch(int i) && {
    channel = i;
    channelHeading = "CH " + std::to_string(i);
    return std::move(*this);
  }
  ControlInfo ch(int i, std::string heading) && {
    channel = i;
    channelHeading = std::move(heading);
    return std::move(*this);
  }
  ControlInfo in(std::string tab) && {
    group = std::move(tab);
    return std::move(*this);
  }
  ControlInfo in_unit(std::string u) && {
    unit = std::move(u);
    return std::move(*this);
  }
  ControlInfo range(double lo, double hi, int places = kAnyPlaces) && {
    ranged = true;
    min = lo;
    max = hi;
    decimals = places;
    return std::move(*this);
  }
  // A range the check holds the value against after rounding it to `places` places
  // (ties to even): a whole number by default.
  ControlInfo roundedRange(double lo, double hi, int places = 0) && {
    ranged = true;
    min = lo;
    max = hi;
    decimals = places;
    rounded = true;
    return std::move(*this);
  }
  ControlInfo checkedOn(std::string button) && {
    checkedBy = std::move(button);
    return std::move(*this);
  }
  ControlInfo as(Role r) && {
    role = r;
    return std::move(*this);
  }
  // Whether a person edits it (a setting); everything else is shown or pressed.
  bool editable() const { return role == Role::Setting; }
};

// A setting whose check is a plain range, stated once: the page's walk declares the
// control from it and the page's check reads its ends from it.
struct RangedSetting {
  std::string_view name;     // "txtPhase"; per channel it is indexed, "txtPhase(2)"
  std::string_view caption;  // "Phase (0 to 65535)"
  double min = 0;
  double max = 0;
  int decimals = kAnyPlaces;
  bool rounded = false;  // the check rounds to `decimals` places (ties to even) first
  std::string_view unit = {};
  // The declaration of the channel's control (heading "CH i").
  ControlInfo info(int channel) const;
  // The declaration of a module-wide control.
  ControlInfo info() const;
};

// Whether the text is a value the declared range takes: a number within [min, max]
// (rounded first where the check rounds), with no more places than the declaration
// allows (trailing zeros aside). True for a control without a declared range. It never
// refuses what the page's own check takes; a page's check may refuse more (a cross-field
// rule, "1.0" where the text must be whole).
bool InDeclaredRange(const ControlInfo& info, std::string_view text);
// The declared range as a person reads it: "0 to 65535", "-3.2 to 3.2"; "" when none.
std::string RangeText(const ControlInfo& info);
// Why the text fails the declared range, in the words a person reads under "Check data
// range.": "Phase of CH 2 is \"70000\"; allowed 0 to 65535."
std::string OutOfRangeReason(const ControlInfo& info, std::string_view text);

// The field a failing check stopped at ("txtBias(2)") and why, in words a person reads
// under "Check data range."; empty after a passing check.
struct CheckFailure {
  std::string control;
  std::string why;
};

inline ControlInfo Info(std::string_view name, Role role, std::string_view caption = {}) {
  ControlInfo i;
  i.name = name;
  i.caption = caption;
  i.role = role;
  return i;
}
inline ControlInfo Setting(std::string_view name, std::string_view caption = {}) {
  return Info(name, Role::Setting, caption);
}
inline ControlInfo LiveValue(std::string_view name, std::string_view caption = {}) {
  return Info(name, Role::Live, caption);
}
inline ControlInfo ShownValue(std::string_view name, std::string_view caption = {}) {
  return Info(name, Role::ShownOnly, caption);
}
inline ControlInfo ActionInfo(std::string_view name, std::string_view caption = {}) {
  return Info(name, Role::Action, caption);
}
inline ControlInfo CaptionStateInfo(std::string_view name, std::string_view caption = {}) {
  return Info(name, Role::CaptionState, caption);
}

// Walks a page's controls: each with its declaration. Used by views, the command line,
// the comparison and tests.
class ControlVisitor {
 public:
  virtual ~ControlVisitor() = default;
  virtual void text(const ControlInfo& info, TextBox& c) {}
  virtual void combo(const ControlInfo& info, ComboBox& c) {}
  virtual void check(const ControlInfo& info, CheckBox& c) {}
  virtual void option(const ControlInfo& info, OptionButton& c) {}
  virtual void label(const ControlInfo& info, Label& c) {}
  virtual void indicator(const ControlInfo& info, Indicator& c) {}
  virtual void button(const ControlInfo& info, Button& c) {}
  virtual void frame(const ControlInfo& info, Frame& c) {}

  // The declarations that follow from the kind of control alone: a check box or an
  // option button is a setting, a label a label, a lamp a live value, a button an
  // action, a frame groups controls. Pages use the full form where that is not so.
  void check(std::string_view name, CheckBox& c) { check(Setting(name, c.caption), c); }
  void option(std::string_view name, OptionButton& c) {
    option(Setting(name, c.caption), c);
  }
  void label(std::string_view name, Label& c) { label(Info(name, Role::Label), c); }
  void indicator(std::string_view name, Indicator& c) {
    indicator(LiveValue(name, c.caption), c);
  }
  void button(std::string_view name, Button& c) { button(ActionInfo(name, c.caption), c); }
  void frame(std::string_view name, Frame& c) {
    frame(Info(name, Role::Label, c.caption), c);
  }
};

// Visits through to another visitor with every declaration placed on one tab: a page
// walks the controls of its "frmSet2" through `InTab(v, "frmSet2")` and so states the tab
// once for all of them. A declaration that names its own group keeps it.
class InTab : public ControlVisitor {
 public:
  InTab(ControlVisitor& to, std::string tab) : to_(to), tab_(std::move(tab)) {}
  void text(const ControlInfo& i, TextBox& c) override {
    at(i, [&](const ControlInfo& p) { to_.text(p, c); });
  }
  void combo(const ControlInfo& i, ComboBox& c) override {
    at(i, [&](const ControlInfo& p) { to_.combo(p, c); });
  }
  void check(const ControlInfo& i, CheckBox& c) override {
    at(i, [&](const ControlInfo& p) { to_.check(p, c); });
  }
  void option(const ControlInfo& i, OptionButton& c) override {
    at(i, [&](const ControlInfo& p) { to_.option(p, c); });
  }
  void label(const ControlInfo& i, Label& c) override {
    at(i, [&](const ControlInfo& p) { to_.label(p, c); });
  }
  void indicator(const ControlInfo& i, Indicator& c) override {
    at(i, [&](const ControlInfo& p) { to_.indicator(p, c); });
  }
  void button(const ControlInfo& i, Button& c) override {
    at(i, [&](const ControlInfo& p) { to_.button(p, c); });
  }
  void frame(const ControlInfo& i, Frame& c) override {
    at(i, [&](const ControlInfo& p) { to_.frame(p, c); });
  }
  using ControlVisitor::button;
  using ControlVisitor::check;
  using ControlVisitor::frame;
  using ControlVisitor::indicator;
  using ControlVisitor::label;
  using ControlVisitor::option;

 private:
  // A control that names its own group passes as it is; only one without is copied to
  // take the tab's name (views walk every control on every refresh).
  template <class F>
  void at(const ControlInfo& i, F&& f) const {
    if (!i.group.empty()) return f(i);
    ControlInfo p = i;
    p.group = tab_;
    f(p);
  }
  ControlVisitor& to_;
  std::string tab_;
};

// "name(i)", the name of element i of a control array.
inline std::string Indexed(std::string_view name, int i) {
  return std::string(name) + "(" + std::to_string(i) + ")";
}

}  // namespace q5::pages
