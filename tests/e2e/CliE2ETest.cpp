// End to end: q5sim serves a simulated unit on a pseudo-terminal, q5cfg-cli talks to it
// through QSerialPort, and the test reads what went over the wire from the --trace lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PtyRig.h"

using namespace q5e2e;

namespace {
// A unit for at most 30 s.
constexpr SimSetup kSim{30};
}  // namespace

TEST(CliOverPty, IdentifyPutsTheConnectAndUploadLinesOnTheWire) {
  SimOnPty sim({"--model", "Q5W3UD-BO16A-H", "--version", "2.10", "--timing"}, kSim);
  ASSERT_FALSE(sim.path().empty());
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "identify"});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  const auto wire = Wire(r.err);
  // The identification check (retry 1 is not needed), then "F" to 00/01, model,
  // version, channel count.
  EXPECT_EQ(Sent(wire, '>'), (std::vector<std::string>{"G00\\r", "I01\\r", "G00\\r", "I01\\r",
                                                        "DF\\r", "I02\\r", "I06\\r", "I03\\r"}));
  EXPECT_EQ(Sent(wire, '<'),
            (std::vector<std::string>{"COK\\r", "CMNTSW:Q5\\r", "COK\\r", "CMNTSW:Q5\\r", "COK\\r",
                                      "CTAG:Q5W3UD-BO16A-H\\r", "CVER:2.10\\r", "CCH:16CHs\\r"}));
  EXPECT_EQ(Sent(wire, '!'), std::vector<std::string>{});
  // One line at a time, each after its reply and the 10 ms pause; at 9600 baud a line
  // and its reply cannot be quicker than their characters.
  for (std::size_t i = 1; i < wire.size(); ++i) {
    EXPECT_NE(wire[i].direction, wire[i - 1].direction) << i;
    if (wire[i].direction == '>') {
      EXPECT_GE(wire[i].ms - wire[i - 1].ms, 9.9) << i;
    }
  }
  ASSERT_GE(wire.size(), 2u);
  EXPECT_GE(wire[1].ms - wire[0].ms, 8 * 10 * 1000.0 / 9600 - 0.1);  // "G00\r" + "COK\r"

  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "Model: Q5W3UD-BO16A-H",
                              "Module part: BO16",
                              "Module kind: 6 (frmBO16)",
                              "Page kind: 6 (frmBO16)",
                              "Network type: 1 (DeviceNet)",
                              "Version: 2.10",
                              "Channel count: 16",
                              "Model flags: Q5W3UD-BO16",
                          }));
}

TEST(CliOverPty, WrongIdentificationIsAConnectionError) {
  SimOnPty sim({"--fault", "reply:00/01:CMNTSX\\x3A1"}, kSim);
  ASSERT_FALSE(sim.path().empty());
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "--debug", "identify"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  // A reply is an answer, even a wrong one: no second attempt, and nothing more.
  EXPECT_EQ(Sent(Wire(r.err), '>'), (std::vector<std::string>{"G00\\r", "I01\\r"}));
  EXPECT_EQ(Sent(Wire(r.err), '<'), (std::vector<std::string>{"COK\\r", "CMNTSX:1\\r"}));
  EXPECT_NE(r.err.find("\nConnection: Connection Error\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("- GI COMMAND\n      READ ERROR COUNTER:0\n     WRITE ERROR COUNTER:0\n"
                       "           ERROR LOG:\n"),
            std::string::npos)
      << r.err;
}

TEST(CliOverPty, NodeInformationUnsupportedSeriesAndUninitialisedUnit) {
  {
    SimOnPty sim({"--node-info", "Unit 7 on line 2"}, kSim);
    const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "info"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Remote I/O Q5 Information:       Unit 7 on line 2      \n");
  }
  {
    // A model outside the supported series: identified as far as the model, then
    // "Upload Error".
    SimOnPty sim({"--model", "Q5X3NML3-6-AI4"}, kSim);
    const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "identify"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\nUpload: Upload Error\n"), std::string::npos) << r.err;
    const auto sent = Sent(Wire(r.err), '>');
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "I02\\r");
  }
  {
    // A unit that needs initialising ends the program after its message.
    SimOnPty sim({"--uninitialised"}, kSim);
    const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "identify"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Initialize Error: Need Initialize\n");
    EXPECT_EQ(r.out, "");
  }
}

// The windows' way of waiting (the event loop runs until readyRead or the deadline
// timer): a reply that never comes times out after 3000 ms, the retry gets it.
TEST(CliOverPty, EventLoopWaitTimesOutAndRetries) {
  SimOnPty sim({"--fault", "noreply:=I06*1"}, kSim);
  const RunResult r =
      RunProgram({Q5CLI_PATH, "--port", sim.path(), "--event-loop", "--trace", "identify"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto wire = Wire(r.err);
  EXPECT_EQ(Sent(wire, '>'), (std::vector<std::string>{"G00\\r", "I01\\r", "G00\\r", "I01\\r",
                                                        "DF\\r", "I02\\r", "I06\\r", "I06\\r",
                                                        "I03\\r"}));
  double sentAt = -1, timedOutAt = -1;
  for (const auto& w : wire) {
    if (w.direction == '>' && w.text == "I06\\r" && sentAt < 0) sentAt = w.ms;
    if (w.direction == '!' && timedOutAt < 0) timedOutAt = w.ms;
  }
  ASSERT_GE(sentAt, 0);
  ASSERT_GE(timedOutAt, 0) << r.err;
  EXPECT_GE(timedOutAt - sentAt, 2990.0);
  EXPECT_LT(timedOutAt - sentAt, 3300.0);
  EXPECT_NE(r.out.find("Version: 1.05\n"), std::string::npos) << r.out;
}

// A configuration file made by `new`, edited as text, downloaded into the unit and
// uploaded back into another file; then a dry run of the same file against a fresh
// unit, which must write nothing but the "F" that selects the setting mode.
TEST(CliOverPty, ConfigurationFileEditDownloadUploadAndDryRun) {
  char dirTemplate[] = "/tmp/q5e2e_cfg_XXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate;
  const std::string f = dir + "/F.cfg", g = dir + "/G.cfg";
  const std::string log = dir + "/unit.log", dryLog = dir + "/dry.log";

  const RunResult made = RunProgram({Q5CLI_PATH, "new", "Q5T3NML3", "AI4", "-o", f});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  // Channel 2's full scale (the 6th line: the header, two lines of settings, then one
  // line per channel) from 10000 to 12345.
  std::vector<std::string> lines = CrLfLines(ReadFile(f));
  ASSERT_GE(lines.size(), 8u);
  ASSERT_EQ(lines[5].rfind("\"0\",\"10000\",", 0), 0u) << lines[5];
  lines[5].replace(5, 5, "12345");
  {
    std::ofstream out(f, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
  }

  {
    SimOnPty sim({"--log", log}, kSim);
    ASSERT_FALSE(sim.path().empty());
    const RunResult down = RunProgram({Q5CLI_PATH, "--port", sim.path(), "download", f});
    ASSERT_EQ(down.exitCode, 0) << down.err;
    const RunResult up = RunProgram({Q5CLI_PATH, "--port", sim.path(), "upload", "-o", g});
    ASSERT_EQ(up.exitCode, 0) << up.err;
  }
  const std::vector<std::string> received = ReceivedByUnit(ReadFile(log));
  EXPECT_EQ(std::count(received.begin(), received.end(), "D12345\\r"), 1);
  // The unit's file carries the edit and is otherwise the file downloaded (the header
  // names the unit's firmware version instead of the new file's).
  const std::vector<std::string> uploaded = CrLfLines(ReadFile(g));
  ASSERT_EQ(uploaded.size(), lines.size());
  EXPECT_EQ(uploaded[5], lines[5]);
  EXPECT_EQ(std::vector<std::string>(uploaded.begin() + 1, uploaded.end()),
            std::vector<std::string>(lines.begin() + 1, lines.end()));

  {
    SimOnPty sim({"--log", dryLog}, kSim);
    const RunResult dry =
        RunProgram({Q5CLI_PATH, "--port", sim.path(), "download", "--dry-run", f});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_NE(dry.out.find("\t12345\n"), std::string::npos) << dry.out;
  }
  int dataLines = 0;
  for (const std::string& line : ReceivedByUnit(ReadFile(dryLog))) {
    if (line.rfind("D", 0) != 0) continue;
    ++dataLines;
    EXPECT_EQ(line, "DF\\r");
  }
  EXPECT_GE(dataLines, 1);

  for (const std::string& p : {f, g, log, dryLog}) std::remove(p.c_str());
  rmdir(dir.c_str());
}

TEST(CliInProcess, IdentifySimulatedUnitByName) {
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", "sim:Q5T3NML3-6-AI4", "identify"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "Model: Q5T3NML3-6-AI4",
                              "Module part: AI4",
                              "Module kind: 0 (frmAI4)",
                              "Page kind: 0 (frmAI4)",
                              "Network type: 99 (none)",
                              "Version: 1.05",
                              "Channel count: 4",
                              "Model flags: Q5T3NML3-6-AI4",
                          }));
}

TEST(CliUsage, ExitCodesForBadUsageAndMissingPorts) {
  EXPECT_EQ(RunProgram({Q5CLI_PATH}).exitCode, 2);
  EXPECT_EQ(RunProgram({Q5CLI_PATH, "identify"}).exitCode, 2);  // no --port
  EXPECT_EQ(RunProgram({Q5CLI_PATH, "frobnicate"}).exitCode, 2);
  EXPECT_EQ(RunProgram({Q5CLI_PATH, "--port", "sim:Q5T3NML3-6-AI4", "monitor", "--count", "x"}).exitCode, 2);
  const RunResult help = RunProgram({Q5CLI_PATH, "identify", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: q5cfg-cli --port P identify", 0), 0u) << help.out;
  // A port that is not there: the identification read fails.
  const RunResult absent = RunProgram({Q5CLI_PATH, "--port", "/dev/q5-no-such-port", "identify"});
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_EQ(absent.err, "Connection: Connection Error\n");
}

// A new configuration of the PWM page and of the one-channel encoder with Z latch,
// edited, downloaded over a pseudo-terminal and uploaded back into a file.
TEST(CliOverPty, PwmAndEncoderConfigurationsDownloadAndUploadBack) {
  char dirTemplate[] = "/tmp/q5e2e_pwmcfg_XXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate;
  const std::string f = dir + "/ec4.uJx", g = dir + "/ec4-back.uJx", log = dir + "/unit.log";
  auto contains = [](const std::vector<std::string>& lines, std::vector<std::string> run) {
    return std::search(lines.begin(), lines.end(), run.begin(), run.end()) != lines.end();
  };

  ASSERT_EQ(RunProgram({Q5CLI_PATH, "new", "Q5T3NML3", "EC4", "-o", f}).exitCode, 0);
  // Channel 1 (the third line, after the header and the hold setting) gets phase 12 and
  // dither frequency 100.
  std::vector<std::string> lines = CrLfLines(ReadFile(f));
  ASSERT_EQ(lines.size(), 6u);
  ASSERT_EQ(lines[2], "\"0\",\"5000\",\"10000\",\"1300\",\"300\",\"50\",\"0\",1,1");
  lines[2] = "\"12\",\"5000\",\"10000\",\"1300\",\"100\",\"50\",\"0\",1,1";
  {
    std::ofstream out(f, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
  }
  {
    SimOnPty sim({"--model", "Q5W3NML3-E-EC4A", "--log", log}, kSim);
    ASSERT_FALSE(sim.path().empty());
    const RunResult down = RunProgram({Q5CLI_PATH, "--port", sim.path(), "download", f});
    ASSERT_EQ(down.exitCode, 0) << down.err;
    const RunResult up = RunProgram({Q5CLI_PATH, "--port", sim.path(), "upload", "-o", g});
    ASSERT_EQ(up.exitCode, 0) << up.err;
  }
  const std::vector<std::string> received = ReceivedByUnit(ReadFile(log));
  EXPECT_TRUE(contains(received, {"G1\\r", "I11\\r", "D1\\r", "I12\\r", "D1\\r", "I30\\r",
                                  "D5000\\r", "I19\\r", "D1300\\r", "I17\\r", "D0\\r", "I13\\r",
                                  "D10000\\r", "I15\\r", "D12\\r", "I14\\r", "D100\\r"}));
  const std::vector<std::string> back = CrLfLines(ReadFile(g));
  ASSERT_EQ(back.size(), 6u);
  EXPECT_EQ(back[2], "\"12\",\"5000\",\"10000\",\"1300\",\"100\",\"50\",\"0\",1,1");
  std::remove(log.c_str());

  // The one-channel encoder with Z latch: Z field 2 is Z reset off, Z latch on, and the
  // second channel is never written.
  const std::string p = dir + "/pi1a.uJx";
  ASSERT_EQ(RunProgram({Q5CLI_PATH, "new", "Q5T3NML3", "PI1A/A", "-o", p}).exitCode, 0);
  lines = CrLfLines(ReadFile(p));
  ASSERT_EQ(lines.size(), 10u);
  ASSERT_EQ(lines[3], "\"2\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"");
  lines[3] = "\"2\",\"1\",\"1\",\"1\",\"2\",\"1\",\"1\"";
  {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
  }
  {
    SimOnPty sim({"--model", "Q5T3NML3-6-PI1/A", "--log", log}, kSim);
    ASSERT_FALSE(sim.path().empty());
    const RunResult down = RunProgram({Q5CLI_PATH, "--port", sim.path(), "download", p});
    ASSERT_EQ(down.exitCode, 0) << down.err;
  }
  const std::vector<std::string> pi = ReceivedByUnit(ReadFile(log));
  EXPECT_TRUE(contains(pi, {"I70\\r", "D1\\r", "I72\\r", "D0\\r", "I86\\r", "D1\\r", "I74\\r"}));
  for (const char* second : {"I11\\r", "I15\\r", "I43\\r", "I73\\r", "I77\\r"})
    EXPECT_EQ(std::count(pi.begin(), pi.end(), second), 0) << second;
  std::remove(log.c_str());
  std::remove(f.c_str());
  std::remove(g.c_str());
  std::remove(p.c_str());
  rmdir(dir.c_str());
}

// "set" puts values into controls by name and downloads them as the Download button does;
// a value outside its control's declared range, or a NAME=VALUE the routine cannot take (no
// such control, no such item), writes nothing and exits 2.
TEST(CliOverPty, SetTypesValuesAndDownloads) {
  char dirTemplate[] = "/tmp/q5e2e_set_XXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate, log = dir + "/unit.log";
  {
    SimOnPty sim({"--log", log}, kSim);
    ASSERT_FALSE(sim.path().empty());
    const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "set", "txtZScale(1)=12.5",
                                    "cmbUserRange(0)=4mA to 20mA", "cmbInvalid(3)=#1",
                                    "CmbConvSpeed=#2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Printed as read back: the zero scale rounded (ties to even), the range's unit.
    EXPECT_NE(r.out.find("txtZScale(1)\tZero scale\t12\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cmbUserRange(0)\tInput range\t4mA to 20mA [10]\n"), std::string::npos);
    EXPECT_NE(r.out.find("lblZBase_Unit(0)\t\tmA\n"), std::string::npos);
    EXPECT_NE(r.out.find("cmbInvalid(3)\tValid/Invalid\tInvalid [1]\n"), std::string::npos);
    const std::vector<std::string> received = ReceivedByUnit(ReadFile(log));
    EXPECT_EQ(std::count(received.begin(), received.end(), "D12\\r"), 1);
    EXPECT_EQ(std::count(received.begin(), received.end(), "D10\\r"), 1);
    std::remove(log.c_str());

    // Refusals: out of range (the page's own message, then the control and its range),
    // no such item, no such control. Nothing is written, not even the "F" of a Download.
    const RunResult range = RunProgram({Q5CLI_PATH, "--port", sim.path(), "set", "txtBias(0)=320.01"});
    EXPECT_EQ(range.exitCode, 2);
    EXPECT_NE(range.err.find("Data Range Error: Data Error \nCheck data range.\n"), std::string::npos)
        << range.err;
    EXPECT_NE(range.err.find("q5cfg-cli set: txtBias(0): Bias of CH 0 is \"320.01\"; allowed -320 "
                             "to 320; nothing written\n"),
              std::string::npos)
        << range.err;
    EXPECT_EQ(range.err.find("Download Error"), std::string::npos);
    const RunResult item = RunProgram({Q5CLI_PATH, "--port", sim.path(), "set", "cmbUserRange(0)=4mA"});
    EXPECT_EQ(item.exitCode, 2);
    EXPECT_NE(item.err.find("cmbUserRange(0) has no item \"4mA\""), std::string::npos) << item.err;
    const RunResult name = RunProgram({Q5CLI_PATH, "--port", sim.path(), "set", "txtNoSuch=1"});
    EXPECT_EQ(name.exitCode, 2);
    EXPECT_EQ(RunProgram({Q5CLI_PATH, "--port", sim.path(), "set", "txtBias(0)"}).exitCode, 2);
  }
  for (const std::string& line : ReceivedByUnit(ReadFile(log))) {
    if (line.rfind("D", 0) == 0) {
      EXPECT_EQ(line, "DF\\r") << "written after a refusal";
    }
  }
  std::remove(log.c_str());
  rmdir(dir.c_str());
}

TEST(CliOverPty, PressTakesButtonsByNameAndRefusesWhatAPersonCannotPress) {
  SimOnPty sim({}, kSim);
  ASSERT_FALSE(sim.path().empty());
  const RunResult tab = RunProgram({Q5CLI_PATH, "--port", sim.path(), "press", "cmdSet2",
                                    "txtGain(0)=1.5"});
  ASSERT_EQ(tab.exitCode, 0) << tab.err;
  // The value is in the control (not downloaded).
  EXPECT_NE(tab.out.find("txtGain(0)\tGain\t1.5\n"), std::string::npos) << tab.out;
  // After Upload the first tab is shown: its button is disabled.
  const RunResult shown = RunProgram({Q5CLI_PATH, "--port", sim.path(), "press", "cmdSet1"});
  EXPECT_EQ(shown.exitCode, 1);
  EXPECT_NE(shown.err.find("cmdSet1 is disabled now"), std::string::npos) << shown.err;
  const RunResult none = RunProgram({Q5CLI_PATH, "--port", sim.path(), "press", "cmdPreset(2)"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find("frmAI4 has no button named cmdPreset(2)"), std::string::npos)
      << none.err;
}

// "monitor --change": after the first pass the values go into "Change Value", and the
// next pass writes all four output items once.
TEST(CliOverPty, MonitorChangeWritesManualOutputsOnTheNextPass) {
  char dirTemplate[] = "/tmp/q5e2e_chg_XXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate, log = dir + "/unit.log";
  {
    SimOnPty sim({"--model", "Q5T3NML3-6-OVF4", "--log", log}, kSim);
    ASSERT_FALSE(sim.path().empty());
    const RunResult r = RunProgram(
        {Q5CLI_PATH, "--port", sim.path(), "monitor", "--count", "3", "--change", "100,-200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> out = Lines(r.out);
    ASSERT_EQ(out.size(), 4u) << r.out;
    EXPECT_NE(out[1].find("txtParData(0)=0 txtParData(1)=0 "), std::string::npos) << out[1];
    // The third pass reads back what the second wrote.
    EXPECT_NE(out[3].find("txtParData(0)=100 txtParData(1)=-200 txtParData(2)=0 "),
              std::string::npos)
        << out[3];
    const std::vector<std::string> received = ReceivedByUnit(ReadFile(log));
    std::vector<std::string> writes;
    for (std::size_t i = 0; i + 2 < received.size(); ++i) {
      if (received[i] == "G00\\r" && received[i + 2].rfind("D", 0) == 0 &&
          received[i + 2] != "DF\\r")
        writes.push_back(received[i + 1] + received[i + 2]);
    }
    // Channels 2 and 3 keep the present values the dialog showed.
    EXPECT_EQ(writes, (std::vector<std::string>{"I21\\rD100\\r", "I22\\rD-200\\r",
                                                "I23\\rD0\\r", "I24\\rD0\\r"}));
    std::remove(log.c_str());

    // A value out of range: the message, nothing queued, exit 1.
    const RunResult refused = RunProgram(
        {Q5CLI_PATH, "--port", sim.path(), "monitor", "--count", "2", "--change", "32001"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Data Range Error: Data Error \nCheck data range.\n"),
              std::string::npos)
        << refused.err;
    for (const std::string& line : ReceivedByUnit(ReadFile(log))) {
      if (line.rfind("D", 0) == 0) {
        EXPECT_EQ(line, "DF\\r");
      }
    }
  }
  {
    // A page without manual outputs has no "Change Value".
    const RunResult r = RunProgram(
        {Q5CLI_PATH, "--port", "sim:Q5T3NML3-6-AI4", "monitor", "--count", "2", "--change", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("frmAI4 has no manual outputs"), std::string::npos) << r.err;
  }
  std::remove(log.c_str());
  rmdir(dir.c_str());
}

TEST(CliOverPty, NetworkWindowReadsWritesAndRefusesAnAddressAbove255) {
  SimOnPty sim({"--model", "Q5V3PE-6-BO16"}, kSim);
  ASSERT_FALSE(sim.path().empty());
  const RunResult show = RunProgram({Q5CLI_PATH, "--port", sim.path(), "network"});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  const auto shown = Lines(show.out);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "# Q5V3PE-6-BO16  network 4 Ethernet  frmEthernet \"Ethernet Setting\"");
  for (const char* line : {"txtIP(3)\tIP Address\t192", "txtIP(0)\tIP Address\t10",
                           "txtPort(1)\tPort1\t5001", "txtTimeout(4)\tLinger Timer4\t30",
                           "lblMac(0)\t\t00-80-4C"}) {
    EXPECT_NE(std::find(shown.begin(), shown.end(), line), shown.end()) << line;
  }
  // The plain model has no gateway and no address mode.
  EXPECT_EQ(show.out.find("txtDGW"), std::string::npos);
  EXPECT_EQ(show.out.find("cmbDHCP"), std::string::npos);

  // Typed as a person types: "1234" becomes "123"; then Download and the read-back.
  const RunResult set = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "network",
                                    "txtIP(3)=10", "txtIP(0)=1234", "txtPort(2)=502"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const auto sent = Sent(Wire(set.err), '>');
  const auto at = std::find(sent.begin(), sent.end(), "D10.168.1.123\\r");
  ASSERT_NE(at, sent.end()) << set.err;
  EXPECT_EQ(*(at - 1), "I29\\r");
  EXPECT_NE(std::find(sent.begin(), sent.end(), "D502\\r"), sent.end());
  const RunResult again = RunProgram({Q5CLI_PATH, "--port", sim.path(), "network"});
  EXPECT_NE(again.out.find("txtIP(0)\tIP Address\t123\n"), std::string::npos) << again.out;
  EXPECT_NE(again.out.find("txtPort(2)\tPort2\t502\n"), std::string::npos) << again.out;

  // An address number above 255: the warning while typing, the refusal, nothing written.
  const RunResult refused = RunProgram(
      {Q5CLI_PATH, "--port", sim.path(), "--trace", "network", "txtIP(2)=300", "txtPort(3)=7"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.out.find("Q5CFG: Please enter 0 to 255.\nQ5CFG: Please enter 0 to 255.\n"),
            std::string::npos)
      << refused.out;
  EXPECT_NE(refused.err.find("Downloading: Downloading incomplete\n"), std::string::npos);
  std::vector<std::string> data;
  for (const auto& line : Sent(Wire(refused.err), '>'))
    if (line[0] == 'D') data.push_back(line);
  EXPECT_EQ(data, (std::vector<std::string>{"DF\\r", "DF\\r", "DF\\r"}));  // identify, Upload, Download
  EXPECT_EQ(RunProgram({Q5CLI_PATH, "--port", sim.path(), "network", "txtDGW(0)=1"}).exitCode, 2);
}

TEST(CliUsage, DebugPrintsTheDebugInfoLines) {
  const RunResult r = RunProgram({Q5CLI_PATH, "--debug"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "- GI COMMAND\n      READ ERROR COUNTER:0\n     WRITE ERROR COUNTER:0\n"
            "           ERROR LOG:\n");
  const RunResult none = RunProgram({Q5CLI_PATH, "--port", "sim:Q5T3NML3-6-AI4", "network"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.err, "Debug info: Not definced NetTyp in frmQ5CFG -> btnComNet\n");
}
