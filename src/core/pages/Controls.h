#pragma once
// Control states of a module page: plain values that a view shows and edits. A page
// keeps its settings only here; the GUI binds widgets to them, the command line prints
// them, configuration files read and write them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace q5::pages {

struct Control {
  bool enabled = true;
  bool visible = true;
};

struct TextBox : Control {
  std::string text;
  int maxLength = 0;  // 0: no limit
  // A value the page only shows (the input range decides it): never typed into, whatever
  // the enabled flag says, and drawn as a value rather than as a greyed input.
  bool shownOnly = false;
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

// Colours as 0xRRGGBB.
using Rgb = std::uint32_t;
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

// Walks a page's controls by name, e.g. "cmbUserRange(0)"; the caption is the text a
// person sees beside the control. Used by views, the command line and tests.
class ControlVisitor {
 public:
  virtual ~ControlVisitor() = default;
  virtual void text(std::string_view name, std::string_view caption, TextBox& c) {}
  virtual void combo(std::string_view name, std::string_view caption, ComboBox& c) {}
  virtual void check(std::string_view name, CheckBox& c) {}
  virtual void option(std::string_view name, OptionButton& c) {}
  virtual void label(std::string_view name, Label& c) {}
  virtual void indicator(std::string_view name, Indicator& c) {}
  virtual void button(std::string_view name, Button& c) {}
  virtual void frame(std::string_view name, Frame& c) {}
};

// "name(i)", the name of element i of a control array.
inline std::string Indexed(std::string_view name, int i) {
  return std::string(name) + "(" + std::to_string(i) + ")";
}

}  // namespace q5::pages
