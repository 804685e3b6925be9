#pragma once
// The port the exchange talks through, chosen by name at each open: "sim:MODEL" opens
// an in-process simulated unit of that model, anything else (a device path such as
// /dev/ttyUSB0, a pseudo-terminal path, or a bare port name such as ttyUSB0; on Windows
// COM3 or the device path \\.\COM10, which ports from COM10 up may need) opens a serial
// line through QSerialPort.
#include <functional>
#include <memory>
#include <string>

#include "link/Clock.h"
#include "link/Port.h"
#include "qtlink/QtSerialPort.h"
#include "qtlink/WaitMode.h"

namespace q5::qtlink {

inline constexpr std::string_view kSimPrefix = "sim:";

// True for names of the form "sim:MODEL".
bool IsSimulatedPortName(std::string_view name);

class PortSwitch : public link::Port {
 public:
  // Makes the in-process unit for a model; nullptr when it cannot.
  using SimFactory = std::function<std::unique_ptr<link::Port>(const std::string& model)>;

  // clock: the exchange's clock (serial waits and the simulated unit's line timing use it).
  PortSwitch(link::Clock& clock, WaitMode mode);
  ~PortSwitch() override;

  // Replaces how simulated units are made (tests, line timing on or off). By default a
  // simulated unit of the model with line timing at the port's baud rate.
  void setSimFactory(SimFactory factory) {
    simFactory_ = std::move(factory);
    if (active_ == sim_.get()) active_ = nullptr;
    sim_.reset();
  }

  bool open(const std::string& name, int baud) override;
  void close() override;
  bool isOpen() const override;
  bool setBaudRate(int baud) override;
  std::size_t bytesWaiting() override;
  bool write(std::string_view data) override;
  std::string readAll() override;
  void waitForBytes(std::int64_t deadlineUs) override;

  // Cancel of a sequence: the exchange now waiting ends as usual, and the next command
  // line is not sent: the port closes instead, so every later exchange of the sequence
  // fails at once without touching the wire. The next open clears it.
  void closeBeforeNextWrite() { closeBeforeNextWrite_ = true; }
  bool closingBeforeNextWrite() const { return closeBeforeNextWrite_; }
  void keepOpen() { closeBeforeNextWrite_ = false; }

  // The port in use since the last open (nullptr before the first or after a failure).
  link::Port* active() { return active_; }
  QtSerialPort& serial() { return serial_; }
  // Why the last open failed ("" when it worked).
  const std::string& lastError() const { return lastError_; }

 private:
  link::Clock& clock_;
  QtSerialPort serial_;
  std::unique_ptr<link::Port> sim_;
  std::string simModel_;  // the model of sim_
  link::Port* active_ = nullptr;
  SimFactory simFactory_;
  std::string lastError_;
  bool closeBeforeNextWrite_ = false;
};

}  // namespace q5::qtlink
