// The exchange and the transactions when the line misbehaves: a reply that never ends
// (bounded memory, no reply), a unit that goes silent (given up after three silent
// transactions, not after walking every remaining item), a Stop between two exchanges,
// and the failures a sequence reports.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "sim/SimPort.h"

namespace {

using q5::link::Exchange;
using q5::link::Link;
using q5::link::TraceEvent;
using q5::link::VirtualClock;

// A line that answers every command with an endless stream of bytes without CR,
// one chunk per millisecond, optionally ending the stream with a CR after `total` bytes.
class StreamingPort : public q5::link::Port {
 public:
  StreamingPort(VirtualClock& clock, std::size_t chunk, std::size_t total = 0)
      : clock_(clock), chunk_(chunk), total_(total) {}
  bool open(const std::string&, int) override { return open_ = true; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  bool setBaudRate(int) override { return true; }
  std::size_t bytesWaiting() override { return streaming_ ? chunk_ : ready_.size(); }
  bool write(std::string_view data) override {
    written.emplace_back(data);
    if (!queued_.empty()) {
      ready_ = std::exchange(queued_, {});
      return true;
    }
    streaming_ = true;
    sent_ = 0;
    return true;
  }
  std::string readAll() override {
    if (!streaming_) return std::exchange(ready_, {});
    std::string s(chunk_, 'A');
    sent_ += chunk_;
    if (total_ > 0 && sent_ >= total_) {
      s += '\r';
      streaming_ = false;
    }
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    clock_.advanceTo(std::min(deadlineUs, clock_.nowUs() + 1000));
  }
  // The next command gets this reply instead of a stream.
  void queue(std::string reply) { queued_ = std::move(reply); }
  std::vector<std::string> written;

 private:
  VirtualClock& clock_;
  std::size_t chunk_, total_, sent_ = 0;
  bool open_ = false, streaming_ = false;
  std::string queued_, ready_;
};

TEST(ReplyLimits, AStreamWithoutCrIsNoReplyAndIsNeverHeld) {
  VirtualClock clock;
  StreamingPort port(clock, 64 * 1024);
  Exchange ex(port, clock);
  std::vector<std::pair<TraceEvent, std::size_t>> events;
  ex.setTraceObserver([&](TraceEvent e, std::string_view text, std::int64_t) {
    events.emplace_back(e, text.size());
  });
  ex.ComPortOpen("stream");
  const std::int64_t t0 = clock.nowUs();
  EXPECT_EQ(ex.ComCommand("I02\r"), "");
  // Gone through after the usual time-out, having streamed far more than any reply...
  EXPECT_EQ(clock.nowUs() - t0, 10'000 + 3'000'000);
  EXPECT_GT(ex.bytesReceived(), 100u * 1024 * 1024);
  // ... of which no more than a few KiB were ever kept: the overflow shows the first
  // 4 KiB, and nothing is left at the time-out.
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].first, TraceEvent::Sent);
  EXPECT_EQ(events[1], std::make_pair(TraceEvent::Overflow, std::size_t{4096}));
  EXPECT_EQ(events[2], std::make_pair(TraceEvent::TimedOut, std::size_t{0}));
}

TEST(ReplyLimits, AnOverlongLineEndsAtItsCrAsNoReplyAndTheNextExchangeWorks) {
  VirtualClock clock;
  StreamingPort port(clock, 1000, 10'000);  // 10 kB, then CR
  Exchange ex(port, clock);
  ex.ComPortOpen("stream");
  const std::int64_t t0 = clock.nowUs();
  EXPECT_EQ(ex.ComCommand("I02\r"), "");
  EXPECT_LT(clock.nowUs() - t0, 100'000) << "the rest of the line is read and dropped at once";
  port.queue("COK\r");
  EXPECT_EQ(ex.ComCommand("G00\r"), "COK");
  // A long reply that is still a line comes back whole.
  const std::string value(1000, '7');
  port.queue("C" + value + "\r");
  EXPECT_EQ(ex.ComCommand("I02\r"), "C" + value);
}

struct SimRig {
  VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port = q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock);
  Exchange ex{*port, clock};
  Link link{ex};
  std::vector<std::string> sent;
  std::function<void(const std::string&)> onSent;
  SimRig() {
    ex.setTraceObserver([this](TraceEvent e, std::string_view text, std::int64_t) {
      if (e != TraceEvent::Sent) return;
      sent.emplace_back(text.substr(0, text.size() - 1));
      if (onSent) onSent(sent.back());
    });
    ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
    link.markSequence();
  }
  std::uint64_t lines() { return port->line().linesReceived(); }
};

TEST(GiveUp, ThreeSilentTransactionsInARowEndTheSequenceAtOnce) {
  SimRig r;
  r.port->fault("noreply");  // the unit is gone
  const std::int64_t t0 = r.clock.nowUs();
  // A page of twenty items: each read would cost four attempts of 3 s.
  for (int item = 10; item < 30; ++item)
    EXPECT_EQ(r.link.GroupItemReadRetry(3, "1", std::to_string(item)), "");
  EXPECT_TRUE(r.link.gaveUp());
  EXPECT_EQ(r.sent, (std::vector<std::string>{"G1", "G1", "G1"}));
  // Three time-outs, each but the last followed by the quiet moment for a late answer
  // (the pause before the next line falls within it).
  EXPECT_EQ(r.clock.nowUs() - t0, 3 * (10'000 + 3'000'000) + 2 * (Exchange::kLateGraceUs - 10'000));
  const auto& f = r.link.failures();
  EXPECT_TRUE(f.gaveUp);
  EXPECT_FALSE(f.portClosed);
  // Only the read that went out counts as unanswered, and is the one named; the others
  // were never sent.
  EXPECT_EQ(f.unansweredReads, 1);
  EXPECT_EQ(f.unsentReads, 19);
  EXPECT_EQ(f.lastFailed, "G1 I10");
  EXPECT_EQ(f.describe(),
            "the unit stopped answering; 1 read without a usable reply (last: G1 I10); 19 reads not sent");
  // Writes fail at once too, and are not counted as refused by the unit.
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "1", "11", "5"), "");
  EXPECT_EQ(r.link.WriteErrorCount(), 0);
  EXPECT_EQ(r.link.failures().failedWrites, 0);
  EXPECT_EQ(r.link.failures().unsentWrites, 1);

  // Plugged back in and opened again: the link tries again.
  r.port->line().clearFaults();
  r.ex.ComPortClose();
  r.ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");
  EXPECT_FALSE(r.link.gaveUp());
  // A new sequence starts with a clean record.
  r.link.markSequence();
  EXPECT_FALSE(r.link.failures().any());
  EXPECT_EQ(r.link.failures().describe(), "");

  // Outside a sequence (a page's own button) a silent unit is asked every time.
  r.link.endSequence();
  r.port->fault("noreply");
  r.sent.clear();
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_EQ(r.sent.size(), 4u);
  EXPECT_FALSE(r.link.gaveUp());
}

TEST(GiveUp, AnAnswerOfAnyKindBreaksARunOfSilentTransactions) {
  SimRig r;
  // Lines 1, 2 unheard; line 3 refused; 4, 5 unheard; 6, 7 answered; 8, 9, 10 unheard.
  for (const char* f : {"noreply:#1", "noreply:#2", "cng:#3", "noreply:#4", "noreply:#5",
                        "noreply:#8", "noreply:#9", "noreply:#10"})
    r.port->fault(f);
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");  // "CNG" to the group: a live unit
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_FALSE(r.link.gaveUp());
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "VER:1.05");
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_FALSE(r.link.gaveUp());
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_TRUE(r.link.gaveUp());
  EXPECT_EQ(r.lines(), 10u);
  const std::int64_t t = r.clock.nowUs();
  EXPECT_EQ(r.link.GroupItemRead("00", "06"), "");
  EXPECT_EQ(r.lines(), 10u);
  EXPECT_EQ(r.clock.nowUs(), t);

  // Noise is an answer too: a unit that only answers garbage is not given up, each
  // transaction fails on its own.
  SimRig g;
  g.port->fault("reply:=G00:~~");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g.link.GroupItemRead("00", "06"), "");
  EXPECT_FALSE(g.link.gaveUp());
  EXPECT_EQ(g.lines(), 5u);
}

TEST(Stop, EndsTheTransactionAtTheNextExchangeAndIsNotAFailure) {
  SimRig r;
  r.onSent = [&](const std::string& line) {
    if (line == "G1") r.link.requestStop();  // pressed while the group line waits
  };
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "1", "11", "5"), "");
  EXPECT_EQ(r.sent, (std::vector<std::string>{"G1"}));  // the exchange under way finished
  EXPECT_FALSE(r.link.failures().any());
  EXPECT_EQ(r.link.WriteErrorCount(), 0);
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_EQ(r.sent.size(), 1u);
  r.onSent = {};
  r.link.clearStop();
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "VER:1.05");

  // The hook before every exchange is where a Ctrl-C becomes a Stop.
  int calls = 0;
  r.link.setBeforeExchange([&] {
    if (++calls == 2) r.link.requestStop();
  });
  r.sent.clear();
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_EQ(r.sent, (std::vector<std::string>{"G00"}));
}

TEST(Failures, RefusedWritesAndUnansweredReadsAreCountedOncePerCall) {
  SimRig r;
  r.port->fault("cnu:1/11/D").fault("noreply:00/21*1");
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "1", "11", "5"), "");
  EXPECT_EQ(r.link.WriteErrorCount(), 4);  // the protocol counter counts every attempt
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "21").empty(), false);  // second attempt
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "99"), "CNG");  // refused read: a value
  const auto& f = r.link.failures();
  EXPECT_EQ(f.failedWrites, 1);
  EXPECT_EQ(f.unansweredReads, 0);
  EXPECT_EQ(f.describe(), "1 write refused or unanswered (last: G1 I11 D5)");

  // The port closed under a sequence: said once, nothing more is sent.
  r.ex.ComPortClose();
  const auto before = r.lines();
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_EQ(r.lines(), before);
  EXPECT_TRUE(r.link.failures().portClosed);
  EXPECT_EQ(r.link.failures().describe(),
            "the port closed; 1 write refused or unanswered (last: G1 I11 D5); 1 read not sent");
}

}  // namespace
