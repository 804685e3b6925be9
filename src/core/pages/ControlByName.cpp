#include "pages/ControlByName.h"

#include <charconv>
#include <vector>

#include "pages/ModulePage.h"

namespace q5::pages {

namespace {

enum class Kind { Text, Combo, Check, Option, Label, Indicator, Button, Frame };

struct Entry {
  std::string name;
  Kind kind;
  Control* control;
  int group;  // options: the run of options visited one after another
};

// Every control in visit order; consecutive option buttons share a group number.
class Collector : public ControlVisitor {
 public:
  std::vector<Entry> entries;

  void text(std::string_view n, std::string_view, TextBox& c) override { add(n, Kind::Text, c); }
  void combo(std::string_view n, std::string_view, ComboBox& c) override {
    add(n, Kind::Combo, c);
  }
  void check(std::string_view n, CheckBox& c) override { add(n, Kind::Check, c); }
  void option(std::string_view n, OptionButton& c) override {
    if (!lastWasOption_) ++group_;
    entries.push_back({std::string(n), Kind::Option, &c, group_});
    lastWasOption_ = true;
  }
  void label(std::string_view n, Label& c) override { add(n, Kind::Label, c); }
  void indicator(std::string_view n, Indicator& c) override { add(n, Kind::Indicator, c); }
  void button(std::string_view n, Button& c) override { add(n, Kind::Button, c); }
  void frame(std::string_view n, Frame& c) override { add(n, Kind::Frame, c); }

  const Entry* find(std::string_view name) const {
    for (const auto& e : entries)
      if (e.name == name) return &e;
    return nullptr;
  }

 private:
  void add(std::string_view n, Kind k, Control& c) {
    entries.push_back({std::string(n), k, &c, 0});
    lastWasOption_ = false;
  }
  int group_ = 0;
  bool lastWasOption_ = false;
};

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string Usable(const Entry& e) {
  if (!e.control->visible) return e.name + " is not shown for this unit";
  if (!e.control->enabled) return e.name + " is disabled now";
  return {};
}

std::string SetCombo(ComboBox& box, std::string_view name, std::string_view value) {
  if (!value.empty() && value.front() == '#') {
    int n = -1;
    const std::string_view digits = value.substr(1);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || n < 0 ||
        n >= static_cast<int>(box.items.size()))
      return std::string(name) + " has no item " + std::string(value) + " (items #0 to #" +
             std::to_string(static_cast<int>(box.items.size()) - 1) + ")";
    box.index = n;
    box.unlistedCode.clear();
    return {};
  }
  for (std::size_t i = 0; i < box.items.size(); ++i) {
    if (box.items[i] == value) {
      box.index = static_cast<int>(i);
      box.unlistedCode.clear();
      return {};
    }
  }
  std::string items;
  for (std::size_t i = 0; i < box.items.size(); ++i)
    items += (i ? ", " : "") + Quoted(box.items[i]);
  return std::string(name) + " has no item " + Quoted(value) + " (items: " + items + ")";
}

bool Bit(std::string_view value, bool& out) {
  if (value == "1") return out = true, true;
  if (value == "0") return out = false, true;
  return false;
}

}  // namespace

std::string SetControlValue(const ControlWalk& walk, std::string_view name,
                            std::string_view value) {
  Collector c;
  walk(c);
  const Entry* e = c.find(name);
  if (!e) return "no control named " + std::string(name);
  switch (e->kind) {
    case Kind::Text: {
      if (auto why = Usable(*e); !why.empty()) return why;
      auto& box = static_cast<TextBox&>(*e->control);
      if (box.maxLength > 0 && static_cast<int>(value.size()) > box.maxLength)
        return std::string(name) + " takes at most " + std::to_string(box.maxLength) +
               " characters";
      box.text = value;
      return {};
    }
    case Kind::Combo: {
      if (auto why = Usable(*e); !why.empty()) return why;
      return SetCombo(static_cast<ComboBox&>(*e->control), name, value);
    }
    case Kind::Check: {
      if (auto why = Usable(*e); !why.empty()) return why;
      bool on = false;
      if (!Bit(value, on)) return std::string(name) + " takes 1 or 0";
      static_cast<CheckBox&>(*e->control).value = on;
      return {};
    }
    case Kind::Option: {
      if (auto why = Usable(*e); !why.empty()) return why;
      bool on = false;
      if (!Bit(value, on)) return std::string(name) + " takes 1 or 0";
      std::vector<const Entry*> group;
      for (const auto& o : c.entries)
        if (o.kind == Kind::Option && o.group == e->group) group.push_back(&o);
      const Entry* chosen = e;
      if (!on) {
        // An option is cleared by choosing another: only a pair says which.
        if (group.size() != 2)
          return std::string(name) + ": choose one of its group with =1 instead";
        chosen = group[0] == e ? group[1] : group[0];
        if (auto why = Usable(*chosen); !why.empty()) return why;
      }
      for (const Entry* o : group) static_cast<OptionButton&>(*o->control).value = o == chosen;
      return {};
    }
    default:
      return std::string(name) + " is not a setting (it is shown, or pressed)";
  }
}

std::string SetPageControl(ModulePage& page, std::string_view name, std::string_view value) {
  std::string why = SetControlValue([&page](ControlVisitor& v) { page.visitControls(v); }, name,
                                    value);
  if (why.empty()) {
    page.Edited(name);
    // A person moves on to the next control: the box loses the focus.
    page.LostFocus(name);
  }
  return why;
}

std::string CheckPressable(const ControlWalk& walk, std::string_view name) {
  Collector c;
  walk(c);
  const Entry* e = c.find(name);
  if (!e) return "no button named " + std::string(name);
  if (e->kind == Kind::Button) return Usable(*e);
  // Live value boxes are clicked, not pressed; whatever else the page answers to by
  // name decides for itself.
  if (!e->control->visible) return std::string(name) + " is not shown for this unit";
  return {};
}

bool SplitAssignment(std::string_view text, std::string& name, std::string& value) {
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0) return false;
  name = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

}  // namespace q5::pages
