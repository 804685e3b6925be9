#pragma once
// The one exchange on which every device operation rests: pause 10 ms, send one
// command line, collect the reply up to its CR, give up 3000 ms after the send began.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/Clock.h"
#include "link/Port.h"

namespace q5::link {

// What a trace observer is told about the wire.
enum class TraceEvent {
  Sent,       // a command line was written (text includes its CR)
  Received,   // a complete reply arrived (text includes its CR)
  TimedOut,   // no complete reply in time (text: what had arrived, discarded)
  Overflow,   // the reply outgrew kMaxReplyBytes (text: its first bytes); the rest of
              // that line is read and thrown away, and the exchange counts as no reply
  Discarded,  // characters were waiting before the send; nothing was sent
  NotOpen,    // an exchange was attempted on a closed port, or the port closed while
              // the exchange waited (text: what had arrived, discarded)
};
using TraceObserver = std::function<void(TraceEvent, std::string_view text, std::int64_t atUs)>;

class Exchange {
 public:
  static constexpr std::int64_t kPauseUs = 10'000;        // before every command line
  static constexpr std::int64_t kReplyTimeoutUs = 3'000'000;
  // The longest reply kept. Every reply of the protocol is a few dozen characters; a
  // line that grows past this (a unit or adapter streaming without CR) is not a reply,
  // and memory stays bounded however long it streams.
  static constexpr std::size_t kMaxReplyBytes = 4096;

  Exchange(Port& port, Clock& clock) : port_(port), clock_(clock) {}

  // Opens the named port with the current baud text; nothing happens when the port is
  // already open. Failure is silent: the port stays closed and the next exchange fails.
  void ComPortOpen(const std::string& portName);
  void ComPortClose();
  bool isOpen() const { return port_.isOpen(); }

  // One exchange: the reply without its CR and without leading or trailing blanks
  // (CR, LF and tabs inside are kept), or the empty text when there is no usable reply.
  std::string ComCommand(std::string_view line);
  // The raw exchange: the reply without its final CR, or the empty text.
  std::string ComTransfer(std::string_view line);
  // A wait of ms milliseconds that keeps the user interface responsive.
  void WaitFor(int ms) { clock_.waitUs(std::int64_t{ms} * 1000); }

  // The name of the port last given to ComPortOpen ("" before the first).
  const std::string& portName() const { return portName_; }
  // First field of the line settings; the firmware transfer switches it to "115200".
  const std::string& baudText() const { return baudText_; }
  void setBaudText(std::string baud) { baudText_ = std::move(baud); }
  // Applies the current baud text to an open port.
  bool applyBaudRate();

  // Characters received from the unit since this exchange was made (stale ones and the
  // discarded rest of an overlong line included). The transactions tell a silent unit
  // from one that answers badly by whether this moved.
  std::uint64_t bytesReceived() const { return bytesReceived_; }
  // How many times the port was opened successfully (a new connection starts afresh).
  std::uint64_t opens() const { return opens_; }
  // Lines written to the port. An exchange that returned nothing without moving this
  // sent nothing (the port was closed, or leftovers of an earlier reply were waiting and
  // were thrown away): the line may be sent again without the unit seeing it twice.
  std::uint64_t linesSent() const { return linesSent_; }

  void setTraceObserver(TraceObserver observer) { trace_ = std::move(observer); }
  Port& port() { return port_; }
  Clock& clock() { return clock_; }

 private:
  int baud() const;
  void trace(TraceEvent e, std::string_view text) {
    if (trace_) trace_(e, text, clock_.nowUs());
  }

  Port& port_;
  Clock& clock_;
  std::string readChunk();

  std::string portName_;
  std::string baudText_ = "9600";
  std::uint64_t bytesReceived_ = 0;
  std::uint64_t opens_ = 0;
  std::uint64_t linesSent_ = 0;
  TraceObserver trace_;
};

// Removes leading and trailing blanks (spaces only).
std::string TrimSpaces(std::string_view text);

}  // namespace q5::link
