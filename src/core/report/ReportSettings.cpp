// The walk over a page's controls that gives the report its settings. Everything the
// report knows about a control (whether it is a setting, its caption, unit, channel and
// tab) comes from here.
#include <set>

#include "config/PageRecords.h"
#include "config/RecordStream.h"
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

// The element number of "name(i)", or -1.
int ElementOf(std::string_view name) {
  const auto open = name.find('(');
  if (open == std::string_view::npos || name.back() != ')') return -1;
  int n = 0;
  for (std::size_t i = open + 1; i + 1 < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

class SettingWalk : public pages::ControlVisitor {
 public:
  explicit SettingWalk(const std::set<std::string>& carried) : carried_(carried) {}
  std::vector<ReportSetting> settings;

  void text(std::string_view name, std::string_view caption, pages::TextBox& c) override {
    if (!c.shownOnly) add(name, caption, c.text);
  }
  void combo(std::string_view name, std::string_view caption, pages::ComboBox& c) override {
    add(name, caption, ComboShown(c));
  }
  void check(std::string_view name, pages::CheckBox& c) override {
    add(name, c.caption, c.value ? "on" : "off");
  }
  void option(std::string_view name, pages::OptionButton& c) override {
    add(name, c.caption, c.value ? "on" : "off");
  }

 private:
  // A setting is a control the page's configuration records carry for this model, shown
  // or not (a hidden one still goes to the unit), apart from values the page only shows
  // (fixed by another setting); named by itself or by the base name of an array a single
  // field stands for, such as an output mask.
  void add(std::string_view name, std::string_view caption, std::string value) {
    const std::string n(name);
    if (!carried_.count(n) && !carried_.count(n.substr(0, n.find('(')))) return;
    ReportSetting s;
    s.name = n;
    s.caption = std::string(caption);
    s.value = std::move(value);
    s.channelNumber = ElementOf(name);
    if (s.channelNumber >= 0) s.channel = "CH " + std::to_string(s.channelNumber);
    settings.push_back(std::move(s));
  }
  const std::set<std::string>& carried_;
};

}  // namespace

std::vector<ReportSetting> PageReportSettings(pages::ModulePage& page,
                                              const session::SessionValues& values) {
  // Writing the records names every field they carry and changes nothing on the page.
  config::RecordStream io = config::RecordStream::Writer(values.model);
  config::PageRecords(io, page, page.pageKind());
  const std::set<std::string> carried(io.fieldNames().begin(), io.fieldNames().end());
  SettingWalk walk(carried);
  page.visitControls(walk);
  return std::move(walk.settings);
}

}  // namespace q5::report
