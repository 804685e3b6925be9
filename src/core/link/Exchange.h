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
  Refused,    // the line holds a control character inside it; nothing was sent
              // (text: the line)
  Stale,      // characters that followed a reply's CR, or arrived after a time-out:
              // kept for the next exchange, which throws them away (text: them)
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
  // After a time-out the line is left quiet this long before the next command goes out:
  // an answer that comes late (just after the time-out) then arrives before the next
  // command and is thrown away, instead of being taken for the answer to it and putting
  // every later reply one line out of step.
  static constexpr std::int64_t kLateGraceUs = 700'000;
  // The longest command line sent (its CR included). A data text longer than this is
  // not a value the unit can take; it is refused like a control character.
  static constexpr std::size_t kMaxLineBytes = 128;
  // The shortest reply, its CR included ("COK", "CNG", "CNU" and CR). Once a reply has
  // begun, the rest of the shortest one takes its characters' time on the wire; the
  // exchange sleeps that long instead of waking for each character as it comes.
  static constexpr std::size_t kShortestReplyBytes = 4;

  Exchange(Port& port, Clock& clock) : port_(port), clock_(clock) {}

  // Opens the named port with the current baud text; nothing happens when the port is
  // already open. Failure is silent: the port stays closed and the next exchange fails.
  void ComPortOpen(const std::string& portName);
  void ComPortClose();
  bool isOpen() const { return port_.isOpen(); }

  // One exchange: the reply without its CR and without leading or trailing blanks, or
  // the empty text when there is no usable reply.
  std::string ComCommand(std::string_view line);
  // The raw exchange: the reply up to its first CR (what follows the CR is the start of
  // another reply and is thrown away before the next command), or the empty text.
  //
  // A line holding a control character (below 0x20, or 0x7F) anywhere but in its
  // terminating CR (or CR LF) is never sent: the exchange returns the empty text at
  // once and refusal() says why. Nor is a line longer than kMaxLineBytes.
  std::string ComTransfer(std::string_view line);
  // Why the last exchange sent nothing because of its line ("a control character (\n)"),
  // or "" when it was not refused.
  const std::string& refusal() const { return refusal_; }
  // The reason a line would be refused, or "" when it may be sent. A terminating CR or
  // CR LF is allowed.
  static std::string LineFault(std::string_view line);
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
  // Replies that came in time for the line just sent: a complete reply (or an overlong
  // one) that started after the line went out. Late characters thrown away as stale do
  // not count. The transactions tell a silent (or always late) unit by whether this
  // moved.
  std::uint64_t answers() const { return answers_; }
  // How many times the port was opened successfully (a new connection starts afresh).
  std::uint64_t opens() const { return opens_; }
  // Lines written to the port. An exchange that returned nothing without moving this
  // sent nothing (the port was closed, or leftovers of an earlier reply were waiting and
  // were thrown away): the line may be sent again without the unit seeing it twice.
  std::uint64_t linesSent() const { return linesSent_; }
  // Lines whose reply did not come within the time-out (the wait ran to its end).
  std::uint64_t timeOuts() const { return timeOuts_; }

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
  std::uint64_t timeOuts_ = 0;
  std::uint64_t answers_ = 0;
  std::string stale_;            // characters after a reply's CR, for the next exchange
  std::int64_t quietUntilUs_ = 0;  // after a time-out: the end of the late-answer grace
  std::string refusal_;
  TraceObserver trace_;
};

// Removes leading and trailing blanks (spaces only).
std::string TrimSpaces(std::string_view text);

// A control character as a person reads it: "\n", "\r", "\t", else "\xNN".
std::string ControlName(char c);

}  // namespace q5::link
