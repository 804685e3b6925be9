// The pulse input pages against simulated units: frmPI2 (two-channel and the one-channel
// "PI1" and "PI1/A" models), frmPI8 (the unit that reports its channels twice) and
// frmPI32 (32 channels and the 16-channel units). Exact lines of Upload, Download, live
// values and buttons; the Z field; the range checks and input rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <filesystem>

#include "AnalogInputTestRig.h"
#include "SessionTestRig.h"
#include "config/ConfigFiles.h"
#include "pages/PageTables.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"

using q5::pages::ChannelMask;
using q5::pages::frmPI2;
using q5::pages::frmPI32;
using q5::pages::frmPI8;
using q5::pages::kGreen;
using q5::pages::kRed;
using Strings = std::vector<std::string>;

namespace {

std::string N(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// Upload of one encoder channel c (1 or 2).
Strings PI2ChannelReads(int c) {
  Strings s = {"G00", "I01", "DF"};
  for (int item : {19 + c, 21 + c, 23 + c, 25 + c, 27 + c}) s.push_back("I" + N(item));
  for (const char* item : {"I52", "I53", "I54", "I55"}) s.push_back(item);
  for (const char* l : {"G01", "I01", "DF"}) s.push_back(l);
  const int pair = 2 * (c - 1), alarm = 10 * (c - 1);
  for (int item : {9 + c, 13 + c, 15 + c, 17 + c, 34 + pair, 35 + pair, 38 + pair, 39 + pair, 41 + c})
    s.push_back("I" + N(item));
  for (int k = 0; k < 10; ++k) s.push_back("I" + N(44 + alarm + k));
  for (int item : {63 + c, 65 + c, 67 + c, 69 + c, 71 + c}) s.push_back("I" + N(item));
  return s;
}

Strings Tail(int c) { return {"I" + N(73 + c), "I" + N(75 + c)}; }

// item=data pairs of an item write sequence.
Strings Writes(std::initializer_list<std::pair<int, std::string>> w) {
  Strings s;
  for (const auto& [item, data] : w) {
    s.push_back("I" + N(item));
    s.push_back("D" + data);
  }
  return s;
}

// Download of encoder channel c with a fresh unit's values, up to the Z field, as the
// check wrote them back (plain decimals).
Strings PI2ChannelWrites(int c) {
  const int pair = 2 * (c - 1), alarm = 10 * (c - 1);
  Strings s = Writes({{9 + c, "0.1"}});
  for (int round = 0; round < 3; ++round)
    s = Lines({s, Writes({{13 + c, "0"}, {15 + c, "-2100000000"}, {17 + c, "2100000000"}})});
  s = Lines({s, Writes({{34 + pair, "0"}, {35 + pair, "1"}, {38 + pair, "0"},
                        {39 + pair, "10000"}, {41 + c, "0"}})});
  const char* alarms[] = {"0", "80", "5", "100000000", "1000", "0", "20", "5", "1", "1"};
  for (int k = 0; k < 10; ++k) s = Lines({s, Writes({{44 + alarm + k, alarms[k]}})});
  return Lines({s, Writes({{63 + c, "0"}, {65 + c, "0"}, {67 + c, "0"}, {69 + c, "0"}})});
}

void HalvingHook(AnalogRig& rig) {
  rig.ctx.setChannelCount = [&rig](int n) { rig.values.channelCount = static_cast<std::int16_t>(n); };
}

}  // namespace

TEST(PulsePages, FactoryServesKinds11_19_21) {
  AnalogRig rig("Q5T3NML3-6-PI1");
  EXPECT_EQ(q5::pages::CreatePage(11, rig.ctx)->name(), "frmPI2");
  EXPECT_EQ(q5::pages::CreatePage(19, rig.ctx)->name(), "frmPI8");
  EXPECT_EQ(q5::pages::CreatePage(21, rig.ctx)->name(), "frmPI32");
}

TEST(PulsePages, PI2TwoChannelsUploadDownloadLiveValues) {
  AnalogRig rig("Q5T3NML3-6-PI2");
  rig.unit().item("00", "54").set("2");
  frmPI2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({{"G01", "I28"}, PI2ChannelReads(1), Tail(1), PI2ChannelReads(2),
                               Tail(2), {"I06", "I07", "I08"}}));
  EXPECT_EQ(rig.dialogs.events, (Strings{"progressOpen 3 Initializing", "progressStep",
                                         "progressStep", "progressClose"}));
  EXPECT_EQ(page.CmbPositionCntMode[0].text(), "MODE1");
  EXPECT_EQ(page.CmbPositionCntMode[1].text(), "MODE1");
  EXPECT_EQ(page.txtMin[1].text, "-2100000000");
  EXPECT_EQ(page.txtA1PM[0].maxLength, 11);
  EXPECT_EQ(page.txtTM[0].text, "5.0");
  EXPECT_EQ(page.lblZR.caption, "Z Reset");
  EXPECT_EQ(page.lblZRRange.caption, "(0 = Invalid 1 = Valid)");
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(page.cmdSet[n].enabled);
  EXPECT_FALSE(page.cmdSet[0].enabled);
  EXPECT_EQ(page.cmdSet[3].caption, "Latch/Reset");

  // A list chosen on channel 2 is the unit's one setting: channel 1 follows, and
  // Download writes the choice twice instead of losing it.
  page.CmbPositionDataType[1].index = 1;
  page.Edited("CmbPositionDataType(1)");
  EXPECT_EQ(page.CmbPositionDataType[0].text(), "RING");
  ASSERT_TRUE(page.CheckData());
  rig.dialogs.clear();
  page.Download();
  const Strings lists = {"I52", "D0", "I53", "D0", "I54", "D2", "I55", "D1"};
  EXPECT_EQ(rig.take(),
            Lines({{"G00", "I01", "DF"}, lists, lists, {"G01", "I01", "DF"}, PI2ChannelWrites(1),
                   Writes({{72, "0"}, {74, "0"}, {76, "0"}}), PI2ChannelWrites(2),
                   Writes({{73, "0"}, {75, "0"}, {77, "0"}}),
                   Writes({{6, "5"}, {7, "0.1"}, {8, "0.1"}})}));
  EXPECT_EQ(rig.dialogs.events,
            (Strings{"progressOpen 3 Downloading", "progressStep", "progressStep", "progressStep",
                     "progressClose"}));
  EXPECT_EQ(rig.unit().value("00", "55"), "1");

  // Live values of both channels; an empty one is "Data Read Error." and a disconnect.
  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I01", "DF", "I20", "I22", "I24", "I26", "I28", "I21",
                                 "I23", "I25", "I27", "I29"}));
  EXPECT_NE(page.txtCP[1].text, "0");
  rig.port->fault("noreply:00/25");
  page.ReadingData();
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0],
            (TestDialogs::Message{"Data Read Error.", "Error", q5::ui::Icon::Error}));
  EXPECT_EQ(rig.disconnects, 1);
}

TEST(PulsePages, PI1ANeverWritesChannel2AndCarriesTheZLatch) {
  AnalogRig rig("Q5T3NML3-6-PI1/A");
  rig.unit().item("01", "72").set("1");
  rig.unit().item("01", "86").set("1");
  frmPI2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.take(), Lines({{"G01", "I28"}, PI2ChannelReads(1), {"I86"}, Tail(1),
                               {"I06", "I07", "I08"}}));
  EXPECT_EQ(page.txtZR[0].text, "2");  // Z reset and Z latch both on
  EXPECT_EQ(page.lblZR.caption, "Z Reset / Z Latch");
  EXPECT_EQ(page.lblZRRange.caption, "(0 = Invalid 1 = Z Reset   2 = Z Latch)");
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 3 Initializing");
  EXPECT_FALSE(page.txtDO[1].visible);  // no second channel on this unit
  EXPECT_FALSE(page.Command[1].visible);
  EXPECT_TRUE(page.Command[2].visible);

  // Channel 2's fields were never read: their contents do not stop a Download.
  page.txtDO[1].text = "not read";
  page.txtMax[1].text = "";
  ASSERT_TRUE(page.CheckData());

  rig.dialogs.clear();
  page.Download();
  const Strings lists = {"I52", "D0", "I53", "D0", "I54", "D0", "I55", "D0"};
  const Strings wire = rig.take();
  EXPECT_EQ(wire, Lines({{"G00", "I01", "DF"}, lists, {"G01", "I01", "DF"}, PI2ChannelWrites(1),
                         Writes({{72, "0"}, {86, "1"}, {74, "0"}, {76, "0"}}),
                         Writes({{6, "5"}, {7, "0.1"}, {8, "0.1"}})}));
  EXPECT_EQ(std::count(rig.dialogs.events.begin(), rig.dialogs.events.end(), "progressStep"), 2);

  // Z field 1: reset on, latch off; anything else: both off.
  for (auto [z, reset, latch] : {std::tuple{"1", "1", "0"}, {"0", "0", "0"}, {"x", "0", "0"}}) {
    ASSERT_TRUE(page.Init());
    page.txtZR[0].text = z;
    rig.take();
    page.Download();
    EXPECT_EQ(rig.unit().value("01", "72"), reset) << z;
    EXPECT_EQ(rig.unit().value("01", "86"), latch) << z;
  }
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.txtZR[0].text, "0");
}

TEST(PulsePages, PI2ViewRequestsAndTheirLock) {
  AnalogRig rig("Q5T3NML3-6-PI1");
  rig.unit().item("01", "28").set("SPE");
  std::vector<bool> buttonStates;
  rig.ctx.monitorButtons = [&](bool on) { buttonStates.push_back(on); };
  frmPI2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(page.viewFlag, 1);
  EXPECT_EQ(page.Command[8].caption, "DISPLAY POSITION DATA");
  EXPECT_TRUE(page.txtCS[0].visible);
  EXPECT_FALSE(page.txtCP[0].visible);
  EXPECT_FALSE(page.txtA1PM[0].visible);
  EXPECT_TRUE(page.txtBias[0].visible);
  ASSERT_TRUE(page.Press("Command9"));
  EXPECT_EQ(page.Command[8].caption, "DISPLAY SPEED DATA");
  EXPECT_TRUE(page.txtReset[0].visible);
  EXPECT_FALSE(page.txtGain[0].visible);
  EXPECT_EQ(page.Command[6].caption, "Request ");

  // Reset of CH 0: one write, half a second with the window in its monitoring state.
  rig.unit().item("01", "14").set("500");
  page.ReadingData();
  rig.take();
  const auto before = rig.clock.nowUs();
  ASSERT_TRUE(page.Press("Command3"));
  EXPECT_EQ(rig.take(), (Strings{"G01", "I80", "D1"}));
  EXPECT_GE(rig.clock.nowUs() - before, 500'000);
  EXPECT_EQ(buttonStates, (std::vector<bool>{true, false}));
  EXPECT_TRUE(page.Command[2].enabled);
  page.ReadingData();
  EXPECT_EQ(std::stoll(page.txtCP[0].text), 507);  // counts on from the reset value
  EXPECT_NE(page.txtRP[0].text, "0");
  rig.take();
  ASSERT_TRUE(page.Press("Command1"));  // latch
  EXPECT_EQ(rig.take(), (Strings{"G01", "I78", "D1"}));
  page.ReadingData();
  EXPECT_EQ(page.txtLP[0].text, "507");

  // While monitoring the request buttons are locked: a press sends nothing.
  page.comdis();
  rig.take();
  EXPECT_TRUE(page.Press("Command8"));
  EXPECT_TRUE(rig.take().empty());
  page.comena();
  EXPECT_FALSE(page.Press("Command10"));
}

TEST(PulsePages, PI2RequestDuringMonitoringThroughTheSession) {
  SessionRig rig("Q5T3NML3-6-PI1");
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  auto* page = dynamic_cast<frmPI2*>(rig.session.page());
  ASSERT_NE(page, nullptr);
  rig.session.start_btn_control();  // Start
  EXPECT_FALSE(page->Command[0].enabled);
  rig.takeWire();
  page->Press("Command1");
  EXPECT_TRUE(rig.takeWire().empty());
  rig.session.stop_btn_control();  // Stop
  EXPECT_TRUE(page->Command[0].enabled);
  page->Press("Command2");
  EXPECT_EQ(rig.takeWire(), (Strings{"G01", "I79", "D1"}));
  // The window is back in its stopped state after the request.
  EXPECT_FALSE(rig.session.values.Monitoring);
  EXPECT_TRUE(rig.session.buttons().btnStart);
  EXPECT_TRUE(rig.session.buttons().btnDownload);
}

TEST(PulsePages, PI2PositionSetpointRulesAndChecks) {
  AnalogRig rig("Q5T3NML3-6-PI2");
  frmPI2 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  page.txtA1PM[0].text = "12a-3";
  page.Edited("txtA1PM(0)");
  EXPECT_EQ(page.txtA1PM[0].text, "12-3");
  page.txtA2PM[1].text = "";
  page.LostFocus("txtA2PM(1)");
  EXPECT_EQ(page.txtA2PM[1].text, "1");
  // LINER: no clamp.
  page.txtA1PM[0].text = "0";
  page.Edited("txtA1PM(0)");
  EXPECT_EQ(page.txtA1PM[0].text, "0");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  // RING: below 1 and above 4294967294 are clamped, each with the message.
  page.CmbPositionDataType[0].index = 1;
  page.Edited("CmbPositionDataType(0)");
  page.Edited("txtA1PM(0)");
  EXPECT_EQ(page.txtA1PM[0].text, "1");
  page.txtA1PM[0].text = "4294967295";
  page.Edited("txtA1PM(0)");
  EXPECT_EQ(page.txtA1PM[0].text, "4294967294");
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<TestDialogs::Message>(
                2, {"Data Error \r\nCheck data range.", "Data Range Error", q5::ui::Icon::Error})));

  struct Case {
    const char* what;
    std::function<void(frmPI2&)> edit;
    bool ok;
  };
  auto ring = [](frmPI2& p, int i) { p.CmbPositionDataType[i].index = 1; };
  const std::vector<Case> cases = {
      {"defaults", [](frmPI2&) {}, true},
      {"drop out 0.1", [](frmPI2& p) { p.txtDO[1].text = "0.1"; }, true},
      {"drop out 0.09", [](frmPI2& p) { p.txtDO[1].text = "0.09"; }, false},
      {"drop out 25.01", [](frmPI2& p) { p.txtDO[0].text = "25.01"; }, false},
      {"max below min", [](frmPI2& p) { p.txtMin[1].text = "10"; p.txtMax[1].text = "9"; p.txtReset[1].text = "9"; p.txtA1PM[1].text = "9"; p.txtA2PM[1].text = "9"; }, false},
      {"max 2100000001", [](frmPI2& p) { p.txtMax[0].text = "2100000001"; }, false},
      {"timer 60", [](frmPI2& p) { p.txtTM[2].text = "60"; }, true},
      {"timer 60.1", [](frmPI2& p) { p.txtTM[2].text = "60.1"; }, false},
      {"gain -3.2", [](frmPI2& p) { p.txtGain[1].text = "-3.2"; }, true},
      {"bias 320.01", [](frmPI2& p) { p.txtBias[0].text = "320.01"; }, false},
      {"zero scale -32001", [](frmPI2& p) { p.txtZS[0].text = "-32001"; }, false},
      {"speed setpoint -15", [](frmPI2& p) { p.txtA2SM[0].text = "-15"; }, true},
      {"speed setpoint 115.5", [](frmPI2& p) { p.txtA2SM[0].text = "115.5"; }, false},
      {"speed hys -1", [](frmPI2& p) { p.txtA1SH[1].text = "-1"; }, false},
      {"liner reset outside", [](frmPI2& p) { p.txtMin[0].text = "0"; p.txtReset[0].text = "-1"; p.txtA2PM[0].text = "1"; p.txtA1PM[0].text = "1"; }, false},
      {"liner hys at the span", [](frmPI2& p) { p.txtMin[0].text = "0"; p.txtMax[0].text = "1000"; p.txtA1PM[0].text = "5"; p.txtA2PM[0].text = "5"; p.txtA1PH[0].text = "1000"; p.txtA2PH[0].text = "1"; }, false},
      {"liner hys below the span", [](frmPI2& p) { p.txtMin[0].text = "0"; p.txtMax[0].text = "1000"; p.txtA1PM[0].text = "5"; p.txtA2PM[0].text = "5"; p.txtA1PH[0].text = "999"; p.txtA2PH[0].text = "1"; }, true},
      {"ring reset 4294967295", [&](frmPI2& p) { ring(p, 1); p.txtReset[1].text = "4294967295"; }, true},
      {"ring setpoint 4294967295", [&](frmPI2& p) { ring(p, 1); p.txtA2PM[1].text = "4294967295"; }, false},
      {"ring setpoint 0", [&](frmPI2& p) { ring(p, 1); p.txtA1PM[1].text = "0"; }, false},
      {"ring hys 4294967293", [&](frmPI2& p) { ring(p, 1); p.txtA1PH[1].text = "4294967293"; }, true},
      {"ring hys 4294967294", [&](frmPI2& p) { ring(p, 1); p.txtA1PH[1].text = "4294967294"; }, false},
      {"not a number", [](frmPI2& p) { p.txtGain[1].text = "1,0"; }, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(page.Init());
    c.edit(page);
    EXPECT_EQ(page.CheckData(), c.ok) << c.what;
  }
  // Passing fields are written back as plain decimals.
  ASSERT_TRUE(page.Init());
  page.txtReset[0].text = "007";
  page.txtGain[0].text = "1.50";
  page.txtTM[0].text = "05.0";
  page.txtFS[1].text = "1e3";
  ASSERT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtReset[0].text, "7");
  EXPECT_EQ(page.txtGain[0].text, "1.5");
  EXPECT_EQ(page.txtTM[0].text, "5");
  EXPECT_EQ(page.txtFS[1].text, "1000");
}

TEST(PulsePages, PI8HalvedCountUploadDownloadPresets) {
  AnalogRig rig("Q5Z3UECT-1-PI8A");
  HalvingHook(rig);
  ASSERT_EQ(rig.values.channelCount, 16);  // each channel reported twice
  rig.unit().item("3", "11").set("1");
  rig.unit().item("00", "31").set("1");
  frmPI8 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.values.channelCount, 8);
  Strings reads;
  for (int c = 1; c <= 8; ++c) reads = Lines({reads, {"G" + std::to_string(c), "I20", "I21", "I11"}});
  EXPECT_EQ(rig.take(), Lines({reads, {"G00", "I29", "I30", "I31", "I32"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 9 Initializing");
  EXPECT_EQ(std::count(rig.dialogs.events.begin(), rig.dialogs.events.end(), "progressStep"), 8);
  EXPECT_TRUE(page.ChkOutputValid[2].value);
  EXPECT_EQ(page.CmbResetInvalid.text(), "Disable");
  EXPECT_EQ(page.CmbPulseEdge.text(), "Up(DI-OFF)");
  EXPECT_EQ(page.txtFScale[7].text, "4294967295");
  EXPECT_EQ(page.lblV_Unit.caption, "PI8A");

  page.txtOver[0].text = "1";
  page.ChkOutputValid[2].value = false;
  page.txtFScale[1].text = "0099";
  ASSERT_TRUE(page.CheckData());
  EXPECT_EQ(page.txtFScale[1].text, "99");
  rig.dialogs.clear();
  page.Download();
  Strings writes;
  for (int c = 1; c <= 8; ++c)
    writes = Lines({writes, {"G" + std::to_string(c), "I20", c == 1 ? "D1" : "D0", "I21",
                             c == 2 ? "D99" : "D4294967295", "I11", "D0"}});
  EXPECT_EQ(rig.take(), Lines({writes, {"G00", "I29", "D0", "I30", "D0", "I31", "D1", "I32", "D0",
                                        "I78", "D1", "I78", "D0"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 9 Downloading");
  rig.values.channelCount = 16;  // the re-Upload identifies the unit again
  ASSERT_TRUE(page.Init());
  EXPECT_EQ(rig.values.channelCount, 8);
  EXPECT_EQ(page.txtOver[0].text, "1");
  rig.take();

  page.ReadingData();
  EXPECT_EQ(rig.take(), (Strings{"G00", "I01", "I21", "I22", "I23", "I24", "I25", "I26", "I27", "I28"}));
  // The preset goes to the channel's group; the count then starts from it.
  page.txtPreset[2].text = "0070";
  ASSERT_TRUE(page.Press("cmdPreset(2)"));
  EXPECT_EQ(page.txtPreset[2].text, "70");
  EXPECT_EQ(rig.take(), Lines({{"G3", "I08", "D70"},
                               {"G00", "I01", "I21", "I22", "I23", "I24", "I25", "I26", "I27", "I28"}}));
  EXPECT_EQ(page.txtPA[2].text, "70");
  // Carry off: channel 2 stops at its largest count.
  for (int k = 0; k < 40; ++k) page.ReadingData();
  EXPECT_EQ(page.txtPA[1].text, "99");

  page.txtPreset[0].text = "4294967296";
  rig.take();
  page.Press("cmdPreset(0)");
  EXPECT_TRUE(rig.take().empty());
  EXPECT_EQ(rig.dialogs.messages.back(),
            (TestDialogs::Message{"Data Error \r\nCheck data range.", "Data Range Error",
                                  q5::ui::Icon::Error}));
  // Locked while monitoring.
  page.txtPreset[0].text = "1";
  page.txt_able(false);
  page.Press("cmdPreset(0)");
  EXPECT_TRUE(rig.take().empty());
}

TEST(PulsePages, PI8HalvingTiesToEvenAndChecks) {
  for (auto [reported, shown] : {std::pair{16, 8}, {5, 2}, {7, 4}, {1, 0}, {3, 2}}) {
    AnalogRig rig("Q5Z3UECT-1-PI8A");
    HalvingHook(rig);
    rig.values.channelCount = static_cast<std::int16_t>(reported);
    frmPI8 page(rig.ctx);
    page.Init();
    EXPECT_EQ(rig.values.channelCount, shown) << reported;
  }
  AnalogRig rig("Q5Z3UECT-1-PI8A");
  HalvingHook(rig);
  frmPI8 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  for (auto [max, over, ok] : {std::tuple{"1", "0", true}, {"4294967295", "7", true},
                               {"0", "0", false}, {"4294967296", "0", false}, {"1", "", false},
                               {"x", "0", false}}) {
    page.txtFScale[4].text = max;
    page.txtOver[4].text = over;
    EXPECT_EQ(page.CheckData(), ok) << max << " " << over;
  }
}

TEST(PulsePages, ChannelMaskHalves) {
  const ChannelMask m = ChannelMask::Parse("18001");  // padded: "00018001"
  EXPECT_TRUE(m.bit(1));
  EXPECT_TRUE(m.bit(16));
  EXPECT_TRUE(m.bit(17));
  EXPECT_FALSE(m.bit(2));
  EXPECT_FALSE(m.bit(32));
  ChannelMask w;
  w.set(32);
  w.set(2);
  EXPECT_EQ(w.text(), "80000002");
  EXPECT_EQ(ChannelMask::Parse("").text(), "00000000");
  EXPECT_EQ(ChannelMask::Parse("zz0F").text(), "0000000F");
}

TEST(PulsePages, PI32UploadDownloadLiveValuesAndPresets) {
  AnalogRig rig("Q5V3PM-BI32");
  rig.unit().item("00", "12").set("00018001");
  rig.unit().item("00", "20").set("1000");  // channel 8's largest count
  rig.link.GroupItemWriteRetry(3, "00", "01", "F");  // the main window's Upload selects "00"
  rig.take();
  frmPI32 page(rig.ctx);
  ASSERT_TRUE(page.Init());
  Strings reads = {"I12"};
  for (int c = 1; c <= 32; ++c) reads.push_back("I" + std::to_string(12 + c));
  EXPECT_EQ(rig.take(), reads);
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 33 Initializing");
  EXPECT_EQ(page.txtOver[0].text, "1");
  EXPECT_EQ(page.txtOver[15].text, "1");
  EXPECT_EQ(page.txtOver[16].text, "1");
  EXPECT_EQ(page.txtOver[1].text, "0");
  EXPECT_EQ(page.txtFScale[7].text, "1000");
  EXPECT_TRUE(page.txtCData[31].visible);
  EXPECT_TRUE(page.cmdSet[3].enabled);
  EXPECT_EQ(page.cmdSet[2].caption, "CH16 to CH23");

  page.txtOver[16].text = "0";
  page.txtOver[31].text = "1";
  page.txtOver[1].text = "1.0";
  ASSERT_TRUE(page.CheckData());
  rig.dialogs.clear();
  page.Download();
  Strings writes;
  for (int c = 1; c <= 32; ++c)
    writes = Lines({writes, {"I" + std::to_string(12 + c), c == 8 ? "D1000" : "D4294967295"}});
  EXPECT_EQ(rig.take(), Lines({writes, {"I12", "D80008003"}}));
  EXPECT_EQ(rig.dialogs.events.front(), "progressOpen 33 Downloading");
  ASSERT_TRUE(page.Init());  // the re-Upload
  EXPECT_EQ(page.txtOver[31].text, "1");
  EXPECT_EQ(page.txtOver[16].text, "0");
  rig.take();

  rig.unit().item("00", "77").live({}).set("80000001");
  page.ReadingData();
  Strings live = {"G00", "I01", "I77"};
  for (int c = 1; c <= 32; ++c) live.push_back("I" + std::to_string(44 + c));
  EXPECT_EQ(rig.take(), live);
  EXPECT_EQ(page.txtCData[0].colour, kGreen);
  EXPECT_EQ(page.txtCData[1].colour, kRed);
  EXPECT_EQ(page.txtCData[31].colour, kGreen);
  // No status reply: every lamp red, the counts still read.
  rig.port->fault("noreply:00/77*4");
  page.ReadingData();
  EXPECT_EQ(page.txtCData[0].colour, kRed);

  page.txtPreset[4].text = "12";
  rig.take();
  ASSERT_TRUE(page.Press("cmdPreset(4)"));
  EXPECT_EQ(rig.take(), Lines({{"G00", "I49", "D12"}, live}));
  EXPECT_EQ(page.txtPA[4].text, "12");
  page.txtPreset[4].text = "-1";
  page.Press("cmdPreset(4)");
  EXPECT_EQ(rig.dialogs.messages.back(),
            (TestDialogs::Message{"Please enter 0 to 4294967295.\r\nCheck data range.",
                                  "Data Range Error", q5::ui::Icon::Error}));
}

TEST(PulsePages, PI32SixteenChannelUnitsAndTheMessageSwitch) {
  AnalogRig rig("Q5T3PM-BI16");
  rig.link.GroupItemWriteRetry(3, "00", "01", "F");
  rig.take();
  frmPI32 page(rig.ctx);
  ASSERT_TRUE(page.Press("cmdSet4"));  // tab 4 remembered from before
  EXPECT_EQ(page.tabShown, 4);
  ASSERT_TRUE(page.Init());
  Strings reads = {"I12"};
  for (int c = 1; c <= 16; ++c) reads.push_back("I" + std::to_string(12 + c));
  EXPECT_EQ(rig.take(), reads);
  EXPECT_EQ(page.tabShown, 1);
  EXPECT_TRUE(page.frmSet[0].visible);
  EXPECT_FALSE(page.frmSet[3].visible);
  EXPECT_FALSE(page.cmdSet[2].enabled);
  EXPECT_FALSE(page.cmdSet[3].enabled);
  EXPECT_TRUE(page.cmdSet[1].enabled);
  EXPECT_FALSE(page.txtCData[16].visible);
  EXPECT_FALSE(page.lblCData[1].visible);
  EXPECT_EQ(page.lblCData[0].caption, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");
  EXPECT_TRUE(page.txtCData[15].visible);
  // Channels 17 to 32 are out of reach: their fields and presets are not shown.
  EXPECT_TRUE(page.cmdPreset[15].visible);
  EXPECT_FALSE(page.cmdPreset[16].visible);
  EXPECT_FALSE(page.txtPreset[31].visible);
  EXPECT_FALSE(page.txtFScale[16].visible);
  page.Press("cmdSet3");  // disabled: nothing happens
  EXPECT_TRUE(page.frmSet[0].visible);
  page.Press("cmdSet2");
  EXPECT_EQ(page.tabShown, 2);
  EXPECT_FALSE(page.cmdSet[3].enabled);
  ASSERT_TRUE(page.Init());
  EXPECT_TRUE(page.frmSet[1].visible);  // tab 2 stays

  // Leaving a field checks it with a message; CheckData checks quietly.
  page.txtFScale[3].text = "0";
  page.LostFocus("txtFScale(3)");
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].text, "Please enter 1 to 4294967295.\r\nCheck data range.");
  page.txtOver[3].text = "2";
  page.LostFocus("txtOver(3)");
  EXPECT_EQ(rig.dialogs.messages.back().text, "Please enter 0 to 1.\r\nCheck data range.");
  rig.dialogs.clear();
  EXPECT_FALSE(page.CheckData());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_TRUE(page.messagesOn);
  page.txtFScale[3].text = "5";
  page.txtOver[3].text = "1";
  EXPECT_TRUE(page.CheckData());
}

TEST(PulsePages, PI32SaveOpenDownloadRoundTrip) {
  for (const char* model : {"Q5V3PM-BI32", "Q5T3PM-BI16"}) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    namespace fs = std::filesystem;
    const fs::path file = fs::temp_directory_path() / ("q5cfg-pi32-" + std::to_string(::getpid()) + ".uJx");
    q5::config::ConfigFiles files(rig.session);
    rig.connect();
    ASSERT_TRUE(rig.session.values.Connected);
    EXPECT_EQ(rig.session.values.pageKind, 21);
    auto* page = dynamic_cast<frmPI32*>(rig.session.page());
    ASSERT_NE(page, nullptr);
    page->txtFScale[2].text = "777";
    page->txtOver[5].text = "1";
    rig.session.btnDownload_Click();
    ASSERT_TRUE(rig.dialogs.messages.empty());
    ASSERT_TRUE(files.SaveTo(file.string()));
    const int channels = rig.session.values.channelCount;
    // Header, then one record per channel.
    std::string text, error;
    ASSERT_TRUE(files.CurrentConfigText(text, error));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), channels + 1);
    EXPECT_NE(text.find("\"0\",\"777\"\r\n"), std::string::npos);

    page->txtFScale[2].text = "5";
    page->txtOver[5].text = "0";
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.unit().value("00", "15"), "5");
    rig.dialogs.openFiles = {file.string()};
    files.mnuFilesOpen_Click();
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.unit().value("00", "15"), "777");
    EXPECT_EQ(rig.unit().value("00", "12"), "00000020");
    fs::remove(file);
  }
}
