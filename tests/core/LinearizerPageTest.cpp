// The linearizer page against a simulated unit: the exact lines of Upload and Download,
// the table written only for the points in use, the strictly rising X rule, the table's
// refusals, "Offset [deg]" and the manual output through "Change Value".
#include <gtest/gtest.h>

#include <algorithm>

#include "AnalogInputTestRig.h"
#include "pages/PageRegistry.h"
#include "pages/frmChangeValue.h"
#include "pages/frmLNRIO1.h"

using q5::pages::frmLNRIO1;
using Strings = std::vector<std::string>;

namespace {

Strings TableReads() {
  Strings s;
  for (int item = 11; item <= 74; ++item) s.push_back("I" + std::to_string(item));
  return s;
}

const Strings kScalingReads = {"G01", "I20", "I21", "I22", "I23", "G03", "I20", "I21", "I22", "I23"};
const Strings kSettingReads = {"G01", "I13", "G01", "I14", "G01", "I15", "G00", "I29", "G02", "I10"};
const Strings kOutputReads = {"G00", "I11", "G03", "I09", "G03", "I41", "G03", "I40"};

// Download up to the number of points, with the unit's defaults.
const Strings kDownloadHead = {"G01", "I20", "D0",     "I21", "D10000", "I22", "D0.00", "I23",
                               "D1.0000", "I11", "D0", "G03", "I20",    "D0",  "I21",   "D10000",
                               "I22", "D0.00", "I23",  "D1.0000", "G01", "I14", "D270.00", "I15",
                               "D0",  "G00", "I29", "D0"};
const Strings kDownloadTail = {"G00", "I11", "D0", "G03", "I09", "D0", "I41", "D0", "I40", "D-15.00"};

void SetPoint(frmLNRIO1& page, int point, const std::string& x, const std::string& y) {
  page.dgdDataGrid1[point - 1].x.text = x;
  page.dgdDataGrid1[point - 1].y.text = y;
}

}  // namespace

TEST(LinearizerPage, UploadReadsAll32PointsAndDownloadWritesOnlyThoseInUse) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  EXPECT_EQ(q5::pages::CreatePage(14, rig.ctx)->name(), "frmLNRIO1");
  rig.unit().item("02", "10").set("5");
  rig.unit().item("02", "73").set("11500");  // X of point 32
  rig.unit().item("03", "41").set("1");
  frmLNRIO1 page(rig.ctx);

  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({kScalingReads, kSettingReads, TableReads(), kOutputReads}));
  EXPECT_EQ(rig.dialogs.events, (Strings{"progressOpen 3 Initializing", "progressStep",
                                         "progressStep", "progressStep", "progressClose"}));
  EXPECT_EQ(page.CmbLinearizationPoint.items.size(), 30u);
  EXPECT_EQ(page.CmbLinearizationPoint.text(), "5");
  EXPECT_EQ(page.PointsInUse(), 5);
  EXPECT_EQ(page.txtSpan.text, "270.00");
  EXPECT_EQ(page.CmbRatating.text(), "CW");
  EXPECT_EQ(page.CmbHoldClear.text(), "Clear");
  EXPECT_EQ(page.CmbRange.text(), "-10\xEF\xBD\x9E+10V");
  EXPECT_EQ(page.txtOutputClearValue.text, "-15.00");
  EXPECT_EQ(page.dgdDataGrid1[31].x.text, "11500");
  EXPECT_EQ(page.dgdDataGrid1[1].y.text, "322");
  EXPECT_EQ(*page.LinearTable_get(32, 0), 11500);
  EXPECT_FALSE(page.cmdSet[0].enabled);
  EXPECT_TRUE(page.cmdSet[1].enabled);
  EXPECT_TRUE(page.cmdSet[2].enabled);
  EXPECT_TRUE(page.frmSet[0].visible);
  EXPECT_FALSE(page.frmSet[2].visible);
  EXPECT_TRUE(page.dgdDataGrid1[0].x.enabled);
  EXPECT_FALSE(page.txtOffset.enabled);

  // "Disable": the number of points is 0 and no point is written.
  Strings kDownloadTail = ::kDownloadTail;
  kDownloadTail[7] = "D1";  // "Clear" as read
  page.CmbLinearizationPoint.index = 0;
  ASSERT_TRUE(page.CheckData());
  rig.take();
  page.Download();
  EXPECT_EQ(rig.take(), Lines({kDownloadHead, {"G02", "I10", "D0"}, kDownloadTail}));
  EXPECT_EQ(rig.unit().value("02", "10"), "0");

  // Three points: "3" and items "11" to "16", typed into the grid.
  page.CmbLinearizationPoint.index = 1;
  SetPoint(page, 1, "0", "-1500");
  SetPoint(page, 2, "50", "5000");
  SetPoint(page, 3, " 100", "11500");
  SetPoint(page, 4, "junk", "");  // not in use: not checked, not written
  ASSERT_TRUE(page.CheckData());
  page.Download();
  EXPECT_EQ(rig.take(), Lines({kDownloadHead,
                               {"G02", "I10", "D3", "I11", "D0", "I12", "D-1500", "I13", "D50",
                                "I14", "D5000", "I15", "D100", "I16", "D11500"},
                               kDownloadTail}));
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.PointsInUse(), 3);
  EXPECT_EQ(page.dgdDataGrid1[2].x.text, "100");
  EXPECT_EQ(page.dgdDataGrid1[3].x.text, "967");  // the unit's own point 4 again
}

TEST(LinearizerPage, CheckDataWantsStrictlyRisingXWithinRangeOverThePointsInUse) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  frmLNRIO1 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.CmbLinearizationPoint.index = 1;  // 3 points
  // Points 4 to 32 may hold anything.
  for (int p = 4; p <= 32; ++p) SetPoint(page, p, std::to_string(40000 - p), "-9999");
  auto check = [&](const char* x1, const char* x2, const char* x3) {
    SetPoint(page, 1, x1, "0");
    SetPoint(page, 2, x2, "5000");
    SetPoint(page, 3, x3, "10000");
    return page.CheckData();
  };
  EXPECT_TRUE(check("0", "50", "100"));
  EXPECT_FALSE(check("0", "0", "100"));
  EXPECT_FALSE(check("0", "100", "50"));
  EXPECT_TRUE(check("-1500", "-1499", "11500"));
  EXPECT_FALSE(check("-1501", "0", "100"));
  EXPECT_FALSE(check("0", "50", "11501"));
  EXPECT_FALSE(check("0", "1.5", "100"));  // cells hold integers
  EXPECT_FALSE(check("0", "", "100"));
  EXPECT_TRUE(check("0", "50", "100"));
  SetPoint(page, 2, "50", "11501");
  EXPECT_FALSE(page.CheckData());
  SetPoint(page, 2, "50", "5000");
  // The input and output scaling follow the analog rule, with rounding written back.
  page.txtZScaleOut.text = "12.5";
  EXPECT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtZScaleOut.text, "12");
  page.txtGainIn.text = "3.21";
  EXPECT_FALSE(page.CheckData());
  page.txtGainIn.text = "1";
  page.txtBiasOut.text = "x";
  EXPECT_FALSE(page.CheckData());
  page.txtBiasOut.text = "0";
  // "Disable" checks no point at all.
  page.CmbLinearizationPoint.index = 0;
  SetPoint(page, 1, "bad", "bad");
  EXPECT_TRUE(page.CheckData());
}

TEST(LinearizerPage, TableRefusesPointsAndColumnsOutsideIt) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  frmLNRIO1 page(rig.ctx);
  EXPECT_TRUE(page.LinearTable_set(32, 11500, -1500));
  EXPECT_EQ(page.LinearTable_get(32, 0), 11500);
  EXPECT_EQ(page.LinearTable_get(32, 1), -1500);
  EXPECT_FALSE(page.LinearTable_set(33, 1, 1));
  EXPECT_FALSE(page.LinearTable_set(0, 1, 1));
  EXPECT_EQ(page.LinearTable_get(33, 0), std::nullopt);
  EXPECT_EQ(page.LinearTable_get(1, 2), std::nullopt);
  EXPECT_EQ(page.LinearTable_get(0, 0), std::nullopt);
  EXPECT_EQ(page.LinearTable_get(1, -1), std::nullopt);
  // dgd_open shows the table in the grid; dgd_download takes the grid back.
  page.dgd_open();
  EXPECT_EQ(page.dgdDataGrid1[31].x.text, "11500");
  page.dgdDataGrid1[31].y.text = "77";
  page.dgd_download();
  EXPECT_EQ(page.LinearTable_get(32, 1), 77);
}

TEST(LinearizerPage, OffsetButtonKeepsTheBoxWhenTheUnitRefuses) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  frmLNRIO1 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  rig.take();
  ASSERT_TRUE(page.Press("cmdOffset"));
  EXPECT_EQ(rig.take(), (Strings{"G1", "I13", "D1"}));
  EXPECT_EQ(page.txtOffset.text, rig.unit().value("01", "13"));
  EXPECT_NE(page.txtOffset.text, "0.0");
  EXPECT_TRUE(rig.dialogs.messages.empty());

  // A refused write comes back empty after four attempts: the offset stays as it was.
  const std::string before = page.txtOffset.text;
  rig.unit().item("1", "13").accept(
      [](q5::sim::SimulatedUnit&, std::string_view) { return std::optional<std::string>(); });
  page.Press("cmdOffset");
  EXPECT_EQ(rig.take(), (Strings{"G1", "I13", "D1", "G1", "I13", "D1", "G1", "I13", "D1", "G1",
                                 "I13", "D1"}));
  EXPECT_EQ(page.txtOffset.text, before);
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Data Error \r\nCheck Input data.", "Input Data Error",
                                  q5::ui::Icon::Error}));
  // Disabled while monitoring: pressing it does nothing.
  page.txt_able(false);
  EXPECT_FALSE(page.Press("cmdOffset"));
  EXPECT_TRUE(rig.take().empty());
}

TEST(LinearizerPage, ManualOutputThroughChangeValueIsWrittenByTheNextPass) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  int opened = 0;
  rig.ctx.openChangeValue = [&] { ++opened; };
  frmLNRIO1 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.ReadingData();
  rig.take();
  // Not monitoring: the output value box opens nothing.
  EXPECT_TRUE(page.Press("txtParDataOut"));
  EXPECT_EQ(opened, 0);
  rig.values.Monitoring = true;
  page.Press("txtParDataOut");
  EXPECT_EQ(opened, 1);

  q5::pages::frmChangeValue dialog;
  dialog.Load(page, 1);
  EXPECT_TRUE(dialog.txtParData[0].visible);
  EXPECT_FALSE(dialog.txtParData[1].visible);
  EXPECT_EQ(dialog.txtParData[0].text, page.txtParDataOut.text);
  dialog.txtParData[0].text = "2500";
  ASSERT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  EXPECT_TRUE(rig.take().empty());  // nothing is sent by the dialog
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I25", "G00", "I25", "D2500"}));
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I25"}));
  EXPECT_EQ(page.txtParDataOut.text, "2500");
}

TEST(LinearizerPage, EmptyTableReadIsAnUploadFailure) {
  AnalogRig rig("Q5T3NML3-6-LNRIO1");
  rig.port->fault("noreply:02/40");
  frmLNRIO1 page(rig.ctx);
  EXPECT_FALSE(page.Init());
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
  EXPECT_EQ(rig.disconnects, 1);
  const Strings lines = rig.take();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "I40"), 4);
  EXPECT_EQ(lines.back(), "I40");
}
