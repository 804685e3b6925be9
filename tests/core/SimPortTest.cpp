// The real exchange and command transactions against the in-process simulated unit on a
// virtual clock: every fault of the line as the link sees it (time-outs, pieces, garbage,
// stale bytes, refusals, a vanishing port), retries counted at the unit, line timing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "link/TextRoutines.h"
#include "sim/SimPort.h"

namespace {

using q5::link::Exchange;
using q5::link::Link;
using q5::link::TraceEvent;
using q5::link::VirtualClock;
using q5::sim::SimPort;

struct Rig {
  explicit Rig(std::string model = "Q5T3NML3-6-AI4", q5::sim::SimOptions o = {})
      : port(q5::sim::MakeSimPort(model, clock, std::move(o))), ex(*port, clock), link(ex) {
    ex.setTraceObserver([this](TraceEvent e, std::string_view text, std::int64_t at) {
      events.push_back(e);
      texts.emplace_back(text);
    });
    ex.ComPortOpen("sim:" + model);
  }
  std::string firstText(TraceEvent e) const {
    for (std::size_t i = 0; i < events.size(); ++i)
      if (events[i] == e) return texts[i];
    return "(none)";
  }
  int count(TraceEvent e) const {
    int n = 0;
    for (auto x : events) n += x == e;
    return n;
  }
  q5::sim::SimLine& line() { return port->line(); }

  VirtualClock clock;
  std::unique_ptr<SimPort> port;
  Exchange ex;
  Link link;
  std::vector<TraceEvent> events;
  std::vector<std::string> texts;
};

TEST(SimPort, IdentifiesThroughTheLink) {
  Rig r("Q5W3ND-BI32A-I");
  ASSERT_TRUE(r.ex.isOpen());
  EXPECT_EQ(q5::link::ValueBeforeColon(r.link.GroupItemReadRetry(1, "00", "01")), "MNTSW");
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "00", "01", "F"), "OK");
  EXPECT_EQ(q5::link::ValueAfterColon(r.link.ItemReadRetry(3, "02")), "Q5W3ND-BI32A-I");
  EXPECT_EQ(q5::link::ValueAfterColon(r.link.ItemReadRetry(3, "06")).substr(0, 4), "1.05");
  EXPECT_EQ(q5::link::ValueAfterColon(r.link.ItemReadRetry(3, "03")), "32CHs");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "88").substr(0, 6), "Q5CFG:");
  EXPECT_EQ(r.count(TraceEvent::TimedOut), 0);
  // Each exchange costs its 10 ms pause and nothing else without line timing.
  EXPECT_EQ(r.clock.nowUs(), 10 * 10'000);
  EXPECT_EQ(r.line().linesReceived(), 10u);
}

TEST(SimPort, WrittenValuesReadBackAndRefusalsCount) {
  Rig r;
  r.port->unit().item("9", "20").set("3").accept(q5::sim::IntegerIn(0, 9));
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "9", "20", "7"), "OK");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "9", "20"), "7");
  // A refused data step is tried four times and counted four times.
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "9", "20", "12"), "");
  EXPECT_EQ(r.line().dataLines("9", "20"), 5);
  EXPECT_EQ(r.line().lineCount("D12"), 4);
  EXPECT_EQ(r.link.WriteErrorCount(), 4);
  EXPECT_EQ(r.link.ErrorLog(), "G9 I20 D12");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "9", "20"), "7");
  // The value survives closing and opening the port (same unit).
  r.ex.ComPortClose();
  r.ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "9", "20"), "7");
  // Another model on the same port is a fresh unit.
  r.ex.ComPortClose();
  r.ex.ComPortOpen("sim:Q5T3NML3-6-TC4");
  EXPECT_EQ(r.port->unit().model(), "Q5T3NML3-6-TC4");
  EXPECT_EQ(q5::link::ValueAfterColon(r.link.GroupItemReadRetry(3, "00", "02")),
            "Q5T3NML3-6-TC4");
}

TEST(SimPort, NoReplyTimesOutAfterThreeSecondsAndRetries) {
  Rig r;
  r.port->fault("noreply:00/02*1");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.count(TraceEvent::TimedOut), 1);
  EXPECT_EQ(r.line().itemLines("00", "02"), 2);
  // pause, G, pause, I (3000 ms lost), the quiet moment for a late answer (the pause
  // falls within it), G, pause, I.
  EXPECT_EQ(r.clock.nowUs(), 3 * 10'000 + 3'000'000 + Exchange::kLateGraceUs);

  // A unit that never answers the item: four attempts, then empty.
  Rig silent;
  silent.port->fault("noreply:00/06");
  EXPECT_EQ(silent.link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_EQ(silent.line().itemLines("00", "06"), 4);
  EXPECT_EQ(silent.line().lineCount("G00"), 4);
  EXPECT_EQ(silent.count(TraceEvent::TimedOut), 4);
  EXPECT_EQ(silent.link.ReadErrorCount(), 0);
  // The next exchange works normally.
  EXPECT_EQ(silent.link.GroupItemReadRetry(0, "00", "02"), "TAG:Q5T3NML3-6-AI4");
}

TEST(SimPort, PiecesAreReassembled) {
  Rig r;
  r.port->fault("chunks:1:5");
  EXPECT_EQ(r.link.GroupItemReadRetry(0, "00", "06"), "VER:1.05");
  EXPECT_EQ(r.count(TraceEvent::TimedOut), 0);
  EXPECT_EQ(r.texts.back(), "CVER:1.05\r");
  // Ten bytes, 5 ms between pieces: the last arrives 45 ms after the line.
  EXPECT_EQ(r.clock.nowUs(), 10'000 + 15'000 + 10'000 + 45'000);

  // Pieces so slow that the reply is not complete within 3000 ms: time-out.
  Rig slow;
  slow.port->fault("chunks:00/02:10:3100*1");
  EXPECT_EQ(slow.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(slow.count(TraceEvent::TimedOut), 1);
  // The rest of the slow reply arrives in the quiet moment after the time-out and is
  // thrown away; the next attempt is clean.
  EXPECT_EQ(slow.line().lineCount("G00"), 2);
}

TEST(SimPort, GarbageAndStaleBytesAreDiscardedThenTheRetryRecovers) {
  Rig r;
  r.port->fault("garbage:=G00:\\xFF\\x00~*1");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.line().lineCount("G00"), 2);
  EXPECT_EQ(r.line().itemLines("00", "02"), 1);

  // Bytes after a reply stay in the input buffer: the next exchange sends nothing and
  // throws them away; its retry works.
  Rig s;
  s.port->fault("stale:00/02*1");
  EXPECT_EQ(s.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(s.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
  EXPECT_EQ(s.count(TraceEvent::Discarded), 1);
  EXPECT_EQ(s.firstText(TraceEvent::Discarded), "COK\r");
  EXPECT_EQ(s.line().lineCount("G00"), 2);  // the discarded attempt sent nothing

  // Stale bytes in the same burst as the reply: the reply ends at its CR, and what
  // follows is thrown away before the next line.
  Rig t;
  t.port->fault("stale:00/02:X:0*1");
  EXPECT_EQ(t.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(t.count(TraceEvent::TimedOut), 0);
  EXPECT_EQ(t.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
  EXPECT_EQ(t.count(TraceEvent::Discarded), 1);
}

TEST(SimPort, LateReplyAfterTheTimeOut) {
  Rig r;
  r.port->fault("late:00/06:3500*1");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
  EXPECT_EQ(r.count(TraceEvent::TimedOut), 1);
  // The late reply arrives in the quiet moment after the time-out and is thrown away;
  // the next attempt is clean.
  EXPECT_EQ(r.line().lineCount("G00"), 2);
  EXPECT_EQ(r.line().itemLines("00", "06"), 2);

  // Late but within the time-out: one attempt.
  Rig ok;
  ok.port->fault("late:00/06:2900");
  EXPECT_EQ(ok.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
  EXPECT_EQ(ok.count(TraceEvent::TimedOut), 0);
  EXPECT_EQ(ok.clock.nowUs(), 20'000 + 2'900'000);
}

TEST(SimPort, RefusalsAsTheTransactionsSeeThem) {
  Rig r;
  r.port->fault("cng:00/03");
  r.port->fault("cnu:00/88");
  r.port->fault("cnu:00/01/D");
  r.port->fault("cng:=G01");
  // CNG to the item of a read: no retry, counted, logged.
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "03"), "CNG");
  EXPECT_EQ(r.line().itemLines("00", "03"), 1);
  EXPECT_EQ(r.link.ReadErrorCount(), 1);
  EXPECT_EQ(r.link.ErrorLog(), "G00 I03");
  // CNU to the item of a read: "NEEDLESS", not counted.
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "88"), "NEEDLESS");
  EXPECT_EQ(r.link.ReadErrorCount(), 1);
  // CNU to the data step of a write: tried four times, counted four times.
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "00", "01", "F"), "");
  EXPECT_EQ(r.line().dataLines("00", "01"), 4);
  EXPECT_EQ(r.line().lineCount("DF"), 4);
  EXPECT_EQ(r.link.WriteErrorCount(), 4);
  EXPECT_EQ(r.link.ErrorLog(), "G00 I01 DF");
  // CNG to the group: empty, nothing counted, four attempts.
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "01", "00"), "");
  EXPECT_EQ(r.line().lineCount("G01"), 4);
  EXPECT_EQ(r.link.ReadErrorCount(), 1);
  // CNG to the item of a write: the data is never sent, nothing counted.
  Rig w;
  w.port->fault("cng:00/01");
  EXPECT_EQ(w.link.GroupItemWriteRetry(3, "00", "01", "F"), "");
  EXPECT_EQ(w.line().lineCount("DF"), 0);
  EXPECT_EQ(w.link.WriteErrorCount(), 0);
}

TEST(SimPort, FaultsByLineNumberTimesAndSkip) {
  Rig r;
  // The 2nd line is not heard; of the "G00" lines the 3rd and 4th are refused.
  r.port->fault("noreply:#2").fault("cng:=G00+2*2");
  EXPECT_EQ(r.link.GroupItemReadRetry(5, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  // Lines: G00 I02(lost) G00 I02 -> the value on the second attempt.
  EXPECT_EQ(r.line().linesReceived(), 4u);
  EXPECT_EQ(r.link.GroupItemReadRetry(5, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.line().lineCount("G00"), 5);
  EXPECT_EQ(r.line().faults()[1].fired, 2);
}

TEST(SimPort, VanishingPortFailsFromThenOn) {
  Rig r;
  r.port->fault("vanish:#3");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  const std::int64_t before = r.clock.nowUs();
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "");
  // No 3000 ms wait: the port is gone at once.
  EXPECT_LT(r.clock.nowUs() - before, 100'000);
  EXPECT_FALSE(r.ex.isOpen());
  EXPECT_EQ(r.line().linesReceived(), 3u);
  EXPECT_GE(r.count(TraceEvent::NotOpen), 1);
  EXPECT_TRUE(r.link.failures().portClosed);
  // It cannot be opened again until it is plugged back in.
  r.ex.ComPortClose();
  r.ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  EXPECT_FALSE(r.ex.isOpen());
  r.line().restore();
  r.ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  ASSERT_TRUE(r.ex.isOpen());
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
}

TEST(SimPort, LineTimingCostsTenBitsPerCharacter) {
  q5::sim::SimOptions o;
  o.line.lineTiming = true;
  o.line.turnaroundUs = 500;
  Rig r("Q5T3NML3-6-AI4", o);
  EXPECT_EQ(r.port->line().charTimeUs(), 1042);  // 9600 baud
  EXPECT_EQ(r.link.GroupItemReadRetry(0, "00", "06"), "VER:1.05");
  // "G00\r" + "COK\r", "I06\r" + "CVER:1.05\r": 22 characters, two turnarounds, two pauses.
  EXPECT_EQ(r.clock.nowUs(), 2 * 10'000 + 22 * 1042 + 2 * 500);

  // The firmware rate: 87 us per character.
  r.ex.setBaudText("115200");
  ASSERT_TRUE(r.ex.applyBaudRate());
  const std::int64_t t0 = r.clock.nowUs();
  EXPECT_EQ(r.link.GroupItemReadRetry(0, "00", "06"), "VER:1.05");
  EXPECT_EQ(r.clock.nowUs() - t0, 2 * 10'000 + 22 * 87 + 2 * 500);

  // The transcript has the times: the reply to "G00" starts the turnaround after the
  // line's last character.
  const auto& tr = r.line().transcript();
  ASSERT_GE(tr.size(), 2u);
  EXPECT_TRUE(tr[0].fromHost);
  EXPECT_EQ(tr[0].text, "G00\r");
  EXPECT_EQ(tr[0].atUs, 10'000 + 4 * 1042);
  EXPECT_FALSE(tr[1].fromHost);
  EXPECT_EQ(tr[1].atUs, tr[0].atUs + 500);
  EXPECT_NE(r.line().transcriptText().find("> G00\\r"), std::string::npos);
}

// The exchange waits once per reply on a timed line, however many characters the reply
// has: the wait runs to the CR's arrival. What arrives and when is the same as a wait
// per character would see; a reply that never gets its CR is still read up to the
// time-out, with what came of it in the trace.
TEST(SimPort, OneWaitPerReplyAndTheSameTimes) {
  struct CountingClock : VirtualClock {
    void waitUs(std::int64_t us) override {
      ++waits;
      VirtualClock::waitUs(us);
    }
    int waits = 0;
  };
  CountingClock clock;
  q5::sim::SimOptions o;
  o.line.lineTiming = true;
  o.line.turnaroundUs = 700;
  auto port = q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock, o);
  Exchange ex(*port, clock);
  Link link(ex);
  std::vector<std::string> timedOut;
  ex.setTraceObserver([&](TraceEvent e, std::string_view text, std::int64_t) {
    if (e == TraceEvent::TimedOut) timedOut.emplace_back(text);
  });
  ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  EXPECT_EQ(link.GroupItemReadRetry(0, "00", "06"), "VER:1.05");
  EXPECT_EQ(clock.waits, 2);  // "COK\r" and "CVER:1.05\r": one wait each
  EXPECT_EQ(clock.nowUs(), 2 * 10'000 + 22 * 1042 + 2 * 700);

  // A reply cut before its CR: the exchange waits to the time-out and keeps what came.
  ASSERT_TRUE(port->line().addFault("nocr:00/06"));
  EXPECT_EQ(ex.ComCommand("G00\r"), "COK");
  const std::int64_t sent = clock.nowUs();
  EXPECT_EQ(ex.ComCommand("I06\r"), "");
  ASSERT_EQ(timedOut.size(), 1u);
  EXPECT_EQ(timedOut[0], "CVER:1.05");
  EXPECT_GE(clock.nowUs() - sent, Exchange::kReplyTimeoutUs);
}

}  // namespace
