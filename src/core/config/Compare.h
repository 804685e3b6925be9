#pragma once
// Comparing configurations control by control: the settings a module page holds (the
// controls its configuration records carry) of a unit and a file, or of two files. A file
// is read on a session of its own (ConfigSnapshot), so the page on screen stays as it is
// until the user chooses to load the file's values.
#include <memory>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/Exchange.h"
#include "pages/ModulePage.h"
#include "session/Session.h"

namespace q5::config {

// One setting of a page as a person reads it.
struct SettingValue {
  std::string name;     // "cmbUserRange(0)"
  std::string caption;  // the text beside the control ("" when it has none)
  std::string value;    // text; list "item [index]" or "(none) [-1]" or "code N [-1]"; "on"/"off"
  std::string channel;  // the channel's heading as the page shows it ("CH 0"; "" module-wide)
};

// Every setting of the page that the configuration records carry for this model, of the
// channels 0 to channels - 1 (the values' channel count when channels is -1; every
// channel when the count is 0), in the page's order, whether shown or not (a hidden
// setting still goes to the unit).
std::vector<SettingValue> PageSettings(pages::ModulePage& page, const session::SessionValues& values,
                                       int channels = -1);

struct SettingDifference {
  std::string name;
  std::string caption;
  std::string first;   // the unit's (or the first file's) value
  std::string second;  // the file's (or the second file's) value
  std::string channel;  // the channel's heading as the page shows it ("" module-wide)
};

struct Comparison {
  std::string firstModel, secondModel;
  // Different pages: the settings cannot be set side by side, only the models differ.
  bool pagesDiffer = false;
  // Header values that differ ("model", "channel count"), then the settings, page order.
  std::vector<SettingDifference> differences;
  bool same() const { return !pagesDiffer && differences.empty(); }
};

// The differences of two pages with their identification values, over what the first
// side's model has (its channels, its model's settings): a setting the first side has and
// the second lacks counts as a difference with "" opposite; channels and settings only the
// second side's model has are left out.
Comparison CompareSettings(pages::ModulePage& first, const session::SessionValues& firstValues,
                           pages::ModulePage& second, const session::SessionValues& secondValues);

// A configuration file opened away from the unit: its own session (no port), its
// identification values and its page, read with every check File/Open makes.
class ConfigSnapshot {
 public:
  ConfigSnapshot();
  ~ConfigSnapshot();
  // Reads the file; false with the reason the open would have shown.
  bool open(const std::string& path, std::string& error);
  session::Session& session() { return *session_; }
  const session::SessionValues& values() const { return session_->values; }
  // The file's page (nullptr before a successful open).
  pages::ModulePage* page();

 private:
  class NoPort;
  class Quiet;
  std::unique_ptr<NoPort> port_;
  link::VirtualClock clock_;
  std::unique_ptr<link::Exchange> exchange_;
  std::unique_ptr<Quiet> dialogs_;
  std::unique_ptr<session::Session> session_;
  bool opened_ = false;
};

}  // namespace q5::config
