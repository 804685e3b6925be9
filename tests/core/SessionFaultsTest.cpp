// The main window's sequences when the unit fails them: a unit that goes silent in the
// middle of a Download or of monitoring, a port that vanishes (unplugged), Stop and
// Disconnect pressed while a pass waits, and identification values out of range. What
// must hold: the time is bounded by three time-outs, the message comes once, buttons
// that start a sequence come back only after the running one has unwound, and the
// session says what failed.
#include <gtest/gtest.h>

#include "SessionTestRig.h"

namespace {

using q5::session::kLampConnected;
using q5::session::kLampDisconnected;
using q5::session::kLampMonitoring;
using Lines = std::vector<std::string>;
using Msg = TestDialogs::Message;
using q5::ui::Icon;

// The reply time-out, the pause and the quiet moment after a time-out.
constexpr std::int64_t kTimeOutUs = 3'000'000 + 10'000 + 700'000;

TEST(SessionFaults, AUnitSilentInTheMiddleOfADownloadEndsItWithinThreeTimeOuts) {
  SessionRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  ASSERT_TRUE(rig.dialogs.messages.empty());
  rig.takeWire();
  rig.port->fault("noreply+20");  // the unit hears 20 more lines, then nothing
  const std::int64_t t0 = rig.clock.nowUs();
  rig.session.btnDownload_Click();
  // The line that went unanswered in the middle of a transaction, then three silent
  // transactions, then nothing more is sent: not four attempts of 3 s for every item
  // left on the page.
  EXPECT_LT(rig.clock.nowUs() - t0, 4 * kTimeOutUs + 25 * 10'000);
  EXPECT_EQ(rig.takeWire().size(), 24u);
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Upload Error", "Upload", Icon::Error}}));
  EXPECT_EQ(rig.session.labels().lblConStatus, "Disconnected");
  EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
  EXPECT_EQ(rig.session.failure().rfind("the unit stopped answering; ", 0), 0u)
      << rig.session.failure();
  EXPECT_FALSE(rig.session.sequenceRunning());

  // Plugged back in: Connect works as before and the failure is forgotten.
  rig.port->line().clearFaults();
  rig.dialogs.clear();
  rig.session.btnConnect_Click();
  EXPECT_TRUE(rig.session.values.Connected);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.session.failure(), "");
}

TEST(SessionFaults, StopEndsAPassAtTheNextExchangeAndStartWaitsForTheUnwind) {
  SessionRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  rig.takeWire();
  auto& s = rig.session;
  // The unit is slow to answer the first live value; Stop is pressed while it waits.
  rig.port->fault("noreply:00/21");
  bool checked = false;
  rig.onSent = [&](const std::string& line) {
    if (line != "I21" || checked) return;
    s.btnStop_Click();
    // Still unwinding: nothing that starts a sequence is offered, the lamp still says so.
    EXPECT_EQ(Enabled(s.buttons()), "");
    EXPECT_EQ(s.lamp(), kLampMonitoring);
    EXPECT_TRUE(s.sequenceRunning());
    checked = true;
  };
  const std::int64_t t0 = rig.clock.nowUs();
  s.btnStart_Click();
  EXPECT_TRUE(checked);
  // The exchange under way ran out its time-out; no further line of the pass was sent.
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21"}));
  EXPECT_LT(rig.clock.nowUs() - t0, kTimeOutUs + 20'000);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
  EXPECT_EQ(s.lamp(), kLampConnected);
  EXPECT_FALSE(s.sequenceRunning());
  EXPECT_EQ(s.failure(), "") << "a Stop is not a failure of the unit";
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(SessionFaults, DisconnectInAPassOffersConnectOnlyAfterTheUnwind) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  rig.takeWire();
  auto& s = rig.session;
  rig.onSent = [&](const std::string& line) {
    if (line != "G00") return;
    s.btnDisconnect_Click();
    EXPECT_EQ(Enabled(s.buttons()), "");
    EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  };
  s.btnStart_Click();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00"}));
  EXPECT_EQ(Enabled(s.buttons()), "Connect Setting");
  EXPECT_EQ(s.failure(), "") << "closing the port by hand is not a failure of the unit";
}

TEST(SessionFaults, UnplugDuringMonitoringShowsDisconnectedAndSendsNoMore) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  rig.takeWire();
  auto& s = rig.session;
  rig.port->fault("vanish+4");  // two passes, then the adapter is pulled
  int passesAfterEnd = 0;
  rig.view.onProcessEvents = [&] {
    if (rig.view.passes > 10) {
      ++passesAfterEnd;
      s.btnStop_Click();  // a runaway loop would get here
    }
  };
  const std::int64_t t0 = rig.clock.nowUs();
  s.btnStart_Click();
  EXPECT_EQ(passesAfterEnd, 0);
  EXPECT_EQ(rig.view.passes, 3);
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I21", "G00"}));
  EXPECT_LT(rig.clock.nowUs() - t0, 100'000) << "no time-out: the port is gone at once";
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_FALSE(s.values.Monitoring);
  EXPECT_EQ(s.lamp(), kLampDisconnected);
  EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  EXPECT_EQ(Enabled(s.buttons()), "Connect Setting");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(s.failure().rfind("the port closed", 0), 0u) << s.failure();
}

TEST(SessionFaults, AUnitSilentWhileMonitoredEndsMonitoringAndCanBeStartedAgain) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  rig.takeWire();
  auto& s = rig.session;
  rig.port->fault("noreply+4");
  const std::int64_t t0 = rig.clock.nowUs();
  s.btnStart_Click();
  EXPECT_LT(rig.clock.nowUs() - t0, 3 * kTimeOutUs + 100'000);
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I21", "G00", "G00", "G00"}));
  EXPECT_FALSE(s.values.Monitoring);
  EXPECT_TRUE(s.values.Connected);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
  EXPECT_EQ(s.lamp(), kLampConnected);
  EXPECT_EQ(s.failure(), "the unit stopped answering; 1 read without a usable reply (last: G00 I21)");
  // What runs outside a sequence afterwards (a page's own button) is sent again.
  rig.takeWire();
  EXPECT_EQ(s.link().GroupItemRead("00", "21"), "");
  EXPECT_EQ(rig.takeWire(), (Lines{"G00"}));

  // The unit answers again: a new Start talks to it afresh.
  rig.port->line().clearFaults();
  rig.view.onProcessEvents = [&] {
    if (rig.view.passes == 6) s.btnStop_Click();
  };
  s.btnStart_Click();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I21"}));
  EXPECT_EQ(s.failure(), "");
}

TEST(SessionFaults, ChannelCountsOutOfRangeKeepThePreviousCount) {
  const std::pair<const char*, int> cases[] = {
      {"C1e20", 0}, {"C-1e20", 0}, {"C1e308", 0}, {"Cinf", 0}, {"Cnan", 0},  {"C32768", 0},
      {"C-32769", 0}, {"C32767.4", 32767}, {"C-2.5", -3}, {"C 8 ", 8},     {"C16CHs", 16}};
  for (const auto& [reply, count] : cases) {
    SessionRig rig("Q5T3NML3-6-AI4");
    rig.port->fault(std::string("reply:00/03:") + reply);
    rig.session.UnitConnect();
    EXPECT_TRUE(rig.session.Identify()) << reply;
    EXPECT_EQ(rig.session.values.channelCount, count) << reply;
  }
}

}  // namespace
