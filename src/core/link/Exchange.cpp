#include "link/Exchange.h"

#include <charconv>

namespace q5::link {

std::string TrimSpaces(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
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
}

bool Exchange::applyBaudRate() { return port_.isOpen() && port_.setBaudRate(baud()); }

std::string Exchange::ComCommand(std::string_view line) {
  clock_.sleepUs(kPauseUs);
  return TrimSpaces(ComTransfer(line));
}

std::string Exchange::ComTransfer(std::string_view line) {
  if (!port_.isOpen()) {
    trace(TraceEvent::NotOpen, line);
    return {};
  }
  // Characters left over from an earlier reply (a late answer after a time-out, line
  // noise) would be taken for the answer to this line. Nothing is sent; the leftovers
  // are thrown away so that the caller's next attempt starts on a clean line.
  if (port_.bytesWaiting() > 0) {
    trace(TraceEvent::Discarded, readChunk());
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
  for (;;) {
    if (port_.bytesWaiting() > 0) {
      const std::string chunk = readChunk();
      // Only the end of the latest chunk is tested for the CR.
      const bool complete = !chunk.empty() && chunk.back() == '\r';
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
        if (overflow) return {};
        break;
      }
    }
    if (!port_.isOpen()) {
      trace(TraceEvent::NotOpen, reply);  // closed under the exchange (unplugged)
      return {};
    }
    if (clock_.nowUs() >= deadline) {
      trace(TraceEvent::TimedOut, reply);
      return {};
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
