#include "qtlink/PortSwitch.h"

#include "sim/SimPort.h"

namespace q5::qtlink {

bool IsSimulatedPortName(std::string_view name) {
  return name.size() > kSimPrefix.size() && name.substr(0, kSimPrefix.size()) == kSimPrefix;
}

PortSwitch::PortSwitch(link::Clock& clock, WaitMode mode)
    : clock_(clock), serial_(clock, mode) {
  // A simulated unit behaves like a real one on the wire: every character costs its
  // time at the baud rate, so pages and monitoring run at the pace of a real unit.
  simFactory_ = [this](const std::string& model) -> std::unique_ptr<link::Port> {
    sim::SimOptions options;
    options.line.lineTiming = true;
    return sim::MakeSimPort(model, clock_, options);
  };
}

PortSwitch::~PortSwitch() { close(); }

bool PortSwitch::open(const std::string& name, int baud) {
  if (active_ && active_->isOpen()) return true;
  closeBeforeNextWrite_ = false;
  active_ = nullptr;
  lastError_.clear();
  if (IsSimulatedPortName(name)) {
    const std::string model = name.substr(kSimPrefix.size());
    // The same simulated unit stays on the line across Disconnect and Connect, so what
    // was written to it is still there; a unit of another model replaces it.
    if (!sim_ || simModel_ != model) {
      sim_ = simFactory_ ? simFactory_(model) : nullptr;
      simModel_ = model;
    }
    if (!sim_) {
      lastError_ = "no simulated unit for " + model;
      return false;
    }
    if (!sim_->open(name, baud)) {
      lastError_ = "simulated unit refused to open";
      return false;
    }
    active_ = sim_.get();
    return true;
  }
  if (!serial_.open(name, baud)) {
    lastError_ = serial_.lastError();
    return false;
  }
  active_ = &serial_;
  return true;
}

void PortSwitch::close() {
  if (active_) active_->close();
}

bool PortSwitch::isOpen() const { return active_ && active_->isOpen(); }

bool PortSwitch::setBaudRate(int baud) { return active_ && active_->setBaudRate(baud); }

std::size_t PortSwitch::bytesWaiting() { return active_ ? active_->bytesWaiting() : 0; }

bool PortSwitch::write(std::string_view data) {
  if (closeBeforeNextWrite_) {
    close();
    return false;
  }
  return active_ && active_->write(data);
}

std::string PortSwitch::readAll() { return active_ ? active_->readAll() : std::string{}; }

void PortSwitch::waitForBytes(std::int64_t deadlineUs) {
  if (active_) active_->waitForBytes(deadlineUs);
}

}  // namespace q5::qtlink
