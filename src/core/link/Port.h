#pragma once
// What the exchange needs of a serial line. Implemented by the QSerialPort adapter
// (a real device or a pseudo-terminal), by SimPort (a simulated unit in-process) and
// by test doubles.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace q5::link {

class Port {
 public:
  virtual ~Port() = default;

  // Opens the named port at the baud rate, no parity, 8 data bits, 1 stop bit.
  // Returns false (and stays closed) when the port is absent or in use.
  virtual bool open(const std::string& name, int baud) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Changes the baud rate of an open port (the firmware transfer runs at 115200).
  virtual bool setBaudRate(int baud) = 0;

  // Number of received characters waiting to be read.
  virtual std::size_t bytesWaiting() = 0;
  // Sends the characters; false when the port refused them.
  virtual bool write(std::string_view data) = 0;
  // Reads every waiting character as one chunk (may be empty).
  virtual std::string readAll() = 0;
  // Returns when characters are waiting, the port closed, or the clock passed
  // deadlineUs (on the clock the exchange was given). Never busy-polls.
  virtual void waitForBytes(std::int64_t deadlineUs) = 0;
};

}  // namespace q5::link
