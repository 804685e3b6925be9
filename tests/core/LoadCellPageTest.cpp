// The load-cell page against a simulated unit: the exact lines of Upload, Download, live
// values and every calibration button per model variant, the value checks that send
// nothing, and the load ratio and percent checks.
#include <gtest/gtest.h>

#include "AnalogInputTestRig.h"
#include "pages/PageTables.h"
#include "pages/frmSG2.h"

using q5::pages::frmSG2;
using Strings = std::vector<std::string>;

namespace {

// One channel's Upload after the module-wide reads.
Strings ChannelReads(int ch, bool filterMode, bool percent) {
  Strings s = {"G" + std::to_string(ch), "I11", "I20", "I21", "I22", "I23", "I28", "I42"};
  if (filterMode) s.push_back("I09");
  s.push_back("I40");
  if (percent) s.insert(s.end(), {"I24", "I25", "I26"});
  return s;
}

Strings ChannelWrites(int ch, bool percent, const std::string& average = "3") {
  Strings s = {"G" + std::to_string(ch), "I20", "D0",    "I21", "D10000", "I22",     "D0.00",
               "I23", "D1.0000", "I28", "D100.00", "I11", "D" + average};
  if (percent) s.insert(s.end(), {"I24", "D0", "I25", "D10000", "I26", "D0"});
  return s;
}

const Strings kLiveReads = {"G00", "I21", "G00", "I22", "G00", "I20"};

// Button "F" preamble of a channel group.
Strings Prepared(const std::string& group, Strings then) {
  Strings s = {"G" + group, "I01", "DF"};
  s.insert(s.end(), then.begin(), then.end());
  return s;
}

}  // namespace

TEST(LoadCellPage, FactoryServesKind13) {
  AnalogRig rig("Q5T3NML3-6-SG2A");
  EXPECT_EQ(q5::pages::CreatePage(13, rig.ctx)->name(), "frmSG2");
}

TEST(LoadCellPage, ExcitationModelUploadDownloadAndLiveValues) {
  AnalogRig rig("Q5T3NML3-6-SG2A");
  rig.unit().item("2", "11").set("7");
  rig.unit().item("1", "40").set("0.125");
  frmSG2 page(rig.ctx);

  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({{"G00", "I53", "G00", "I52"}, ChannelReads(1, false, false),
                               ChannelReads(2, false, false)}));
  EXPECT_EQ(rig.dialogs.events, (Strings{"progressOpen 3 Initializing", "progressStep",
                                         "progressStep", "progressClose"}));
  EXPECT_EQ(page.lblV_Unit.caption, "SG2A");
  EXPECT_EQ(page.cmdExtvoltage.caption, "5V");  // the unit reports -1
  EXPECT_TRUE(page.cmdExtvoltage.visible);
  EXPECT_TRUE(page.lblExtvoltage.visible);
  EXPECT_EQ(page.cmdCRFilter.caption, "2Hz");
  EXPECT_EQ(page.CmbAveType[0].items.size(), 10u);
  EXPECT_EQ(page.CmbAveType[0].text(), "16");
  EXPECT_EQ(page.CmbAveType[1].text(), "256");
  EXPECT_EQ(page.txtZBase[0].text, "100.00");
  EXPECT_EQ(page.txtAdjGain[0].text, "0.125");
  EXPECT_EQ(page.lblMode.caption, "");
  EXPECT_FALSE(page.txtZPercent[0].visible);
  EXPECT_FALSE(page.Frame2.visible);
  // Ready: "Setting 2" reachable, "Setting 3" only on the percent models.
  EXPECT_TRUE(page.cmdSet[1].enabled);
  EXPECT_FALSE(page.cmdSet[2].enabled);
  EXPECT_TRUE(page.txtZBase[0].enabled);
  EXPECT_TRUE(page.cmdAutoZero[1].enabled);
  EXPECT_TRUE(page.cmdGainUPCH[0].enabled);

  page.txtGain[1].text = "1.5";
  page.txtZScale[0].text = "12.5";
  ASSERT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtZScale[0].text, "12");
  rig.dialogs.clear();
  page.Download();
  Strings first = ChannelWrites(1, false);
  first[2] = "D12";
  Strings second = ChannelWrites(2, false, "7");
  second[8] = "D1.5";
  EXPECT_EQ(rig.take(), Lines({first, second}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 3 Downloading");
  EXPECT_FALSE(page.txtZScale[0].enabled);
  EXPECT_FALSE(page.cmdSet[1].enabled);
  EXPECT_EQ(rig.unit().value("2", "23"), "1.5000");

  // Live values of both channels and their total, the first "." removed.
  rig.unit().item("00", "21").live({}).set("12.34");
  rig.unit().item("00", "22").live({}).set("-0.50");
  rig.unit().item("00", "20").live({}).set("11.84");
  page.ReadingData();
  EXPECT_EQ(rig.take(), kLiveReads);
  EXPECT_EQ(page.txtParData[0].text, "1234");
  EXPECT_EQ(page.txtParData[1].text, "-050");
  EXPECT_EQ(page.txtTotalData.text, "1184");
}

TEST(LoadCellPage, FilterAndPercentModelsBehindANetwork) {
  struct Variant {
    const char* model;
    bool percent;
    const char* secondFilter;
  };
  for (const Variant& v : {Variant{"Q5Z3UCIE-SG2-9/F2K", false, "2KHz"},
                           Variant{"Q5Z3UCIE-SG2-9/F1", false, "1Hz"},
                           Variant{"Q5T3SECT-SG2-A/F2K", true, "2KHz"},
                           Variant{"Q5T3SECT-SG2-A/F1", true, "1Hz"}}) {
    SCOPED_TRACE(v.model);
    AnalogRig rig(v.model);
    rig.values.networkType = 1;
    rig.unit().item("00", "52").set("1");
    rig.unit().item("1", "09").set("0");
    rig.unit().item("2", "09").set("1");
    frmSG2 page(rig.ctx);
    ASSERT_TRUE(page.Init());
    EXPECT_EQ(rig.take(), Lines({{"G00", "I14", "G00", "I52"}, ChannelReads(1, true, v.percent),
                                 ChannelReads(2, true, v.percent)}));
    EXPECT_EQ(page.cmdCRFilter.caption, v.secondFilter);
    EXPECT_FALSE(page.cmdExtvoltage.visible);
    EXPECT_EQ(page.lblMode.caption, "Mode : First order lag filter Mode");
    EXPECT_TRUE(page.Frame2.visible);
    EXPECT_TRUE(page.optKeepOn.value);
    EXPECT_EQ(page.cmdSet[2].enabled, v.percent);
    EXPECT_EQ(page.txtSPercent[1].visible, v.percent);
    EXPECT_EQ(page.txtSPercent[1].enabled, v.percent);
    if (v.percent) {
      EXPECT_EQ(page.txtSPercent[1].text, "10000");
    }

    page.optKeepOff.value = true;
    page.optKeepOn.value = false;
    page.Download();
    EXPECT_EQ(rig.take(), Lines({{"G00", "I14", "D1"}, ChannelWrites(1, v.percent),
                                 ChannelWrites(2, v.percent)}));
  }
  // Without the filter mode the mode line stays empty, and the plain model reads no "53".
  AnalogRig rig("Q5T3NML3-6-SG2");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(),
            Lines({{"G00", "I52"}, ChannelReads(1, false, false), ChannelReads(2, false, false)}));
  EXPECT_FALSE(page.cmdExtvoltage.visible);
}

TEST(LoadCellPage, EmptyScalingIsAnUploadFailure) {
  AnalogRig rig("Q5T3NML3-6-SG2");
  rig.port->fault("noreply:2/28");
  frmSG2 page(rig.ctx);
  EXPECT_FALSE(page.Init());
  EXPECT_EQ(rig.take(), Lines({{"G00", "I52"}, ChannelReads(1, false, false),
                               {"G2", "I11", "I20", "I21", "I22", "I23", "I28", "I28", "I28", "I28"}}));
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
  EXPECT_EQ(rig.disconnects, 1);
}

TEST(LoadCellPage, CheckDataLoadRatioAndPercentFields) {
  AnalogRig rig("Q5T3SECT-SG2-A/F1");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  auto checkRatio = [&](const char* ratio) {
    page.txtZBase[1].text = ratio;
    return page.CheckData();
  };
  EXPECT_FALSE(checkRatio("9.99"));
  EXPECT_TRUE(checkRatio("10"));
  EXPECT_TRUE(checkRatio("100"));
  EXPECT_FALSE(checkRatio("100.01"));
  EXPECT_FALSE(checkRatio("abc"));
  page.txtZBase[1].text = "50";

  // Percent data rounded to integers (ties to even) and written back.
  page.txtZPercent[0].text = "11500.4";
  page.txtSPercent[0].text = "-11499.5";
  page.txtOPercent[0].text = "10000.5";
  EXPECT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtZPercent[0].text, "11500");
  EXPECT_EQ(page.txtSPercent[0].text, "-11500");
  EXPECT_EQ(page.txtOPercent[0].text, "10000");
  page.txtSPercent[1].text = "11500.6";
  EXPECT_FALSE(page.CheckData());
  page.txtSPercent[1].text = "10000";
  page.txtOPercent[1].text = "-10001";
  EXPECT_FALSE(page.CheckData());
  page.txtOPercent[1].text = "x";
  EXPECT_FALSE(page.CheckData());
  page.txtOPercent[1].text = "0";
  // The scaling rule of the analog pages holds on both channels.
  page.txtBias[1].text = "320.01";
  EXPECT_FALSE(page.CheckData());
  page.txtBias[1].text = "-320";
  page.txtGain[0].text = "3.2";
  EXPECT_TRUE(page.CheckData());

  // A model without percent data does not look at the (hidden) percent fields.
  AnalogRig plain("Q5T3NML3-6-SG2");
  frmSG2 other(plain.ctx);
  ASSERT_TRUE(other.Init());
  other.txtZPercent[0].text = "junk";
  EXPECT_TRUE(other.CheckData());
}

TEST(LoadCellPage, CalibrationButtonsSendTheirLinesAndShowWhatTheUnitReports) {
  AnalogRig rig("Q5T3NML3-6-SG2A");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  rig.take();

  // Auto Zero: the live value of the channel reads 0 afterwards.
  ASSERT_TRUE(page.Press("cmdAutoZero0"));
  EXPECT_EQ(rig.take(), Prepared("01", {"G01", "I32", "D", "G00", "I21"}));
  EXPECT_EQ(page.txtParData2[0].text, "0.00");
  ASSERT_TRUE(page.Press("cmdZero1"));
  EXPECT_EQ(rig.take(), Prepared("02", {"G02", "I30", "D", "G00", "I22"}));
  EXPECT_EQ(page.txtParData2[1].text, "0.00");
  ASSERT_TRUE(page.Press("cmdOffset0"));
  EXPECT_EQ(rig.take(), Prepared("01", {"G01", "I33", "D0", "G00", "I21"}));
  EXPECT_NE(page.txtParData2[0].text, "0.00");  // the load is back
  // Span: the present load becomes the full scale the unit reports.
  ASSERT_TRUE(page.Press("cmdSpan0"));
  EXPECT_EQ(rig.take(), Prepared("01", {"G01", "I31", "D", "G00", "I21"}));
  EXPECT_NE(rig.unit().value("1", "21"), "10000");

  // Gain adjustment: the reply is the gain the unit arrived at.
  ASSERT_TRUE(page.Press("cmdGainUPCH1"));
  EXPECT_EQ(rig.take(), Prepared("02", {"I40", "DU"}));
  EXPECT_EQ(page.txtAdjGain[1].text, "0.001");
  page.Press("cmdGainDOWNCH1");
  page.Press("cmdGainDOWNCH1");
  EXPECT_EQ(rig.take(), Lines({Prepared("02", {"I40", "DD"}), Prepared("02", {"I40", "DD"})}));
  EXPECT_EQ(page.txtAdjGain[1].text, "-0.001");
  page.txtAdjGain[0].text = "3.2";
  page.Press("cmdGainApplyCH0");
  EXPECT_EQ(rig.take(), Prepared("01", {"I40", "D3.2"}));
  EXPECT_EQ(page.txtAdjGain[0].text, "3.200");
  page.txtAdjGain[0].text = "-3.2";
  page.Press("cmdGainApplyCH0");
  EXPECT_EQ(rig.take(), Prepared("01", {"I40", "D-3.2"}));
  EXPECT_TRUE(rig.dialogs.messages.empty());

  // Auto Scale: the full scale the unit worked out comes back into the channel's box.
  page.txtAdjscale[1].text = "0";
  ASSERT_TRUE(page.Press("cmdApplyCH1"));
  EXPECT_EQ(rig.take(), Lines({Prepared("02", {"I38", "D0", "I39", "D", "I21"}), kLiveReads}));
  EXPECT_EQ(page.txtFScale[1].text, "0");
  page.txtAdjscale[1].text = "5000";
  page.Press("cmdApplyCH1");
  EXPECT_EQ(page.txtFScale[1].text, rig.unit().value("2", "21"));
  EXPECT_NE(page.txtFScale[1].text, "0");
  EXPECT_TRUE(page.cmdApplyCH[1].enabled);
  rig.take();

  // Output, Cancel, averaging.
  page.txtAdjscale[0].text = "-32000";
  page.Press("cmdOutputCH0");
  EXPECT_EQ(rig.take(), Lines({Prepared("01", {"I42", "D-32000"}), kLiveReads}));
  page.Press("cmdCancelCH0");
  EXPECT_EQ(rig.take(), Prepared("01", {"I43", "D1"}));
  page.CmbAveType[1].index = 5;
  page.Press("cmdAveApplyCH1");
  EXPECT_EQ(rig.take(), Prepared("02", {"I11", "D5"}));
  EXPECT_EQ(page.CmbAveType[1].index, 5);
  EXPECT_EQ(rig.unit().value("2", "11"), "5");

  // CR filter and excitation toggle, the caption following the unit's reply.
  page.Press("cmdCRFilter");
  EXPECT_EQ(rig.take(), Prepared("00", {"I52", "D1"}));
  EXPECT_EQ(page.cmdCRFilter.caption, "2KHz");
  page.Press("cmdCRFilter");
  EXPECT_EQ(rig.take(), Prepared("00", {"I52", "D0"}));
  EXPECT_EQ(page.cmdCRFilter.caption, "2Hz");
  ASSERT_EQ(page.cmdExtvoltage.caption, "5V");
  page.Press("cmdExtvoltage");
  EXPECT_EQ(rig.take(), Prepared("00", {"I53", "D0"}));
  EXPECT_EQ(page.cmdExtvoltage.caption, "2.5V");
  EXPECT_EQ(rig.unit().value("00", "53"), "0");
  page.Press("cmdExtvoltage");
  EXPECT_EQ(rig.take(), Prepared("00", {"I53", "D-1"}));
  EXPECT_EQ(page.cmdExtvoltage.caption, "5V");
  EXPECT_EQ(rig.unit().value("00", "53"), "-1");
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(LoadCellPage, ValueChecksSendNothingAndUnansweredPreparationEndsSilently) {
  AnalogRig rig("Q5T3NML3-6-SG2");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  rig.take();
  const TestDialogs::Message range{"Data Error \r\nCheck data range.", "Data Range Error",
                                   q5::ui::Icon::Error};
  struct Refused {
    const char* box;
    const char* text;
    const char* button;
  };
  for (const Refused& r : {Refused{"txtAdjscale", "-1", "cmdApplyCH0"},
                           Refused{"txtAdjscale", "32000.5", "cmdApplyCH0"},
                           Refused{"txtAdjscale", "-32001", "cmdOutputCH1"},
                           Refused{"txtAdjscale", "abc", "cmdOutputCH1"},
                           Refused{"txtAdjGain", "3.21", "cmdGainApplyCH0"},
                           Refused{"txtAdjGain", "", "cmdGainApplyCH1"}}) {
    SCOPED_TRACE(std::string(r.button) + " " + r.text);
    const int ch = r.button[std::string(r.button).size() - 1] - '0';
    (std::string(r.box) == "txtAdjscale" ? page.txtAdjscale : page.txtAdjGain)[ch].text = r.text;
    rig.dialogs.clear();
    EXPECT_TRUE(page.Press(r.button));
    EXPECT_TRUE(rig.take().empty());
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0], range);
  }

  // The unit does not answer the "F": four attempts, then nothing more and no message.
  rig.dialogs.clear();
  rig.port->fault("noreply:01/01");
  page.txtParData2[0].text = "kept";
  page.Press("cmdAutoZero0");
  EXPECT_EQ(rig.take(), (Strings{"G01", "I01", "G01", "I01", "G01", "I01", "G01", "I01"}));
  EXPECT_EQ(page.txtParData2[0].text, "kept");
  EXPECT_TRUE(rig.dialogs.messages.empty());

  // Names: the excitation button exists only on its model; unknown names do nothing.
  EXPECT_FALSE(page.Press("cmdExtvoltage"));
  EXPECT_FALSE(page.Press("cmdAutoZero2"));
  EXPECT_FALSE(page.Press("cmdBogus"));
  EXPECT_TRUE(page.Press("cmdSet3") || !page.cmdSet[2].enabled);
  EXPECT_TRUE(rig.take().empty());
}

TEST(LoadCellPage, EnablingRulesWhileMonitoring) {
  AnalogRig rig("Q5T3SECT-SG2-A/F2K");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.txtParData2[0].text = "0.00";
  page.txt_able(false);
  EXPECT_FALSE(page.txtZBase[1].enabled);
  EXPECT_FALSE(page.cmdSpan[1].enabled);
  EXPECT_FALSE(page.optKeepOff.enabled);
  EXPECT_EQ(page.txtParData2[0].text, "");
  // The buttons of "Setting 2" stay usable; a disabled calibration button cannot be pressed.
  EXPECT_TRUE(page.cmdGainUPCH[0].enabled);
  rig.take();
  EXPECT_FALSE(page.Press("cmdAutoZero0"));
  EXPECT_TRUE(rig.take().empty());
  page.txt_able(true);
  page.txt_able3(false);
  EXPECT_FALSE(page.txtOPercent[1].enabled);
  page.txt_able2(false);
  EXPECT_FALSE(page.cmdCRFilter.enabled);
  EXPECT_FALSE(page.Press("cmdCRFilter"));
}

// "Setting 3" holds the percent data: on the other models its tab stays unusable however
// the other tabs are switched.
TEST(LoadCellPage, PercentTabOnlyOnThePercentModels) {
  AnalogRig rig("Q5T3NML3-6-SG2A");
  frmSG2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_FALSE(page.cmdSet[2].enabled);
  EXPECT_TRUE(page.Press("cmdSet2"));
  EXPECT_TRUE(page.cmdSet[0].enabled);
  EXPECT_FALSE(page.cmdSet[2].enabled);
  EXPECT_FALSE(page.Press("cmdSet3"));
  EXPECT_TRUE(page.frmSet[1].visible);
  EXPECT_FALSE(page.frmSet[2].visible);
  EXPECT_TRUE(page.Press("cmdSet1"));
  EXPECT_FALSE(page.cmdSet[2].enabled);

  AnalogRig percentRig("Q5T3SECT-SG2-A/F1");
  frmSG2 percent(percentRig.ctx);
  ASSERT_TRUE(percent.Init());
  EXPECT_TRUE(percent.Press("cmdSet2"));
  EXPECT_TRUE(percent.cmdSet[2].enabled);
  EXPECT_TRUE(percent.Press("cmdSet3"));
  EXPECT_TRUE(percent.frmSet[2].visible);
}
