#include "qtlink/QtSerialPort.h"

#include <QCoreApplication>
#include <algorithm>

#include "qtlink/EventLoopYield.h"
#include "qtlink/SerialDriver.h"

namespace q5::qtlink {

QtSerialPort::QtSerialPort(link::Clock& clock, WaitMode mode, QObject* parent)
    : QObject(parent), clock_(clock), mode_(mode) {
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
  deadlineTimer_.setSingleShot(true);
  deadlineTimer_.setTimerType(Qt::PreciseTimer);
}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(const std::string& name, int baud) {
  if (port_.isOpen()) return true;
  lastError_.clear();
  port_.setPortName(QString::fromStdString(name));
  if (!port_.open(QIODevice::ReadWrite)) {
    if (lastError_.empty()) lastError_ = port_.errorString().toStdString();
    port_.close();
    return false;
  }
  const bool settled = port_.setBaudRate(baud) && port_.setDataBits(QSerialPort::Data8) &&
                       port_.setParity(QSerialPort::NoParity) &&
                       port_.setStopBits(QSerialPort::OneStop) &&
                       port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!settled || !port_.isOpen()) {
    if (lastError_.empty()) lastError_ = port_.errorString().toStdString();
    port_.close();
    return false;
  }
  trySetLowLatency();
  // Whatever the line held before we opened it is not an answer to anything we sent.
  port_.clear(QSerialPort::AllDirections);
  return true;
}

void QtSerialPort::trySetLowLatency() { lowLatency_ = SetDriverLowLatency(port_); }

void QtSerialPort::close() {
  if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

bool QtSerialPort::setBaudRate(int baud) { return port_.isOpen() && port_.setBaudRate(baud); }

std::size_t QtSerialPort::bytesWaiting() {
  if (!port_.isOpen()) return 0;
  // Bytes reach QSerialPort's buffer only when it looks at the line; take a look
  // without waiting so characters already in the driver count as waiting.
  if (port_.bytesAvailable() == 0) port_.waitForReadyRead(0);
  return port_.isOpen() ? static_cast<std::size_t>(port_.bytesAvailable()) : 0;
}

bool QtSerialPort::write(std::string_view data) {
  if (!port_.isOpen()) return false;
  // A command line is a few characters and the driver takes them at once; where the
  // system allows, they go straight to it (see SerialDriver.h).
  data.remove_prefix(WriteToDriver(port_, data));
  if (data.empty()) return true;
  const qint64 n = port_.write(data.data(), static_cast<qint64>(data.size()));
  if (n != static_cast<qint64>(data.size())) return false;
  // Hand the line to the driver now rather than when the event loop next runs.
  port_.flush();
  if (mode_ == WaitMode::Blocking && port_.isOpen() && port_.bytesToWrite() > 0) {
    port_.waitForBytesWritten(1000);
  }
  return port_.isOpen();
}

std::string QtSerialPort::readAll() {
  if (!port_.isOpen()) return {};
  const QByteArray bytes = port_.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int QtSerialPort::remainingMs(std::int64_t deadlineUs) {
  const std::int64_t left = deadlineUs - clock_.nowUs();
  if (left <= 0) return 0;
  return static_cast<int>((left + 999) / 1000);  // round up: never wake before the deadline
}

void QtSerialPort::waitForBytes(std::int64_t deadlineUs) {
  if (!port_.isOpen() || port_.bytesAvailable() > 0) return;
  const int ms = remainingMs(deadlineUs);
  if (ms <= 0) return;
  if (mode_ == WaitMode::Blocking) {
    port_.waitForReadyRead(ms);  // sleeps in select() until the line has bytes
    return;
  }
  // A reply comes a character at a time (about 1 ms apart at 9600 baud, each handed over
  // at once by a low-latency driver). Between passes over the window events (see
  // WindowEventsDue) the wait is on the line alone: select() until bytes arrive, the
  // next pass is due, or the deadline.
  const std::int64_t now = clock_.nowUs();
  if (!WindowEventsDue(now, lastEventsUs_)) {
    port_.waitForReadyRead(remainingMs(std::min(deadlineUs, lastEventsUs_ + kWindowEventsEveryUs)));
    return;
  }
  if (!deadlineTimer_.isActive() || armedDeadlineUs_ != deadlineUs) {
    deadlineTimer_.start(ms);
    armedDeadlineUs_ = deadlineUs;
  }
  RunYieldHook();
  // One pass of the thread's event loop, sleeping until something happens: the line's
  // bytes (readyRead), a port error, the deadline timer, or any window event. The
  // exchange looks at the line after every return and waits again when nothing came.
  // A nested QEventLoop ended by quit() would cost a wake-up of the loop's own (a write
  // and a read of its wake-up descriptor, and one more poll) for every character.
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  lastEventsUs_ = clock_.nowUs();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError ||
      error == QSerialPort::NotOpenError) {
    return;
  }
  lastError_ = port_.errorString().toStdString();
  // An unplugged adapter shows as an endless stream of errors; stop listening to the
  // line at once. The next exchange finds the port closed and returns no reply.
  if (port_.isOpen()) port_.close();
}

}  // namespace q5::qtlink
