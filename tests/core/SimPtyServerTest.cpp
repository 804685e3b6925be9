// The simulated unit served on a pseudo-terminal, reached through a plain terminal
// descriptor by the real exchange and transactions: repeated opens and closes by the
// client, pieces reassembled over the terminal, and a port that vanishes.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "link/TextRoutines.h"
#include "sim/SimPtyServer.h"

namespace {

using q5::link::SystemClock;

// A serial port on a terminal device, as small as the exchange allows. Closes itself on
// the first hang-up or error, so a vanished unit shows as a closed port.
class TerminalPort : public q5::link::Port {
 public:
  explicit TerminalPort(q5::link::Clock& clock) : clock_(clock) {}
  ~TerminalPort() override { close(); }
  bool open(const std::string& name, int) override {
    fd_ = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return false;
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
    return true;
  }
  void close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool isOpen() const override { return fd_ >= 0; }
  bool setBaudRate(int) override { return isOpen(); }
  std::size_t bytesWaiting() override {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &n) != 0) return 0;
    return static_cast<std::size_t>(n);
  }
  bool write(std::string_view data) override {
    return fd_ >= 0 && ::write(fd_, data.data(), data.size()) == static_cast<ssize_t>(data.size());
  }
  std::string readAll() override {
    std::string s;
    char buf[256];
    ssize_t n;
    while (fd_ >= 0 && (n = ::read(fd_, buf, sizeof buf)) > 0) s.append(buf, static_cast<std::size_t>(n));
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    if (fd_ < 0) return;
    const std::int64_t left = deadlineUs - clock_.nowUs();
    if (left <= 0) return;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>((left + 999) / 1000)) > 0 &&
        (p.revents & (POLLHUP | POLLERR)) && bytesWaiting() == 0)
      close();
  }

 private:
  q5::link::Clock& clock_;
  int fd_ = -1;
};

struct Served {
  explicit Served(std::string model, std::vector<std::string> faults = {})
      : unit(std::move(model)), line(unit), server(line) {
    for (const auto& f : faults) EXPECT_TRUE(line.addFault(f)) << f;
    std::string error;
    ok = server.open(&error);
    EXPECT_TRUE(ok) << error;
    if (ok) thread = std::thread([this] { served = server.serve(clock); });
  }
  ~Served() { finish(); }
  void finish() {
    if (thread.joinable()) {
      server.stop();
      thread.join();
    }
  }
  SystemClock clock;
  q5::sim::SimulatedUnit unit;
  q5::sim::SimLine line;
  q5::sim::SimPtyServer server;
  std::thread thread;
  bool ok = false;
  bool served = false;
};

TEST(SimPtyServer, ClientOpensAndClosesRepeatedly) {
  Served s("Q5Z3UCIE-SG2-9/F1");
  ASSERT_TRUE(s.ok);
  SystemClock clock;
  TerminalPort port(clock);
  q5::link::Exchange ex(port, clock);
  q5::link::Link link(ex);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    ex.ComPortOpen(s.server.slavePath());
    ASSERT_TRUE(ex.isOpen());
    EXPECT_EQ(q5::link::ValueBeforeColon(link.GroupItemReadRetry(1, "00", "01")), "MNTSW");
    EXPECT_EQ(link.GroupItemWriteRetry(3, "00", "01", "F"), "OK");
    EXPECT_EQ(q5::link::ValueAfterColon(link.ItemReadRetry(3, "02")), "Q5Z3UCIE-SG2-9/F1");
    EXPECT_EQ(q5::link::ValueAfterColon(link.ItemReadRetry(3, "03")), "2CHs");
    ex.ComPortClose();
  }
  s.finish();
  EXPECT_TRUE(s.served);
  EXPECT_EQ(s.line.linesReceived(), 4u * 7u);
  EXPECT_EQ(s.line.lineCount("DF"), 4);
}

TEST(SimPtyServer, PiecesOverTheTerminalAndAVanishingPort) {
  Served s("Q5T3NML3-6-AI4", {"chunks:00/02:1:2", "vanish:#5"});
  ASSERT_TRUE(s.ok);
  SystemClock clock;
  TerminalPort port(clock);
  q5::link::Exchange ex(port, clock);
  q5::link::Link link(ex);
  ex.ComPortOpen(s.server.slavePath());
  ASSERT_TRUE(ex.isOpen());
  EXPECT_EQ(link.GroupItemReadRetry(0, "00", "02"), "TAG:Q5T3NML3-6-AI4");
  EXPECT_EQ(link.GroupItemReadRetry(0, "00", "06"), "VER:1.05");
  // Line 5 unplugs the unit: the exchange fails at once instead of waiting 3 s.
  const std::int64_t t0 = clock.nowUs();
  EXPECT_EQ(link.GroupItemReadRetry(3, "00", "06"), "");
  EXPECT_LT(clock.nowUs() - t0, 1'500'000);
  EXPECT_FALSE(ex.isOpen());
  s.thread.join();
  EXPECT_TRUE(s.server.vanished());
  EXPECT_EQ(s.line.linesReceived(), 5u);
}

}  // namespace
