// What reaches the wire and what is taken as a reply: a line holding a control character
// is never sent (whatever path built it), a reply ends at its first CR, and characters
// that come after a time-out are late, not an answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "sim/SimFault.h"
#include "sim/SimPort.h"

namespace {

using q5::link::Exchange;
using q5::link::Link;
using q5::link::TraceEvent;
using q5::link::VirtualClock;

struct SimRig {
  VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> simPort = q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock);
  q5::sim::SimPort& port = *simPort;
  Exchange ex{port, clock};
  Link link{ex};
  std::vector<std::string> sent;
  SimRig() {
    ex.setTraceObserver([this](TraceEvent e, std::string_view text, std::int64_t) {
      if (e == TraceEvent::Sent) sent.emplace_back(text);
    });
    ex.ComPortOpen("sim:Q5T3NML3-6-AI4");
  }
  void fault(const std::string& text) { port.fault(text); }
};

TEST(WireGuard, NoLineWithAControlCharacterInsideIsEverSent) {
  SimRig rig;
  // Every control character, and DEL, in the data of a write: refused before the wire,
  // named in the failure with the character escaped, and never retried.
  for (int c = 0; c < 0x20; ++c) {
    if (c == '\r') continue;
    rig.link.markSequence();
    const std::string data = std::string("12") + static_cast<char>(c) + "3";
    EXPECT_EQ(rig.link.GroupItemWriteRetry(3, "1", "20", data), "") << c;
    EXPECT_EQ(rig.link.failures().refusedLines, 1) << c;
    EXPECT_EQ(rig.link.failures().failedWrites, 0) << c;
  }
  rig.link.markSequence();
  EXPECT_EQ(rig.link.ItemWriteRetry(3, "21", "5\x7F"), "");
  EXPECT_EQ(rig.link.failures().refusedLines, 1);

  rig.link.markSequence();
  EXPECT_EQ(rig.link.GroupItemWriteRetry(3, "1", "20", "4\n5"), "");
  const std::string said = rig.link.failures().describe();
  EXPECT_NE(said.find("G1 I20 D4\\x0A5"), std::string::npos) << said;
  EXPECT_NE(said.find("a control character (\\n)"), std::string::npos) << said;
  // The CR of a data text would split the line as well.
  EXPECT_EQ(rig.link.ItemWriteRetry(3, "21", "0\rG01"), "");
  // A group or item code can carry one too (a name built from a typed text).
  EXPECT_EQ(rig.link.GroupItemReadRetry(3, "1\n", "20"), "");

  // On the wire: the G and I lines of the refused writes, never a data line, and no line
  // holding a control character other than its final CR.
  for (const std::string& line : rig.sent) {
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\r');
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
      EXPECT_TRUE(static_cast<unsigned char>(line[i]) >= 0x20 && line[i] != 0x7F)
          << q5::sim::EncodeBytes(line);
    EXPECT_NE(line[0], 'D') << q5::sim::EncodeBytes(line);
  }
  // A clean write afterwards goes through.
  rig.link.markSequence();
  EXPECT_EQ(rig.link.GroupItemWriteRetry(3, "1", "20", "123"), "OK");
  EXPECT_EQ(rig.sent.back(), "D123\r");
}

TEST(WireGuard, TheExchangeItselfRefusesAndAllowsOnlyATerminatingCrOrCrLf) {
  EXPECT_EQ(Exchange::LineFault("G01\r"), "");
  EXPECT_EQ(Exchange::LineFault("S1130000\r\n"), "");  // a firmware record
  EXPECT_EQ(Exchange::LineFault("D4\n5\r"), "a control character (\\n)");
  EXPECT_EQ(Exchange::LineFault("D\t5\r"), "a control character (\\t)");
  EXPECT_EQ(Exchange::LineFault("D5\r\r"), "a control character (\\r)");
  EXPECT_EQ(Exchange::LineFault("D5\n\r\n"), "a control character (\\n)");
  EXPECT_EQ(Exchange::LineFault(std::string("D\0", 2) + "\r"), "a control character (\\x00)");
  EXPECT_NE(Exchange::LineFault("D" + std::string(3000, '9') + "\r"), "");

  SimRig rig;
  const auto linesBefore = rig.ex.linesSent();
  EXPECT_EQ(rig.ex.ComCommand("D4\n5\r"), "");
  EXPECT_EQ(rig.ex.refusal(), "a control character (\\n)");
  EXPECT_EQ(rig.ex.linesSent(), linesBefore);
  EXPECT_TRUE(rig.sent.empty());
  // The refusal is the exchange's own: the next clean line goes out at once.
  EXPECT_EQ(rig.ex.ComCommand("G00\r"), "COK");
  EXPECT_EQ(rig.ex.refusal(), "");
}

TEST(ReplyFraming, AReplyEndsAtItsFirstCrAndADoubledReplyIsTwo) {
  SimRig rig;
  rig.fault("dup:1/20");
  // The doubled answer "C...\rC...\r" is one reply and a stale one: the read returns the
  // value alone, never "value\rCvalue".
  const std::string value = rig.link.GroupItemReadRetry(3, "1", "20");
  EXPECT_EQ(value.find('\r'), std::string::npos) << q5::sim::EncodeBytes(value);
  EXPECT_FALSE(value.empty());
  // What followed is thrown away before the next command, which then goes out on a
  // clean line; the transaction's retry makes up for it.
  EXPECT_FALSE(rig.link.ItemReadRetry(3, "21").empty());

  // "COK\rCNG" in one piece: the reply is "COK"; the "CNG" is no answer to the next line.
  SimRig two;
  two.fault("reply:=G1:COK\\rCNG*1");
  EXPECT_EQ(two.ex.ComCommand("G1\r"), "COK");
  const auto sentBefore = two.ex.linesSent();
  EXPECT_EQ(two.ex.ComCommand("I20\r"), "");  // the stale "CNG" is thrown away, nothing sent
  EXPECT_EQ(two.ex.linesSent(), sentBefore);
  EXPECT_FALSE(two.ex.ComCommand("I20\r").empty());
}

TEST(LateUnit, AUnitThatAlwaysAnswersJustAfterTheTimeOutIsGivenUpLikeASilentOne) {
  auto giveUpTime = [](const char* faultText) {
    SimRig rig;
    rig.fault(faultText);
    rig.link.markSequence();
    const std::int64_t t0 = rig.clock.nowUs();
    int transactions = 0;
    // A Download's worth of writes: a late unit must not make each of them wait.
    for (int i = 0; i < 60 && !rig.link.gaveUp(); ++i, ++transactions)
      rig.link.GroupItemWriteRetry(3, "1", "20", std::to_string(i));
    EXPECT_TRUE(rig.link.gaveUp()) << faultText;
    EXPECT_LE(transactions, 2) << faultText;
    return rig.clock.nowUs() - t0;
  };
  const std::int64_t silent = giveUpTime("noreply");
  const std::int64_t late = giveUpTime("late:3500");
  const std::int64_t lateMore = giveUpTime("late:3600");
  // Three silent transactions, each a time-out and the quiet moment after it.
  const std::int64_t bound = 3 * (Exchange::kReplyTimeoutUs + Exchange::kLateGraceUs + 20'000);
  EXPECT_LE(silent, bound);
  EXPECT_LE(late, bound);
  EXPECT_LE(lateMore, bound);
}

TEST(LateUnit, ASingleLateAnswerIsThrownAwayAndTheNextLineIsAnsweredInStep) {
  SimRig rig;
  rig.fault("late:1/20:3500*1");
  rig.link.markSequence();
  // The first read times out; its late answer arrives in the quiet moment after it and
  // is thrown away; the retry then gets the answer to its own line.
  const std::string first = rig.link.GroupItemReadRetry(3, "1", "20");
  const std::string again = rig.link.GroupItemReadRetry(3, "1", "20");
  EXPECT_EQ(first, again);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(rig.link.GroupItemReadRetry(3, "1", "21"), rig.link.GroupItemReadRetry(3, "1", "21"));
  EXPECT_FALSE(rig.link.gaveUp());
}

TEST(Failures, OnlyWhatWentOutIsCountedAndNamed) {
  SimRig rig;
  rig.fault("noreply");
  rig.link.markSequence();
  for (int i = 0; i < 10; ++i) rig.link.GroupItemWriteRetry(3, "1", std::to_string(20 + i), "5");
  const auto& f = rig.link.failures();
  EXPECT_TRUE(f.gaveUp);
  // The writes that went out before the unit was given up, and the rest, not sent.
  EXPECT_GE(f.failedWrites, 1);
  EXPECT_LE(f.failedWrites, 3);
  EXPECT_EQ(f.failedWrites + f.unsentWrites, 10);
  // The last one named is one that was sent.
  EXPECT_EQ(f.lastFailed.rfind("G1 I2", 0), 0u) << f.lastFailed;
  EXPECT_LE(std::stoi(f.lastFailed.substr(5, 1)), 2) << f.lastFailed;
  EXPECT_NE(f.describe().find("not sent"), std::string::npos) << f.describe();
}

}  // namespace
