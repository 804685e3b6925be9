#include "config/Compare.h"

#include <set>

#include "config/ConfigFiles.h"
#include "pages/RecordStream.h"
#include "ui/UnattendedDialogs.h"

namespace q5::config {

namespace {

std::string ComboValue(const pages::ComboBox& c) {
  if (c.index >= 0) return c.text() + " [" + std::to_string(c.index) + "]";
  if (!c.unlistedCode.empty()) return "code " + c.unlistedCode + " [-1]";
  return "(none) [-1]";
}

// Collects the controls whose names (or, for a field that stands for a whole array such
// as an output mask, whose base names) the records carry.
class SettingCollector : public pages::ControlVisitor {
 public:
  SettingCollector(const std::set<std::string>& carried, int channels)
      : carried_(carried), channels_(channels) {}
  std::vector<SettingValue> settings;

  void text(const pages::ControlInfo& i, pages::TextBox& c) override {
    add(i, i.caption, c.text);
  }
  void combo(const pages::ControlInfo& i, pages::ComboBox& c) override {
    add(i, i.caption, ComboValue(c));
  }
  void check(const pages::ControlInfo& i, pages::CheckBox& c) override {
    add(i, c.caption, c.value ? "on" : "off");
  }
  void option(const pages::ControlInfo& i, pages::OptionButton& c) override {
    add(i, c.caption, c.value ? "on" : "off");
  }

 private:
  void add(const pages::ControlInfo& info, std::string_view caption, const std::string& value) {
    const std::string& n = info.name;
    // Only what the page declares a setting, of a channel the unit has.
    if (info.role != pages::Role::Setting) return;
    if (info.channel >= 0 && channels_ > 0 && info.channel >= channels_) return;
    if (!carried_.count(n) && !carried_.count(n.substr(0, n.find('(')))) return;
    settings.push_back({n, std::string(caption), value, info.channelHeading});
  }
  const std::set<std::string>& carried_;
  int channels_;
};

}  // namespace

std::vector<SettingValue> PageSettings(pages::ModulePage& page, const session::SessionValues& values,
                                       int channels) {
  // The record walk names every field it writes; writing changes nothing on the page.
  pages::RecordStream io = pages::RecordStream::Writer(values.model);
  page.records(io);
  const std::set<std::string> carried(io.fieldNames().begin(), io.fieldNames().end());
  SettingCollector c(carried, channels < 0 ? values.channelCount : channels);
  page.visitControls(c);
  return std::move(c.settings);
}

Comparison CompareSettings(pages::ModulePage& first, const session::SessionValues& firstValues,
                           pages::ModulePage& second, const session::SessionValues& secondValues) {
  Comparison r;
  r.firstModel = firstValues.model;
  r.secondModel = secondValues.model;
  if (first.pageKind() != second.pageKind()) {
    r.pagesDiffer = true;
    r.differences.push_back({"model", "", firstValues.model, secondValues.model, ""});
    return r;
  }
  if (firstValues.model != secondValues.model)
    r.differences.push_back({"model", "", firstValues.model, secondValues.model, ""});
  if (firstValues.channelCount != secondValues.channelCount) {
    r.differences.push_back({"channel count", "", std::to_string(firstValues.channelCount),
                             std::to_string(secondValues.channelCount), ""});
  }
  // What the first side's model has (the unit's, or the first file's): its channels and
  // the settings its records carry. A setting only the second side's model has is left
  // out: the unit cannot hold it.
  const auto a = PageSettings(first, firstValues);
  const auto b = PageSettings(second, secondValues, firstValues.channelCount);
  for (const SettingValue& s : a) {
    const SettingValue* other = nullptr;
    for (const SettingValue& t : b)
      if (t.name == s.name) other = &t;
    if (!other || other->value != s.value)
      r.differences.push_back(
          {s.name, s.caption, s.value, other ? other->value : std::string(), s.channel});
  }
  return r;
}

// --- ConfigSnapshot ---------------------------------------------------------------------

// A port that is never open: a snapshot sends nothing.
class ConfigSnapshot::NoPort : public link::Port {
 public:
  bool open(const std::string&, int) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  bool setBaudRate(int) override { return false; }
  std::size_t bytesWaiting() override { return 0; }
  bool write(std::string_view) override { return false; }
  std::string readAll() override { return {}; }
  void waitForBytes(std::int64_t) override {}
};

// Keeps the first error message instead of showing it.
class ConfigSnapshot::Quiet : public ui::UnattendedDialogs {};

ConfigSnapshot::ConfigSnapshot()
    : port_(std::make_unique<NoPort>()),
      exchange_(std::make_unique<link::Exchange>(*port_, clock_)),
      dialogs_(std::make_unique<Quiet>()),
      session_(std::make_unique<session::Session>(*exchange_, *dialogs_)) {}

ConfigSnapshot::~ConfigSnapshot() = default;

bool ConfigSnapshot::open(const std::string& path, std::string& error) {
  dialogs_->firstError.clear();
  ConfigFiles files(*session_);
  opened_ = files.OpenFrom(path);
  if (!opened_)
    error = dialogs_->firstError.empty() ? "Cannot open \"" + path + "\"." : dialogs_->firstError;
  return opened_;
}

pages::ModulePage* ConfigSnapshot::page() {
  if (!opened_ || !session::IsPageKind(session_->values.pageKind)) return nullptr;
  return session_->page();
}

}  // namespace q5::config
