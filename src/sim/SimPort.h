#pragma once
// An in-process serial port with a simulated unit at the other end. Port names
// "sim:MODEL" choose the unit's model ("sim:Q5T3NML3-6-AI4"); any other name opens the
// unit the port already has. The baud rate given to open / setBaudRate sets the line
// timing's character time.
//
// Waiting never busy-polls: waitForBytes waits on the clock (Clock::waitUs) until the
// CR of the reply on its way has arrived (with no CR on its way, the next byte) or the
// deadline, whichever is first. With a VirtualClock that
// moves the clock there at once (a 3000 ms time-out costs no real time); with a real
// clock it sleeps (or runs the window loop, for a clock that does).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/Clock.h"
#include "link/Port.h"
#include "sim/SimLine.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

struct SimOptions {
  UnitOptions unit;
  LineOptions line;
  // Faults in their text form (SimFault.h); a malformed one throws std::invalid_argument.
  std::vector<std::string> faults;
};

class SimPort : public link::Port {
 public:
  explicit SimPort(link::Clock& clock, SimOptions options = {});

  bool open(const std::string& name, int baud) override;
  void close() override;
  bool isOpen() const override;
  bool setBaudRate(int baud) override;
  std::size_t bytesWaiting() override;
  bool write(std::string_view data) override;
  std::string readAll() override;
  void waitForBytes(std::int64_t deadlineUs) override;

  SimulatedUnit& unit() { return *unit_; }
  SimLine& line() { return line_; }
  // Shorthands for tests: line().addFault(faultText) that throws on a malformed faultText.
  SimPort& fault(std::string_view faultText);
  // How many times this port was opened successfully.
  int opens() const { return opens_; }

  // True for names of simulated units ("sim:" + model).
  static bool IsSimName(std::string_view name) { return name.substr(0, 4) == "sim:"; }

 private:
  link::Clock& clock_;
  SimOptions options_;
  std::unique_ptr<SimulatedUnit> unit_;
  SimLine line_;
  bool open_ = false;
  int opens_ = 0;
};

// A closed SimPort with a unit of the model (options.unit.model is replaced by model).
std::unique_ptr<SimPort> MakeSimPort(std::string model, link::Clock& clock,
                                     SimOptions options = {});

}  // namespace q5::sim
