// The temperature input and analog output pages against simulated units: the exact lines
// of Upload, Download and live values per model variant, the range and unit labels, the
// burnout alarms, the clear value encodings and the queue of manual outputs.
#include <gtest/gtest.h>

#include "AnalogInputTestRig.h"
#include "pages/PageRegistry.h"
#include "pages/frmChangeValue.h"
#include "pages/frmOC2.h"
#include "pages/frmOCF4.h"
#include "pages/frmOV2.h"
#include "pages/frmOVF4.h"
#include "pages/frmRT4.h"
#include "pages/frmTC4.h"

using namespace q5::pages;
using Strings = std::vector<std::string>;

namespace {

Strings ScaleReads(int ch) {
  return {"G" + std::to_string(ch), "I20", "I21", "I22", "I23", "I24", "I25"};
}

// Zero scale to full base of a fresh simulated channel, written back.
Strings ScaleWrites(int ch, const std::string& zeroBase, const std::string& fullBase) {
  return {"G" + std::to_string(ch), "I20", "D0",          "I21",  "D10000", "I22",
          "D0.00",                  "I23", "D1.0000",     "I24",  "D" + zeroBase,
          "I25",                    "D" + fullBase};
}
Strings FourScaleWrites(int ch) {
  return {"G" + std::to_string(ch), "I20", "D0", "I21", "D10000", "I22", "D0.00", "I23",
          "D1.0000"};
}

const Strings kLive4 = {"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24"};

}  // namespace

TEST(TemperatureOutputPages, FactoryServesKinds1_2_3_4_10_12) {
  AnalogRig rig("Q5T3NML3-6-TC4");
  EXPECT_EQ(CreatePage(1, rig.ctx)->name(), "frmTC4");
  EXPECT_EQ(CreatePage(2, rig.ctx)->name(), "frmRT4");
  EXPECT_EQ(CreatePage(3, rig.ctx)->name(), "frmOV2");
  EXPECT_EQ(CreatePage(4, rig.ctx)->name(), "frmOC2");
  EXPECT_EQ(CreatePage(10, rig.ctx)->name(), "frmOCF4");
  EXPECT_EQ(CreatePage(12, rig.ctx)->name(), "frmOVF4");
}

TEST(TemperatureOutputPages, TC4ModelUploadLabelsDownloadAndBurnout) {
  AnalogRig rig("Q5T3NML3-6-TC4");
  rig.unit().item("2", "04").set("1");  // deg F
  rig.unit().item("3", "04").set("2");  // K
  // A unit letter other than C, F, K keeps the previous channel's unit.
  rig.unit().item("4", "04").format([](const auto&, const std::string&) { return "UNIT:X"; });
  rig.unit().item("1", "08").set("1");  // UP
  rig.unit().item("3", "15").set("1");
  rig.unit().item("01", "61").set("1");
  frmTC4 page(rig.ctx);

  ASSERT_TRUE(page.Init());
  Strings expected;
  for (int ch = 1; ch <= 4; ++ch) {
    expected = Lines({expected, ScaleReads(ch),
                      {"G" + std::to_string(ch), "I04", "I09", "I08", "I03", "I15"}});
  }
  EXPECT_EQ(rig.take(), Lines({expected, {"G01", "I61"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 5 Initializing");
  EXPECT_EQ(rig.dialogs.events.back(), "progressClose");
  EXPECT_TRUE(rig.dialogs.messages.empty());

  EXPECT_EQ(page.cmbUserRange[0].items.size(), 13u);
  EXPECT_EQ(page.cmbUserRange[0].text(), "K(CA)");
  EXPECT_EQ(page.lblType[0].caption, "K");
  EXPECT_EQ(page.lblZTemp[0].caption, "-272 to 1472");
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "deg C");
  EXPECT_EQ(page.lblZTemp[1].caption, "-458 to 2682");
  EXPECT_EQ(page.lblFTemp[1].caption, "-458 to 2682");
  EXPECT_EQ(page.lblFBase_Unit[1].caption, "deg F");
  EXPECT_EQ(page.lblZTemp[2].caption, "1 to 1745");
  EXPECT_EQ(page.cmbUserUnit[3].text(), "K");
  EXPECT_EQ(page.lblZBase_Unit[3].caption, "K");
  EXPECT_EQ(page.cmbUserBout[0].text(), "UP");
  EXPECT_EQ(page.Text1[0].caption, "UP");
  EXPECT_EQ(page.Text1[1].caption, "DOWN");
  EXPECT_EQ(page.cmbInvalid[2].text(), "Invalid");
  EXPECT_TRUE(page.cmbInvalid[0].visible);
  EXPECT_EQ(page.CmbConvSpeed.text(), "Valid");
  EXPECT_TRUE(page.CmbConvSpeed.visible);
  EXPECT_FALSE(page.Frame2.visible);
  // Zero and full temperature are settings here.
  EXPECT_TRUE(page.txtZBase[0].enabled);
  EXPECT_FALSE(page.cmdSet[0].enabled);
  EXPECT_TRUE(page.cmdSet[1].enabled);

  // The range labels change only at Upload: another type chosen leaves them.
  page.cmbUserRange[1].index = 4;
  EXPECT_EQ(page.lblZTemp[1].caption, "-458 to 2682");

  ASSERT_TRUE(page.CheckData());
  page.Download();
  Strings down;
  for (int ch = 1; ch <= 4; ++ch) {
    const std::string unit = ch == 1 ? "0" : ch == 2 ? "1" : "2";  // "F" goes out as "1"
    down = Lines({down, ScaleWrites(ch, "0.00", "0.00"),
                  {"I09", ch == 2 ? "D4" : "D0", "I04", "D" + unit, "I08", ch == 1 ? "D1" : "D0",
                   "I15", ch == 3 ? "D1" : "D0"}});
  }
  EXPECT_EQ(rig.take(), Lines({down, {"G01", "I61", "D1"}}));
  EXPECT_EQ(rig.unit().value("4", "04"), "2");

  // Burnout flags "5" (bits 0101): channels 0 and 2 red, 1 and 3 normal.
  rig.unit().item("00", "04").set("5");
  page.ReadingData();
  EXPECT_EQ(rig.take(), Lines({kLive4, {"G00", "I04"}}));
  EXPECT_EQ(page.Text1[0].colour, kRed);
  EXPECT_EQ(page.Text1[1].colour, kInfoBackground);
  EXPECT_EQ(page.Text1[2].colour, kRed);
  EXPECT_EQ(page.Text1[3].colour, kInfoBackground);
  EXPECT_FALSE(page.txtParData[0].text.empty());
  // A character that is no upper-case hex digit changes nothing.
  rig.unit().item("00", "04").set("a");
  page.ReadingData();
  EXPECT_EQ(page.Text1[0].colour, kRed);
  rig.unit().item("00", "04").set("0");
  page.ReadingData();
  EXPECT_EQ(page.Text1[2].colour, kInfoBackground);
}

TEST(TemperatureOutputPages, OtherThermocoupleModelsAndAUnitBehindANetwork) {
  AnalogRig rig("Q5T3NH-A-TC4");
  rig.values.networkType = 4;
  rig.unit().item("00", "14").set("1");  // "OFF": clear
  frmTC4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings expected = {"G00", "I14"};
  for (int ch = 1; ch <= 4; ++ch)
    expected = Lines({expected, ScaleReads(ch), {"G" + std::to_string(ch), "I04", "I09", "I08", "I03"}});
  EXPECT_EQ(rig.take(), expected);
  EXPECT_FALSE(page.cmbInvalid[0].visible);
  EXPECT_FALSE(page.CmbConvSpeed.visible);
  EXPECT_TRUE(page.Frame2.visible);
  EXPECT_TRUE(page.optKeepOff.value);

  // The hidden valid/invalid list is empty: item "15" is not written at all (with
  // nothing selected it would go out as "-1").
  page.optKeepOn.value = true;
  page.optKeepOff.value = false;
  page.Download();
  Strings down;
  for (int ch = 1; ch <= 4; ++ch)
    down = Lines({down, ScaleWrites(ch, "0.00", "0.00"),
                  {"I09", "D0", "I04", "D0", "I08", "D0"}});
  EXPECT_EQ(rig.take(), Lines({down, {"G00", "I14", "D0"}}));
  EXPECT_EQ(rig.link.WriteErrorCount(), 0);
}

TEST(TemperatureOutputPages, TemperatureCheckNeedsNumericTemperaturesOnly) {
  AnalogRig rig("Q5T3NML3-6-TC4");
  frmTC4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.txtZBase[1].text = "99999";  // not held against the measuring range
  page.txtZScale[0].text = "12.5";
  EXPECT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtZScale[0].text, "12");
  page.txtFBase[3].text = "hot";
  EXPECT_FALSE(page.CheckData());
  page.txtFBase[3].text = "0";
  page.txtGain[2].text = "3.21";
  EXPECT_FALSE(page.CheckData());
}

TEST(TemperatureOutputPages, RT4UploadDownloadAndTheRangeSwitch) {
  AnalogRig rig("Q5T3NML3-6-RT4");
  rig.unit().item("1", "09").set("6");  // a placeholder type
  rig.unit().item("2", "09").set("8");  // Cu50
  rig.unit().item("2", "04").set("1");
  frmRT4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings expected = {"G00", "I09", "G01", "I05"};
  for (int ch = 1; ch <= 4; ++ch) expected = Lines({expected, ScaleReads(ch), {"I04", "I09", "I03"}});
  EXPECT_EQ(rig.take(), expected);
  EXPECT_EQ(page.txtUserBout.text, "UP");
  EXPECT_FALSE(page.txtUserBout.enabled);
  EXPECT_EQ(page.cmbUserRange[0].items.size(), 9u);
  EXPECT_EQ(page.lblZTemp[0].caption, "0 to 0");
  EXPECT_EQ(page.lblZTemp[1].caption, "-148 to 392");
  EXPECT_EQ(page.lblType[1].caption, "Cu50");
  EXPECT_EQ(page.lblZTemp[2].caption, "-240 to 900");

  page.Download();
  Strings down;
  for (int ch = 1; ch <= 4; ++ch)
    down = Lines({down, ScaleWrites(ch, "0.00", "0.00"),
                  {"I09", ch == 1 ? "D6" : ch == 2 ? "D8" : "D0", "I04", ch == 2 ? "D1" : "D0"}});
  EXPECT_EQ(rig.take(), down);

  // A switch set to a type decides every channel's range.
  rig.unit().item("00", "09").set("2");
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.lblZTemp[0].caption, "-236 to 560");
  EXPECT_EQ(page.lblFTemp[1].caption, "-393 to 1040");
}

TEST(TemperatureOutputPages, OV2AndOC2UploadDownloadAndLiveValues) {
  {
    AnalogRig rig("Q5T3NML3-6-OV2");
    rig.values.networkType = 1;
    rig.unit().item("2", "09").set("3");
    frmOV2 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    EXPECT_EQ(rig.take(), Lines({{"G00", "I09", "G00", "I14"}, ScaleReads(1), {"I09"},
                                 ScaleReads(2), {"I09"}}));
    EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 3 Initializing");
    EXPECT_EQ(page.cmbUserRange[1].text(), "0V to 10V");
    EXPECT_EQ(page.cmbUserRange[1].items.size(), 8u);
    EXPECT_EQ(page.lblZBase_Unit[0].caption, "V");
    EXPECT_TRUE(page.optKeepOn.value);
    EXPECT_EQ(page.manualOutputCount(), 0);
    page.Download();
    EXPECT_EQ(rig.take(), Lines({{"G00", "I14", "D0"}, ScaleWrites(1, "-10.00", "10.00"),
                                 {"I09", "D0"}, ScaleWrites(2, "-10.00", "10.00"), {"I09", "D3"}}));
    page.ReadingData();
    EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22"}));
  }
  {
    AnalogRig rig("Q5T3NML3-6-OC2");
    frmOC2 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    EXPECT_EQ(rig.take(), Lines({ScaleReads(1), ScaleReads(2)}));
    EXPECT_EQ(page.lblZBase_Unit[1].caption, "mA");
    EXPECT_EQ(page.txtFBase[0].text, "20.00");
    EXPECT_FALSE(page.Frame2.visible);
    page.txtFBase[0].text = "19.50";
    ASSERT_TRUE(page.CheckData());
    page.Download();
    EXPECT_EQ(rig.take(), Lines({ScaleWrites(1, "4.00", "19.50"), ScaleWrites(2, "4.00", "20.00")}));
  }
}

TEST(TemperatureOutputPages, OVF4ModelsAndTheHundredthsEncoding) {
  {
    AnalogRig rig("Q5Z3UECT-1-OVF4");
    rig.unit().item("3", "12").set("11500");
    frmOVF4 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    Strings expected = {"G00", "I09"};
    for (int ch = 1; ch <= 4; ++ch) expected = Lines({expected, ScaleReads(ch), {"I12", "I11", "I09"}});
    EXPECT_EQ(rig.take(), Lines({expected, {"G00", "I29"}}));
    EXPECT_EQ(page.txtOutputClearValue[0].text, "-15.00");
    EXPECT_EQ(page.txtOutputClearValue[2].text, "115.00");
    // Character 14 of "OUT_HOLD_CLR:0": "0" is "Hold".
    EXPECT_EQ(page.CmbOutputHold.text(), "Hold");
    EXPECT_TRUE(page.txtParData[3].visible);
    EXPECT_EQ(page.lblBias[0].caption, "-320.00 to 320.00");
    EXPECT_EQ(page.lblGain[3].caption, "-3.2000 to 3.2000");
    EXPECT_EQ(page.lblZBase[0].caption, "-15.00 to 115.00");
    EXPECT_EQ(page.lblZBase_Unit[0].caption, "V");
    EXPECT_FALSE(page.txtZBase[0].enabled);  // read, never written
    EXPECT_EQ(page.manualOutputCount(), 4);

    page.txtOutputClearValue[1].text = "0";
    page.txtOutputClearValue[3].text = "12.345";
    page.CmbOutputHold.index = 0;  // "Clear"
    ASSERT_TRUE(page.CheckData());
    page.Download();
    Strings down;
    const char* clear[] = {"D-1500", "D0", "D11500", "D1235"};
    for (int ch = 1; ch <= 4; ++ch)
      down = Lines({down, FourScaleWrites(ch), {"I09", "D0", "I12", clear[ch - 1], "I11", "D0"}});
    EXPECT_EQ(rig.take(), Lines({down, {"G00", "I29", "D1"}}));
    page.txtOutputClearValue[0].text = "115.01";
    EXPECT_FALSE(page.CheckData());
  }
  {
    // The model that writes the hold choice as its list index.
    AnalogRig rig("Q5T3NML3-6-OVF4");
    frmOVF4 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    rig.take();
    EXPECT_EQ(page.txtOutputClearValue[0].text, "-15.00");
    EXPECT_EQ(page.CmbOutputHold.text(), "Hold");
    page.txtOutputClearValue[0].text = "-15";
    page.Download();
    const Strings down = rig.take();
    EXPECT_EQ(Strings(down.begin() + 9, down.begin() + 15),
              (Strings{"I09", "D0", "I12", "D-15", "I11", "D0"}));
    EXPECT_EQ(Strings(down.end() - 3, down.end()), (Strings{"G00", "I29", "D1"}));
  }
  {
    // No switch to read, no hold choice written.
    AnalogRig rig("Q5T3NH-A-OVF4");
    frmOVF4 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    const Strings up = rig.take();
    EXPECT_EQ(Strings(up.begin(), up.begin() + 7), ScaleReads(1));
    EXPECT_EQ(page.lblFBase_Unit[0].caption, "V");
    page.Download();
    const Strings down = rig.take();
    EXPECT_EQ(down.back(), "D0");  // channel 4's valid/invalid ends it
    EXPECT_EQ(std::count(down.begin(), down.end(), "I29"), 0);
  }
}

TEST(TemperatureOutputPages, TwoChannelOVF4HidesChannels2And3) {
  AnalogRig rig("Q5T3NML-6-OVF2");
  frmOVF4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 3 Initializing");
  EXPECT_EQ(rig.take(), Lines({{"G00", "I09"}, ScaleReads(1), {"I12", "I11", "I09"}, ScaleReads(2),
                               {"I12", "I11", "I09"}, {"G00", "I29"}}));
  EXPECT_TRUE(page.txtZScale[1].visible);
  EXPECT_FALSE(page.txtZScale[2].visible);
  EXPECT_FALSE(page.txtParData[3].visible);
  EXPECT_FALSE(page.lblCh[2].visible);
  EXPECT_EQ(page.manualOutputCount(), 2);
  // A bad value in a hidden channel does not stop the check.
  page.txtZScale[3].text = "x";
  EXPECT_TRUE(page.CheckData());
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22"}));
}

TEST(TemperatureOutputPages, OCF4ClearValueCheckInHundredths) {
  AnalogRig rig("Q5T3NML3-6-OCF4");
  frmOCF4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings expected;
  for (int ch = 1; ch <= 4; ++ch) expected = Lines({expected, ScaleReads(ch), {"I12", "I11"}});
  EXPECT_EQ(rig.take(), Lines({expected, {"G00", "I29"}}));
  EXPECT_EQ(page.lblZBase_Unit[2].caption, "mA");
  EXPECT_EQ(page.CmbOutputHold.text(), "Hold");
  EXPECT_TRUE(page.txtZBase[0].enabled);

  page.txtOutputClearValue[1].text = "115.004";
  EXPECT_TRUE(page.CheckData());
  page.txtOutputClearValue[1].text = "115.006";
  EXPECT_FALSE(page.CheckData());
  page.txtOutputClearValue[1].text = "-15.004";
  EXPECT_TRUE(page.CheckData());
  page.txtOutputClearValue[1].text = "";
  EXPECT_FALSE(page.CheckData());

  page.txtOutputClearValue[1].text = "12.5";  // sent as typed
  page.Download();
  Strings down;
  for (int ch = 1; ch <= 4; ++ch)
    down = Lines({down, ScaleWrites(ch, "4.00", "20.00"),
                  {"I12", ch == 2 ? "D12.5" : "D-15.00", "I11", "D0"}});
  EXPECT_EQ(rig.take(), Lines({down, {"G00", "I29", "D1"}}));
}

// "Change Value" queues the values on the page; the next monitoring pass writes all four
// once; refused values queue nothing; an Upload forgets the queue.
TEST(TemperatureOutputPages, ManualOutputsAreWrittenOnceByTheNextPass) {
  AnalogRig rig("Q5T3NML3-6-OCF4");
  frmOCF4 page(rig.ctx);
  frmChangeValue dialog;
  int opened = 0;
  rig.ctx.openChangeValue = [&] {
    ++opened;
    dialog.Load(page, rig.values.channelCount);
  };
  ASSERT_TRUE(page.Init());
  EXPECT_FALSE(page.pendingWrite);
  EXPECT_EQ(page.pendingValues[3], "-1500");
  page.ReadingData();
  rig.take();

  // Not monitoring: the click does nothing.
  EXPECT_TRUE(page.Press("txtParData(2)"));
  EXPECT_EQ(opened, 0);
  rig.values.Monitoring = true;
  EXPECT_TRUE(page.Press("txtParData(2)"));
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(dialog.txtParData[0].text, "0");  // the present outputs
  dialog.txtParData[0].text = "100";
  dialog.txtParData[1].text = "-200";
  dialog.txtParData[3].text = "32000";
  EXPECT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  EXPECT_TRUE(rig.take().empty());  // nothing is sent by the dialog

  page.ReadingData();
  EXPECT_EQ(rig.take(), Lines({kLive4, {"G00", "I21", "D100", "G00", "I22", "D-200", "G00", "I23",
                                        "D0", "G00", "I24", "D32000"}}));
  page.ReadingData();
  EXPECT_EQ(rig.take(), kLive4);
  EXPECT_EQ(page.txtParData[1].text, "-200");

  dialog.txtParData[2].text = "-32001";
  EXPECT_FALSE(dialog.cmdSet1_Click(rig.dialogs));
  page.ReadingData();
  EXPECT_EQ(rig.take(), kLive4);

  dialog.txtParData[2].text = "5";
  EXPECT_TRUE(dialog.cmdSet1_Click(rig.dialogs));
  rig.values.Monitoring = false;
  ASSERT_TRUE(page.Init());
  EXPECT_FALSE(page.pendingWrite);
  EXPECT_EQ(page.pendingValues[0], "-1500");
  rig.take();
  page.ReadingData();
  EXPECT_EQ(rig.take(), kLive4);
}
