#include "link/Exchange.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace q5::link {

std::string TrimSpaces(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string ControlName(char c) {
  switch (c) {
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
  }
  static const char kHex[] = "0123456789ABCDEF";
  const auto u = static_cast<unsigned char>(c);
  return std::string("\\x") + kHex[u >> 4] + kHex[u & 0x0F];
}

std::string Exchange::LineFault(std::string_view line) {
  std::string_view body = line;
  if (body.size() >= 2 && body.substr(body.size() - 2) == "\r\n")
    body.remove_suffix(2);
  else if (!body.empty() && body.back() == '\r')
    body.remove_suffix(1);
  for (char c : body) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return "a control character (" + ControlName(c) + ")";
  }
  if (line.size() > kMaxLineBytes)
    return "a line of " + std::to_string(line.size()) + " characters (at most " +
           std::to_string(kMaxLineBytes) + ")";
  return {};
}

int Exchange::baud() const {
  int value = 9600;
  auto [p, ec] = std::from_chars(baudText_.data(), baudText_.data() + baudText_.size(), value);
  return ec == std::errc() && value > 0 ? value : 9600;
}

void Exchange::ComPortOpen(const std::string& portName) {
  if (port_.isOpen()) return;
  portName_ = portName;
  // Failure is silent: the identification read fails instead.
  if (port_.open(portName, baud())) ++opens_;
}

void Exchange::ComPortClose() {
  if (port_.isOpen()) port_.close();
  // A new connection starts on a clean line.
  stale_.clear();
  quietUntilUs_ = 0;
}

bool Exchange::applyBaudRate() { return port_.isOpen() && port_.setBaudRate(baud()); }

std::string Exchange::ComCommand(std::string_view line) {
  clock_.sleepUs(kPauseUs);
  return TrimSpaces(ComTransfer(line));
}

std::string Exchange::ComTransfer(std::string_view line) {
  refusal_.clear();
  // The last guard under every path that carries a text to the unit: a control
  // character inside a line would end it early on a unit or converter that takes LF as
  // the end of a line, and the rest would be taken as another command.
  if (std::string fault = LineFault(line); !fault.empty()) {
    refusal_ = std::move(fault);
    trace(TraceEvent::Refused, line);
    return {};
  }
  if (!port_.isOpen()) {
    trace(TraceEvent::NotOpen, line);
    return {};
  }
  // After a time-out the answer may still be on its way: the line is left quiet for a
  // moment, and what arrives meanwhile is late, not the answer to the next line.
  while (clock_.nowUs() < quietUntilUs_ && port_.bytesWaiting() == 0 && port_.isOpen())
    port_.waitForBytes(quietUntilUs_);
  quietUntilUs_ = 0;
  // Characters left over from an earlier reply (a late answer after a time-out, the
  // rest of a line that held two replies, line noise) would be taken for the answer to
  // this line. Nothing is sent; the leftovers are thrown away so that the caller's next
  // attempt starts on a clean line.
  if (!stale_.empty() || port_.bytesWaiting() > 0) {
    std::string leftovers = std::exchange(stale_, {});
    if (port_.isOpen() && port_.bytesWaiting() > 0) leftovers += readChunk();
    trace(TraceEvent::Discarded, leftovers);
    return {};
  }
  // The time-out runs from before the write and is not restarted by arriving characters.
  const std::int64_t deadline = clock_.nowUs() + kReplyTimeoutUs;
  if (!port_.write(line)) {
    trace(TraceEvent::NotOpen, line);
    return {};
  }
  ++linesSent_;
  trace(TraceEvent::Sent, line);
  std::string reply;
  bool overflow = false;  // past kMaxReplyBytes: reading on to the CR, keeping nothing
  bool gathered = false;  // the sleep for the rest of the shortest reply is behind us
  for (;;) {
    if (port_.bytesWaiting() > 0) {
      std::string chunk = readChunk();
      // The reply ends at the first CR; what follows it belongs to another reply (a
      // doubled answer, a late one) and is kept to be thrown away before the next line.
      const std::size_t cr = chunk.find('\r');
      const bool complete = cr != std::string::npos;
      if (complete && cr + 1 < chunk.size()) {
        stale_.assign(chunk, cr + 1, std::string::npos);
        if (stale_.size() > kMaxReplyBytes) stale_.resize(kMaxReplyBytes);
        trace(TraceEvent::Stale, stale_);
        chunk.resize(cr + 1);
      }
      if (!overflow && reply.size() + chunk.size() > kMaxReplyBytes) {
        overflow = true;
        reply.append(chunk, 0, kMaxReplyBytes - reply.size());
        trace(TraceEvent::Overflow, reply);
        reply.clear();
        reply.shrink_to_fit();
      } else if (!overflow) {
        reply += chunk;
      }
      if (complete) {
        ++answers_;  // the unit is talking, even when what it said is unusable
        if (overflow) return {};
        break;
      }
    }
    if (!port_.isOpen()) {
      trace(TraceEvent::NotOpen, reply);  // closed under the exchange (unplugged)
      return {};
    }
    if (clock_.nowUs() >= deadline) {
      ++timeOuts_;
      trace(TraceEvent::TimedOut, reply);
      quietUntilUs_ = clock_.nowUs() + kLateGraceUs;
      return {};
    }
    if (!gathered && !reply.empty() && reply.size() < kShortestReplyBytes) {
      gathered = true;
      // A reply has begun and cannot be complete before the shortest reply's remaining
      // characters have crossed the line: no look at the line before then (a driver in
      // low-latency mode would otherwise wake the exchange for every character).
      const std::int64_t rest =
          static_cast<std::int64_t>(kShortestReplyBytes - reply.size()) * 10'000'000 / baud();
      clock_.sleepUs(std::min(deadline, clock_.nowUs() + rest) - clock_.nowUs());
      continue;
    }
    port_.waitForBytes(deadline);
  }
  trace(TraceEvent::Received, reply);
  reply.pop_back();  // the CR
  return reply;
}

std::string Exchange::readChunk() {
  std::string chunk = port_.readAll();
  bytesReceived_ += chunk.size();
  return chunk;
}

}  // namespace q5::link
