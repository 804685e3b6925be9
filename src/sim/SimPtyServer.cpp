#include "sim/SimPtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <cstring>

namespace q5::sim {
namespace {

int SpeedOf(speed_t s) {
  switch (s) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
  }
}

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

// Writes what the terminal takes now; the rest stays in pending. False on an error.
bool WriteSome(int fd, std::string& pending) {
  while (!pending.empty()) {
    ssize_t n = ::write(fd, pending.data(), pending.size());
    if (n > 0) {
      pending.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
  return true;
}

}  // namespace

SimPtyServer::~SimPtyServer() {
  closeAll();
  if (wake_[0] >= 0) ::close(wake_[0]);
  if (wake_[1] >= 0) ::close(wake_[1]);
}

void SimPtyServer::closeAll() {
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  master_ = slave_ = -1;
}

bool SimPtyServer::open(std::string* error) {
  if (master_ >= 0) return true;
  if (wake_[0] < 0 && ::pipe(wake_) != 0) return Fail(error, "pipe");
  for (int fd : wake_) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return Fail(error, "posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    Fail(error, "grantpt/unlockpt");
    closeAll();
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    Fail(error, "ptsname");
    closeAll();
    return false;
  }
  slavePath_ = name;
  slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    Fail(error, "open " + slavePath_);
    closeAll();
    return false;
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  termios tio{};
  if (tcgetattr(slave_, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(slave_, TCSANOW, &tio);
  }
  slaveBaud_ = 9600;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  return true;
}

void SimPtyServer::stop() {
  stop_ = true;
  if (wake_[1] >= 0) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_[1], &c, 1);  // async-signal-safe
  }
}

bool SimPtyServer::serve(link::Clock& clock, std::int64_t endUs, int watchFd) {
  if (master_ < 0) return false;
#ifdef __linux__
  // A character lasts 1042 us at 9600 baud and 87 us at 115200. The kernel may defer a
  // timed wake-up by this thread's timer slack (50 us by default) to batch it with others;
  // the line hands over its bytes on time, so ask for wake-ups to the microsecond.
  prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
  std::string outgoing;
  char buf[4096];
  while (!stop_) {
    const std::int64_t now = clock.nowUs();
    if (endUs >= 0 && now >= endUs) return true;
    // Taken only as fast as the terminal accepts them (a flood must not pile up here).
    if (outgoing.size() < 64 * 1024) outgoing += line_.take(now);
    if (!WriteSome(master_, outgoing)) return false;

    // Sleep until input, the next reply byte's time, or the end. The time-out is exact
    // to the microsecond: rounded up to whole milliseconds, as poll() takes it, every
    // reply would reach the client up to a millisecond after its last byte was due.
    std::int64_t waitUs = -1;
    auto until = [&](std::int64_t at) {
      if (at < 0) return;
      const std::int64_t us = at > now ? at - now : 0;
      if (waitUs < 0 || us < waitUs) waitUs = us;
    };
    if (outgoing.size() < 64 * 1024) until(line_.nextArrivalUs());
    until(endUs);
    timespec timeout{};
    if (waitUs >= 0) {
      timeout.tv_sec = static_cast<time_t>(waitUs / 1'000'000);
      timeout.tv_nsec = static_cast<long>(waitUs % 1'000'000) * 1000;
    }
    pollfd fds[3] = {
        {master_, static_cast<short>(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0},
        {wake_[0], POLLIN, 0},
        {watchFd, POLLIN, 0}};
    const int n = ppoll(fds, watchFd >= 0 ? 3 : 2, waitUs >= 0 ? &timeout : nullptr, nullptr);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[1].revents & POLLIN) {
      while (::read(wake_[0], buf, sizeof buf) > 0) {
      }
      continue;  // stop_ is looked at above
    }
    if (watchFd >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
      if (::read(watchFd, buf, sizeof buf) <= 0) return true;  // closed: the parent is gone
    }
    if ((fds[0].revents & (POLLHUP | POLLERR)) && !(fds[0].revents & POLLIN)) {
      usleep(10'000);  // nobody on the other side for a moment; do not spin
      continue;
    }
    if (!(fds[0].revents & POLLIN)) continue;
    const ssize_t r = ::read(master_, buf, sizeof buf);
    if (r > 0) {
      {
        // Follow the rate when the client switches it (the firmware transfer runs at
        // 115200): the line timing uses it, and a unit at another rate does not
        // understand the line. Until the client switches, the line's own rate holds.
        termios cur{};
        if (tcgetattr(slave_, &cur) == 0) {
          const int b = SpeedOf(cfgetospeed(&cur));
          if (b > 0 && b != slaveBaud_) line_.setBaud(b);
          if (b > 0) slaveBaud_ = b;
        }
      }
      line_.receive(std::string_view(buf, static_cast<std::size_t>(r)), clock.nowUs());
      if (line_.vanished()) {
        // Unplugged: the terminal goes away; the client's reads and writes fail.
        vanished_ = true;
        closeAll();
        return true;
      }
    } else if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return false;  // EIO only when no slave is open, which our own descriptor prevents
    }
  }
  return true;
}

}  // namespace q5::sim
