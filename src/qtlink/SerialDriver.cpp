#include "qtlink/SerialDriver.h"

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace q5::qtlink {

#ifdef __linux__

bool SetDriverLowLatency(QSerialPort& port) {
  // USB-serial adapters hold received bytes for their latency timer (16 ms on common
  // chips) unless the driver is in low-latency mode. Drivers without the request
  // (pseudo-terminals: ENOTTY, some adapters: EINVAL) are left as they are.
  const int fd = static_cast<int>(port.handle());
  if (fd < 0) return false;
  serial_struct ss{};
  if (::ioctl(fd, TIOCGSERIAL, &ss) != 0) return false;
  if (ss.flags & ASYNC_LOW_LATENCY) return true;
  ss.flags |= ASYNC_LOW_LATENCY;
  return ::ioctl(fd, TIOCSSERIAL, &ss) == 0;
}

std::size_t WriteToDriver(QSerialPort& port, std::string_view data) {
  // Only when QSerialPort holds nothing unsent, so the order of bytes on the line stays.
  const int fd = static_cast<int>(port.handle());
  if (fd < 0 || port.bytesToWrite() != 0) return 0;
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // full (EAGAIN) or failing: QSerialPort writes the rest or reports the error
    }
  }
  return done;
}

#else

bool SetDriverLowLatency(QSerialPort&) { return false; }

std::size_t WriteToDriver(QSerialPort&, std::string_view) { return 0; }

#endif

}  // namespace q5::qtlink
