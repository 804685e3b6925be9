// q5cfg-cli against a faulty unit on a pseudo-terminal: exit codes that say when the unit
// failed, time bounds with a silent unit, a flood without CR, an unplugged port, and
// Ctrl-C while monitoring. Each case also shows the link working again afterwards.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PtyRig.h"

namespace {

using namespace q5e2e;
using Clock = std::chrono::steady_clock;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The unit answers normally: the link works again (a fresh unit on a fresh terminal stands
// for the unit plugged back in; q5sim ends when its port vanishes).
void WorksAgain(const std::vector<std::string>& simOptions = {}) {
  SimOnPty sim(simOptions);
  const RunResult r = RunCli({"--port", sim.path(), "identify"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(CliFaults, DownloadWithRefusedOrUnansweredWritesExitsOne) {
  const std::string file = "/tmp/q5faults_" + std::to_string(getpid()) + ".uJx";
  {
    SimOnPty sim({"--model", "Q5W3NEIP-BI16"});
    ASSERT_EQ(RunCli({"--port", sim.path(), "upload", "-o", file}).exitCode, 0);
  }
  {
    // The setting's data line is always refused: the download ran to its end, but the
    // unit did not take the setting.
    SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "cnu:01/11/D"});
    const RunResult r = RunCli({"--port", sim.path(), "download", file});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_FALSE(Has(r.out, "Downloaded")) << r.out;
    EXPECT_TRUE(Has(r.err, "q5cfg-cli download: 1 write refused or unanswered (last: G01 I11 D"))
        << r.err;
  }
  {
    // Never answered: the same, within four time-outs.
    SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "noreply:01/11/D"});
    const RunResult r = RunCli({"--port", sim.path(), "download", file});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_LT(r.seconds, 4 * 3.1 + 3);
  }
  std::remove(file.c_str());
  WorksAgain({"--model", "Q5W3NEIP-BI16"});
}

TEST(CliFaults, ASilentUnitIsGivenUpAfterThreeTimeOuts) {
  // Silent from the first monitoring pass on (the connect and upload take 12 lines).
  SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "noreply+12"});
  const RunResult r = RunCli({"--port", sim.path(), "monitor", "--count", "3"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_GT(r.seconds, 3 * 3.0);
  EXPECT_LT(r.seconds, 3 * 3.1 + 2);
  EXPECT_TRUE(Has(r.err, "q5cfg-cli monitor: the unit stopped answering")) << r.err;
  EXPECT_FALSE(Has(r.out, "pass 1 (")) << "no pass of frozen values is printed: " << r.out;
}

TEST(CliFaults, UnpluggedWhileMonitoredExitsOneAtOnce) {
  SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "vanish+16"});  // after two passes
  const RunResult r = RunCli({"--port", sim.path(), "monitor", "--count", "5"});
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_LT(r.seconds, 2.0);
  EXPECT_TRUE(Has(r.out, "pass 2 (")) << r.out;
  EXPECT_FALSE(Has(r.out, "pass 3 (")) << r.out;
  EXPECT_TRUE(Has(r.err, "q5cfg-cli monitor: the port closed")) << r.err;
  WorksAgain({"--model", "Q5W3NEIP-BI16"});
}

TEST(CliFaults, AFloodWithoutCrCostsOneTimeOutAndNoMemory) {
  // The model read is answered by 16 MiB without a CR, once; the retry gets the model.
  SimOnPty sim({"--fault", "flood:00/02:16777216*1"});
  const RunResult r = RunCli({"--port", sim.path(), "--trace", "identify"});
  EXPECT_EQ(r.exitCode, 0) << r.err.substr(0, 2000);
  EXPECT_TRUE(Has(r.out, "Model: Q5T3NML3-6-AI4")) << r.out;
  EXPECT_LT(r.seconds, 3.1 + 3);
  EXPECT_TRUE(Has(r.err, "! reply longer than a line can be, discarded")) << r.err.substr(0, 2000);
  EXPECT_LT(r.maxRssKb, 24 * 1024) << "the flood was held in memory (about 11 MB without it)";
}

TEST(CliFaults, FirstCtrlCEndsMonitoringAfterTheExchangeSecondExitsAtOnce) {
  {
    // The unit answers every live value 2 s late: the first Ctrl-C ends the monitoring
    // when the exchange under way has ended, without an error.
    SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "late:00/21:2000"});
    double signalled = 0;
    const auto t0 = Clock::now();
    const RunResult r = RunCli({"--port", sim.path(), "monitor"}, [&](pid_t pid) {
      // Connect and Upload take about 2 s (their live value is late too); then the first
      // monitoring pass waits for its late reply.
      std::this_thread::sleep_for(std::chrono::milliseconds(3000));
      signalled = std::chrono::duration<double>(Clock::now() - t0).count();
      kill(pid, SIGINT);
    });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_LT(r.seconds - signalled, 2.5) << "ends after the exchange under way";
    EXPECT_FALSE(Has(r.err, "q5cfg-cli monitor:")) << r.err;
  }
  {
    // A silent unit: the second Ctrl-C does not wait for the time-out.
    SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "noreply+12"});
    double second = 0;
    const auto t0 = Clock::now();
    const RunResult r = RunCli({"--port", sim.path(), "monitor"}, [&](pid_t pid) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      kill(pid, SIGINT);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      second = std::chrono::duration<double>(Clock::now() - t0).count();
      kill(pid, SIGINT);
    });
    EXPECT_EQ(r.exitCode, 130);
    EXPECT_LT(r.seconds - second, 0.5);
    EXPECT_TRUE(Has(r.err, "interrupted")) << r.err;
  }
  WorksAgain({"--model", "Q5W3NEIP-BI16"});
}

TEST(CliFaults, CtrlCAfterAnUnansweredReadSaysSoAndFails) {
  // A unit silent from the first monitoring pass on: the first live read waits out its
  // time-out (3 s), and the Ctrl-C that came meanwhile stops it before its next attempt.
  // That read went unanswered: it is named and the command fails.
  SimOnPty sim({"--model", "Q5W3NEIP-BI16", "--fault", "noreply+12"});
  const RunResult r = RunCli({"--port", sim.path(), "monitor"}, [&](pid_t pid) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(pid, SIGINT);
  });
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(Has(r.err, "q5cfg-cli monitor: 1 read without a usable reply (last: G00 I")) << r.err;
  EXPECT_LT(r.seconds, 6.0) << "one time-out, no further attempt";
  WorksAgain({"--model", "Q5W3NEIP-BI16"});
}

// A line the unit's transcript shows ("G00\r", "D1\n2\r"), with its escapes undone.
std::string Unescaped(const std::string& shown) {
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != '\\' || i + 1 >= shown.size()) {
      out += shown[i];
      continue;
    }
    const char e = shown[++i];
    if (e == 'r') out += '\r';
    else if (e == 'n') out += '\n';
    else if (e == 't') out += '\t';
    else if (e == 'x' && i + 2 < shown.size()) {
      out += static_cast<char>(std::stoi(shown.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += e;
    }
  }
  return out;
}

// The first line the unit received with a control character before its closing CR.
std::string LineWithControl(const std::vector<std::string>& received) {
  for (const std::string& shown : received) {
    const std::string line = Unescaped(shown);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
      const auto c = static_cast<unsigned char>(line[i]);
      if (c < 0x20 || c == 0x7F) return shown;
    }
  }
  return {};
}

// A control character typed into a network window's field through "network NAME=VALUE",
// on a unit of every network kind: the unit never receives a control character inside
// a line, and the command fails.
TEST(CliFaults, AControlCharacterGivenToTheNetworkCommandNeverReachesTheWire) {
  struct Row {
    const char* model;
    const char* assignment;
  };
  const Row rows[] = {
      {"Q5V3PE-6-BI16", "txtIP(3)=7\n8"},             // Ethernet
      {"Q5V3PE-6-BI16", "txtPort(1)=502\r"},          // Ethernet, a socket port
      {"Q5W3NEIP-BO32", "txtDGW(0)=10\tG00"},         // EtherNet/IP
      {"Q5W3ND-BI32A-I", "txtTimeout=12\x7F"},        // DeviceNet
      {"Q5Z3UCIE-SG2-9/F1", "txtNetWorkNo=3\rI99"},  // CC-Link IE Field
      {"Q5V3UM-AC32", "cmbBaudRate=19200 bps\n"},     // Modbus: a list item
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.model) + " " + row.assignment);
    SimOnPty sim({"--model", row.model}, SimSetup{60, true});
    ASSERT_FALSE(sim.path().empty());
    const RunResult r = RunCli({"--port", sim.path(), "network", row.assignment});
    EXPECT_NE(r.exitCode, 0) << r.out << r.err;
    const std::vector<std::string> received = ReceivedByUnit(sim.log());
    EXPECT_FALSE(received.empty());
    EXPECT_EQ(LineWithControl(received), "");
    // A line holding the rest of the value as a command never went out either.
    for (const std::string& l : received) EXPECT_NE(l.substr(0, 3), "I99");
  }
}

TEST(CliFaults, UnitValuesWithControlCharactersAreShownEscaped) {
  SimOnPty sim({"--model", "Q5T3NML3-6-AI4", "--fault", "reply:00/02:CTAG\\x3AQ5T3NML3-6-AI4\\x1B[2J"});
  const RunResult r = RunCli({"--port", sim.path(), "identify"});
  EXPECT_TRUE(Has(r.out, "Model: Q5T3NML3-6-AI4\\x1B[2J")) << r.out;
  EXPECT_FALSE(Has(r.out, "\x1b")) << "shown raw";
}

}  // namespace
