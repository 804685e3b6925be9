// q5sim: a simulated Remote I/O Q5 unit on a pseudo-terminal. Prints the terminal's
// path as its first line on stdout, then answers the configuration protocol on it until
// it is killed, its stdin closes (when stdin is a pipe or a terminal) or --max-seconds
// pass. Any serial program can open that path as if it were the unit's COM port.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "sim/SimLine.h"
#include "sim/SimulatedUnit.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

const char kUsage[] =
    "usage: q5sim [options]\n"
    "  --model M             model string (default Q5T3NML3-6-AI4)\n"
    "  --version V           firmware version of item 06 (default 1.05)\n"
    "  --channels N          channel count of item 03 (default: from the module part)\n"
    "  --uninitialised       item 03 answers a value beginning with N\n"
    "  --uninitialised-value T  that value (default NG)\n"
    "  --node-info T         text of item 88 after \"Q5CFG:\"\n"
    "  --unknown-item R      reply to unknown items: CNG (default) or CNU\n"
    "  --timing              every character costs 10 bits at the line's baud rate\n"
    "  --baud B              baud rate for --timing when the client sets none (9600)\n"
    "  --turnaround-ms T     pause before every reply (default 0)\n"
    "  --fault SPEC          inject a fault (repeatable), KIND[:TARGET][:PARAM...][*N][+K]\n"
    "                        KIND noreply|late[:MS]|chunks[:N[:MS]]|garbage[:TEXT]|\n"
    "                        stale[:TEXT[:MS]]|cng|cnu|reply:TEXT|vanish\n"
    "                        TARGET GG/II (item line), GG/II/D (data line), #N (N-th line),\n"
    "                        =TEXT (lines with that text); none: every line\n"
    "  --log FILE            write the transcript (every line and reply, with times)\n"
    "  --link PATH           also make PATH a symbolic link to the terminal\n"
    "  --max-seconds S       stop after S seconds\n";

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

bool WriteAll(int fd, std::string& pending) {
  while (!pending.empty()) {
    ssize_t n = ::write(fd, pending.data(), pending.size());
    if (n > 0) {
      pending.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;  // later
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  q5::sim::UnitOptions unitOptions;
  q5::sim::LineOptions lineOptions;
  std::vector<std::string> faults;
  std::string logPath, linkPath;
  double maxSeconds = 0;

  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool hasValue = false;
    if (auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = a.substr(eq + 1);
      a = a.substr(0, eq);
      hasValue = true;
    }
    auto need = [&]() -> std::string {
      if (hasValue) return value;
      if (i + 1 >= args.size()) {
        std::cerr << "q5sim: " << a << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return args[++i];
    };
    auto number = [&](const std::string& text) {
      char* end = nullptr;
      double v = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || v < 0) {
        std::cerr << "q5sim: " << a << " takes a number, not \"" << text << "\"\n";
        std::exit(2);
      }
      return v;
    };
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--model") {
      unitOptions.model = need();
    } else if (a == "--version") {
      unitOptions.version = need();
    } else if (a == "--channels") {
      unitOptions.channels = static_cast<int>(number(need()));
    } else if (a == "--uninitialised" || a == "--uninitialized") {
      unitOptions.initialised = false;
    } else if (a == "--uninitialised-value") {
      unitOptions.uninitialisedChannelValue = need();
    } else if (a == "--node-info") {
      unitOptions.nodeInformation = need();
    } else if (a == "--unknown-item") {
      unitOptions.unknownItemReply = need();
      if (unitOptions.unknownItemReply != "CNG" && unitOptions.unknownItemReply != "CNU") {
        std::cerr << "q5sim: --unknown-item takes CNG or CNU\n";
        return 2;
      }
    } else if (a == "--timing") {
      lineOptions.lineTiming = true;
    } else if (a == "--baud") {
      lineOptions.baud = static_cast<int>(number(need()));
      if (lineOptions.baud <= 0) lineOptions.baud = 9600;
    } else if (a == "--turnaround-ms") {
      lineOptions.turnaroundUs = static_cast<std::int64_t>(number(need()) * 1000);
    } else if (a == "--fault") {
      faults.push_back(need());
    } else if (a == "--log") {
      logPath = need();
    } else if (a == "--link") {
      linkPath = need();
    } else if (a == "--max-seconds") {
      maxSeconds = number(need());
    } else {
      std::cerr << "q5sim: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }

  q5::sim::SimulatedUnit unit(unitOptions);
  q5::sim::SimLine line(unit, lineOptions);
  line.setKeepTranscript(false);
  for (const std::string& f : faults) {
    std::string error;
    if (!line.addFault(f, &error)) {
      std::cerr << "q5sim: --fault " << f << ": " << error << "\n";
      return 2;
    }
  }
  std::ofstream log;
  q5::link::SystemClock clock;
  const std::int64_t logStartUs = clock.nowUs();
  if (!logPath.empty()) {
    log.open(logPath, std::ios::out | std::ios::trunc);
    if (!log) {
      std::cerr << "q5sim: cannot write " << logPath << "\n";
      return 2;
    }
    line.setTranscriptObserver([&log, &logStartUs](const q5::sim::TranscriptEntry& e) {
      q5::sim::TranscriptEntry since = e;  // times from the start of the run
      since.atUs -= logStartUs;
      log << q5::sim::SimLine::FormatEntry(since) << '\n' << std::flush;
    });
  }

  // The pseudo-terminal. The unit's side is the master; the client opens the slave.
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("q5sim: pseudo-terminal");
    return 1;
  }
  const char* name = ptsname(master);
  if (!name) {
    std::perror("q5sim: ptsname");
    return 1;
  }
  const std::string slavePath = name;
  // Keep a slave descriptor open for the whole run: without it the master reads EIO and
  // sees a hang-up every time the client closes the port, and the line settings would
  // be lost between the client's opens.
  int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) {
    std::perror("q5sim: opening the terminal");
    return 1;
  }
  termios tio{};
  if (tcgetattr(slave, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(slave, TCSANOW, &tio);
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

  if (!linkPath.empty()) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(linkPath.c_str());
    if (::symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
      std::perror(("q5sim: --link " + linkPath).c_str());
      linkPath.clear();
    }
  }

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  // Watch stdin only when it can close (a pipe, socket or terminal), not /dev/null.
  struct stat inStat {};
  const bool watchStdin = fstat(STDIN_FILENO, &inStat) == 0 &&
                          (S_ISFIFO(inStat.st_mode) || S_ISSOCK(inStat.st_mode) ||
                           isatty(STDIN_FILENO));

  std::cout << slavePath << std::endl;  // first line: where the unit is
  std::cerr << "q5sim: " << unit.model() << " (module " << unit.modulePart() << ", kind "
            << unit.moduleKind() << ", " << unit.channelCount() << " channels) on "
            << slavePath << "\n";

  const std::int64_t startUs = clock.nowUs();
  const std::int64_t endUs =
      maxSeconds > 0 ? startUs + static_cast<std::int64_t>(maxSeconds * 1e6) : -1;
  std::string outgoing;
  int status = 0;
  char buf[4096];

  while (!g_stop) {
    std::int64_t now = clock.nowUs();
    if (endUs >= 0 && now >= endUs) break;
    outgoing += line.take(now);
    if (!WriteAll(master, outgoing)) {
      std::perror("q5sim: writing to the terminal");
      status = 1;
      break;
    }

    // Sleep until input, the next reply byte's time, or the end.
    int timeoutMs = -1;
    auto until = [&](std::int64_t at) {
      if (at < 0) return;
      std::int64_t ms = (at - now + 999) / 1000;
      if (ms < 0) ms = 0;
      if (timeoutMs < 0 || ms < timeoutMs) timeoutMs = static_cast<int>(ms);
    };
    until(line.nextArrivalUs());
    until(endUs);
    pollfd fds[2] = {{master, static_cast<short>(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0},
                     {STDIN_FILENO, POLLIN, 0}};
    int n = poll(fds, watchStdin ? 2 : 1, timeoutMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::perror("q5sim: poll");
      status = 1;
      break;
    }
    if (watchStdin && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t r = ::read(STDIN_FILENO, buf, sizeof buf);
      if (r <= 0) break;  // stdin closed: the parent is gone
    }
    if ((fds[0].revents & (POLLHUP | POLLERR)) && !(fds[0].revents & POLLIN)) {
      usleep(10'000);  // no reader on the other side for a moment; do not spin
    }
    if (fds[0].revents & POLLIN) {
      ssize_t r = ::read(master, buf, sizeof buf);
      if (r > 0) {
        if (lineOptions.lineTiming) {
          // Follow the rate the client set on its side (the firmware transfer switches).
          termios cur{};
          if (tcgetattr(slave, &cur) == 0) {
            int b = SpeedOf(cfgetospeed(&cur));
            if (b > 0) line.setBaud(b);
          }
        }
        line.receive(std::string_view(buf, static_cast<std::size_t>(r)), clock.nowUs());
        if (line.vanished()) {
          std::cerr << "q5sim: the port vanishes\n";
          break;
        }
      } else if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        // EIO only when no slave is open, which our own descriptor prevents.
        std::perror("q5sim: reading the terminal");
        status = 1;
        break;
      }
    }
  }

  if (!linkPath.empty()) ::unlink(linkPath.c_str());
  ::close(master);
  ::close(slave);
  std::cerr << "q5sim: " << line.linesReceived() << " lines received\n";
  return status;
}
