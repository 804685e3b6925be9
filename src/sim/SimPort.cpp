#include "sim/SimPort.h"

#include <stdexcept>

namespace q5::sim {

SimPort::SimPort(link::Clock& clock, SimOptions options)
    : clock_(clock),
      options_(std::move(options)),
      unit_(std::make_unique<SimulatedUnit>(options_.unit)),
      line_(*unit_, options_.line) {
  for (const std::string& faultText : options_.faults) fault(faultText);
}

SimPort& SimPort::fault(std::string_view faultText) {
  std::string error;
  if (!line_.addFault(faultText, &error))
    throw std::invalid_argument("fault \"" + std::string(faultText) + "\": " + error);
  return *this;
}

bool SimPort::open(const std::string& name, int baud) {
  if (open_ || line_.vanished()) return false;
  if (IsSimName(name)) {
    const std::string model = name.substr(4);
    if (!model.empty() && model != unit_->model()) {
      // Another unit on the line: a fresh one of that model.
      options_.unit.model = model;
      unit_ = std::make_unique<SimulatedUnit>(options_.unit);
      line_.setUnit(*unit_);
    }
  }
  line_.flush();
  line_.setBaud(baud);
  open_ = true;
  ++opens_;
  return true;
}

void SimPort::close() {
  open_ = false;
  line_.flush();
}

bool SimPort::isOpen() const { return open_ && !line_.vanished(); }

bool SimPort::setBaudRate(int baud) {
  if (!isOpen() || baud <= 0) return false;
  line_.setBaud(baud);
  return true;
}

std::size_t SimPort::bytesWaiting() { return isOpen() ? line_.available(clock_.nowUs()) : 0; }

bool SimPort::write(std::string_view data) {
  if (!isOpen()) return false;
  line_.receive(data, clock_.nowUs());
  if (line_.vanished()) open_ = false;  // unplugged: closed from now on
  return true;
}

std::string SimPort::readAll() { return isOpen() ? line_.take(clock_.nowUs()) : std::string(); }

void SimPort::waitForBytes(std::int64_t deadlineUs) {
  if (!isOpen()) return;
  const std::int64_t now = clock_.nowUs();
  if (line_.available(now) > 0) return;
  // A reply is read up to its CR, so the wait runs to the CR's arrival when one is on its
  // way: one wait per reply rather than one per character (a character every 1.04 ms at
  // 9600 baud), each of which costs a window pass in the window's waits. What arrives
  // by the deadline is the same either way.
  const std::int64_t lineEnd = line_.lineEndArrivalUs();
  const std::int64_t next = lineEnd >= 0 ? lineEnd : line_.nextArrivalUs();
  const std::int64_t until = next >= 0 && next < deadlineUs ? next : deadlineUs;
  if (until > now) clock_.waitUs(until - now);
}

std::unique_ptr<SimPort> MakeSimPort(std::string model, link::Clock& clock, SimOptions options) {
  options.unit.model = std::move(model);
  return std::make_unique<SimPort>(clock, std::move(options));
}

}  // namespace q5::sim
