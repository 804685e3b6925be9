#pragma once
// A serial line (a device such as /dev/ttyUSB0 or COM3, or a pseudo-terminal path) behind the
// core's Port interface, over QSerialPort: 8 data bits, no parity, 1 stop bit, no flow
// control. Replies are collected as raw chunks; the exchange frames them on CR.
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <cstdint>
#include <string>

#include "link/Clock.h"
#include "link/Port.h"
#include "qtlink/WaitMode.h"

namespace q5::qtlink {

class QtSerialPort : public QObject, public link::Port {
  Q_OBJECT
 public:
  // clock: the clock whose time waitForBytes deadlines are given on.
  QtSerialPort(link::Clock& clock, WaitMode mode, QObject* parent = nullptr);
  ~QtSerialPort() override;

  bool open(const std::string& name, int baud) override;
  void close() override;
  bool isOpen() const override;
  bool setBaudRate(int baud) override;
  std::size_t bytesWaiting() override;
  bool write(std::string_view data) override;
  std::string readAll() override;
  void waitForBytes(std::int64_t deadlineUs) override;

  // Why the port last failed to open or was closed by an error ("" when none).
  const std::string& lastError() const { return lastError_; }
  // Whether the low-latency mode of the serial driver was switched on at open (USB
  // adapters then hand over replies at once instead of after their latency timer).
  bool lowLatency() const { return lowLatency_; }

 private:
  void onError(QSerialPort::SerialPortError error);
  void trySetLowLatency();
  int remainingMs(std::int64_t deadlineUs);

  link::Clock& clock_;
  WaitMode mode_;
  QSerialPort port_;
  // EventLoop mode: the timer armed for the current reply's deadline, so that the wait
  // wakes when it passes. One exchange waits several times (a reply comes in several
  // chunks) for the same deadline; the timer is armed once.
  QTimer deadlineTimer_;
  std::int64_t armedDeadlineUs_ = -1;
  // EventLoop mode: between passes over the window events (see WindowEventsDue), the
  // wait is on the line alone.
  std::int64_t lastEventsUs_ = 0;  // when a wait last let the window events in
  std::string lastError_;
  bool lowLatency_ = false;
};

}  // namespace q5::qtlink
