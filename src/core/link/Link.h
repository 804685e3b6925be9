#pragma once
// The command transactions of the configuration protocol: select a group ("G"), name an
// item ("I"), send data ("D"); replies "COK", "CNG", "CNU" or "C" + value. Failure is a
// value: the empty text (or "CNG" / "NEEDLESS" for reads), never an exception.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/Exchange.h"

namespace q5::link {

class Link {
 public:
  explicit Link(Exchange& exchange) : ex_(exchange) {}

  std::string GroupItemRead(std::string_view group, std::string_view item);
  std::string ItemRead(std::string_view item);
  std::string GroupItemWrite(std::string_view group, std::string_view item, std::string_view data);
  std::string ItemWrite(std::string_view item, std::string_view data);

  // Retry forms: at most retry + 1 attempts, stopping at the first non-empty result
  // (blanks trimmed). "CNG" and "NEEDLESS" end the loop at once.
  std::string GroupItemReadRetry(int retry, std::string_view group, std::string_view item);
  std::string ItemReadRetry(int retry, std::string_view item);
  std::string GroupItemWriteRetry(int retry, std::string_view group, std::string_view item,
                                  std::string_view data);
  std::string ItemWriteRetry(int retry, std::string_view item, std::string_view data);

  // Reads refused with "CNG" at the item step; writes whose data step got "CNU", "CNG"
  // or no reply. 16-bit signed like the debug window shows them; they stop at 32767
  // rather than wrap round to negative counts.
  std::int16_t ReadErrorCount() const { return readErrors_; }
  std::int16_t WriteErrorCount() const { return writeErrors_; }
  // The command codes of the most recent failed transaction ("G01 I00", "I02 D5", ...).
  const std::string& ErrorLog() const { return errorLog_; }

  Exchange& exchange() { return ex_; }

  // --- A unit that is gone, and a sequence asked to stop ------------------------------
  // Within a sequence (markSequence() .. endSequence()), three transactions in a row that
  // sent a line and got no answer in time (late characters, thrown away after a
  // time-out, are no answer; a unit that always answers late is as gone as a silent
  // one) mean the
  // unit is gone: every later transaction of the sequence fails at once without
  // sending, so the sequence ends with its message within about three time-outs instead
  // of walking the rest of the page. A refusal ("CNG") or noise is an answer from a live
  // unit and ends a run of silent transactions. A closed port fails every transaction
  // at once too. Outside a sequence (a page's own button) every transaction is tried.
  static constexpr int kSilentTransactionsToGiveUp = 3;
  bool gaveUp() const { return gaveUp_; }

  // Stop, Cancel, Ctrl-C: the exchange under way finishes, then every transaction returns
  // no reply without sending until clearStop() (or markSequence()).
  void requestStop() { stopRequested_ = true; }
  void clearStop() { stopRequested_ = false; }
  bool stopRequested() const { return stopRequested_; }
  // Called before every exchange of a transaction (the command line turns a Ctrl-C into
  // a Stop here, between two exchanges).
  void setBeforeExchange(std::function<void()> hook) { beforeExchange_ = std::move(hook); }

  // What failed since markSequence(): reads that got no usable reply and writes that were
  // refused or unanswered, each counted once after its retries, and whether the unit was
  // given up or the port was found closed. Transactions a Stop ended are not counted.
  //
  // Only what went out counts as refused or unanswered; reads and writes that a give-up
  // or a closed port ended before they sent a line are counted apart, as not sent, and
  // never become the "last" one named.
  struct Failures {
    int unansweredReads = 0;
    int failedWrites = 0;
    int refusedReads = 0;     // reads the unit refused while refusals are failures
    int unsentReads = 0;
    int unsentWrites = 0;
    int refusedLines = 0;     // lines never sent: a control character inside, or too long
    bool gaveUp = false;
    bool portClosed = false;
    std::string lastFailed;   // the command codes of the last one ("G1 I20 D5")
    std::string lastRefusedRead;  // "G01 I28 (CNG)"
    std::string lastRefusedLine;  // "G1 I20 D5\x0A6: a control character (\n)"
    bool any() const {
      return unansweredReads || failedWrites || refusedReads || unsentReads || unsentWrites ||
             refusedLines || gaveUp || portClosed;
    }
    // In words: "2 writes refused or unanswered (last: G1 I20 D5); the port closed".
    // Data texts are shown with their control characters escaped.
    std::string describe() const;
  };
  // While set (a page reading the unit's settings at Upload), a read the unit answers
  // with "CNG" or "CNU" is a failure: it returns the empty text, as an unanswered read
  // does, and is recorded in refusedReads, so no refusal is ever kept as a setting.
  void setRefusalsFail(bool on) { refusalsFail_ = on; }
  bool refusalsFail() const { return refusalsFail_; }
  // Starts a sequence: the failures are cleared, the run of silent transactions and a
  // give-up are forgotten, and a Stop request is dropped.
  void markSequence();
  // Ends it: a give-up and a Stop are forgotten (the failures stay to be read), so what
  // comes after the sequence talks to the unit afresh.
  void endSequence() {
    inSequence_ = false;
    gaveUp_ = false;
    silentRun_ = 0;
    stopRequested_ = false;
  }
  const Failures& failures() const { return failures_; }
  // Data lines ("D" + data) that went out to the unit since the program started.
  std::uint64_t dataLinesSent() const { return dataLinesSent_; }

 private:
  // One transaction: runs body, then counts it as silent or not and as failed or not.
  // isWrite and codes describe it for the failure record.
  template <typename Body>
  std::string transaction(bool isWrite, std::string codes, Body body);
  // One exchange of a transaction, unless a Stop, a give-up or a closed port ends the
  // transaction first (then: the empty text, sent false).
  std::string command(char code, std::string_view text, bool& sent);
  template <typename Attempt>
  std::string retrying(int retry, bool isWrite, std::string codes, Attempt attempt);

  static void countUp(std::int16_t& counter) {
    if (counter < INT16_MAX) ++counter;
  }
  void recordFailure(bool isWrite, bool sent, const std::string& codes);
  std::string readItemStep(std::string_view item, std::string_view logPrefix);
  std::string writeItemSteps(std::string_view item, std::string_view data,
                             std::string_view logPrefix);

  Exchange& ex_;
  std::int16_t readErrors_ = 0;
  std::int16_t writeErrors_ = 0;
  std::string errorLog_;

  bool inSequence_ = false;
  int silentRun_ = 0;
  bool gaveUp_ = false;
  bool stopRequested_ = false;
  std::uint64_t unstoppedTimeOuts_ = 0;  // time-outs run out with no Stop pressed meanwhile
  bool refusalsFail_ = false;
  bool lineRefused_ = false;  // the transaction under way had a line refused
  bool sentInRetry_ = false;  // a line went out during the retry form under way
  std::uint64_t exchanges_ = 0;
  std::uint64_t dataLinesSent_ = 0;  // exchanges made by transactions
  std::uint64_t opensAtGiveUp_ = 0;
  int retryDepth_ = 0;  // inside a retry form: the retry counts the failure once
  std::function<void()> beforeExchange_;
  Failures failures_;
};

}  // namespace q5::link
