// q5bench: how close the tool comes to the wire. Runs N read and N write transactions
// against a unit (by default a simulated one with line timing at 9600 baud, in-process;
// or any port, such as q5sim's pseudo-terminal) through the real Exchange and Link on
// the real clock, and reports
//   elapsed / wire floor, where the floor is the sum over the exchanges of the 10 ms
//   pause plus (command bytes + reply bytes) x 10 bits / baud, from the same transcript;
//   process CPU time / elapsed, i.e. how busy the tool keeps a core while it waits.
// With --firmware it instead loads a 256 KiB image (S2 records of 16 bytes) into the unit
// with the FirmUpdate sequence, and reports the same figures for the record transfer at
// 115200 baud: one exchange per record line (10 ms pause + line + CR LF + "COK" CR).
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "firmware/frmFirmUpdate.h"
#include "link/Exchange.h"
#include "link/Link.h"
#include "qtlink/PortSwitch.h"
#include "qtlink/QtClock.h"
#include "ui/UnattendedDialogs.h"

extern char** environ;

namespace {

// q5sim with line timing on a pseudo-terminal, for as long as the object lives.
class SimProcess {
 public:
  SimProcess(const std::string& program, const std::string& model) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    std::vector<std::string> argv = {program, "--timing", "--model", model, "--max-seconds", "900"};
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &fa, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    char c;
    while (pid_ > 0 && read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    close(out[0]);
  }
  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& path() const { return path_; }

 private:
  pid_t pid_ = -1;
  std::string path_;
};

std::int64_t CpuUs() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return (std::int64_t{ru.ru_utime.tv_sec} + ru.ru_stime.tv_sec) * 1'000'000 +
         ru.ru_utime.tv_usec + ru.ru_stime.tv_usec;
}

struct Tally {
  int exchanges = 0;
  int failures = 0;
  std::int64_t bytes = 0;
  // Where the time above the floor goes: between a reply and the next send (the pause
  // and the tool's own work), and between a send and its complete reply (the line, the
  // unit's scheduling and the wake-up of the waiting tool).
  std::int64_t lastReceivedUs = -1;
  std::int64_t sentUs = 0;
  std::int64_t sentBytes = 0;
  std::vector<std::int64_t> gapOverUs;
  std::vector<std::int64_t> replyOverUs;
  void reset() { *this = {}; }
};

struct Phase {
  const char* name;
  int exchanges;
  double elapsedMs;
  double floorMs;
  double cpuMs;
  int failures;
  // Per exchange: how much later than 10 ms after the previous reply the send came, and
  // how much later than its bytes take on the wire the reply was complete.
  std::vector<std::int64_t> gapOverUs;
  std::vector<std::int64_t> replyOverUs;
};

std::string Spread(std::vector<std::int64_t> v) {
  if (v.empty()) return "-";
  std::sort(v.begin(), v.end());
  double sum = 0;
  for (auto x : v) sum += static_cast<double>(x);
  char text[96];
  std::snprintf(text, sizeof text, "mean %.0f, median %lld, 90 %% under %lld us",
                sum / static_cast<double>(v.size()), static_cast<long long>(v[v.size() / 2]),
                static_cast<long long>(v[v.size() * 9 / 10]));
  return text;
}

void Print(const Phase& p) {
  std::printf("%-6s exchanges %5d  elapsed %9.1f ms  floor %9.1f ms  ratio %.4f  "
              "CPU %7.1f ms = %.2f %% of one core  failed %d\n"
              "       above the wire per exchange: pause %s; reply %s\n",
              p.name, p.exchanges, p.elapsedMs, p.floorMs, p.elapsedMs / p.floorMs, p.cpuMs,
              100.0 * p.cpuMs / p.elapsedMs, p.failures, Spread(p.gapOverUs).c_str(),
              Spread(p.replyOverUs).c_str());
}


// A firmware image of `bytes` bytes from address 0 as S2 records of 16 data bytes, with an
// S0 header and an S8 termination, lines ended by CR LF (as image tools write them).
std::string MakeImage(std::size_t bytes) {
  auto record = [](int type, std::uint32_t address, int addressBytes, const std::uint8_t* data,
                   std::size_t n) {
    std::vector<std::uint8_t> b;
    b.push_back(static_cast<std::uint8_t>(addressBytes + n + 1));
    for (int i = addressBytes - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(address >> (8 * i)));
    b.insert(b.end(), data, data + n);
    unsigned sum = 0;
    for (auto x : b) sum += x;
    b.push_back(static_cast<std::uint8_t>(~sum & 0xFF));
    std::string line = "S" + std::to_string(type);
    char hex[4];
    for (auto x : b) {
      std::snprintf(hex, sizeof hex, "%02X", x);
      line += hex;
    }
    return line + "\r\n";
  };
  const std::uint8_t header[] = {'q', '5', 'b', 'e', 'n', 'c', 'h'};
  std::string image = record(0, 0, 2, header, sizeof header);
  std::uint32_t seed = 12345;
  std::uint8_t data[16];
  for (std::size_t at = 0; at < bytes; at += 16) {
    const std::size_t n = std::min<std::size_t>(16, bytes - at);
    for (std::size_t i = 0; i < n; ++i) {
      seed = seed * 1103515245u + 12345u;
      data[i] = static_cast<std::uint8_t>(seed >> 16);
    }
    image += record(2, static_cast<std::uint32_t>(at), 3, data, n);
  }
  image += record(8, 0, 3, nullptr, 0);
  return image;
}

// The window's questions answered Yes, its file choice the image, its messages printed.
class BenchDialogs : public q5::ui::UnattendedDialogs {
 public:
  explicit BenchDialogs(std::string file) : UnattendedDialogs(/*answer=*/true, std::move(file)) {}
  void message(const std::string& text, const std::string& caption, q5::ui::Icon) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
};

// True for a record line of the image as it goes out ("S2...\r\n"), not "SV" / "SW".
bool IsRecordLine(std::string_view text) {
  return text.size() > 6 && text[0] == 'S' && text[1] >= '0' && text[1] <= '9';
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int n = 100;
  int baud = 9600;
  std::string portName = "sim:Q5T3NML3-6-AI4";
  bool eventLoop = false;
  std::string q5sim;
  bool firmware = false;
  std::size_t imageKiB = 256;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--n" && i + 1 < argc) {
      n = std::atoi(argv[++i]);
    } else if (a == "--port" && i + 1 < argc) {
      portName = argv[++i];
    } else if (a == "--baud" && i + 1 < argc) {
      baud = std::atoi(argv[++i]);
    } else if (a == "--q5sim" && i + 1 < argc) {
      q5sim = argv[++i];
    } else if (a == "--event-loop") {
      eventLoop = true;
    } else if (a == "--firmware") {
      firmware = true;
    } else if (a == "--kib" && i + 1 < argc) {
      imageKiB = static_cast<std::size_t>(std::max(1, std::atoi(argv[++i])));
    } else {
      std::cerr << "Usage: q5bench [--n N] [--port P | --q5sim PATH] [--baud B] [--event-loop]\n"
                   "  N read and N write transactions against P (default sim:Q5T3NML3-6-AI4,\n"
                   "  an in-process simulated unit with line timing; or a pseudo-terminal\n"
                   "  served by q5sim with line timing; --q5sim PATH starts one). --event-loop\n"
                   "  waits the way the windows do (nested event loop) instead of blocking.\n"
                   "  --firmware [--kib K]: load a K KiB image (default 256) with the FirmUpdate\n"
                   "  sequence and measure the record transfer at 115200 baud.\n";
      return 2;
    }
  }
  if (n <= 0) n = 1;
  std::unique_ptr<SimProcess> simProcess;
  if (!q5sim.empty()) {
    const std::string model =
        portName.rfind("sim:", 0) == 0 ? portName.substr(4) : std::string("Q5T3NML3-6-AI4");
    simProcess = std::make_unique<SimProcess>(q5sim, model);
    if (simProcess->path().empty()) {
      std::cerr << "q5bench: " << q5sim << " gave no terminal\n";
      return 1;
    }
    portName = simProcess->path();
  }

  const auto mode = eventLoop ? q5::qtlink::WaitMode::EventLoop : q5::qtlink::WaitMode::Blocking;
  q5::qtlink::QtClock clock(mode);
  q5::qtlink::PortSwitch port(clock, mode);
  q5::link::Exchange exchange(port, clock);
  exchange.setBaudText(std::to_string(baud));
  q5::link::Link link(exchange);

  Tally tally;
  const double charUs = 10.0 * 1e6 / baud;
  exchange.setTraceObserver([&](q5::link::TraceEvent e, std::string_view text, std::int64_t at) {
    switch (e) {
      case q5::link::TraceEvent::Sent:
        ++tally.exchanges;
        tally.bytes += static_cast<std::int64_t>(text.size());
        if (tally.lastReceivedUs >= 0) {
          tally.gapOverUs.push_back(at - tally.lastReceivedUs - q5::link::Exchange::kPauseUs);
        }
        tally.sentUs = at;
        tally.sentBytes = static_cast<std::int64_t>(text.size());
        break;
      case q5::link::TraceEvent::Received:
        tally.bytes += static_cast<std::int64_t>(text.size());
        tally.replyOverUs.push_back(
            at - tally.sentUs -
            static_cast<std::int64_t>(static_cast<double>(tally.sentBytes + text.size()) * charUs));
        tally.lastReceivedUs = at;
        break;
      default:
        ++tally.failures;
        break;
    }
  });

  exchange.ComPortOpen(portName);
  if (!exchange.isOpen()) {
    std::cerr << "q5bench: cannot open " << portName << ": " << port.lastError() << "\n";
    return 1;
  }
  // Warm up: the identification check, as Connect starts.
  if (link.GroupItemReadRetry(1, "00", "01").empty()) {
    std::cerr << "q5bench: no answer from " << portName << "\n";
    return 1;
  }


  if (firmware) {
    // The record transfer of a firmware update, measured from the reply before the first
    // record line to the reply to the last one.
    const std::string path = "/tmp/q5bench_firmware_" + std::to_string(getpid()) + ".srec";
    std::ofstream(path, std::ios::binary) << MakeImage(imageKiB * 1024);
    BenchDialogs dialogs(path);
    struct Mark {
      std::int64_t atUs = -1, cpuUs = 0;
    } beforeFirst, lastReply, previousReply;
    bool inRecords = false, recordsDone = false, awaitingRecordReply = false;
    Tally t;
    const double fwCharUs = 10.0 * 1e6 / q5::firmware::kTransferBaud;
    exchange.setTraceObserver([&](q5::link::TraceEvent e, std::string_view text, std::int64_t at) {
      if (e == q5::link::TraceEvent::Sent) {
        awaitingRecordReply = IsRecordLine(text) && !recordsDone;
        if (!awaitingRecordReply) {
          if (inRecords) recordsDone = true;
          return;
        }
        if (!inRecords) {
          inRecords = true;
          beforeFirst = previousReply;
        }
        ++t.exchanges;
        t.bytes += static_cast<std::int64_t>(text.size());
        if (t.lastReceivedUs >= 0) t.gapOverUs.push_back(at - t.lastReceivedUs - q5::link::Exchange::kPauseUs);
        t.sentUs = at;
        t.sentBytes = static_cast<std::int64_t>(text.size());
        return;
      }
      if (e == q5::link::TraceEvent::Received) {
        previousReply = {at, CpuUs()};
        if (!awaitingRecordReply) return;
        t.bytes += static_cast<std::int64_t>(text.size());
        t.replyOverUs.push_back(at - t.sentUs -
                                static_cast<std::int64_t>(static_cast<double>(t.sentBytes + text.size()) * fwCharUs));
        t.lastReceivedUs = at;
        lastReply = previousReply;
        return;
      }
      if (awaitingRecordReply) ++t.failures;
    });
    bool connected = true;
    q5::firmware::frmFirmUpdate window(link, dialogs, {[&] { return connected; }, [&] { return portName; }});
    std::printf("q5bench: firmware image of %zu KiB to %s, %s waits\n", imageKiB, portName.c_str(),
                eventLoop ? "event-loop" : "blocking");
    window.btnFirmUpdate_Click();
    std::remove(path.c_str());
    const bool done = window.outcome() == q5::firmware::frmFirmUpdate::Outcome::Completed;
    if (!done || beforeFirst.atUs < 0 || lastReply.atUs < 0) {
      std::fprintf(stderr, "q5bench: the update did not complete\n");
      return 1;
    }
    const double floor = t.exchanges * q5::link::Exchange::kPauseUs / 1000.0 +
                         static_cast<double>(t.bytes) * 10.0 * 1000.0 / q5::firmware::kTransferBaud;
    const Phase p{"records", t.exchanges, (lastReply.atUs - beforeFirst.atUs) / 1000.0, floor,
                  (lastReply.cpuUs - beforeFirst.cpuUs) / 1000.0, t.failures, t.gapOverUs,
                  t.replyOverUs};
    Print(p);
    std::printf("unit CRC16 %s, %d lines without reply; the whole update took %.1f s\n",
                window.unitCrc().c_str(), window.unansweredLines(),
                (clock.nowUs() - beforeFirst.atUs) / 1e6);
    exchange.ComPortClose();
    return t.failures == 0 ? 0 : 1;
  }

  auto floorMs = [&](const Tally& t) {
    return t.exchanges * q5::link::Exchange::kPauseUs / 1000.0 +
           static_cast<double>(t.bytes) * 10.0 * 1000.0 / baud;
  };
  auto run = [&](const char* name, auto&& body) {
    tally.reset();
    const std::int64_t t0 = clock.nowUs();
    const std::int64_t c0 = CpuUs();
    for (int i = 0; i < n; ++i) body();
    const std::int64_t c1 = CpuUs();
    const std::int64_t t1 = clock.nowUs();
    return Phase{name,
                 tally.exchanges,
                 (t1 - t0) / 1000.0,
                 floorMs(tally),
                 (c1 - c0) / 1000.0,
                 tally.failures,
                 tally.gapOverUs,
                 tally.replyOverUs};
  };

  std::printf("q5bench: %s at %d baud, %d reads and %d writes, %s waits\n", portName.c_str(),
              baud, n, n, eventLoop ? "event-loop" : "blocking");
  int bad = 0;
  const Phase reads = run("read", [&] { bad += link.GroupItemRead("00", "02").empty(); });
  const Phase writes = run("write", [&] { bad += link.GroupItemWrite("00", "01", "F").empty(); });
  auto joined = [](std::vector<std::int64_t> a, const std::vector<std::int64_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const Phase all{"total",
                  reads.exchanges + writes.exchanges,
                  reads.elapsedMs + writes.elapsedMs,
                  reads.floorMs + writes.floorMs,
                  reads.cpuMs + writes.cpuMs,
                  reads.failures + writes.failures,
                  joined(reads.gapOverUs, writes.gapOverUs),
                  joined(reads.replyOverUs, writes.replyOverUs)};
  Print(reads);
  Print(writes);
  Print(all);
  const double ratio = all.elapsedMs / all.floorMs;
  const double cpu = 100.0 * all.cpuMs / all.elapsedMs;
  std::printf("targets: ratio <= 1.03 (%s), CPU <= 2 %% (%s)\n", ratio <= 1.03 ? "met" : "MISSED",
              cpu <= 2.0 ? "met" : "MISSED");
  exchange.ComPortClose();
  return bad == 0 ? 0 : 1;
}
