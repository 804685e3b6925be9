// The pages' own buttons and edits through q5cfg-cli over a pseudo-terminal: presets of
// the pulse counters, requests of the encoder counter, manual outputs of the PWM driver,
// the load cell's calibration buttons and the linearizer's table. Every run is compared
// with a plain `upload` of the same unit: the lines the unit received beyond the upload are
// exactly what the button or the Download sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "PtyRig.h"

namespace {

using namespace q5e2e;
using Strings = std::vector<std::string>;

// Wire lines as the unit's transcript shows them, each ended by its CR.
Strings W(std::initializer_list<std::string> lines) {
  Strings out;
  for (const std::string& l : lines) out.push_back(l + "\\r");
  return out;
}

Strings Concat(std::initializer_list<Strings> parts) {
  Strings out;
  for (const Strings& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One q5cfg-cli run against the unit and the lines the unit received meanwhile.
struct CliExchange {
  RunResult run;
  Strings received;
};

CliExchange Cli(SimOnPty& unit, std::vector<std::string> words) {
  words.insert(words.begin(), {"--port", unit.path()});
  CliExchange e;
  e.run = RunCli(words);
  e.received = unit.takeReceived();
  return e;
}

// What a run sent beyond the connect and upload every command starts with (which must be
// those of `upload` line for line).
Strings Beyond(const CliExchange& run, const CliExchange& upload) {
  const Strings& all = run.received;
  const Strings& head = upload.received;
  if (all.size() < head.size() || !std::equal(head.begin(), head.end(), all.begin())) {
    ADD_FAILURE() << "the run does not start with the connect and upload";
    return all;
  }
  return Strings(all.begin() + static_cast<std::ptrdiff_t>(head.size()), all.end());
}

Strings Items(int first, int last) {
  Strings out;
  for (int i = first; i <= last; ++i) out.push_back("I" + std::to_string(i) + "\\r");
  return out;
}

// The value of a control as q5cfg-cli prints it ("name<TAB>caption<TAB>value").
std::string Shown(const std::string& out, const std::string& name) {
  for (const std::string& line : Lines(out)) {
    if (line.rfind(name + "\t", 0) != 0) continue;
    return line.substr(line.rfind('\t') + 1);
  }
  return "(not shown)";
}

const SimSetup kLogged{60, true};
const char kRangeMessage[] = "Data Range Error: Data Error \nCheck data range.\n";

}  // namespace

// The 8-channel counter that reports its channels twice: the page works with half the
// count; a preset goes to its channel's group and the counts are read again.
TEST(PageCommandsOverPty, PresetsOfTheEightChannelCounterThatReportsItsChannelsTwice) {
  SimOnPty unit({"--model", "Q5Z3UECT-1-PI8A"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;
  EXPECT_TRUE(Has(up.run.out, "# Q5Z3UECT-1-PI8A  Version : 1.05  channels 8  page 19 frmPI8\n")) << up.run.out;
  // Eight channels read, not the sixteen the unit reports.
  EXPECT_EQ(std::count(up.received.begin(), up.received.end(), "G8\\r"), 1);
  EXPECT_EQ(std::count(up.received.begin(), up.received.end(), "G9\\r"), 0);

  const CliExchange preset = Cli(unit, {"press", "cmdPreset(2)", "txtPreset(2)=0042"});
  ASSERT_EQ(preset.run.exitCode, 0) << preset.run.err;
  EXPECT_EQ(Beyond(preset, up), Concat({W({"G3", "I08", "D42", "G00", "I01"}), Items(21, 28)}));
  // The preset as the page wrote it back, and the count starting again from it.
  EXPECT_EQ(Shown(preset.run.out, "txtPreset(2)"), "42");
  EXPECT_EQ(Shown(preset.run.out, "txtPA(2)"), "42");

  const CliExchange last = Cli(unit, {"press", "cmdPreset(7)", "txtPreset(7)=4294967295"});
  ASSERT_EQ(last.run.exitCode, 0) << last.run.err;
  EXPECT_EQ(Beyond(last, up), Concat({W({"G8", "I08", "D4294967295", "G00", "I01"}), Items(21, 28)}));

  // Out of range, or not a number: the message, nothing sent, exit 1.
  for (const char* value : {"4294967296", "-1", "12x"}) {
    const CliExchange refused =
        Cli(unit, {"press", "cmdPreset(0)", std::string("txtPreset(0)=") + value});
    EXPECT_EQ(refused.run.exitCode, 1) << value;
    EXPECT_TRUE(Has(refused.run.err, kRangeMessage)) << value << refused.run.err;
    EXPECT_EQ(Beyond(refused, up), Strings{}) << value;
  }
}

// The 32-channel counter addresses every channel in group "00": a preset is item 45 + index
// and the counts (with the status mask) are read again. The 16-channel unit's page has no
// channels 17 to 32 to preset.
TEST(PageCommandsOverPty, PresetsOfTheThirtyTwoAndSixteenChannelCounters) {
  SimOnPty unit({"--model", "Q5V3PM-BI32"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;
  EXPECT_TRUE(Has(up.run.out, "  channels 32  page 21 frmPI32\n")) << up.run.out;

  const CliExchange preset = Cli(unit, {"press", "cmdPreset(20)", "txtPreset(20)=1000"});
  ASSERT_EQ(preset.run.exitCode, 0) << preset.run.err;
  EXPECT_EQ(Beyond(preset, up), Concat({W({"G00", "I65", "D1000", "G00", "I01", "I77"}), Items(45, 76)}));
  EXPECT_EQ(Shown(preset.run.out, "txtPA(20)"), "1000");

  // The text goes out as typed (the page only needs a number within the range); a unit
  // that refuses it makes the command fail, though the page shows no message.
  const CliExchange typed = Cli(unit, {"press", "cmdPreset(1)", "txtPreset(1)=7.0"});
  EXPECT_EQ(typed.run.exitCode, 1) << typed.run.out;
  EXPECT_EQ(Beyond(typed, up), Concat({W({"G00", "I46", "D7.0"}), W({"G00", "I46", "D7.0"}),
                                       W({"G00", "I46", "D7.0"}), W({"G00", "I46", "D7.0"})}));
  EXPECT_TRUE(Has(typed.run.err, "q5cfg-cli press: 1 write refused or unanswered (last: G00 I46 D7.0)"))
      << typed.run.err;

  const CliExchange refused = Cli(unit, {"press", "cmdPreset(31)", "txtPreset(31)=4294967296"});
  EXPECT_EQ(refused.run.exitCode, 1);
  EXPECT_TRUE(Has(refused.run.err, "Data Range Error: Please enter 0 to 4294967295.\nCheck data range.\n"))
      << refused.run.err;
  EXPECT_EQ(Beyond(refused, up), Strings{});

  SimOnPty sixteen({"--model", "Q5T3PM-BI16"}, kLogged);
  const CliExchange up16 = Cli(sixteen, {"upload"});
  ASSERT_EQ(up16.run.exitCode, 0) << up16.run.err;
  EXPECT_TRUE(Has(up16.run.out, "  channels 16  page 21 frmPI32\n")) << up16.run.out;
  EXPECT_EQ(Shown(up16.run.out, "txtFScale(15)"), "4294967295");
  EXPECT_EQ(Shown(up16.run.out, "txtFScale(16)"), "(not shown)");
  EXPECT_EQ(Shown(up16.run.out, "txtPA(16)"), "(not shown)");
  const CliExchange ch16 = Cli(sixteen, {"press", "cmdPreset(15)", "txtPreset(15)=5"});
  ASSERT_EQ(ch16.run.exitCode, 0) << ch16.run.err;
  EXPECT_EQ(Beyond(ch16, up16), Concat({W({"G00", "I60", "D5", "G00", "I01", "I77"}), Items(45, 60)}));
  const CliExchange ch17 = Cli(sixteen, {"press", "cmdPreset(16)"});
  EXPECT_EQ(ch17.run.exitCode, 1);
  EXPECT_TRUE(Has(ch17.run.err, "q5cfg-cli press: cmdPreset(16) is not shown for this unit\n"))
      << ch17.run.err;
  EXPECT_EQ(Beyond(ch17, up16), Strings{});
}

// The one-channel encoder counter has request buttons instead of presets: a request is
// "1" to its item in group "01" and acts on the values read afterwards.
TEST(PageCommandsOverPty, RequestsOfTheOneChannelEncoderCounter) {
  SimOnPty unit({"--model", "Q5T3NML3-6-PI1"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;
  EXPECT_TRUE(Has(up.run.out, "  channels 1  page 11 frmPI2\n")) << up.run.out;
  EXPECT_EQ(Shown(up.run.out, "txtRP(0)"), "0");

  const CliExchange none = Cli(unit, {"press", "cmdPreset(0)"});
  EXPECT_EQ(none.run.exitCode, 1);
  EXPECT_TRUE(Has(none.run.err, "frmPI2 has no button named cmdPreset(0)")) << none.run.err;
  EXPECT_EQ(Beyond(none, up), Strings{});

  // "Reset" of CH 0: the position at the reset is kept as the reset position.
  const CliExchange reset = Cli(unit, {"press", "Command3"});
  ASSERT_EQ(reset.run.exitCode, 0) << reset.run.err;
  EXPECT_EQ(Beyond(reset, up), W({"G01", "I80", "D1"}));
  EXPECT_GE(reset.run.seconds, 0.5) << "the request blocks the page for 500 ms";
  const CliExchange after = Cli(unit, {"upload"});
  ASSERT_EQ(after.run.exitCode, 0) << after.run.err;
  EXPECT_NE(Shown(after.run.out, "txtRP(0)"), "0") << after.run.out;
  EXPECT_NE(Shown(after.run.out, "txtRP(0)"), "(not shown)");
}

// "Change Value" on the PWM driver: the second pass switches the unit to manual outputs
// ("78" <- "1") and writes all four outputs; the third pass reads them back.
TEST(PageCommandsOverPty, PwmManualOutputsThroughChangeValue) {
  SimOnPty unit({"--model", "Q5W3NML3-E-EC4A"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;

  const CliExchange mon = Cli(unit, {"monitor", "--count", "3", "--change", "1234,-500"});
  ASSERT_EQ(mon.run.exitCode, 0) << mon.run.err;
  const Strings out = Lines(mon.run.out);
  ASSERT_EQ(out.size(), 4u) << mon.run.out;
  // The dialog keeps the present values of the outputs not given.
  const Strings err = Lines(mon.run.err);
  const auto said = std::find_if(err.begin(), err.end(),
                                 [](const std::string& l) { return l.rfind("Change Value: ", 0) == 0; });
  ASSERT_NE(said, err.end()) << mon.run.err;
  std::istringstream shownValues(said->substr(14));  // four values, "(written by ...)"
  Strings typed(4);
  for (std::string& v : typed) shownValues >> v;
  EXPECT_EQ(typed[0], "1234");
  EXPECT_EQ(typed[1], "-500");

  // Every live value is read with its group.
  const Strings pass = W({"G00", "I21", "G00", "I22", "G00", "I23", "G00", "I24"});
  EXPECT_EQ(Beyond(mon, up),
            Concat({pass, pass,
                    W({"G00", "I78", "D1", "I21", "D1234", "I22", "D-500", "I23", "D" + typed[2],
                       "I24", "D" + typed[3]}),
                    pass}));
  EXPECT_NE(out[3].find("txtParData(0)=1234 txtParData(1)=-500 txtParData(2)=" + typed[2] +
                        " txtParData(3)=" + typed[3]),
            std::string::npos)
      << out[3];

  // Out of range: the message, nothing queued, exit 1.
  const CliExchange refused = Cli(unit, {"monitor", "--count", "2", "--change", "0,32001"});
  EXPECT_EQ(refused.run.exitCode, 1);
  EXPECT_TRUE(Has(refused.run.err, kRangeMessage)) << refused.run.err;
  EXPECT_EQ(Beyond(refused, up), Concat({pass, pass}));
}

// The load cell's calibration buttons act at once: the "F" to the channel's button group,
// the command, and the value the button shows. Value checks come before anything is sent.
TEST(PageCommandsOverPty, LoadCellCalibrationButtons) {
  SimOnPty unit({"--model", "Q5T3NML3-6-SG2A"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;
  EXPECT_EQ(Shown(up.run.out, "txtAdjGain(1)"), "0.000");

  // Auto Zero of CH 0: the live value read straight after is the new zero.
  const CliExchange zero = Cli(unit, {"press", "cmdAutoZero0"});
  ASSERT_EQ(zero.run.exitCode, 0) << zero.run.err;
  EXPECT_EQ(Beyond(zero, up), W({"G01", "I01", "DF", "G01", "I32", "D", "G00", "I21"}));
  EXPECT_EQ(Shown(zero.run.out, "txtParData2(0)"), "0.00");

  // Gain UP of CH 1 (button group "02"), twice; the unit keeps the gain.
  for (const char* shown : {"0.001", "0.002"}) {
    const CliExchange upGain = Cli(unit, {"press", "cmdGainUPCH1"});
    ASSERT_EQ(upGain.run.exitCode, 0) << upGain.run.err;
    EXPECT_EQ(Beyond(upGain, up), W({"G02", "I01", "DF", "I40", "DU"}));
    EXPECT_EQ(Shown(upGain.run.out, "txtAdjGain(1)"), shown);
  }
  const CliExchange again = Cli(unit, {"upload"});
  EXPECT_EQ(Shown(again.run.out, "txtAdjGain(1)"), "0.002");
  EXPECT_EQ(Shown(again.run.out, "txtAdjGain(0)"), "0.000");

  // The largest gain passes; past it, and Auto Scale below 0, nothing is sent.
  const CliExchange apply = Cli(unit, {"press", "cmdGainApplyCH0", "txtAdjGain(0)=-3.2"});
  ASSERT_EQ(apply.run.exitCode, 0) << apply.run.err;
  EXPECT_EQ(Beyond(apply, up), W({"G01", "I01", "DF", "I40", "D-3.2"}));
  EXPECT_EQ(Shown(apply.run.out, "txtAdjGain(0)"), "-3.200");
  for (const std::vector<std::string>& press :
       {std::vector<std::string>{"cmdGainApplyCH0", "txtAdjGain(0)=3.21"},
        std::vector<std::string>{"cmdApplyCH1", "txtAdjscale(1)=-1"},
        std::vector<std::string>{"cmdOutputCH0", "txtAdjscale(0)=x"}}) {
    std::vector<std::string> words = {"press"};
    words.insert(words.end(), press.begin(), press.end());
    const CliExchange refused = Cli(unit, words);
    EXPECT_EQ(refused.run.exitCode, 1) << press[0];
    EXPECT_TRUE(Has(refused.run.err, kRangeMessage)) << press[0] << refused.run.err;
    EXPECT_EQ(Beyond(refused, up), Strings{}) << press[0];
  }

  // "Ext.Voltage" toggles: the unit starts at 5V, so the first press asks for 2.5V ("0")
  // and the next for 5V again.
  const CliExchange toLow = Cli(unit, {"press", "cmdExtvoltage"});
  ASSERT_EQ(toLow.run.exitCode, 0) << toLow.run.err;
  EXPECT_EQ(Beyond(toLow, up), W({"G00", "I01", "DF", "I53", "D0"}));
  const CliExchange toHigh = Cli(unit, {"press", "cmdExtvoltage"});
  ASSERT_EQ(toHigh.run.exitCode, 0) << toHigh.run.err;
  EXPECT_EQ(Beyond(toHigh, up), W({"G00", "I01", "DF", "I53", "D-1"}));
}

// The linearizer's table by cell name: upload prints all 32 points, a Download writes the
// number of points and only the points in use, a table whose X does not rise is refused.
TEST(PageCommandsOverPty, LinearizerTableCellsByName) {
  SimOnPty unit({"--model", "Q5T3NML3-6-LNRIO1"}, kLogged);
  ASSERT_FALSE(unit.path().empty());
  const CliExchange up = Cli(unit, {"upload"});
  ASSERT_EQ(up.run.exitCode, 0) << up.run.err;
  Strings cells;
  for (const std::string& line : Lines(up.run.out))
    if (line.rfind("dgd", 0) == 0) cells.push_back(line);
  ASSERT_EQ(cells.size(), 64u) << up.run.out;
  EXPECT_EQ(cells[0], "dgdX(1)\tX[%]\t0");
  EXPECT_EQ(cells[1], "dgdY(1)\tY[%]\t0");
  EXPECT_EQ(cells[2], "dgdX(2)\tX[%]\t322");
  EXPECT_EQ(cells[63], "dgdY(32)\tY[%]\t10000");
  EXPECT_EQ(Shown(up.run.out, "CmbLinearizationPoint"), "Disable [0]");

  const CliExchange set =
      Cli(unit, {"set", "CmbLinearizationPoint=3", "dgdX(1)=-1500", "dgdY(1)=0", "dgdX(2)=5000",
                 "dgdY(2)=2500", "dgdX(3)=11500", "dgdY(3)=11500", "dgdX(5)=7"});
  ASSERT_EQ(set.run.exitCode, 0) << set.run.err;
  const Strings& sent = set.received;
  const Strings points = W({"G02", "I10", "D3"});
  const auto at = std::search(sent.begin(), sent.end(), points.begin(), points.end());
  ASSERT_NE(at, sent.end());
  // Points 1 to 3 and no more (point 5 is not in use): group "00" comes next.
  EXPECT_EQ(Strings(at + 3, std::min(at + 16, sent.end())),
            Concat({W({"I11", "D-1500", "I12", "D0", "I13", "D5000", "I14", "D2500", "I15", "D11500",
                       "I16", "D11500"}),
                    W({"G00"})}));
  // The re-Upload reads the table back; the cell of point 5 shows the unit's value again.
  EXPECT_EQ(Shown(set.run.out, "CmbLinearizationPoint"), "3 [1]");
  EXPECT_EQ(Shown(set.run.out, "dgdX(1)"), "-1500");
  EXPECT_EQ(Shown(set.run.out, "dgdY(2)"), "2500");
  EXPECT_EQ(Shown(set.run.out, "dgdX(3)"), "11500");
  EXPECT_EQ(Shown(set.run.out, "dgdX(5)"), "1290");

  // A span outside 60.00 to 360.00, or with a word after it, and a clear value with a
  // third decimal are refused by their declared ranges before any Download: nothing but
  // the Upload's "F" is written.
  for (const char* typed : {"txtSpan=59", "txtSpan=270 hello", "txtOutputClearValue=115.001"}) {
    const CliExchange span = Cli(unit, {"set", typed});
    EXPECT_EQ(span.run.exitCode, 2) << typed;
    EXPECT_TRUE(Has(span.run.err, "Data Range Error")) << span.run.err;
    EXPECT_TRUE(Has(span.run.err, "; nothing written\n")) << span.run.err;
    for (const std::string& line : span.received) {
      if (line.rfind("D", 0) == 0) {
        EXPECT_EQ(line, "DF\\r") << "written after the refusal";
      }
    }
  }
  const CliExchange span = Cli(unit, {"set", "txtSpan=360.001"});
  EXPECT_TRUE(Has(span.run.err,
                  "q5cfg-cli set: txtSpan: Span [deg] is \"360.001\"; allowed 60 to "
                  "360, at most 2 decimals; nothing written\n"))
      << span.run.err;

  // X does not rise: refused with the message, nothing but the "F" written.
  const CliExchange flat = Cli(unit, {"set", "dgdX(2)=-1500"});
  EXPECT_EQ(flat.run.exitCode, 1);
  EXPECT_TRUE(Has(flat.run.err, kRangeMessage)) << flat.run.err;
  for (const std::string& line : flat.received) {
    if (line.rfind("D", 0) == 0) {
      EXPECT_EQ(line, "DF\\r") << "written after the refusal";
    }
  }
  const CliExchange kept = Cli(unit, {"upload"});
  EXPECT_EQ(Shown(kept.run.out, "dgdX(2)"), "5000");
}
