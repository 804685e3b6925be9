#include "link/Link.h"

#include <utility>

#include "link/TextRoutines.h"

namespace q5::link {
namespace {

// Every reply of the unit starts with "C". Anything else is line noise or the tail of an
// earlier answer: taken as no reply, so the retry asks again instead of passing the
// noise on as a value.
bool isReply(const std::string& r) { return !r.empty() && r[0] == 'C'; }

std::string line(char code, std::string_view text) {
  std::string s;
  s.reserve(text.size() + 2);
  s += code;
  s += text;
  s += '\r';
  return s;
}

}  // namespace

std::string Link::Failures::describe() const {
  std::string s;
  auto add = [&s](const std::string& part) {
    if (!s.empty()) s += "; ";
    s += part;
  };
  auto count = [](int n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
  };
  if (portClosed) add("the port closed");
  else if (gaveUp) add("the unit stopped answering");
  if (refusedLines)
    add(count(refusedLines, " line", " lines") + " not sent (" + EscapeControls(lastRefusedLine) + ")");
  if (refusedReads)
    add(count(refusedReads, " read", " reads") + " refused by the unit (" +
        EscapeControls(lastRefusedRead) + ")");
  if (failedWrites) add(count(failedWrites, " write", " writes") + " refused or unanswered");
  if (unansweredReads) add(count(unansweredReads, " read", " reads") + " without a usable reply");
  if (!lastFailed.empty() && (failedWrites || unansweredReads))
    s += " (last: " + EscapeControls(lastFailed) + ")";
  if (unsentWrites || unsentReads) {
    std::string part;
    if (unsentWrites) part = count(unsentWrites, " write", " writes");
    if (unsentReads) part += (part.empty() ? "" : " and ") + count(unsentReads, " read", " reads");
    add(part + " not sent");
  }
  return s;
}

void Link::markSequence() {
  inSequence_ = true;
  failures_ = Failures{};
  silentRun_ = 0;
  gaveUp_ = false;
  stopRequested_ = false;
}

template <typename Body>
std::string Link::transaction(bool isWrite, std::string codes, Body body) {
  const std::uint64_t answersBefore = ex_.answers();
  const std::uint64_t sentBefore = ex_.linesSent();
  const std::uint64_t timeOutsBefore = unstoppedTimeOuts_;
  lineRefused_ = false;
  std::string result = body();
  if (!ex_.isOpen() && !stopRequested_) failures_.portClosed = true;
  const bool sent = ex_.linesSent() != sentBefore;
  // Silent: lines went out on an open port and no answer came back in time.
  if (inSequence_ && sent && ex_.isOpen()) {
    if (ex_.answers() != answersBefore) {
      silentRun_ = 0;
    } else if (++silentRun_ >= kSilentTransactionsToGiveUp && !gaveUp_) {
      gaveUp_ = true;
      opensAtGiveUp_ = ex_.opens();
      failures_.gaveUp = true;
    }
  }
  if (lineRefused_) {
    ++failures_.refusedLines;
    failures_.lastRefusedLine = codes + ": " + ex_.refusal();
    lineRefused_ = false;
    return {};
  }
  if (!isWrite && refusalsFail_ && (result == "CNG" || result == "NEEDLESS")) {
    ++failures_.refusedReads;
    failures_.lastRefusedRead = codes + (result == "CNG" ? " (CNG)" : " (CNU)");
    return {};
  }
  // A failure is recorded once per call of a retry form (or of a single form called on
  // its own), and not when a Stop ended it, unless a line of it had waited out its
  // whole time-out before: that one really went unanswered.
  if (result.empty() && (!stopRequested_ || unstoppedTimeOuts_ != timeOutsBefore) && retryDepth_ == 0)
    recordFailure(isWrite, sent, codes);
  if (sent) sentInRetry_ = true;
  return result;
}

void Link::recordFailure(bool isWrite, bool sent, const std::string& codes) {
  if (!sent) {
    if (isWrite) ++failures_.unsentWrites;
    else ++failures_.unsentReads;
    return;
  }
  if (isWrite) ++failures_.failedWrites;
  else ++failures_.unansweredReads;
  failures_.lastFailed = codes;
}

std::string Link::command(char code, std::string_view text, bool& sent) {
  sent = false;
  if (beforeExchange_) beforeExchange_();
  if (stopRequested_) return {};
  // A unit given up stays given up until the port is opened again.
  if (gaveUp_ && ex_.opens() != opensAtGiveUp_) {
    gaveUp_ = false;
    silentRun_ = 0;
  }
  if (gaveUp_) return {};
  if (!ex_.isOpen()) {
    failures_.portClosed = true;
    return {};
  }
  ++exchanges_;
  const std::uint64_t before = ex_.linesSent();
  const std::uint64_t timeOutsBefore = ex_.timeOuts();
  std::string reply = ex_.ComCommand(line(code, text));
  sent = ex_.linesSent() != before;
  // A line that waited out its time-out with no Stop pressed meanwhile really went
  // unanswered; one whose wait a Stop came into was ended by the Stop.
  if (ex_.timeOuts() != timeOutsBefore && !stopRequested_) ++unstoppedTimeOuts_;
  if (sent && code == 'D') ++dataLinesSent_;
  if (!sent && !ex_.refusal().empty()) lineRefused_ = true;
  return reply;
}

std::string Link::readItemStep(std::string_view item, std::string_view logPrefix) {
  bool sent = false;
  std::string r = command('I', item, sent);
  if (!isReply(r)) return {};
  if (r == "CNG") {
    countUp(readErrors_);
    errorLog_ = std::string(logPrefix) + "I" + std::string(item);
    return "CNG";
  }
  if (r == "CNU") return "NEEDLESS";
  return r.substr(1);
}

std::string Link::writeItemSteps(std::string_view item, std::string_view data,
                                 std::string_view logPrefix) {
  bool sent = false;
  std::string r = command('I', item, sent);
  if (!isReply(r) || r == "CNU" || r == "CNG") return {};
  r = command('D', data, sent);
  // Stopped, given up, closed or refused before the data line went out: not the unit's
  // doing.
  if (!sent) return {};
  if (!isReply(r) || r == "CNU" || r == "CNG") {
    countUp(writeErrors_);
    errorLog_ = std::string(logPrefix) + "I" + std::string(item) + " D" + std::string(data);
    return {};
  }
  return r.substr(1);
}

std::string Link::GroupItemRead(std::string_view group, std::string_view item) {
  return transaction(false, "G" + std::string(group) + " I" + std::string(item),
                     [&]() -> std::string {
                       bool sent = false;
                       if (command('G', group, sent) != "COK") return {};
                       return readItemStep(item, "G" + std::string(group) + " ");
                     });
}

std::string Link::ItemRead(std::string_view item) {
  return transaction(false, "I" + std::string(item), [&] { return readItemStep(item, ""); });
}

std::string Link::GroupItemWrite(std::string_view group, std::string_view item,
                                 std::string_view data) {
  return transaction(true,
                     "G" + std::string(group) + " I" + std::string(item) + " D" + std::string(data),
                     [&]() -> std::string {
                       bool sent = false;
                       if (command('G', group, sent) != "COK") return {};
                       return writeItemSteps(item, data, "G" + std::string(group) + " ");
                     });
}

std::string Link::ItemWrite(std::string_view item, std::string_view data) {
  return transaction(true, "I" + std::string(item) + " D" + std::string(data),
                     [&] { return writeItemSteps(item, data, ""); });
}

template <typename Attempt>
std::string Link::retrying(int retry, bool isWrite, std::string codes, Attempt attempt) {
  std::string result;
  ++retryDepth_;
  const bool outerSent = std::exchange(sentInRetry_, false);
  const int refusedBefore = failures_.refusedLines + failures_.refusedReads;
  const std::uint64_t timeOutsBefore = unstoppedTimeOuts_;
  for (int n = 0; n <= retry; ++n) {
    result = TrimSpaces(attempt());
    if (!result.empty() || stopRequested_ || gaveUp_ || !ex_.isOpen()) break;
    // A refused line or a refused read is not asked again: it would be refused again.
    if (failures_.refusedLines + failures_.refusedReads != refusedBefore) break;
  }
  --retryDepth_;
  const bool sent = std::exchange(sentInRetry_, outerSent) ;
  // A Stop between two attempts does not hide an attempt that waited out its time-out.
  if (result.empty() && (!stopRequested_ || unstoppedTimeOuts_ != timeOutsBefore) &&
      failures_.refusedLines + failures_.refusedReads == refusedBefore)
    recordFailure(isWrite, sent, codes);
  if (sent) sentInRetry_ = true;
  return result;
}

std::string Link::GroupItemReadRetry(int retry, std::string_view group, std::string_view item) {
  return retrying(retry, false, "G" + std::string(group) + " I" + std::string(item),
                  [&] { return GroupItemRead(group, item); });
}

std::string Link::ItemReadRetry(int retry, std::string_view item) {
  return retrying(retry, false, "I" + std::string(item), [&] { return ItemRead(item); });
}

std::string Link::GroupItemWriteRetry(int retry, std::string_view group, std::string_view item,
                                      std::string_view data) {
  return retrying(retry, true,
                  "G" + std::string(group) + " I" + std::string(item) + " D" + std::string(data),
                  [&] { return GroupItemWrite(group, item, data); });
}

std::string Link::ItemWriteRetry(int retry, std::string_view item, std::string_view data) {
  return retrying(retry, true, "I" + std::string(item) + " D" + std::string(data),
                  [&] { return ItemWrite(item, data); });
}

}  // namespace q5::link
