#include "qtlink/PortList.h"

#include <QSerialPortInfo>

namespace q5::qtlink {

std::vector<PortEntry> ListPorts() {
  std::vector<PortEntry> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    PortEntry e;
    e.name = info.portName().toStdString();
    e.location = info.systemLocation().toStdString();
    const std::string description = info.description().toStdString();
    e.label = description.empty() ? e.name : description + " (" + e.name + ")";
    ports.push_back(std::move(e));
  }
  return ports;
}

std::vector<std::string> SimulatedPortExamples() {
  return {"sim:Q5T3NML3-6-AI4", "sim:Q5W3ND-BI32A-I", "sim:Q5W3UD-BO16A-H",
          "sim:Q5T3NML3-6-TC4", "sim:Q5Z3UCIE-SG2-9/F1"};
}

}  // namespace q5::qtlink
