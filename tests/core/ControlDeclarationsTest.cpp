// Every page kind of the catalogue, with its model variants, declares what each control
// is: the live columns of monitoring hold every live value and nothing else, a value the
// unit's live reads change is declared live, and NAME=VALUE takes settings only.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "PageKindModels.h"
#include "SessionTestRig.h"
#include "catalogue/Catalogue.h"
#include "pages/ControlByName.h"
#include "session/LiveValues.h"

namespace {

using q5::pages::ControlInfo;
using q5::pages::Role;

struct Declared {
  ControlInfo info;
  q5::pages::Control* control = nullptr;
  const q5::pages::TextBox* box = nullptr;
};

class Everything : public q5::pages::ControlVisitor {
 public:
  std::vector<Declared> all;
  void text(const ControlInfo& i, q5::pages::TextBox& c) override { all.push_back({i, &c, &c}); }
  void combo(const ControlInfo& i, q5::pages::ComboBox& c) override { add(i, c); }
  void check(const ControlInfo& i, q5::pages::CheckBox& c) override { add(i, c); }
  void option(const ControlInfo& i, q5::pages::OptionButton& c) override { add(i, c); }
  void label(const ControlInfo& i, q5::pages::Label& c) override { add(i, c); }
  void indicator(const ControlInfo& i, q5::pages::Indicator& c) override { add(i, c); }
  void button(const ControlInfo& i, q5::pages::Button& c) override { add(i, c); }
  void frame(const ControlInfo& i, q5::pages::Frame& c) override { add(i, c); }

 private:
  void add(const ControlInfo& i, q5::pages::Control& c) { all.push_back({i, &c, nullptr}); }
};

TEST(ControlDeclarations, EveryPageKindDeclaresItsLiveValuesAndTakesSettingsOnly) {
  std::set<int> kinds;
  for (const std::string& model : EveryPageKindModel()) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    if (!q5::session::IsPageKind(rig.session.values.pageKind)) continue;
    q5::pages::ModulePage* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    kinds.insert(page->pageKind());

    Everything before;
    page->visitControls(before);
    std::map<std::string, std::string> texts;
    std::set<std::string> names;
    for (const Declared& d : before.all) {
      EXPECT_TRUE(names.insert(d.info.name).second) << "declared twice: " << d.info.name;
      if (d.box) texts[d.info.name] = d.box->text;
    }

    // Monitoring passes: every box whose text the live reads change is declared live.
    rig.takeWire();
    for (int pass = 0; pass < 3; ++pass) {
      rig.clock.sleepUs(700000);
      page->ReadingData();
    }
    const bool reads = !rig.takeWire().empty();
    Everything after;
    page->visitControls(after);
    for (const Declared& d : after.all) {
      if (!d.box || texts[d.info.name] == d.box->text) continue;
      EXPECT_EQ(d.info.role, Role::Live) << d.info.name << " changed by a live read";
    }

    // The live columns are exactly the shown controls declared live.
    const auto columns = q5::session::LiveColumns(*page);
    std::set<std::string> columnNames;
    for (const auto& c : columns) columnNames.insert(c.name);
    for (const Declared& d : after.all) {
      const bool live = d.info.role == Role::Live && d.control->visible;
      EXPECT_EQ(columnNames.count(d.info.name), live ? 1u : 0u) << d.info.name;
    }
    if (reads) {
      EXPECT_FALSE(columns.empty()) << page->name() << " monitors but has no live column";
    }

    // NAME=VALUE: whatever is not a setting is refused by its role, naming it.
    for (const Declared& d : after.all) {
      if (d.info.role == Role::Setting) continue;
      q5::pages::Refusal why = q5::pages::Refusal::None;
      const std::string text = q5::pages::SetPageControl(*page, d.info.name, "1", &why);
      EXPECT_EQ(why, q5::pages::Refusal::NotASetting) << d.info.name;
      EXPECT_EQ(text.rfind(d.info.name + " is a " + std::string(RoleName(d.info.role)), 0), 0u)
          << text;
    }
  }
  // Every one of the 22 page kinds was swept.
  for (int k = 0; k <= 21; ++k) EXPECT_TRUE(kinds.count(k)) << "page kind " << k << " not swept";
}

// The same routine serves the network windows: a list item by its text or by #N, a
// shown-only value refused by its role.
TEST(ControlDeclarations, NetworkWindowsTakeListItemsByTextOrNumber) {
  q5::pages::ComboBox baud;
  baud.items = {"9600 bps", "19200 bps ", "38400 bps"};
  q5::pages::TextBox serial;
  serial.text = "00AB";
  auto walk = [&](q5::pages::ControlVisitor& v) {
    v.combo(q5::pages::Setting("cmbBaudRate", "Baud Rate"), baud);
    v.text(q5::pages::ShownValue("txtSerial", "Serial ID"), serial);
  };
  EXPECT_EQ(q5::pages::SetControlValue(walk, "cmbBaudRate", "#1"), "");
  EXPECT_EQ(baud.index, 1);
  EXPECT_EQ(q5::pages::SetControlValue(walk, "cmbBaudRate", "38400 bps"), "");
  EXPECT_EQ(baud.index, 2);
  // The padding blank of an item is not part of what a person reads.
  EXPECT_EQ(q5::pages::SetControlValue(walk, "cmbBaudRate", "19200 bps"), "");
  EXPECT_EQ(baud.index, 1);
  q5::pages::Refusal why{};
  EXPECT_NE(q5::pages::SetControlValue(walk, "cmbBaudRate", "#3", &why), "");
  EXPECT_EQ(why, q5::pages::Refusal::BadValue);
  EXPECT_NE(q5::pages::SetControlValue(walk, "cmbBaudRate", "1", &why), "");
  EXPECT_EQ(why, q5::pages::Refusal::BadValue);
  EXPECT_EQ(q5::pages::SetControlValue(walk, "txtSerial", "0000", &why),
            "txtSerial is a shown-only value, not a setting");
  EXPECT_EQ(why, q5::pages::Refusal::NotASetting);
  EXPECT_EQ(serial.text, "00AB");
}

}  // namespace
