// The analog input pages against a simulated unit: the exact lines of Upload, Download
// and live values per model variant, the unit labels, and the failure paths.
#include <gtest/gtest.h>

#include <algorithm>

#include "AnalogInputTestRig.h"
#include "pages/PageRegistry.h"
#include "pages/ControlByName.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"
#include "pages/frmAIF2.h"

using q5::pages::frmAI4;
using q5::pages::frmAI8;
using q5::pages::frmAIF2;
using Strings = std::vector<std::string>;

namespace {

const Strings kScaleReads1 = {"G1", "I20", "I21", "I22", "I23", "I24", "I25"};
const Strings kScaleReads2 = {"G2", "I20", "I21", "I22", "I23", "I24", "I25"};
const Strings kScaleReads3 = {"G3", "I20", "I21", "I22", "I23", "I24", "I25"};
const Strings kScaleReads4 = {"G4", "I20", "I21", "I22", "I23", "I24", "I25"};

Strings ScaleReads(int ch) {
  return {"G" + std::to_string(ch), "I20", "I21", "I22", "I23", "I24", "I25"};
}

// The default scaling of a fresh simulated channel, as written back by Download.
Strings DefaultScaleWrites(int ch) {
  return {"G" + std::to_string(ch), "I20", "D0", "I21", "D10000", "I22", "D0.00", "I23",
          "D1.0000"};
}

}  // namespace

TEST(AnalogInputPages, FactoryServesKinds0_7_17) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  EXPECT_EQ(q5::pages::CreatePage(0, rig.ctx)->name(), "frmAI4");
  EXPECT_EQ(q5::pages::CreatePage(7, rig.ctx)->name(), "frmAIF2");
  EXPECT_EQ(q5::pages::CreatePage(17, rig.ctx)->name(), "frmAI8");
}

TEST(AnalogInputPages, AI4ModelUploadDownloadAndLiveValues) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  rig.unit().item("2", "09").set("10");  // channel 2: 4mA to 20mA
  rig.unit().item("3", "11").set("1");
  rig.unit().item("00", "30").set("2");  // 20ms
  frmAI4 page(rig.ctx);

  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(),
            Lines({{"G00", "I09"},
                   kScaleReads1, {"I09", "I11"},
                   kScaleReads2, {"I09", "I11"},
                   kScaleReads3, {"I09", "I11"},
                   kScaleReads4, {"I09", "I11"},
                   {"G00", "I30"}}));
  EXPECT_EQ(rig.dialogs.events,
            (Strings{"progressOpen 5 Initializing", "progressStep", "progressStep",
                     "progressStep", "progressStep", "progressClose"}));
  EXPECT_TRUE(rig.dialogs.messages.empty());

  EXPECT_EQ(page.lblV_Unit.caption, "AI4");
  EXPECT_EQ(page.txtZScale[0].text, "0");
  EXPECT_EQ(page.txtFScale[0].text, "10000");
  EXPECT_EQ(page.txtBias[0].text, "0.00");
  EXPECT_EQ(page.txtGain[0].text, "1.0000");
  EXPECT_EQ(page.txtZBase[0].text, "-10.00");
  EXPECT_EQ(page.txtFBase[1].text, "20.00");
  EXPECT_EQ(page.cmbUserRange[0].items.size(), 12u);
  EXPECT_EQ(page.cmbUserRange[1].text(), "4mA to 20mA");
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "V");
  EXPECT_EQ(page.lblFBase_Unit[1].caption, "mA");
  EXPECT_EQ(page.cmbInvalid[2].text(), "Invalid");
  EXPECT_TRUE(page.cmbInvalid[0].visible);
  EXPECT_FALSE(page.CmbDataType[0].visible);
  EXPECT_FALSE(page.LabDatatype.visible);
  EXPECT_EQ(page.lblZScale[0].caption, "-32000 to 32000");
  EXPECT_FALSE(page.Frame2.visible);
  EXPECT_EQ(page.CmbConvSpeed.items,
            (Strings{"80ms\xEF\xBC\x8F\xC2\xB1" "0.1%", "40ms\xEF\xBC\x8F\xC2\xB1" "0.2%",
                     "20ms\xEF\xBC\x8F\xC2\xB1" "0.4%", "10ms\xEF\xBC\x8F\xC2\xB1" "0.8%"}));
  EXPECT_EQ(page.CmbConvSpeed.index, 2);
  EXPECT_TRUE(page.lblConvSpeed1.visible);
  EXPECT_EQ(page.lblConvSpeed2.caption, "conversion accuracy");
  // Printed and reported, the list reads under both labels, not under its second half.
  EXPECT_EQ(q5::pages::DeclarationOf(page, "CmbConvSpeed")->caption,
            "Conversion rate / conversion accuracy");
  // Ready: editing on, base fields display-only, "Setting 1" shown.
  EXPECT_TRUE(page.txtZScale[0].enabled);
  EXPECT_FALSE(page.txtZBase[0].enabled);
  EXPECT_FALSE(page.cmdSet[0].enabled);
  EXPECT_TRUE(page.cmdSet[1].enabled);
  EXPECT_TRUE(page.frmSet[0].visible);
  EXPECT_FALSE(page.frmSet[1].visible);

  // The user edits; Download writes the controls, the unit keeps what it accepts.
  page.txtBias[0].text = "5";
  page.cmbUserRange[3].index = 3;
  page.CmbConvSpeed.index = 1;
  ASSERT_TRUE(page.CheckData());
  rig.dialogs.clear();
  page.Download();
  EXPECT_EQ(rig.take(),
            Lines({{"G1", "I20", "D0", "I21", "D10000", "I22", "D5", "I23", "D1.0000"},
                   {"I09", "D0", "I11", "D0"},
                   DefaultScaleWrites(2), {"I09", "D10", "I11", "D0"},
                   DefaultScaleWrites(3), {"I09", "D0", "I11", "D1"},
                   DefaultScaleWrites(4), {"I09", "D3", "I11", "D0"},
                   {"G00", "I30", "D1"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 5 Downloading");
  EXPECT_EQ(rig.dialogs.events.back(), "progressClose");
  EXPECT_FALSE(page.txtZScale[0].enabled);  // the re-Upload enables again

  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.txtBias[0].text, "5.00");  // as the unit keeps it
  EXPECT_EQ(page.cmbUserRange[3].index, 3);
  EXPECT_EQ(page.txtZBase[3].text, "0.00");
  EXPECT_EQ(page.CmbConvSpeed.index, 1);

  // Live values: four group reads, the first "." removed.
  rig.take();
  rig.unit().item("00", "21").live({}).set("12.50");
  rig.unit().item("00", "22").live({}).set("-0.25");
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24"}));
  EXPECT_EQ(page.txtParData[0].text, "1250");
  EXPECT_EQ(page.txtParData[1].text, "-025");
  // A value that is not numeric after removing the point leaves the box as it was.
  rig.unit().item("00", "21").set("1.2.3.4");
  rig.unit().item("00", "22").set("OVER");
  page.ReadingData();
  EXPECT_EQ(page.txtParData[0].text, "1250");
  EXPECT_EQ(page.txtParData[1].text, "-025");
}

TEST(AnalogInputPages, ConversionRateByCharacters12And13) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  frmAI4 page(rig.ctx);
  auto rateReply = [&](std::string reply) {
    rig.unit().item("00", "30").format(
        [reply](const q5::sim::SimulatedUnit&, const std::string&) { return reply; });
    EXPECT_TRUE(page.Init());
    return page.CmbConvSpeed.index;
  };
  EXPECT_EQ(rateReply("CONV_SPEED:10ms"), 3);
  EXPECT_EQ(rateReply("CONV_SPEED:40"), 1);
  EXPECT_EQ(rateReply("CONV_SPEED:99ms"), 0);  // unknown: the first rate
  EXPECT_EQ(rateReply("SHORT"), 0);
}

TEST(AnalogInputPages, AveragingModelsReadTheIndexAtCharacter8) {
  for (const char* model : {"Q5T3NML3-6-AIF4", "Q5T3NML-6-AIF4"}) {
    SCOPED_TRACE(model);
    AnalogRig rig(model);
    rig.unit().item("00", "29").set("8");
    frmAI4 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    EXPECT_EQ(rig.take(), Lines({{"G00", "I09"},
                                 kScaleReads1, {"I09", "I11"},
                                 kScaleReads2, {"I09", "I11"},
                                 kScaleReads3, {"I09", "I11"},
                                 kScaleReads4, {"I09", "I11"},
                                 {"G00", "I29"}}));
    EXPECT_EQ(page.CmbConvSpeed.items.size(), 9u);
    EXPECT_EQ(page.CmbConvSpeed.text(), "256");
    EXPECT_FALSE(page.lblConvSpeed1.visible);
    EXPECT_EQ(page.lblConvSpeed2.caption, "Averaging");
    EXPECT_TRUE(page.lblConvSpeed2.visible);

    page.CmbConvSpeed.index = 4;
    page.Download();
    const Strings sent = rig.take();
    EXPECT_EQ(Strings(sent.end() - 3, sent.end()), (Strings{"G00", "I29", "D4"}));
    EXPECT_EQ(rig.unit().value("00", "29"), "4");
  }
}

TEST(AnalogInputPages, DataTypeModel) {
  AnalogRig rig("Q5T3NML3-6-AINF4");
  rig.unit().item("2", "13").set("1");
  rig.unit().item("2", "20").set("100");
  rig.unit().item("2", "21").set("60000");
  rig.unit().item("00", "29").set("3");
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  const Strings channel = {"I13", "I09", "I11"};
  EXPECT_EQ(rig.take(), Lines({{"G00", "I09"},
                               kScaleReads1, channel,
                               kScaleReads2, channel,
                               kScaleReads3, channel,
                               kScaleReads4, channel,
                               {"G00", "I29"}}));
  // "AVERAGE_NUM:3": the index is character 13 on this model.
  EXPECT_EQ(page.CmbConvSpeed.text(), "8");
  EXPECT_TRUE(page.LabDatatype.visible);
  EXPECT_TRUE(page.CmbDataType[0].visible);
  EXPECT_EQ(page.CmbDataType[0].text(), "Signed");
  EXPECT_EQ(page.CmbDataType[1].text(), "Unsigned");
  EXPECT_EQ(page.lblZScale[0].caption, "-32768 to 32767");
  EXPECT_EQ(page.lblFScale[1].caption, "0 to 65535");
  EXPECT_TRUE(page.CheckData());  // 60000 fits the unsigned channel

  // Choosing a data type resets the channel's scale fields to the ends of its range.
  page.CmbDataType[0].index = 1;
  page.CmbDataType_Click(0);
  EXPECT_EQ(page.txtZScale[0].text, "0");
  EXPECT_EQ(page.txtFScale[0].text, "65535");
  EXPECT_EQ(page.lblZScale[0].caption, "0 to 65535");
  EXPECT_TRUE(page.CheckData());
  page.CmbDataType[0].index = 0;
  EXPECT_FALSE(page.CheckData());  // 65535 does not fit "Signed"
  page.CmbDataType_Click(0);
  EXPECT_EQ(page.txtZScale[0].text, "-32768");
  EXPECT_EQ(page.txtFScale[0].text, "32767");
  EXPECT_EQ(page.lblFScale[0].caption, "-32768 to 32767");
  ASSERT_TRUE(page.CheckData());

  page.Download();
  EXPECT_EQ(rig.take(),
            Lines({{"G1", "I13", "D0", "G1", "I20", "D-32768", "I21", "D32767", "I22", "D0.00",
                    "I23", "D1.0000", "I09", "D0", "I11", "D0"},
                   {"G2", "I13", "D1", "G2", "I20", "D100", "I21", "D60000", "I22", "D0.00",
                    "I23", "D1.0000", "I09", "D0", "I11", "D0"},
                   {"G3", "I13", "D0"}, DefaultScaleWrites(3), {"I09", "D0", "I11", "D0"},
                   {"G4", "I13", "D0"}, DefaultScaleWrites(4), {"I09", "D0", "I11", "D0"},
                   {"G00", "I29", "D3"}}));
}

TEST(AnalogInputPages, DataTypeClickDoesNothingOnOtherModels) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.txtZScale[0].text = "7";
  page.CmbDataType_Click(0);
  EXPECT_EQ(page.txtZScale[0].text, "7");
  EXPECT_EQ(page.lblZScale[0].caption, "-32000 to 32000");
}

TEST(AnalogInputPages, SwitchLessModelTakesSwitchAndRangeFromItem08) {
  AnalogRig rig("Q5T3NH-A-AIF4");
  rig.unit().item("1", "09").set("10");  // "F,10": switch F, the range decides -> mA
  // Channel 2's own switch says 9 (current) while its range code is 0.
  rig.unit().item("2", "08").format({}).set("9,0");
  rig.unit().item("3", "08").format({}).set("3,9");  // switch 3 (voltage), range 9
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  const Strings channel = {"I08", "I11"};
  // No module switch read: the model has none.
  EXPECT_EQ(rig.take(), Lines({kScaleReads1, channel, kScaleReads2, channel, kScaleReads3,
                               channel, kScaleReads4, channel, {"G00", "I29"}}));
  EXPECT_EQ(page.cmbUserRange[0].index, 10);
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "mA");
  EXPECT_EQ(page.cmbUserRange[1].index, 0);
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "mA");  // by its switch
  EXPECT_EQ(page.cmbUserRange[2].index, 9);
  EXPECT_EQ(page.lblFBase_Unit[2].caption, "V");   // by its switch
  EXPECT_EQ(page.lblFBase_Unit[3].caption, "V");
  EXPECT_EQ(page.CmbConvSpeed.items.size(), 9u);
}

TEST(AnalogInputPages, ListedModelsLabelByRangeWhateverTheSwitch) {
  AnalogRig rig("Q5T3NML3-6-AIF4");
  rig.unit().item("00", "09").set("3");   // switch at 0V to 10V
  rig.unit().item("1", "09").set("11");  // channel 1 at 0mA to 20mA
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "mA");
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "V");
}

TEST(AnalogInputPages, UnlistedModelBehindANetworkModule) {
  // A 4-channel unit that is none of the listed models: voltage ranges only, no
  // valid/invalid, no rate; labels by the switch unless it is "F".
  AnalogRig rig("Q5T3NML-6-AI4");
  rig.values.networkType = 1;
  rig.unit().item("00", "09").set("9");   // the switch selects a current range
  rig.unit().item("00", "14").set("1");   // output clear
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  const Strings channel = {"I09"};
  EXPECT_EQ(rig.take(), Lines({{"G00", "I09", "G00", "I14"},
                               kScaleReads1, channel, kScaleReads2, channel,
                               kScaleReads3, channel, kScaleReads4, channel}));
  EXPECT_EQ(page.cmbUserRange[0].items.size(), 8u);
  EXPECT_EQ(page.cmbUserRange[0].items.back(), "-0.5V to 0.5V");
  EXPECT_FALSE(page.cmbInvalid[0].visible);
  EXPECT_FALSE(page.CmbConvSpeed.visible);
  EXPECT_FALSE(page.lblConvSpeed1.visible);
  EXPECT_FALSE(page.lblConvSpeed2.visible);
  EXPECT_TRUE(page.Frame2.visible);
  EXPECT_FALSE(page.optKeepOn.value);
  EXPECT_TRUE(page.optKeepOff.value);
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "mA");  // by the switch, not range 0

  // Switch "F": the channel's range decides.
  rig.unit().item("00", "09").set("F");
  // A range code past this page's list still names its unit: 9 is a current range.
  rig.unit().item("2", "09").set("9");
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "V");
  EXPECT_EQ(page.cmbUserRange[1].index, -1);
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "mA");
  // Download writes the unit's own code back for the range it cannot show, never "-1".
  rig.take();
  page.Download();
  const auto written = rig.take();
  EXPECT_EQ(std::count(written.begin(), written.end(), "D-1"), 0);
  const auto ch2 = std::find(written.begin(), written.end(), "G2");
  ASSERT_NE(ch2, written.end());
  const auto range2 = std::find(ch2, written.end(), "I09");
  ASSERT_NE(range2, written.end());
  EXPECT_EQ(*(range2 + 1), "D9");
  EXPECT_EQ(rig.unit().item("2", "09").value, "9");
  rig.unit().item("2", "09").set("0");
  ASSERT_TRUE(page.Init());
  rig.take();

  // The hidden valid/invalid list is empty: with nothing selected the item is not
  // written at all (it would go out as "-1").
  page.optKeepOn.value = true;
  page.optKeepOff.value = false;
  page.Download();
  const Strings channelWrites = {"I09", "D0"};
  EXPECT_EQ(rig.take(), Lines({DefaultScaleWrites(1), channelWrites,
                               DefaultScaleWrites(2), channelWrites,
                               DefaultScaleWrites(3), channelWrites,
                               DefaultScaleWrites(4), channelWrites,
                               {"G00", "I14", "D0"}}));
  EXPECT_EQ(rig.unit().value("00", "14"), "0");
}

TEST(AnalogInputPages, EmptyScalingReadIsAnUploadFailure) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  rig.port->fault("noreply:2/22");
  frmAI4 page(rig.ctx);
  EXPECT_FALSE(page.Init());
  // Four attempts at item "22" of channel 2, then nothing more.
  EXPECT_EQ(rig.take(), Lines({{"G00", "I09"}, kScaleReads1, {"I09", "I11"},
                               {"G2", "I20", "I21", "I22", "I22", "I22", "I22"}}));
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
  EXPECT_EQ(rig.dialogs.events,
            (Strings{"progressOpen 5 Initializing", "progressStep", "progressClose",
                     "message Upload Error|Upload|Error"}));
  EXPECT_FALSE(rig.dialogs.progressShown);
  EXPECT_EQ(rig.disconnects, 1);
  EXPECT_FALSE(page.txtZScale[0].enabled);  // the page stays disabled
  EXPECT_FALSE(page.cmdSet[1].enabled);
}

TEST(AnalogInputPages, RefusedAndUnusedRepliesAreTakenAsValues) {
  // "CNU" to a scaling item reads as "NEEDLESS", "CNG" as "CNG": not empty, so Upload
  // goes on and the boxes show them; the range check then refuses to download them.
  AnalogRig rig("Q5T3NML3-6-AI4");
  rig.port->fault("cnu:2/22");
  rig.port->fault("cng:3/20");
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({{"G00", "I09"},
                               kScaleReads1, {"I09", "I11"},
                               kScaleReads2, {"I09", "I11"},
                               kScaleReads3, {"I09", "I11"},
                               kScaleReads4, {"I09", "I11"},
                               {"G00", "I30"}}));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(page.txtBias[1].text, "NEEDLESS");
  EXPECT_EQ(page.txtZScale[2].text, "CNG");
  EXPECT_TRUE(page.txtZScale[0].enabled);
  EXPECT_FALSE(page.CheckData());
}

TEST(AnalogInputPages, EmptySecondaryValueEndsUploadWithoutMessage) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  rig.port->fault("noreply:3/11");
  frmAI4 page(rig.ctx);
  EXPECT_TRUE(page.Init());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.disconnects, 0);
  EXPECT_FALSE(rig.dialogs.progressShown);
  EXPECT_FALSE(page.txtZScale[0].enabled);
  EXPECT_FALSE(page.cmdSet[1].enabled);
  const Strings sent = rig.take();
  EXPECT_EQ(sent.back(), "I11");
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "G4"), 0);

  AnalogRig rig2("Q5T3NML3-6-AI4");
  rig2.port->fault("noreply:00/09");
  frmAI4 page2(rig2.ctx);
  EXPECT_TRUE(page2.Init());
  EXPECT_EQ(rig2.take(), (Strings{"G00", "I09", "G00", "I09", "G00", "I09", "G00", "I09"}));
  EXPECT_TRUE(rig2.dialogs.messages.empty());
}

TEST(AnalogInputPages, AI8ListedModel) {
  AnalogRig rig("Q5T3NML-6-AIF8N");
  rig.unit().item("00", "09").set("3");  // switch ignored on this model
  rig.unit().item("6", "09").set("4");
  rig.unit().item("00", "29").set("7");
  frmAI8 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings expected = {"G00", "I09"};
  for (int ch = 1; ch <= 8; ++ch)
    expected = Lines({expected, ScaleReads(ch), {"I09", "I11"}});
  expected = Lines({expected, {"G00", "I29"}});
  EXPECT_EQ(rig.take(), expected);
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 9 Initializing");
  EXPECT_EQ(page.cmbUserRange[0].items,
            (Strings{"-10V to 10V", "-5V to 5V", "-------------", "0V to 10V", "0V to 5V",
                     "1V to 5V"}));
  EXPECT_EQ(page.cmbUserRange[5].text(), "0V to 5V");
  EXPECT_EQ(page.txtZBase[5].text, "0.00");
  EXPECT_EQ(page.txtFBase[5].text, "5.00");
  EXPECT_EQ(page.CmbConvSpeed.items.size(), 8u);
  EXPECT_EQ(page.CmbConvSpeed.text(), "128");  // "AVENUM:7", character 8
  EXPECT_EQ(page.lblConvSpeed2.caption, "Averaging");
  EXPECT_FALSE(page.lblConvSpeed1.visible);
  EXPECT_TRUE(page.cmbInvalid[7].visible);
  EXPECT_EQ(page.cmdSet[0].caption, "CH 0 to CH 3");
  EXPECT_EQ(page.cmdSet[1].caption, "CH 4 to CH 7");

  page.cmdSet2_Click();
  EXPECT_TRUE(page.frmSet[1].visible);
  EXPECT_FALSE(page.frmSet[0].visible);
  EXPECT_FALSE(page.cmdSet[1].enabled);
  EXPECT_TRUE(page.cmdSet[0].enabled);
  EXPECT_EQ(page.lblChannel[0].caption, "CH 0");
  EXPECT_EQ(page.lblChannel[3].caption, "CH 3");
  page.VScroll1.value = 1200;
  page.VScroll1_Scroll();
  EXPECT_EQ(page.frameTop, -1200);

  page.txtGain[7].text = "-3.2";
  page.CmbConvSpeed.index = 2;
  ASSERT_TRUE(page.CheckData());
  page.Download();
  expected.clear();
  for (int ch = 1; ch <= 8; ++ch)
    expected = Lines({expected,
                      {"G" + std::to_string(ch), "I20", "D0", "I21", "D10000", "I22", "D0.00",
                       "I23", ch == 8 ? "D-3.2" : "D1.0000", "I09", ch == 6 ? "D4" : "D0",
                       "I11", "D0"}});
  expected = Lines({expected, {"G00", "I29", "D2"}});
  EXPECT_EQ(rig.take(), expected);
  EXPECT_EQ(rig.dialogs.events.back(), "progressClose");
  EXPECT_EQ(rig.unit().value("8", "23"), "-3.2000");

  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24",
                                 "G00", "I25", "G00", "I26", "G00", "I27", "G00", "I28"}));
}

TEST(AnalogInputPages, AI8FixedRangeAndMixedModels) {
  AnalogRig rig("Q5Z3UECT-1-AIMF8N");
  rig.unit().item("00", "29").set("5");
  rig.unit().item("2", "09").set("3");
  frmAI8 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  const Strings sent = rig.take();
  // No switch read: the fixed-range models take "RANGE01:0".
  EXPECT_EQ(Strings(sent.begin(), sent.begin() + 9),
            Lines({ScaleReads(1), {"I09", "I11"}}));
  EXPECT_EQ(Strings(sent.end() - 2, sent.end()), (Strings{"G00", "I29"}));
  EXPECT_EQ(page.CmbConvSpeed.text(), "32");  // "AVERAGE_NUM:5", character 13
  // Channels 1-4: voltage by the switch (0), whatever their range.
  EXPECT_EQ(page.cmbUserRange[1].index, 3);
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "V");
  // Channels 5-8: the one current range, "mA", 4.00 to 20.00.
  for (int i = 4; i < 8; ++i) {
    EXPECT_EQ(page.cmbUserRange[i].items, (Strings{"4mA to 20mA"}));
    EXPECT_EQ(page.cmbUserRange[i].index, 0);
    EXPECT_EQ(page.lblZBase_Unit[i].caption, "mA");
    EXPECT_EQ(page.txtZBase[i].text, "4.00");
    EXPECT_EQ(page.txtFBase[i].text, "20.00");
  }

  // Whatever the unit reports for a current input (its bases, its range code), the page
  // shows the fixed 4.00 to 20.00 and the one list item, and writes that item's index.
  rig.unit().item("6", "24").format({}).set("-10.00");
  rig.unit().item("6", "25").format({}).set("10.00");
  rig.unit().item("6", "09").set("3");
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.txtZBase[5].text, "4.00");
  EXPECT_EQ(page.txtFBase[5].text, "20.00");
  EXPECT_EQ(page.cmbUserRange[5].index, 0);
  EXPECT_EQ(page.lblFBase_Unit[5].caption, "mA");
  rig.take();
  page.Download();
  const Strings writes = rig.take();
  const Strings channel6(std::find(writes.begin(), writes.end(), "G6"),
                         std::find(writes.begin(), writes.end(), "G7"));
  EXPECT_EQ(channel6, (Strings{"G6", "I20", "D0", "I21", "D10000", "I22", "D0.00", "I23",
                               "D1.0000", "I09", "D0", "I11", "D0"}));

  AnalogRig rig2("Q5Z3UECT-1-AIF8N");
  frmAI8 page2(rig2.ctx);
  ASSERT_TRUE(page2.Init());
  EXPECT_EQ(rig2.take().front(), "G1");
  EXPECT_EQ(page2.cmbUserRange[7].items.size(), 6u);
  EXPECT_EQ(page2.CmbConvSpeed.text(), "1");
}

TEST(AnalogInputPages, AIF2ReadsAndWritesAllSixScalingItems) {
  AnalogRig rig("Q5T3NML3-6-AIF2");
  rig.unit().item("2", "24").set("1.00");
  frmAIF2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({ScaleReads(1), ScaleReads(2)}));
  EXPECT_EQ(rig.dialogs.events,
            (Strings{"progressOpen 3 Initializing", "progressStep", "progressStep",
                     "progressClose"}));
  EXPECT_TRUE(page.cmdSet.empty());
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "V");
  EXPECT_EQ(page.txtZBase[1].text, "1.00");
  EXPECT_TRUE(page.txtGain[1].enabled);
  EXPECT_FALSE(page.txtZBase[1].enabled);

  page.txtZScale[0].text = "-100.5";
  ASSERT_TRUE(page.CheckData());
  page.Download();
  EXPECT_EQ(rig.take(),
            (Strings{"G1", "I20", "D-100", "I21", "D10000", "I22", "D0.00", "I23", "D1.0000",
                     "I24", "D-10.00", "I25", "D10.00",
                     "G2", "I20", "D0", "I21", "D10000", "I22", "D0.00", "I23", "D1.0000",
                     "I24", "D1.00", "I25", "D10.00"}));
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22"}));

  rig.port->fault("noreply:1/25");
  EXPECT_FALSE(page.Init());
  EXPECT_EQ(rig.dialogs.messages.back(),
            (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
}

TEST(AnalogInputPages, ControlsAreNamedAsOnThePage) {
  struct Names : q5::pages::ControlVisitor {
    std::vector<std::string> all;
    void text(const q5::pages::ControlInfo& info_, q5::pages::TextBox&) override {
      const std::string_view n = info_.name; add(n); }
    void combo(const q5::pages::ControlInfo& info_, q5::pages::ComboBox&) override {
      const std::string_view n = info_.name; add(n); }
    void option(const q5::pages::ControlInfo& info_, q5::pages::OptionButton&) override {
      const std::string_view n = info_.name; add(n); }
    void label(const q5::pages::ControlInfo& info_, q5::pages::Label&) override {
      const std::string_view n = info_.name; add(n); }
    void button(const q5::pages::ControlInfo& info_, q5::pages::Button&) override {
      const std::string_view n = info_.name; add(n); }
    void frame(const q5::pages::ControlInfo& info_, q5::pages::Frame&) override {
      const std::string_view n = info_.name; add(n); }
    void add(std::string_view n) { all.emplace_back(n); }
    bool has(const std::string& n) const {
      return std::find(all.begin(), all.end(), n) != all.end();
    }
  };
  AnalogRig rig("Q5T3NML3-6-AI4");
  frmAI4 ai4(rig.ctx);
  Names n4;
  ai4.visitControls(n4);
  for (const char* name : {"lblV_Unit", "cmdSet1", "frmSet2", "cmbUserRange(0)", "txtZScale(2)",
                           "txtFBase(3)", "lblZBase_Unit(1)", "cmbInvalid(3)", "CmbDataType(0)",
                           "txtParData(3)", "LabDatatype", "CmbConvSpeed", "lblConvSpeed2",
                           "Frame2", "optKeepOn", "optKeepOff"})
    EXPECT_TRUE(n4.has(name)) << name;
  frmAI8 ai8(rig.ctx);
  Names n8;
  ai8.visitControls(n8);
  for (const char* name : {"cmbUserRange(7)", "txtGain(7)", "cmbInvalid(7)", "lblChannel3",
                           "txtParData(7)", "CmbConvSpeed"})
    EXPECT_TRUE(n8.has(name)) << name;
  EXPECT_FALSE(n8.has("optKeepOn"));
}

TEST(AnalogInputPages, PrepareControlsAndValuesChangedOffline) {
  // Values that come from a configuration file, no unit traffic.
  AnalogRig rig("Q5T3NML3-6-AINF4");
  frmAI4 page(rig.ctx);
  page.PrepareControls();
  EXPECT_EQ(page.cmbUserRange[3].items.size(), 12u);
  EXPECT_EQ(page.CmbDataType[3].items, (Strings{"Signed", "Unsigned"}));
  EXPECT_EQ(page.cmbInvalid[0].items, (Strings{"Valid", "Invalid"}));
  EXPECT_EQ(page.CmbConvSpeed.items.size(), 9u);
  page.cmbUserRange[0].index = 10;
  page.cmbUserRange[1].index = 4;
  page.CmbDataType[2].index = 1;
  page.ValuesChanged();
  EXPECT_EQ(page.lblZBase_Unit[0].caption, "mA");
  EXPECT_EQ(page.lblZBase_Unit[1].caption, "V");
  EXPECT_EQ(page.lblZScale[2].caption, "0 to 65535");
  EXPECT_EQ(page.lblZScale[1].caption, "-32768 to 32767");
  EXPECT_TRUE(rig.take().empty());

  AnalogRig rig8("Q5Z3UECT-1-AIMF8N");
  frmAI8 ai8(rig8.ctx);
  ai8.PrepareControls();
  ai8.cmbUserRange[4].index = 0;
  ai8.ValuesChanged();
  EXPECT_EQ(ai8.lblFBase_Unit[4].caption, "mA");
  EXPECT_EQ(ai8.txtFBase[4].text, "20.00");
}

TEST(AnalogInputPages, MoreChannelsReportedThanThePageHas) {
  // A unit reporting more channels than the page's controls: the page serves its own.
  AnalogRig rig("Q5T3NML3-6-AI4");
  rig.values.channelCount = 9;
  frmAI4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  const Strings sent = rig.take();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "G5"), 0);
  EXPECT_TRUE(page.CheckData());
}
