// The PWM output page (frmEC4) and the AC current input page (frmAC32) against simulated
// units: exact lines of Upload, Download, live values and manual outputs, the character
// positions of the module-wide replies, the range checks, the channel groups.
#include <gtest/gtest.h>

#include "AnalogInputTestRig.h"
#include "pages/PageRegistry.h"
#include "pages/frmAC32.h"
#include "pages/frmEC4.h"

using q5::pages::frmAC32;
using q5::pages::frmEC4;
using Strings = std::vector<std::string>;

namespace {

Strings EC4ChannelReads(int ch) {
  return {"G" + std::to_string(ch), "I15", "I30", "I13", "I19", "I14", "I16", "I17", "I11",
          "I12"};
}

Strings EC4DefaultWrites(int ch) {
  return {"G" + std::to_string(ch), "I11", "D0", "I12", "D1", "I30", "D5000", "I19", "D1300",
          "I17", "D0", "I13", "D10000", "I15", "D0", "I14", "D300", "I16", "D50"};
}

// A valid channel: frequency 800, dither 100 Hz, everything else in range.
void ValidChannel(frmEC4& p, int i) {
  p.txtPhase[i].text = "0";
  p.txtMaxDuty[i].text = "5000";
  p.txtFreq[i].text = "800";
  p.txtMaxCrnt[i].text = "1300";
  p.txtDFreq[i].text = "100";
  p.txtDitherAmp[i].text = "50";
  p.txtOutputClearValue[i].text = "0";
  p.cmbDitherInvalid[i].index = 0;
}

}  // namespace

TEST(PwmAcPages, FactoryServesKinds15And16) {
  AnalogRig rig("Q5W3NML3-E-EC4A");
  EXPECT_EQ(q5::pages::CreatePage(15, rig.ctx)->name(), "frmEC4");
  EXPECT_EQ(q5::pages::CreatePage(16, rig.ctx)->name(), "frmAC32");
}

TEST(PwmAcPages, EC4UploadDownloadSendTextsAsTyped) {
  AnalogRig rig("Q5W3NML3-E-EC4A");
  rig.unit().item("3", "11").set("1");
  rig.unit().item("00", "29").set("1");
  frmEC4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({EC4ChannelReads(1), EC4ChannelReads(2), EC4ChannelReads(3),
                               EC4ChannelReads(4), {"G00", "I29"}}));
  EXPECT_EQ(rig.dialogs.events,
            (Strings{"progressOpen 5 Initializing", "progressStep", "progressStep",
                     "progressStep", "progressStep", "progressClose"}));
  EXPECT_EQ(page.lblV_Unit.caption, "EC4A");
  EXPECT_EQ(page.txtMaxDuty[0].text, "5000");
  EXPECT_EQ(page.txtFreq[3].text, "10000");
  EXPECT_EQ(page.cmbInvalid[2].text(), "Invalid");
  EXPECT_EQ(page.cmbDitherInvalid[0].text(), "Invalid");
  EXPECT_EQ(page.cmbOutputHold.text(), "Hold");  // "HOLD_CLR:1", the 10th character
  EXPECT_FALSE(page.cmbOutputHold.enabled);
  EXPECT_TRUE(page.txtPhase[0].enabled);
  EXPECT_TRUE(page.cmdSet[1].enabled);

  // Texts go out exactly as typed, without rounding; the unit refuses what it cannot keep.
  page.txtMaxDuty[1].text = "4500.4";
  page.txtPhase[0].text = "12";
  page.cmbInvalid[2].index = 0;
  ASSERT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtMaxDuty[1].text, "4500.4");
  rig.dialogs.clear();
  page.Download();
  Strings ch1 = EC4DefaultWrites(1), ch2 = EC4DefaultWrites(2), ch3 = EC4DefaultWrites(3);
  ch1[14] = "D12";
  // The unit refuses a fraction here; the write is tried four times, text unchanged.
  ch2[6] = "D4500.4";
  ch2.insert(ch2.begin() + 7, {"I30", "D4500.4", "I30", "D4500.4", "I30", "D4500.4"});
  ch3[2] = "D0";
  EXPECT_EQ(rig.take(), Lines({ch1, ch2, ch3, EC4DefaultWrites(4)}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 5 Downloading");
  EXPECT_FALSE(page.txtPhase[0].enabled);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.txtPhase[0].text, "12");
  EXPECT_EQ(page.txtMaxDuty[1].text, "5000");  // refused by the unit
  EXPECT_EQ(page.cmbInvalid[2].text(), "Valid");
}

TEST(PwmAcPages, EC4HoldReplyAndFailures) {
  AnalogRig rig("Q5W3NML3-E-EC4A");
  frmEC4 page(rig.ctx);
  // The index is the 10th character of the reply as it came, before any ":" split.
  rig.unit().item("00", "29").format([](const q5::sim::SimulatedUnit&, const std::string&) {
    return std::string("HC:0000001:9");
  });
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.cmbOutputHold.text(), "Hold");
  rig.unit().item("00", "29").format([](const q5::sim::SimulatedUnit&, const std::string&) {
    return std::string("HOLD:0");
  });
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.cmbOutputHold.index, -1);

  // No reply to item "29": the page stays disabled, without a message.
  rig.port->fault("noreply:00/29");
  rig.dialogs.clear();
  EXPECT_TRUE(page.Init());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(page.txtPhase[0].enabled);
  EXPECT_EQ(rig.disconnects, 0);

  // No reply in the channel loop: "Upload Error" and a disconnect.
  AnalogRig rig2("Q5W3NML3-E-EC4A");
  rig2.port->fault("noreply:3/14");
  frmEC4 page2(rig2.ctx);
  EXPECT_FALSE(page2.Init());
  ASSERT_EQ(rig2.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig2.dialogs.messages[0],
            (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
  EXPECT_EQ(rig2.disconnects, 1);
}

TEST(PwmAcPages, EC4CheckRoundsForTheTestOnly) {
  AnalogRig rig("Q5W3NML3-E-EC4A");
  frmEC4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  for (int i = 0; i < 4; ++i) ValidChannel(page, i);
  ASSERT_TRUE(page.CheckData());

  struct Case {
    const char* what;
    std::function<void(frmEC4&)> edit;
    bool ok;
  };
  const std::vector<Case> cases = {
      {"freq 80 / dither 10", [](frmEC4& p) { p.txtFreq[1].text = "80"; p.txtDFreq[1].text = "10"; }, true},
      {"freq 80 / dither 11", [](frmEC4& p) { p.txtFreq[1].text = "80"; p.txtDFreq[1].text = "11"; }, false},
      {"10001 Hz, dither on", [](frmEC4& p) { p.txtFreq[2].text = "10001"; }, false},
      {"10001 Hz, dither off", [](frmEC4& p) { p.txtFreq[2].text = "10001"; p.cmbDitherInvalid[2].index = 1; }, true},
      {"10000 Hz, dither on", [](frmEC4& p) { p.txtFreq[2].text = "10000"; }, true},
      {"max current 999", [](frmEC4& p) { p.txtMaxCrnt[3].text = "999"; }, false},
      {"max current 1301", [](frmEC4& p) { p.txtMaxCrnt[3].text = "1301"; }, false},
      {"max current 1000", [](frmEC4& p) { p.txtMaxCrnt[3].text = "1000"; }, true},
      {"phase 65535.4", [](frmEC4& p) { p.txtPhase[0].text = "65535.4"; }, true},
      {"phase 65535.6", [](frmEC4& p) { p.txtPhase[0].text = "65535.6"; }, false},
      {"max duty 9000.5 rounds to even", [](frmEC4& p) { p.txtMaxDuty[0].text = "9000.5"; }, true},
      {"clear value 9001", [](frmEC4& p) { p.txtOutputClearValue[0].text = "9001"; }, false},
      {"dither 0 Hz", [](frmEC4& p) { p.txtDFreq[0].text = "0"; }, false},
      {"amplitude 401", [](frmEC4& p) { p.txtDitherAmp[0].text = "401"; }, false},
      {"not a number", [](frmEC4& p) { p.txtDitherAmp[3].text = "5O"; }, false},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 4; ++i) ValidChannel(page, i);
    c.edit(page);
    EXPECT_EQ(page.CheckData(), c.ok) << c.what;
  }
  // The texts are never rewritten by the check.
  for (int i = 0; i < 4; ++i) ValidChannel(page, i);
  page.txtPhase[0].text = "65535.4";
  page.CheckData();
  EXPECT_EQ(page.txtPhase[0].text, "65535.4");
}

TEST(PwmAcPages, EC4LiveValuesAndManualOutputs) {
  AnalogRig rig("Q5W3NML3-E-EC4A");
  frmEC4 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  rig.take();
  rig.unit().item("00", "21").live({}).set("12.34");
  rig.unit().item("00", "22").live({}).set("OVER");
  page.txtParData[1].text = "7";
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24"}));
  EXPECT_EQ(page.txtParData[0].text, "1234");
  EXPECT_EQ(page.txtParData[1].text, "7");

  // Clicking a value box outside monitoring does nothing.
  int opened = 0;
  rig.ctx.openChangeValue = [&] { ++opened; };
  EXPECT_TRUE(page.Press("txtParData(2)"));
  EXPECT_EQ(opened, 0);
  rig.values.Monitoring = true;
  EXPECT_TRUE(page.Press("txtParData(2)"));
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(page.manualOutputCount(), 4);

  // Queued values go out with the next pass: manual mode, then all four outputs.
  page.WritingData({"4500", "-10", "0", "32000"});
  EXPECT_TRUE(rig.take().empty());
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24", "G00",
                                 "I78", "D1", "I21", "D4500", "I22", "D-10", "I23", "D0", "I24",
                                 "D32000"}));
  EXPECT_EQ(rig.unit().value("00", "78"), "1");
  page.ReadingData();
  EXPECT_EQ(rig.take().size(), 8u);  // written once
  EXPECT_EQ(page.txtParData[3].text, "32000");

  // A new Upload discards what was queued.
  page.WritingData({"1", "2", "3", "4"});
  ASSERT_TRUE(page.Init());
  EXPECT_FALSE(page.pendingWrite);
  EXPECT_EQ(page.pendingValues[0], "0");
}

TEST(PwmAcPages, AC32UploadDownloadAndCharacterPositions) {
  AnalogRig rig("Q5V3UM-AC32");
  rig.unit().item("7", "08").set("1");
  rig.unit().item("00", "19").set("3");
  rig.unit().item("00", "15").set("2.50");
  frmAC32 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings expected = {"G00", "I09"};
  for (int ch = 1; ch <= 32; ++ch)
    expected = Lines({expected, {"G" + std::to_string(ch), "I22", "I23", "I20", "I21", "I08"}});
  expected = Lines({expected, {"G00", "I19", "G00", "I15"}});
  EXPECT_EQ(rig.take(), expected);
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 33 Initializing");
  EXPECT_EQ(std::count(rig.dialogs.events.begin(), rig.dialogs.events.end(), "progressStep"), 32);
  EXPECT_EQ(page.cmbAverage.text(), "16");  // "AVERAGE:3", the 9th character
  EXPECT_EQ(page.txtDropOut.text, "2.50");  // "DROPOUT:2.50", characters 9 to 12
  EXPECT_TRUE(page.txtDropOut.visible);
  EXPECT_EQ(page.cmbInvalid[6].text(), "Invalid");
  EXPECT_EQ(page.txtGain[31].text, "1.0000");
  EXPECT_EQ(page.cmbChGrp.text(), "CH 0 to 3");
  EXPECT_TRUE(page.txtZScale[3].visible);
  EXPECT_FALSE(page.txtZScale[4].visible);

  page.txtBias[0].text = "2.5";
  page.txtFScale[31].text = "20000";
  page.cmbAverage.index = 4;
  page.txtDropOut.text = "0.5";
  ASSERT_TRUE(page.CheckData());
  rig.dialogs.clear();
  page.Download();
  Strings writes;
  for (int ch = 1; ch <= 32; ++ch) {
    writes = Lines({writes, {"G" + std::to_string(ch), "I22", "D0", "I23",
                             ch == 32 ? "D20000" : "D10000", "I20", ch == 1 ? "D2.5" : "D0.00",
                             "I21", "D1.0000", "I08", ch == 7 ? "D1" : "D0"}});
  }
  EXPECT_EQ(rig.take(), Lines({writes, {"G00", "I19", "D4", "G00", "I15", "D0.5"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 33 Downloading");
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.txtBias[0].text, "2.50");
  EXPECT_EQ(page.txtDropOut.text, "0.50");
  EXPECT_EQ(page.cmbAverage.text(), "32");

  // Item "09" unanswered: Init ends quietly, the page stays disabled.
  rig.port->fault("noreply:00/09*4");
  rig.dialogs.clear();
  EXPECT_TRUE(page.Init());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(page.txtZScale[0].enabled);
}

TEST(PwmAcPages, AC32CheckFailsOnAnyBadField) {
  AnalogRig rig("Q5V3UM-AC32");
  frmAC32 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  ASSERT_TRUE(page.CheckData());
  struct Case {
    const char* what;
    std::function<void(frmAC32&)> edit;
    bool ok;
  };
  const std::vector<Case> cases = {
      // A scale that is not a number refuses the Download even with a good drop-out.
      {"scale not numeric", [](frmAC32& p) { p.txtZScale[20].text = "abc"; }, false},
      {"drop-out not numeric", [](frmAC32& p) { p.txtDropOut.text = "1,0"; }, false},
      {"zero scale 65535.5 rounds past the end", [](frmAC32& p) { p.txtZScale[0].text = "65535.5"; }, false},
      {"full scale 65535", [](frmAC32& p) { p.txtFScale[0].text = "65535"; }, true},
      {"bias 10", [](frmAC32& p) { p.txtBias[5].text = "10"; }, true},
      {"bias 10.01", [](frmAC32& p) { p.txtBias[5].text = "10.01"; }, false},
      {"bias -0.01", [](frmAC32& p) { p.txtBias[5].text = "-0.01"; }, false},
      {"gain 0.1", [](frmAC32& p) { p.txtGain[9].text = "0.1"; }, true},
      {"gain 0.09", [](frmAC32& p) { p.txtGain[9].text = "0.09"; }, false},
      {"drop-out 0.5", [](frmAC32& p) { p.txtDropOut.text = "0.5"; }, true},
      {"drop-out 5", [](frmAC32& p) { p.txtDropOut.text = "5"; }, true},
      {"drop-out 0.49", [](frmAC32& p) { p.txtDropOut.text = "0.49"; }, false},
      {"drop-out 5.01", [](frmAC32& p) { p.txtDropOut.text = "5.01"; }, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(page.Init());
    c.edit(page);
    EXPECT_EQ(page.CheckData(), c.ok) << c.what;
  }
  // Passing scales are written back as whole numbers, ties to even.
  ASSERT_TRUE(page.Init());
  page.txtZScale[0].text = "12.5";
  page.txtFScale[0].text = "13.5";
  ASSERT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtZScale[0].text, "12");
  EXPECT_EQ(page.txtFScale[0].text, "14");
}

TEST(PwmAcPages, AC32ChannelGroupsWhileMonitoring) {
  AnalogRig rig("Q5V3UM-AC32");
  rig.unit().setChannelCount(8);
  rig.values.channelCount = 8;
  frmAC32 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 33 Initializing");

  // Start: everything but the group list is locked.
  page.txt_able2(false);
  EXPECT_TRUE(page.cmbChGrp.enabled);
  EXPECT_FALSE(page.txtGain[0].enabled);
  EXPECT_FALSE(page.txtDropOut.enabled);
  rig.take();
  rig.unit().item("6", "10").live({}).set("3.25");
  page.ReadingData();
  Strings reads;
  for (int ch = 1; ch <= 8; ++ch) reads = Lines({reads, {"G" + std::to_string(ch), "I10"}});
  EXPECT_EQ(rig.take(), reads);
  EXPECT_FALSE(page.txtParData[5].visible);
  EXPECT_EQ(page.txtParData[5].text, "3.25");  // read while hidden

  page.cmbChGrp.index = 1;
  page.Edited("cmbChGrp");
  EXPECT_TRUE(page.txtParData[5].visible);
  EXPECT_FALSE(page.txtParData[0].visible);
  EXPECT_EQ(page.lblCH[1].caption, "CH 5");
  EXPECT_TRUE(page.fraChGrp[1].visible);
  EXPECT_FALSE(page.fraValue[0].visible);
  EXPECT_TRUE(page.lblCH[3].visible);

  // Past the unit's channels nothing is shown.
  page.cmbChGrp.index = 2;
  page.Edited("cmbChGrp");
  for (int i = 0; i < 32; ++i) EXPECT_FALSE(page.txtZScale[i].visible) << i;
  EXPECT_FALSE(page.lblCH[0].visible);
  EXPECT_FALSE(page.fraChGrp[2].visible);

  page.txt_able(true);
  EXPECT_TRUE(page.txtGain[0].enabled);
  page.txt_able(false);
  EXPECT_FALSE(page.cmbChGrp.enabled);
}
