// What each control is, as q5cfg-cli shows and refuses it over a pseudo-terminal: live
// values monitored and refused as NAME=VALUE, list items by #N on a network window, the
// load cell's state carried by button captions, and a comparison over what the unit has.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PtyRig.h"

namespace {

using namespace q5e2e;
using Strings = std::vector<std::string>;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Shown(const std::string& out, const std::string& name) {
  for (const std::string& line : Lines(out)) {
    if (line.rfind(name + "\t", 0) != 0) continue;
    return line.substr(line.rfind('\t') + 1);
  }
  return "(not shown)";
}

const SimSetup kLogged{60, true};

}  // namespace

// A live value given as NAME=VALUE is refused with exit 2, naming the control and its
// role; nothing is written. The pulse page's positions are monitored.
TEST(DeclarationsOverPty, LiveValuesAreMonitoredAndNeverSet) {
  SimOnPty pulse({"--model", "Q5T3NML3-6-PI1"}, kLogged);
  ASSERT_FALSE(pulse.path().empty());
  const RunResult up = RunCli({"--port", pulse.path(), "upload"});
  ASSERT_EQ(up.exitCode, 0) << up.err;
  const std::size_t before = pulse.takeReceived().size();
  EXPECT_GT(before, 0u);

  const RunResult set = RunCli({"--port", pulse.path(), "set", "txtCP(0)=123"});
  EXPECT_EQ(set.exitCode, 2);
  EXPECT_TRUE(Has(set.err, "q5cfg-cli set: txtCP(0) is a live value, not a setting\n")) << set.err;
  for (const std::string& line : pulse.takeReceived())
    EXPECT_TRUE(line.rfind("D", 0) != 0 || line == "DF\\r") << "written: " << line;

  const RunResult button = RunCli({"--port", pulse.path(), "press", "Command1", "Command2=1"});
  EXPECT_EQ(button.exitCode, 2);
  EXPECT_TRUE(Has(button.err, "Command2 is a button, not a setting")) << button.err;

  const RunResult monitor = RunCli({"--port", pulse.path(), "monitor", "--count", "2"});
  ASSERT_EQ(monitor.exitCode, 0) << monitor.err;
  const Strings lines = Lines(monitor.out);
  int passes = 0;
  for (const std::string& l : lines) {
    if (l.rfind("pass ", 0) != 0) continue;
    ++passes;
    for (const char* column : {" txtCP(0)=", " txtCS(0)=", " txtLP(0)=", " txtLS(0)=", " txtRP(0)="})
      EXPECT_TRUE(Has(l, column)) << column << " in " << l;
  }
  EXPECT_EQ(passes, 2) << monitor.out;
  const RunResult csv = RunCli({"--port", pulse.path(), "monitor", "--count", "1", "--csv"});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_TRUE(Has(csv.out, "\ntime,txtCP(0),txtCS(0),txtLP(0),txtLS(0),txtRP(0)")) << csv.out;

  SimOnPty analog({"--model", "Q5T3NML3-6-AI4"});
  ASSERT_FALSE(analog.path().empty());
  const RunResult data = RunCli({"--port", analog.path(), "set", "txtParData(0)=123"});
  EXPECT_EQ(data.exitCode, 2);
  EXPECT_TRUE(Has(data.err, "txtParData(0) is a live value, not a setting")) << data.err;
  const RunResult label = RunCli({"--port", analog.path(), "set", "lblV_Unit=AI8"});
  EXPECT_EQ(label.exitCode, 2);
  EXPECT_TRUE(Has(label.err, "lblV_Unit is a shown-only value, not a setting")) << label.err;
}

// The network command takes a list item by "#N" like "set", and refuses a bare number
// that names no item.
TEST(DeclarationsOverPty, NetworkListItemByNumber) {
  SimOnPty unit({"--model", "Q5V3UM-AC32"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const RunResult set = RunCli({"--port", unit.path(), "network", "cmbBaudRate=#1"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const std::string baud = Shown(set.out, "cmbBaudRate");
  EXPECT_TRUE(baud.size() > 4 && baud.substr(baud.size() - 4) == " [1]") << set.out;
  const RunResult bare = RunCli({"--port", unit.path(), "network", "cmbBaudRate=1"});
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_TRUE(Has(bare.err, "cmbBaudRate has no item \"1\"")) << bare.err;
  const RunResult wrong = RunCli({"--port", unit.path(), "network", "cmbBaudRate=#9"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_TRUE(Has(wrong.err, "cmbBaudRate has no item #9")) << wrong.err;
}

// The excitation and the CR filter live only in button captions: upload and press print
// them, and a press shows the new state.
TEST(DeclarationsOverPty, LoadCellStateCarriedByCaptionsIsPrinted) {
  SimOnPty unit({"--model", "Q5T3NML3-6-SG2A"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const RunResult up = RunCli({"--port", unit.path(), "upload"});
  ASSERT_EQ(up.exitCode, 0) << up.err;
  EXPECT_TRUE(Has(up.out, "\ncmdExtvoltage\tExt.Voltage\t5V\n")) << up.out;
  EXPECT_TRUE(Has(up.out, "\ncmdCRFilter\tCR Filter\t")) << up.out;
  const RunResult low = RunCli({"--port", unit.path(), "press", "cmdExtvoltage"});
  ASSERT_EQ(low.exitCode, 0) << low.err;
  EXPECT_EQ(Shown(low.out, "cmdExtvoltage"), "2.5V") << low.out;
  const RunResult set = RunCli({"--port", unit.path(), "set", "cmdExtvoltage=5V"});
  EXPECT_EQ(set.exitCode, 2);
  EXPECT_TRUE(Has(set.err, "cmdExtvoltage is a state shown in a caption, not a setting"))
      << set.err;
}

// A file made for the two-channel model compared with a one-channel unit: the second
// channel, which the unit does not have, is left out.
TEST(DeclarationsOverPty, DiffLeavesOutChannelsTheUnitDoesNotHave) {
  const std::string file = ScratchName("q5e2e_pi1a") + ".uJx";
  ASSERT_EQ(RunCli({"new", "Q5T3NML3", "PI1A", "-o", file}).exitCode, 0);
  SimOnPty unit({"--model", "Q5T3NML3-6-PI1"});
  ASSERT_FALSE(unit.path().empty());
  const RunResult diff = RunCli({"--port", unit.path(), "diff", file});
  EXPECT_NE(diff.exitCode, 2) << diff.err;
  for (const std::string& line : Lines(diff.out)) {
    const std::string name = line.substr(0, line.find('\t'));
    if (name.rfind("txtTM", 0) == 0) continue;  // the module-wide timers 0 to 2
    EXPECT_EQ(name.find("(1)"), std::string::npos) << line;
  }
  // Live values are never compared.
  EXPECT_FALSE(Has(diff.out, "txtCP(0)")) << diff.out;
  std::remove(file.c_str());
}
