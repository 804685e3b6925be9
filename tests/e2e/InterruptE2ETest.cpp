// Signals during the commands that write to a unit, over a pseudo-terminal: a Download
// or a firmware update interrupted by SIGINT, SIGTERM or SIGHUP finishes the exchange
// under way, sends nothing more, says where the unit stands and exits with the signal's
// code; a second Ctrl-C exits at once, still saying it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "PtyRig.h"

namespace {

using namespace q5e2e;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Data lines the unit received, other than the "F" of the preamble.
int DataLines(const std::vector<std::string>& received) {
  int n = 0;
  for (const std::string& l : received)
    if (!l.empty() && l[0] == 'D' && l != "DF\\r") ++n;
  return n;
}

// Waits (up to `seconds`) until the unit has received `writes` data lines; then sends the
// signals, `gapMs` apart, and returns how many lines the unit had received at the first.
std::size_t SignalAfterWrites(SimOnPty& sim, pid_t pid, int writes, std::vector<int> signals,
                              int gapMs = 0, double seconds = 40) {
  const auto t0 = std::chrono::steady_clock::now();
  std::vector<std::string> received;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() < seconds) {
    received = ReceivedByUnit(sim.log());
    if (DataLines(received) >= writes) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const std::size_t at = ReceivedByUnit(sim.log()).size();
  for (std::size_t k = 0; k < signals.size(); ++k) {
    if (k > 0) std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    kill(pid, signals[k]);
  }
  return at;
}

TEST(Interrupts, ADownloadStopsAfterTheExchangeUnderWayAndSaysWhereTheUnitStands) {
  const std::string file = ScratchName("q5int") + ".uJx";
  {
    SimOnPty sim({"--model", "Q5V3UM-AC32"});
    ASSERT_EQ(RunCli({"--port", sim.path(), "upload", "-o", file}).exitCode, 0);
  }
  struct Row {
    int signal;
    int exitCode;
    const char* name;
  };
  for (const Row& row : {Row{SIGINT, 130, "SIGINT"}, Row{SIGTERM, 143, "SIGTERM"}, Row{SIGHUP, 129, "SIGHUP"}}) {
    SCOPED_TRACE(row.name);
    SimOnPty sim({"--model", "Q5V3UM-AC32", "--timing"}, SimSetup{90, true});
    ASSERT_FALSE(sim.path().empty());
    std::size_t atSignal = 0;
    const RunResult r = RunCli({"--port", sim.path(), "download", file}, [&](pid_t pid) {
      atSignal = SignalAfterWrites(sim, pid, 5, {row.signal});
    });
    EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
    EXPECT_TRUE(Has(r.err, std::string("q5cfg-cli download: interrupted (") + row.name + ")")) << r.err;
    EXPECT_TRUE(Has(r.err, "writes went out; the unit now holds a partly written configuration")) << r.err;
    EXPECT_TRUE(Has(r.err, "restore it with: q5cfg-cli --port " + sim.path() + " download ")) << r.err;
    EXPECT_FALSE(Has(r.out, "Downloaded")) << r.out;
    // At most the exchanges of the transaction under way went out after the signal (the
    // line in flight, and the one the unit was answering).
    const std::size_t total = ReceivedByUnit(sim.log()).size();
    EXPECT_LE(total, atSignal + 2) << "lines after the signal";
    // The unit still answers.
    const RunResult id = RunCli({"--port", sim.path(), "identify"});
    EXPECT_EQ(id.exitCode, 0) << id.err;
  }
  {
    // A second Ctrl-C ends the program at once, still with the line.
    SimOnPty sim({"--model", "Q5V3UM-AC32", "--timing"}, SimSetup{90, true});
    const RunResult r = RunCli({"--port", sim.path(), "download", file}, [&](pid_t pid) {
      SignalAfterWrites(sim, pid, 2, {SIGINT, SIGINT}, 0);
    });
    EXPECT_EQ(r.exitCode, 130) << r.err;
    EXPECT_TRUE(Has(r.err, "q5cfg-cli download: interrupted (SIGINT)")) << r.err;
    EXPECT_TRUE(Has(r.err, "partly written configuration")) << r.err;
  }
  std::remove(file.c_str());
}

TEST(Interrupts, AFirmwareUpdateStopsAfterTheRecordUnderWayAndSaysTheUnitIsInUpdateMode) {
  // An image of random bytes, made by objcopy.
  const std::string base = ScratchName("q5int_fw");
  std::string bytes;
  std::mt19937 gen(7);
  for (int i = 0; i < 6000; ++i) bytes += static_cast<char>(gen() & 0xFF);
  std::ofstream(base + ".bin", std::ios::binary) << bytes;
  if (RunProgram({"objcopy", "-I", "binary", "-O", "srec", base + ".bin", base + ".srec"}).exitCode != 0)
    GTEST_SKIP() << "objcopy is not installed";
  SimOnPty sim({"--timing"}, SimSetup{90, true});
  ASSERT_FALSE(sim.path().empty());
  std::size_t atSignal = 0;
  const RunResult r = RunCli({"--port", sim.path(), "firmware", base + ".srec", "--yes"}, [&](pid_t pid) {
    const auto t0 = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() < 40) {
      int records = 0;
      for (const std::string& l : ReceivedByUnit(sim.log())) records += l.rfind("S1", 0) == 0;
      if (records >= 10) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    atSignal = ReceivedByUnit(sim.log()).size();
    kill(pid, SIGTERM);
  });
  EXPECT_EQ(r.exitCode, 143) << r.err;
  EXPECT_TRUE(Has(r.err, "q5cfg-cli firmware: interrupted (SIGTERM); The unit is still in update mode "
                         "at 115200 baud: repeat the update or power-cycle it"))
      << r.err;
  const std::vector<std::string> received = ReceivedByUnit(sim.log());
  EXPECT_LE(received.size(), atSignal + 1) << "records after the signal";
  for (const std::string& l : received) {
    EXPECT_NE(l, "SV\\r");
    EXPECT_NE(l, "SW\\r");
  }
  // The unit waits at 115200: an identification at 9600 gets nothing, as the message said.
  const RunResult id = RunCli({"--port", sim.path(), "identify"});
  EXPECT_NE(id.exitCode, 0);
  for (const char* ext : {".bin", ".srec"}) std::remove((base + ext).c_str());
}

TEST(Interrupts, FirmwareRefusesWhatIsNotARegularFileBeforeOpeningIt) {
  const std::string fifo = ScratchName("q5int_fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const RunResult f = RunCli({"firmware", "--check", fifo});
  EXPECT_EQ(f.exitCode, 1);
  EXPECT_TRUE(Has(f.err, "is a FIFO (named pipe), not a firmware image file")) << f.err;
  EXPECT_LT(f.seconds, 5);
  const RunResult d = RunCli({"firmware", "--check", "/tmp"});
  EXPECT_TRUE(Has(d.err, "is a folder, not a firmware image file")) << d.err;
  const RunResult z = RunCli({"firmware", "--check", "/dev/zero"});
  EXPECT_TRUE(Has(z.err, "is a character device, not a firmware image file")) << z.err;
  // A unit connected: the FIFO is refused before the unit is told anything.
  SimOnPty sim({}, SimSetup{30, true});
  const RunResult u = RunCli({"--port", sim.path(), "firmware", fifo, "--yes"});
  EXPECT_NE(u.exitCode, 0);
  EXPECT_LT(u.seconds, 10);
  for (const std::string& l : ReceivedByUnit(sim.log())) EXPECT_NE(l, "DSS\\r");
  // --crc takes four hexadecimal digits; a control character in it is shown escaped.
  const RunResult c = RunCli({"--port", sim.path(), "firmware", fifo, "--crc", "1\n2A"});
  EXPECT_EQ(c.exitCode, 2);
  EXPECT_FALSE(Has(c.err, "1\n2A")) << c.err;
  std::remove(fifo.c_str());
}

}  // namespace
