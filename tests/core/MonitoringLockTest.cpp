// While monitoring, no setting of any page can be changed: every page kind of the
// catalogue, connected to a simulated unit, is checked in the middle of its monitoring
// loop, and again after Stop (the settings come back).
#include <gtest/gtest.h>

#include "SessionTestRig.h"

namespace {

// One model per page kind, 0 to 21.
const char* const kModelOfKind[22] = {
    "Q5T3NML3-6-AI4",   "Q5T3NML3-6-TC4",   "Q5T3NML3-6-RT4",     "Q5T3NML3-6-OV2",
    "Q5T3NML3-6-OC2",   "Q5W3NEIP-BI16",    "Q5W3NEIP-BO16",      "Q5T3NML3-6-AIF2",
    "Q5W3NEIP-BI32",    "Q5Z3UECT-1-BO32A", "Q5T3NML3-6-OCF4",    "Q5T3NML3-6-PI1/A",
    "Q5T3NML3-6-OVF4",  "Q5T3NML3-6-SG2A",  "Q5T3NML3-6-LNRIO1",  "Q5W3NML3-E-EC4A",
    "Q5V3UM-AC32",      "Q5T3NML-6-AIF8N",  "Q5Z3UECT-1-BIO32",   "Q5Z3UECT-1-PI8A",
    "Q5W3NEIP-BIO16",   "Q5V3PM-BI32"};

// The settings a person could change now: shown, enabled controls the page declares
// settings (a text box only shown is none). The AC current page's group list only
// chooses which channels are shown, and stays usable while monitoring.
class EditableSettings : public q5::pages::ControlVisitor {
 public:
  std::vector<std::string> names;

  void text(const q5::pages::ControlInfo& i, q5::pages::TextBox& c) override {
    if (!c.shownOnly) add(i, c);
  }
  void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox& c) override {
    if (i.name != "cmbChGrp") add(i, c);
  }
  void check(const q5::pages::ControlInfo& i, q5::pages::CheckBox& c) override { add(i, c); }
  void option(const q5::pages::ControlInfo& i, q5::pages::OptionButton& c) override { add(i, c); }

 private:
  void add(const q5::pages::ControlInfo& i, const q5::pages::Control& c) {
    if (i.role == q5::pages::Role::Setting && c.enabled && c.visible) names.push_back(i.name);
  }
};

std::vector<std::string> Editable(q5::pages::ModulePage& page) {
  EditableSettings v;
  page.visitControls(v);
  return v.names;
}

std::string Join(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& n : v) s += (s.empty() ? "" : " ") + n;
  return s;
}

}  // namespace

TEST(MonitoringLock, NoSettingOfAnyPageKindIsEnabledWhileMonitoring) {
  for (int kind = 0; kind < 22; ++kind) {
    const std::string model = kModelOfKind[kind];
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    ASSERT_TRUE(rig.session.values.Connected);
    ASSERT_EQ(rig.session.values.pageKind, kind);
    auto* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    const auto before = Editable(*page);
    EXPECT_FALSE(before.empty()) << "a connected page offers settings";

    std::vector<std::string> whileMonitoring;
    int seen = 0;
    rig.view.onProcessEvents = [&] {
      if (!rig.session.values.Monitoring || ++seen < 3) return;
      whileMonitoring = Editable(*page);
      rig.session.btnStop_Click();
    };
    rig.session.btnStart_Click();
    rig.view.onProcessEvents = nullptr;
    ASSERT_GE(seen, 3) << "monitoring ran";
    EXPECT_EQ(Join(whileMonitoring), "") << "settings open to edits while monitoring";
    // Stop gives the page back as it was before Start.
    EXPECT_EQ(Join(Editable(*page)), Join(before));
  }
}
