// Refusals and control characters over every page kind: a single "CNG" or "CNU" to any
// read of an Upload never lands in a field (the Upload reports it instead, so nothing is
// saved from it), and no typed text with a control character ever puts one inside a line
// on the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SessionTestRig.h"
#include "link/TextRoutines.h"
#include "pages/ModulePage.h"

namespace {

// One model per page kind.
const char* const kModels[] = {
    "Q5T3NML3-6-AI4",   "Q5T3NML3-6-TC4",    "Q5T3NML3-6-RT4",  "Q5T3NML3-6-OV2",
    "Q5T3NML3-6-OC2",   "Q5W3NEIP-BI16",     "Q5W3NEIP-BO16",   "Q5T3NML3-6-AIF2",
    "Q5W3NEIP-BI32",    "Q5W3NEIP-BO32",     "Q5T3NML3-6-OCF4", "Q5T3NML3-6-PI1",
    "Q5T3NML3-6-OVF4",  "Q5T3NML3-6-SG2",    "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
    "Q5V3UM-AC32",      "Q5T3NML-6-AIF8N",   "Q5Z3UECT-1-BIO32C", "Q5Z3UECT-1-PI8A",
    "Q5W3NEIP-BIO16B",  "Q5V3PM-BI32"};

// The text boxes of the page holding a refusal taken as a value.
std::vector<std::string> RefusalsInFields(q5::pages::ModulePage& page) {
  struct Finder : q5::pages::ControlVisitor {
    std::vector<std::string> found;
    void text(const q5::pages::ControlInfo& info, q5::pages::TextBox& box) override {
      const std::string_view name = info.name;
      if (box.text.find("CNG") != std::string::npos || box.text.find("NEEDLESS") != std::string::npos)
        found.emplace_back(std::string(name) + "=" + box.text);
    }
  } finder;
  page.visitControls(finder);
  return finder.found;
}

TEST(FaultMatrixRefusals, ASingleRefusedReadDuringUploadNeverLandsInAFieldOnAnyPage) {
  int pages = 0, strikes = 0;
  for (const char* model : kModels) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    if (!rig.session.values.Connected || !rig.session.page()) continue;
    ++pages;
    // The item lines of a clean Upload, by their place in it.
    const std::uint64_t base = rig.port->line().linesReceived();
    rig.takeWire();
    rig.session.btnUpload_Click();
    ASSERT_EQ(rig.session.failure(), "");
    const std::vector<std::string> clean = rig.takeWire();
    std::vector<std::uint64_t> itemLines;
    for (std::size_t i = 0; i < clean.size(); ++i)
      if (!clean[i].empty() && clean[i][0] == 'I') itemLines.push_back(i + 1);
    ASSERT_FALSE(itemLines.empty());
    // Up to a dozen places spread over the Upload, each with CNG and with CNU.
    const std::size_t stride = std::max<std::size_t>(1, itemLines.size() / 12);
    for (std::size_t k = 0; k < itemLines.size(); k += stride) {
      for (const char* kind : {"cng", "cnu"}) {
        SCOPED_TRACE(std::string(kind) + " at " + clean[itemLines[k] - 1]);
        if (!rig.session.values.Connected) rig.connect();
        rig.dialogs.clear();
        const std::uint64_t start = rig.port->line().linesReceived();
        // The Upload runs from here with the same lines as the clean one.
        rig.port->fault(std::string(kind) + ":#" + std::to_string(start + itemLines[k]) + "*1");
        rig.session.btnUpload_Click();
        rig.port->line().clearFaults();
        const auto landed = RefusalsInFields(*rig.session.page());
        EXPECT_TRUE(landed.empty()) << landed.front();
        bool struck = false;
        (void)base;
        for (const auto& m : rig.dialogs.messages) struck = struck || m.icon == q5::ui::Icon::Error;
        // A refused read is reported: "Upload Error", or a failure naming the item.
        // (A refusal of the "F" write's item line is retried and absorbed.)
        if (!rig.session.failure().empty() || struck) ++strikes;
      }
    }
  }
  EXPECT_GE(pages, 20);
  EXPECT_GT(strikes, pages);
}

TEST(FaultMatrixRefusals, ARefusedSettingsReadIsNamedAndTheUploadFails) {
  SessionRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  rig.dialogs.clear();
  rig.port->fault("cng:1/21*1");
  rig.session.btnUpload_Click();
  EXPECT_NE(rig.session.failure().find("1 read refused by the unit (I21 (CNG))"), std::string::npos)
      << rig.session.failure();
  ASSERT_FALSE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.dialogs.messages.front().text, "Upload Error");
  EXPECT_TRUE(RefusalsInFields(*rig.session.page()).empty());
}

// Every text box of every page, given a line break, never gets one onto the wire: the
// checks refuse it, and when a check lets a field through the Download refuses it by
// name before anything is written.
TEST(FaultMatrixRefusals, AControlCharacterTypedIntoAnyFieldNeverReachesTheWire) {
  struct Boxes : q5::pages::ControlVisitor {
    std::vector<std::pair<std::string, q5::pages::TextBox*>> all;
    void text(const q5::pages::ControlInfo& info, q5::pages::TextBox& box) override {
      const std::string_view name = info.name;
      if (box.enabled && box.visible) all.emplace_back(std::string(name), &box);
    }
  };
  int fields = 0;
  for (const char* model : kModels) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    if (!rig.session.values.Connected || !rig.session.page()) continue;
    Boxes first;
    rig.session.page()->visitControls(first);
    std::vector<std::string> names;
    for (auto& [n, b] : first.all) names.push_back(n);
    for (std::size_t k = 0; k < names.size(); ++k) {
      const std::string& name = names[k];
      SCOPED_TRACE(name);
      if (!rig.session.values.Connected) rig.connect();
      Boxes now;
      rig.session.page()->visitControls(now);
      for (auto& [n, box] : now.all) {
        if (n != name) continue;
        const char* bad = k % 3 == 0 ? "\n" : k % 3 == 1 ? "\t" : "\r";
        box->text = (box->text.empty() ? std::string("1") : box->text) + bad + "5";
        ++fields;
      }
      rig.takeWire();
      rig.session.btnDownload_Click();
      for (const std::string& line : rig.takeWire())
        for (char c : line)
          ASSERT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) << q5::link::EscapeControls(line);
    }
  }
  EXPECT_GT(fields, 200);
}

}  // namespace
