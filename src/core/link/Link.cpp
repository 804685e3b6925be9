#include "link/Link.h"

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
  if (portClosed) add("the port closed");
  else if (gaveUp) add("the unit stopped answering");
  if (failedWrites)
    add(std::to_string(failedWrites) + (failedWrites == 1 ? " write" : " writes") +
        " refused or unanswered");
  if (unansweredReads)
    add(std::to_string(unansweredReads) + (unansweredReads == 1 ? " read" : " reads") +
        " without a usable reply");
  if (!lastFailed.empty() && (failedWrites || unansweredReads)) s += " (last: " + lastFailed + ")";
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
  const std::uint64_t bytesBefore = ex_.bytesReceived();
  const std::uint64_t exchangesBefore = exchanges_;
  std::string result = body();
  if (!ex_.isOpen() && !stopRequested_) failures_.portClosed = true;
  // Silent: exchanges were made on an open port and not one character came back.
  if (inSequence_ && exchanges_ != exchangesBefore && ex_.isOpen()) {
    if (ex_.bytesReceived() != bytesBefore) {
      silentRun_ = 0;
    } else if (++silentRun_ >= kSilentTransactionsToGiveUp && !gaveUp_) {
      gaveUp_ = true;
      opensAtGiveUp_ = ex_.opens();
      failures_.gaveUp = true;
    }
  }
  // A failure is recorded once per call of a retry form (or of a single form called on
  // its own), and not when a Stop ended it.
  if (result.empty() && !stopRequested_ && retryDepth_ == 0) {
    if (isWrite) ++failures_.failedWrites;
    else ++failures_.unansweredReads;
    failures_.lastFailed = std::move(codes);
  }
  return result;
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
  sent = true;
  ++exchanges_;
  return ex_.ComCommand(line(code, text));
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
  if (!sent) return {};  // stopped, given up or closed before the data line: not the unit's doing
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
  for (int n = 0; n <= retry; ++n) {
    result = TrimSpaces(attempt());
    if (!result.empty() || stopRequested_ || gaveUp_ || !ex_.isOpen()) break;
  }
  --retryDepth_;
  if (result.empty() && !stopRequested_) {
    if (isWrite) ++failures_.failedWrites;
    else ++failures_.unansweredReads;
    failures_.lastFailed = std::move(codes);
  }
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
