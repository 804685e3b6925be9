// Controls reached by name as a person reaches them, and "Change Value" on a page with
// manual outputs: which values it checks, what it hands over, what it refuses.
#include <gtest/gtest.h>

#include "AnalogInputTestRig.h"
#include "pages/ControlByName.h"
#include "pages/frmAI4.h"
#include "pages/frmChangeValue.h"

using q5::pages::frmAI4;
using q5::pages::frmChangeValue;
using q5::pages::SetPageControl;
using Strings = std::vector<std::string>;

namespace {

// A page with `outputs` manual outputs whose present values are "10", "11", ...
class OutputPage : public q5::pages::ModulePage {
 public:
  OutputPage(q5::pages::PageContext& ctx, int outputs) : ModulePage(ctx), outputs_(outputs) {}
  std::string_view name() const override { return "frmOut"; }
  int pageKind() const override { return 10; }
  bool Init() override { return true; }
  void Download() override {}
  void records(q5::pages::RecordStream&) override {}
  int manualOutputCount() const override { return outputs_; }
  std::string manualOutputValue(int i) const override { return std::to_string(10 + i); }
  void WritingData(const std::vector<std::string>& v) override { handed.push_back(v); }
  std::vector<std::vector<std::string>> handed;

 private:
  int outputs_;
};

const TestDialogs::Message kRangeError{"Data Error \r\nCheck data range.", "Data Range Error",
                                       q5::ui::Icon::Error};

}  // namespace

TEST(ControlByName, SetsTextsListsAndOptionPairsAsAPersonWould) {
  AnalogRig rig("Q5T3NML3-6-AINF4");
  rig.values.networkType = 4;  // behind a network: the hold/clear options are shown
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());

  EXPECT_EQ(SetPageControl(page, "txtBias(1)", "12.5"), "");
  EXPECT_EQ(page.txtBias[1].text, "12.5");
  EXPECT_EQ(SetPageControl(page, "cmbUserRange(2)", "4mA to 20mA"), "");
  EXPECT_EQ(page.cmbUserRange[2].index, 10);
  EXPECT_EQ(SetPageControl(page, "cmbUserRange(2)", "#3"), "");
  EXPECT_EQ(page.cmbUserRange[2].index, 3);
  // The data type's change handler runs as after a click: the scales follow it.
  EXPECT_EQ(SetPageControl(page, "CmbDataType(0)", "Unsigned"), "");
  EXPECT_EQ(page.txtFScale[0].text, "65535");
  EXPECT_EQ(page.lblZScale[0].caption, "0 to 65535");

  // One option of a pair chosen clears the other; "0" chooses the other one.
  EXPECT_EQ(SetPageControl(page, "optKeepOff", "1"), "");
  EXPECT_TRUE(page.optKeepOff.value);
  EXPECT_FALSE(page.optKeepOn.value);
  EXPECT_EQ(SetPageControl(page, "optKeepOff", "0"), "");
  EXPECT_TRUE(page.optKeepOn.value);
  EXPECT_FALSE(page.optKeepOff.value);

  // Refusals change nothing.
  EXPECT_NE(SetPageControl(page, "cmbUserRange(2)", "4mA"), "");
  EXPECT_NE(SetPageControl(page, "cmbUserRange(2)", "#12"), "");
  EXPECT_NE(SetPageControl(page, "cmbUserRange(2)", "#-1"), "");
  EXPECT_EQ(page.cmbUserRange[2].index, 3);
  EXPECT_NE(SetPageControl(page, "optKeepOn", "yes"), "");
  EXPECT_NE(SetPageControl(page, "txtNoSuch(0)", "1"), "");
  EXPECT_NE(SetPageControl(page, "lblZScale(0)", "1"), "");
  // Zero base follows the range; a person cannot type into it.
  EXPECT_NE(SetPageControl(page, "txtZBase(0)", "1"), "");
  EXPECT_EQ(page.txtZBase[0].text, "-10.00");
  // Nor into anything while the page is disabled (monitoring, loading).
  page.txt_able(false);
  EXPECT_NE(SetPageControl(page, "txtBias(1)", "1"), "");
  EXPECT_EQ(page.txtBias[1].text, "12.5");
}

TEST(ControlByName, PressableButtonsAreShownAndEnabled) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  auto walk = [&page](q5::pages::ControlVisitor& v) { page.visitControls(v); };
  // After Init the first tab is shown: its own button is disabled.
  EXPECT_NE(q5::pages::CheckPressable(walk, "cmdSet1"), "");
  EXPECT_EQ(q5::pages::CheckPressable(walk, "cmdSet2"), "");
  EXPECT_TRUE(page.Press("cmdSet2"));
  EXPECT_TRUE(page.frmSet[1].visible);
  EXPECT_FALSE(page.frmSet[0].visible);
  EXPECT_EQ(q5::pages::CheckPressable(walk, "cmdSet1"), "");
  EXPECT_EQ(q5::pages::CheckPressable(walk, "cmdNoSuch"), "no button named cmdNoSuch");
  EXPECT_FALSE(page.Press("cmdSet3"));
  EXPECT_FALSE(page.Press("cmdNoSuch"));
  // A page without manual outputs has no live value to click.
  rig.values.Monitoring = true;
  EXPECT_FALSE(page.Press("txtParData(0)"));
}

TEST(ChangeValue, ChecksTheValuesThatCountAndHandsAllFour) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  int opened = 0;
  rig.ctx.openChangeValue = [&] { ++opened; };
  OutputPage page(rig.ctx, 4);
  frmChangeValue dialog;

  // Clicking a live value opens the dialog only while monitoring.
  EXPECT_TRUE(page.Press("txtParData(1)"));
  EXPECT_EQ(opened, 0);
  rig.values.Monitoring = true;
  EXPECT_TRUE(page.Press("txtParData(1)"));
  EXPECT_EQ(opened, 1);

  // Four channels: all four values are checked.
  dialog.Load(page, 4);
  EXPECT_EQ(dialog.caption, "Change Value");
  EXPECT_EQ(dialog.cmdSet1.caption, "Change");
  EXPECT_EQ(dialog.txtParData[3].text, "13");
  EXPECT_TRUE(dialog.txtParData[3].visible);
  dialog.txtParData[0].text = "32000";
  dialog.txtParData[1].text = "-32000";
  dialog.txtParData[3].text = "32000.5";
  EXPECT_FALSE(dialog.cmdSet1_Click(rig.dialogs));
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  // The value named as the dialog heads it.
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Data Error \r\nCheck data range.\r\nCH 3 is \"32000.5\": "
                                  "enter a number from -32000 to 32000. Nothing was sent.",
                                  "Data Range Error", q5::ui::Icon::Error}));
  EXPECT_TRUE(page.handed.empty());
  dialog.txtParData[3].text = "abc";
  EXPECT_FALSE(dialog.cmdSet1_Click(rig.dialogs));
  dialog.txtParData[3].text = "-5";
  EXPECT_TRUE(dialog.Press("cmdSet1", rig.dialogs));
  ASSERT_EQ(page.handed.size(), 1u);
  EXPECT_EQ(page.handed[0], (Strings{"32000", "-32000", "12", "-5"}));

  // Two channels: only the first two count; the others are handed over as they stand.
  dialog.Load(page, 2);
  dialog.txtParData[2].text = "99999";
  dialog.txtParData[3].text = "x";
  EXPECT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  EXPECT_EQ(page.handed.back(), (Strings{"10", "11", "99999", "x"}));
  dialog.txtParData[1].text = "";
  EXPECT_FALSE(dialog.cmdSet1_Click(rig.dialogs));
  EXPECT_EQ(page.handed.size(), 2u);

  // One channel: the second value goes out as "0" whatever the box holds.
  dialog.Load(page, 1);
  dialog.txtParData[1].text = "junk";
  EXPECT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  EXPECT_EQ(page.handed.back(), (Strings{"10", "0", "12", "13"}));
}

TEST(ChangeValue, PagesWithFewerOutputsShowFewerBoxes) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  OutputPage two(rig.ctx, 2), one(rig.ctx, 1);
  frmChangeValue dialog;
  dialog.Load(two, 2);
  EXPECT_TRUE(dialog.txtParData[1].visible);
  EXPECT_FALSE(dialog.txtParData[2].visible);
  EXPECT_FALSE(dialog.lblCh[3].visible);
  // A page with one output (the linearizer) takes only the first value.
  dialog.Load(one, 1);
  EXPECT_FALSE(dialog.txtParData[1].visible);
  dialog.txtParData[0].text = "7";
  EXPECT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  ASSERT_EQ(one.handed.size(), 1u);
  EXPECT_EQ(one.handed[0], (Strings{"7"}));
}
