#pragma once
// How q5cfg-cli prints a module page: a header line for the unit or file, then one line
// per visible control that carries a value (name, caption, value, tab-separated), in the
// page's order. `upload` prints the unit's page this way, `show` a configuration file's,
// and `monitor` picks its live values from the same list. Header-only: the Qt-free
// tests compile the configuration commands' source file on its own.
#include <ostream>
#include <string>
#include <vector>

#include "link/TextRoutines.h"
#include "pages/Controls.h"
#include "pages/ModulePage.h"
#include "session/Session.h"

namespace q5::cli {

// One control as the command line shows it.
struct ShownControl {
  std::string name;     // "txtCData(3)"
  std::string caption;  // "" for a label
  std::string value;    // text; combo "text [index]" or "(none) [-1]"; "on"/"off"; "1"/"0";
                        // a caption that carries state
  pages::Role role = pages::Role::Setting;
};

namespace detail {

class ControlCollector : public pages::ControlVisitor {
 public:
  std::vector<ShownControl> shown;

  void text(const pages::ControlInfo& i, pages::TextBox& c) override {
    if (c.visible) add(i, i.caption, c.text);
  }
  void combo(const pages::ControlInfo& i, pages::ComboBox& c) override {
    if (!c.visible) return;
    const std::string value =
        c.index < 0 ? std::string("(none) [-1]") : c.text() + " [" + std::to_string(c.index) + "]";
    add(i, i.caption, value);
  }
  void check(const pages::ControlInfo& i, pages::CheckBox& c) override {
    if (c.visible) add(i, c.caption, c.value ? "on" : "off");
  }
  void option(const pages::ControlInfo& i, pages::OptionButton& c) override {
    if (c.visible) add(i, c.caption, c.value ? "on" : "off");
  }
  void label(const pages::ControlInfo& i, pages::Label& c) override {
    if (c.visible) add(i, "", c.caption);
  }
  void indicator(const pages::ControlInfo& i, pages::Indicator& c) override {
    if (c.visible) add(i, c.caption, c.colour == c.litColour ? "1" : "0");
  }
  // A button whose caption carries the unit's state ("5V", "2KHz") is printed with it;
  // other buttons carry no value.
  void button(const pages::ControlInfo& i, pages::Button& c) override {
    if (c.visible && i.role == pages::Role::CaptionState) add(i, i.caption, c.caption);
  }

 private:
  void add(const pages::ControlInfo& i, std::string caption, std::string value) {
    shown.push_back({i.name, std::move(caption), std::move(value), i.role});
  }
};

}  // namespace detail

// The visible controls of the page that carry a value, in the page's order.
inline std::vector<ShownControl> CollectControls(pages::ModulePage& page) {
  detail::ControlCollector c;
  page.visitControls(c);
  return std::move(c.shown);
}

// "name<TAB>caption<TAB>value" per control of CollectControls.
// Values come from the unit or a file: control characters are shown escaped (\xNN), so
// one value is always one field of one line.
inline void PrintControls(std::ostream& os, pages::ModulePage& page) {
  for (const ShownControl& s : CollectControls(page))
    os << s.name << "\t" << link::EscapeControls(s.caption) << "\t" << link::EscapeControls(s.value)
       << "\n";
}

// "# MODEL  VERSION  channels N  page K frmXXX" for the session's unit or file
// ("frmNONE" when it has no module page).
inline void PrintHeader(std::ostream& os, session::Session& session) {
  const auto& v = session.values;
  const pages::ModulePage* page = session::IsPageKind(v.pageKind) ? session.page() : nullptr;
  os << "# " << link::EscapeControls(v.model) << "  " << link::EscapeControls(v.versionText)
     << "  channels " << v.channelCount << "  page "
     << v.pageKind << " " << (page ? page->name() : "frmNONE") << "\n";
}

}  // namespace q5::cli
