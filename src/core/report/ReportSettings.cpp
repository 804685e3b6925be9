// The walk over a page's controls that gives the report its settings: whether a control
// is a setting, its caption, unit, channel heading and tab, all as the page declares them.
#include <set>

#include "pages/RecordStream.h"
#include "report/Report.h"

namespace q5::report {

namespace {

// A list as the page shows it: the item's text; a code the unit reported that names no
// item is shown as that code.
std::string ComboShown(const pages::ComboBox& c) {
  if (c.index >= 0) return c.text();
  if (!c.unlistedCode.empty()) return "code " + c.unlistedCode;
  return std::string();
}

class SettingWalk : public pages::ControlVisitor {
 public:
  explicit SettingWalk(const std::set<std::string>& carried) : carried_(carried) {}
  std::vector<ReportSetting> settings;

  void text(const pages::ControlInfo& info, pages::TextBox& c) override { add(info, c.text); }
  void combo(const pages::ControlInfo& info, pages::ComboBox& c) override {
    add(info, ComboShown(c));
  }
  void check(const pages::ControlInfo& info, pages::CheckBox& c) override {
    add(info, c.value ? "on" : "off");
  }
  void option(const pages::ControlInfo& info, pages::OptionButton& c) override {
    add(info, c.value ? "on" : "off");
  }

 private:
  // A setting as the page declares it, when this model has it: the page's configuration
  // records carry it for this model (named by itself, or by the base name of an array a
  // single field stands for, such as an output mask), shown or not, since a hidden one
  // still goes to the unit.
  void add(const pages::ControlInfo& info, std::string value) {
    if (info.role != pages::Role::Setting) return;
    const std::string& n = info.name;
    if (!carried_.count(n) && !carried_.count(n.substr(0, n.find('(')))) return;
    ReportSetting s;
    s.name = n;
    s.caption = info.caption;
    s.unit = info.unit;
    s.channelNumber = info.channel;
    s.channel = info.channel >= 0 ? info.channelHeading : std::string();
    s.group = info.group;
    s.value = std::move(value);
    settings.push_back(std::move(s));
  }
  const std::set<std::string>& carried_;
};

}  // namespace

std::vector<ReportSetting> PageReportSettings(pages::ModulePage& page,
                                              const session::SessionValues& values) {
  // Writing the records names every field they carry and changes nothing on the page.
  pages::RecordStream io = pages::RecordStream::Writer(values.model);
  page.records(io);
  const std::set<std::string> carried(io.fieldNames().begin(), io.fieldNames().end());
  SettingWalk walk(carried);
  page.visitControls(walk);
  return std::move(walk.settings);
}

}  // namespace q5::report
