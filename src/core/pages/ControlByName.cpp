#include "pages/ControlByName.h"

#include <charconv>
#include <vector>

#include "pages/ModulePage.h"

namespace q5::pages {

namespace {

enum class Kind { Text, Combo, Check, Option, Label, Indicator, Button, Frame };

struct Entry {
  ControlInfo info;
  Kind kind;
  Control* control;
  int group;  // options: the run of options visited one after another
  const std::string& name() const { return info.name; }
};

// Every control in visit order; consecutive option buttons share a group number.
class Collector : public ControlVisitor {
 public:
  std::vector<Entry> entries;

  void text(const ControlInfo& i, TextBox& c) override { add(i, Kind::Text, c); }
  void combo(const ControlInfo& i, ComboBox& c) override { add(i, Kind::Combo, c); }
  void check(const ControlInfo& i, CheckBox& c) override { add(i, Kind::Check, c); }
  void option(const ControlInfo& i, OptionButton& c) override {
    if (!lastWasOption_) ++group_;
    entries.push_back({i, Kind::Option, &c, group_});
    lastWasOption_ = true;
  }
  void label(const ControlInfo& i, Label& c) override { add(i, Kind::Label, c); }
  void indicator(const ControlInfo& i, Indicator& c) override { add(i, Kind::Indicator, c); }
  void button(const ControlInfo& i, Button& c) override { add(i, Kind::Button, c); }
  void frame(const ControlInfo& i, Frame& c) override { add(i, Kind::Frame, c); }

  const Entry* find(std::string_view name) const {
    for (const auto& e : entries)
      if (e.info.name == name) return &e;
    return nullptr;
  }

 private:
  void add(const ControlInfo& i, Kind k, Control& c) {
    entries.push_back({i, k, &c, 0});
    lastWasOption_ = false;
  }
  int group_ = 0;
  bool lastWasOption_ = false;
};

std::string_view Trimmed(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string Usable(const Entry& e) {
  if (!e.control->visible) return e.name() + " is not shown for this unit";
  if (!e.control->enabled) return e.name() + " is disabled now";
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
  // Blanks a list pads its items with are not part of what a person reads.
  for (std::size_t i = 0; i < box.items.size(); ++i) {
    if (Trimmed(box.items[i]) == Trimmed(value) && !Trimmed(value).empty()) {
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
                            std::string_view value, Refusal* refusal) {
  Refusal ignored;
  Refusal& why = refusal ? *refusal : ignored;
  why = Refusal::None;
  Collector c;
  walk(c);
  const Entry* e = c.find(name);
  if (!e) {
    why = Refusal::UnknownName;
    return "no control named " + std::string(name);
  }
  // What the control is decides, before anything else, whether a value can be typed.
  if (e->info.role != Role::Setting ||
      (e->kind != Kind::Text && e->kind != Kind::Combo && e->kind != Kind::Check &&
       e->kind != Kind::Option)) {
    why = Refusal::NotASetting;
    return std::string(name) + " is a " + std::string(RoleName(e->info.role)) +
           ", not a setting" +
           (e->info.role == Role::Action || e->info.role == Role::CaptionState ||
                    e->info.role == Role::Tab
                ? " (press it instead)"
                : "");
  }
  if (auto usable = Usable(*e); !usable.empty()) {
    why = Refusal::NotUsableNow;
    return usable;
  }
  std::string bad;
  switch (e->kind) {
    case Kind::Text: {
      auto& box = static_cast<TextBox&>(*e->control);
      if (box.maxLength > 0 && static_cast<int>(value.size()) > box.maxLength) {
        bad = std::string(name) + " takes at most " + std::to_string(box.maxLength) +
              " characters";
        break;
      }
      if (value.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) {
        bad = std::string(name) + " takes no line breaks or NUL characters";
        break;
      }
      box.text = value;
      break;
    }
    case Kind::Combo:
      bad = SetCombo(static_cast<ComboBox&>(*e->control), name, value);
      break;
    case Kind::Check: {
      bool on = false;
      if (!Bit(value, on)) {
        bad = std::string(name) + " takes 1 or 0";
        break;
      }
      static_cast<CheckBox&>(*e->control).value = on;
      break;
    }
    case Kind::Option: {
      bool on = false;
      if (!Bit(value, on)) {
        bad = std::string(name) + " takes 1 or 0";
        break;
      }
      std::vector<const Entry*> group;
      for (const auto& o : c.entries)
        if (o.kind == Kind::Option && o.group == e->group) group.push_back(&o);
      const Entry* chosen = e;
      if (!on) {
        // An option is cleared by choosing another: only a pair says which.
        if (group.size() != 2) {
          bad = std::string(name) + ": choose one of its group with =1 instead";
          break;
        }
        chosen = group[0] == e ? group[1] : group[0];
        if (auto usable = Usable(*chosen); !usable.empty()) {
          why = Refusal::NotUsableNow;
          return usable;
        }
      }
      for (const Entry* o : group) static_cast<OptionButton&>(*o->control).value = o == chosen;
      break;
    }
    default:
      break;
  }
  if (!bad.empty()) why = Refusal::BadValue;
  return bad;
}

std::string SetPageControl(ModulePage& page, std::string_view name, std::string_view value,
                           Refusal* refusal) {
  std::string why = SetControlValue([&page](ControlVisitor& v) { page.visitControls(v); }, name,
                                    value, refusal);
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
  // A live value box is clicked (it opens "Change Value" on pages with manual outputs);
  // a setting, a label or a frame is not something to press.
  if (e->info.role != Role::Live)
    return std::string(name) + " is a " + std::string(RoleName(e->info.role)) + ", not a button";
  if (!e->control->visible) return std::string(name) + " is not shown for this unit";
  return {};
}

std::optional<ControlInfo> DeclarationOf(const ControlWalk& walk, std::string_view name) {
  Collector c;
  walk(c);
  if (const Entry* e = c.find(name)) return e->info;
  return std::nullopt;
}

std::optional<ControlInfo> DeclarationOf(ModulePage& page, std::string_view name) {
  return DeclarationOf([&page](ControlVisitor& v) { page.visitControls(v); }, name);
}

bool SplitAssignment(std::string_view text, std::string& name, std::string& value) {
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0) return false;
  name = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

}  // namespace q5::pages
