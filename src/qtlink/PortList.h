#pragma once
// The serial ports present on this computer, for the port dialog and "q5cfg-cli ports".
#include <string>
#include <vector>

namespace q5::qtlink {

struct PortEntry {
  std::string label;     // "description (port name)", e.g. "USB Serial (ttyUSB0)"
  std::string name;      // the port name ("ttyUSB0")
  std::string location;  // what to open: the system location ("/dev/ttyUSB0")
};

// Every port the system reports, in its order, with no limit on their number or names.
// Pseudo-terminals are not reported; their path can be typed wherever a port is taken.
std::vector<PortEntry> ListPorts();

// A few simulated units offered next to the real ports ("sim:Q5T3NML3-6-AI4", ...), so
// every page can be tried without hardware.
std::vector<std::string> SimulatedPortExamples();

}  // namespace q5::qtlink
