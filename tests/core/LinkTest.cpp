// The exchange and the command transactions against a scripted line: exact wire lines,
// replies, retries, counters and the error log.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "link/TextRoutines.h"
#include "ui/UserDialogs.h"

namespace {

using q5::link::Exchange;
using q5::link::Link;
using q5::link::VirtualClock;

// A line whose answers are scripted: each written line takes the next scripted answer,
// delivered as one or more chunks after a delay. An answer of std::nullopt never comes.
class ScriptedPort : public q5::link::Port {
 public:
  struct Answer {
    std::optional<std::vector<std::string>> chunks;  // nullopt: silence
    std::int64_t delayUs = 2000;
  };
  explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

  void reply(std::string text) { answers_.push_back({std::vector<std::string>{text + "\r"}}); }
  void chunks(std::vector<std::string> parts) { answers_.push_back({parts}); }
  void silence() { answers_.push_back({std::nullopt}); }
  void late(std::string text, std::int64_t delayUs) {
    answers_.push_back({std::vector<std::string>{text + "\r"}, delayUs});
  }
  void inject(std::string stale) { pending_.push_back({clock_.nowUs(), std::move(stale)}); }

  bool open(const std::string&, int) override { return open_ = openable; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  bool setBaudRate(int) override { return true; }
  std::size_t bytesWaiting() override {
    std::size_t n = 0;
    for (auto& p : pending_)
      if (p.atUs <= clock_.nowUs()) n += p.data.size();
    return n;
  }
  bool write(std::string_view data) override {
    written.emplace_back(data);
    if (answers_.empty()) return true;
    Answer a = answers_.front();
    answers_.pop_front();
    if (a.chunks) {
      std::int64_t at = clock_.nowUs() + a.delayUs;
      for (auto& c : *a.chunks) {
        pending_.push_back({at, c});
        at += 1000;
      }
    }
    return true;
  }
  std::string readAll() override {
    // Only the first due chunk, so chunk boundaries reach the exchange as scripted.
    if (pending_.empty() || pending_.front().atUs > clock_.nowUs()) return {};
    std::string s = pending_.front().data;
    pending_.pop_front();
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    std::int64_t next = deadlineUs;
    if (!pending_.empty()) next = std::min(next, pending_.front().atUs);
    clock_.advanceTo(next);
  }

  std::vector<std::string> written;
  bool openable = true;

 private:
  struct Pending {
    std::int64_t atUs;
    std::string data;
  };
  VirtualClock& clock_;
  std::deque<Answer> answers_;
  std::deque<Pending> pending_;
  bool open_ = false;
};

struct Rig {
  VirtualClock clock;
  ScriptedPort port{clock};
  Exchange ex{port, clock};
  Link link{ex};
  Rig() { ex.ComPortOpen("test"); }
};

using Lines = std::vector<std::string>;

TEST(Exchange, RepliesAreTrimmedOfBlanksOnlyAndPausedAndTimedOut) {
  Rig r;
  r.port.reply("COK");
  std::int64_t t0 = r.clock.nowUs();
  EXPECT_EQ(r.ex.ComCommand("G00\r"), "COK");
  EXPECT_GE(r.clock.nowUs() - t0, 10'000);  // the pause before the line

  r.port.reply("  C0123 \t ");
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "C0123 \t");  // blanks go, a tab stays

  // A unit that never answers: empty after 3000 ms measured from before the write.
  r.port.silence();
  t0 = r.clock.nowUs();
  EXPECT_EQ(r.ex.ComCommand("I02\r"), "");
  EXPECT_EQ(r.clock.nowUs() - t0, 10'000 + 3'000'000);
  // ... and the next exchange works normally.
  r.port.reply("COK");
  EXPECT_EQ(r.ex.ComCommand("G00\r"), "COK");
  EXPECT_EQ(r.port.written, (Lines{"G00\r", "I01\r", "I02\r", "G00\r"}));
}

TEST(Exchange, ChunksAreJoinedAndAReplyEndsAtItsFirstCr) {
  Rig r;
  r.port.chunks({"CMNT", "SW:1\r"});
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "CMNTSW:1");
  // A CR inside a chunk ends the reply; what follows it is another reply, thrown away
  // before the next command (which then sends nothing: its retry goes out clean).
  r.port.chunks({"CA\rCB", "C\r"});
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "CA");
  r.clock.sleepUs(10'000);
  r.port.written.clear();
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "");
  EXPECT_TRUE(r.port.written.empty());
  // A reply that starts but never ends is dropped at the time-out.
  r.port.chunks({"CPART"});
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "");
  // A reply slower than 3000 ms is too late, and its late characters are stale for the
  // next exchange: that one sends nothing, discards them, and the retry after it works.
  r.port.late("CLATE", 3'500'000);
  EXPECT_EQ(r.ex.ComCommand("I01\r"), "");
  r.port.written.clear();
  // The next exchange leaves the line quiet a moment after the time-out; the late
  // answer arrives meanwhile and is thrown away, nothing is sent.
  EXPECT_EQ(r.ex.ComCommand("I02\r"), "");
  EXPECT_TRUE(r.port.written.empty());
  r.port.reply("CFRESH");
  EXPECT_EQ(r.ex.ComCommand("I02\r"), "CFRESH");
  EXPECT_EQ(r.port.written, (Lines{"I02\r"}));
}

TEST(Exchange, ClosedOrUnopenablePortGivesEmptyWithoutSending) {
  VirtualClock clock;
  ScriptedPort port{clock};
  port.openable = false;
  Exchange ex{port, clock};
  ex.ComPortOpen("/dev/absent");
  EXPECT_FALSE(ex.isOpen());
  EXPECT_EQ(ex.ComCommand("G00\r"), "");
  EXPECT_TRUE(port.written.empty());
  EXPECT_EQ(ex.portName(), "/dev/absent");
}

TEST(Link, GroupReadStepsAndTheirResults) {
  Rig r;
  r.port.reply("COK");
  r.port.reply("CMNTSW:Q5");
  EXPECT_EQ(r.link.GroupItemRead("00", "01"), "MNTSW:Q5");
  EXPECT_EQ(r.port.written, (Lines{"G00\r", "I01\r"}));

  // "CNG" to the group line: empty, nothing counted, no item line sent.
  r.port.written.clear();
  r.port.reply("CNG");
  EXPECT_EQ(r.link.GroupItemRead("01", "00"), "");
  EXPECT_EQ(r.port.written, (Lines{"G01\r"}));
  EXPECT_EQ(r.link.ReadErrorCount(), 0);

  // "CNG" to the item line: "CNG", counted and logged, and the retry form stops there.
  r.port.written.clear();
  r.port.reply("COK");
  r.port.reply("CNG");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "01", "00"), "CNG");
  EXPECT_EQ(r.port.written, (Lines{"G01\r", "I00\r"}));
  EXPECT_EQ(r.link.ReadErrorCount(), 1);
  EXPECT_EQ(r.link.ErrorLog(), "G01 I00");

  // "CNU": "NEEDLESS", nothing counted, no retry.
  r.port.written.clear();
  r.port.reply("CNU");
  EXPECT_EQ(r.link.ItemReadRetry(3, "16"), "NEEDLESS");
  EXPECT_EQ(r.port.written, (Lines{"I16\r"}));
  EXPECT_EQ(r.link.ReadErrorCount(), 1);

  // Item-read log form, and a value keeps its leading zero.
  r.port.reply("CNG");
  r.link.ItemRead("29");
  EXPECT_EQ(r.link.ErrorLog(), "I29");
  r.port.reply("C0123");
  EXPECT_EQ(r.link.ItemRead("29"), "0123");
}

TEST(Link, ReadRetryMakesRetryPlusOneAttemptsOnSilence) {
  Rig r;
  r.port.silence();
  r.port.silence();
  EXPECT_EQ(r.link.GroupItemReadRetry(1, "00", "01"), "");
  EXPECT_EQ(r.port.written, (Lines{"G00\r", "G00\r"}));  // two attempts, item never named
  r.port.written.clear();
  // Silence on the first attempt's item line, an answer on the second attempt.
  r.port.reply("COK");
  r.port.silence();
  r.port.reply("COK");
  r.port.reply("C 7 ");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "1", "20"), "7");
  EXPECT_EQ(r.port.written, (Lines{"G1\r", "I20\r", "G1\r", "I20\r"}));
}

TEST(Link, WriteStepsRetriesCountersAndLogs) {
  Rig r;
  // Accepted write returns "OK".
  r.port.reply("COK");
  r.port.reply("COK");
  r.port.reply("COK");
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "00", "01", "F"), "OK");
  EXPECT_EQ(r.port.written, (Lines{"G00\r", "I01\r", "DF\r"}));

  // "CNU" to the data line: empty, counted; the retry form tries four times, counts four.
  r.port.written.clear();
  for (int i = 0; i < 4; ++i) {
    r.port.reply("COK");
    r.port.reply("COK");
    r.port.reply("CNU");
  }
  EXPECT_EQ(r.link.GroupItemWriteRetry(3, "2", "11", "5"), "");
  EXPECT_EQ(r.port.written.size(), 12u);
  EXPECT_EQ(r.port.written[11], "D5\r");
  EXPECT_EQ(r.link.WriteErrorCount(), 4);
  EXPECT_EQ(r.link.ErrorLog(), "G2 I11 D5");

  // "CNG" to the item line of a write: the data is never sent, nothing counted.
  r.port.written.clear();
  r.port.reply("CNG");
  EXPECT_EQ(r.link.ItemWrite("12", "FF"), "");
  EXPECT_EQ(r.port.written, (Lines{"I12\r"}));
  EXPECT_EQ(r.link.WriteErrorCount(), 4);

  // No reply to the data line counts too; item-write log form.
  r.port.reply("COK");
  r.port.silence();
  EXPECT_EQ(r.link.ItemWrite("12", "FF"), "");
  EXPECT_EQ(r.link.WriteErrorCount(), 5);
  EXPECT_EQ(r.link.ErrorLog(), "I12 DFF");
}

TEST(Link, AReplyThatDoesNotStartWithCIsNoReply) {
  Rig r;
  // Noise in front of a value would otherwise reach the page as the value.
  r.port.reply("COK");
  r.port.reply("~#~CTAG:Q5T3NML3-6-AI4");
  r.port.reply("COK");
  r.port.reply("CTAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.link.GroupItemReadRetry(3, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(r.port.written, (Lines{"G00\r", "I02\r", "G00\r", "I02\r"}));
  EXPECT_EQ(r.link.ReadErrorCount(), 0);
  // A garbled answer to a data line counts as a failed write and is tried again.
  r.port.written.clear();
  r.port.reply("OK");   // item line answered with noise: nothing counted
  r.port.reply("COK");
  r.port.reply("xOK");  // data line answered with noise: counted
  r.port.reply("COK");
  r.port.reply("COK");
  EXPECT_EQ(r.link.ItemWriteRetry(3, "11", "3"), "OK");
  EXPECT_EQ(r.port.written, (Lines{"I11\r", "I11\r", "D3\r", "I11\r", "D3\r"}));
  EXPECT_EQ(r.link.WriteErrorCount(), 1);
  EXPECT_EQ(r.link.ErrorLog(), "I11 D3");
}

TEST(Link, CountersStopAtTheTopOfTheirRange) {
  Rig r;
  for (int i = 0; i < 32770; ++i) r.port.reply("CNG");
  for (int i = 0; i < 32770; ++i) r.link.ItemRead("01");
  EXPECT_EQ(r.link.ReadErrorCount(), 32767);
}

class SilentDialogs : public q5::ui::UserDialogs {
 public:
  void message(const std::string& text, const std::string& caption, q5::ui::Icon icon) override {
    messages.push_back(caption + "|" + text);
  }
  bool ask(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override {
    return {};
  }
  std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
    return {};
  }
  void progressOpen(double, const std::string&) override {}
  void progressStep() override {}
  void progressClose() override {}
  std::vector<std::string> messages;
};

TEST(TextRoutines, ReplyValues) {
  using namespace q5::link;
  EXPECT_EQ(ValueAfterColon("A:B:C"), "B:C");
  EXPECT_EQ(ValueAfterColon("ABC"), "ABC");
  EXPECT_EQ(ValueAfterColon(""), "");
  EXPECT_EQ(ValueBeforeColon("MNTSW:1.0"), "MNTSW");
  EXPECT_EQ(ValueBeforeColon("MNTSW"), "MNTSW");
  EXPECT_EQ(ValueAfterX("0x00FF"), "00FF");
  EXPECT_EQ(ValueAfterX("00FF"), "00FF");
  EXPECT_EQ(RemovePoint("12.34"), "1234");
  EXPECT_EQ(RemovePoint("-1.2.3"), "-12.3");
  EXPECT_EQ(RemovePoint("15"), "15");
  EXPECT_EQ(HexDigitValue("9"), 9);
  EXPECT_EQ(HexDigitValue("F"), 15);
  EXPECT_EQ(HexDigitValue("a"), 0);
  EXPECT_EQ(HexDigitValue("12"), 12);
  EXPECT_EQ(HexDigitValue("16"), 16);
  EXPECT_EQ(HexDigitValue("17"), 0);
  EXPECT_EQ(FillLeft("7", "0", 4), "0007");
  EXPECT_EQ(FillLeft("12345", "0", 4), "12345");
  EXPECT_EQ(FillLeft("7", "", 4), "7");
  EXPECT_EQ(FillLeft("7", "xy", 3), "xx7");
}

TEST(TextRoutines, SplitDottedNeverFailsOnShortAddresses) {
  using q5::link::SplitDotted;
  EXPECT_EQ(SplitDotted("192.168.0.10"),
            (std::array<std::string, 4>{"192", "168", "0", "10"}));
  EXPECT_EQ(SplitDotted("1.2.3.4.5"), (std::array<std::string, 4>{"1", "2", "3", "4.5"}));
  EXPECT_EQ(SplitDotted("10.1"), (std::array<std::string, 4>{"10", "1", "", ""}));
  EXPECT_EQ(SplitDotted(""), (std::array<std::string, 4>{"", "", "", ""}));
}

TEST(TextRoutines, CheckNumberInputAcceptsOnly0To32767) {
  SilentDialogs d;
  using q5::link::CheckNumberInput;
  EXPECT_EQ(CheckNumberInput("", d), 0);
  EXPECT_EQ(CheckNumberInput("123.4", d), 123);
  EXPECT_EQ(CheckNumberInput("32767", d), 32767);
  EXPECT_TRUE(d.messages.empty());
  const std::string msg = "Q5CFG|Please enter number.\r\n0 to 32767.";
  for (const char* bad : {"1.5", "-1", "+12", "40000", "abc", "0x10", "12a"}) {
    d.messages.clear();
    EXPECT_EQ(CheckNumberInput(bad, d), 0) << bad;
    EXPECT_EQ(d.messages, std::vector<std::string>{msg}) << bad;
  }
}

// A line that hands each character of the reply over as it arrives, at 9600 baud (as a
// driver in low-latency mode does), and counts how often the exchange waits for it.
class CharacterPort : public q5::link::Port {
 public:
  explicit CharacterPort(VirtualClock& clock) : clock_(clock) {}
  std::string next;  // the reply to the next line written, CR included
  int waits = 0;
  std::int64_t crAtUs = -1;  // when the reply's CR arrived
  bool open(const std::string&, int) override { return open_ = true; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  bool setBaudRate(int) override { return true; }
  std::size_t bytesWaiting() override { return due(); }
  bool write(std::string_view) override {
    start_ = clock_.nowUs() + 2000;
    reply_ = next;
    taken_ = 0;
    crAtUs = start_ + static_cast<std::int64_t>(reply_.size()) * 10'000'000 / 9600;
    return true;
  }
  std::string readAll() override {
    const std::size_t n = due();
    std::string s = reply_.substr(taken_, n);
    taken_ += n;
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    ++waits;
    if (taken_ >= reply_.size()) return clock_.advanceTo(deadlineUs);
    clock_.advanceTo(std::min(deadlineUs, arrival(taken_ + 1)));
  }

 private:
  std::int64_t arrival(std::size_t k) const {
    return start_ + static_cast<std::int64_t>(k) * 10'000'000 / 9600;
  }
  std::size_t due() const {
    std::size_t k = taken_;
    while (k < reply_.size() && arrival(k + 1) <= clock_.nowUs()) ++k;
    return k - taken_;
  }
  VirtualClock& clock_;
  bool open_ = false;
  std::string reply_;
  std::size_t taken_ = 0;
  std::int64_t start_ = 0;
};

// Once a reply has begun the exchange does not look at the line again until the shortest
// reply could be complete, and the reply is still taken the moment its CR arrives; a
// reply shorter than that is taken at most two character times late.
TEST(Exchange, AReplyBegunIsNotLookedAtPerCharacter) {
  VirtualClock clock;
  CharacterPort port(clock);
  Exchange ex(port, clock);
  ex.ComPortOpen("test");
  port.next = "COK\r";
  EXPECT_EQ(ex.ComCommand("G00\r"), "COK");
  EXPECT_EQ(port.waits, 1);  // for the "C"; "OK" and the CR came during the sleep
  EXPECT_EQ(clock.nowUs(), port.crAtUs);

  port.waits = 0;
  port.next = "CVER:1.05\r";
  EXPECT_EQ(ex.ComCommand("I06\r"), "CVER:1.05");
  EXPECT_EQ(port.waits, 1 + 6);  // the "C", then each character after the fourth
  EXPECT_EQ(clock.nowUs(), port.crAtUs);

  port.next = "C\r";
  EXPECT_EQ(ex.ComCommand("I88\r"), "C");
  EXPECT_LE(clock.nowUs() - port.crAtUs, 2 * 10'000'000 / 9600 + 1);
}

}  // namespace
