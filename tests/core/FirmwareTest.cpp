// The firmware image check and the update sequence against the simulated unit, on
// virtual time (every 500 ms wait and 3 s time-out costs nothing).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestDialogs.h"
#include "firmware/SRecord.h"
#include "firmware/frmFirmUpdate.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "link/Link.h"
#include "sim/SimPort.h"

using q5::firmware::CheckImage;
using q5::firmware::frmFirmUpdate;

namespace {

// tests/data/firmware-small.srec, made by objcopy -I binary -O srec from 40 bytes: an S0
// header, three S1 records (16, 16 and 8 bytes) and S9; every line ends in CR LF.
std::string SmallImage() {
  std::ifstream f(Q5_TEST_DATA "/firmware-small.srec", std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}
const char* kRecord1 = "S1130000F289B349C305BFF78CEB74004AE1BC53D2";
const char* kRecord2 = "S1130010AD6B1E6626ACCF2C091F722ED8E339D8DF";
const char* kRecord3 = "S10B002045A0531A572ACDD65E";

std::string WriteTemp(const std::string& name, const std::string& contents) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

class LogView : public q5::firmware::FirmUpdateView {
 public:
  std::vector<std::string> percents;  // first line of every progress entry
  std::vector<bool> buttonStates;
  void logAppended(const std::string& text, bool progress) override {
    if (progress) percents.push_back(text.substr(0, text.find('\r')));
    if (progress && onProgress) onProgress();
  }
  std::function<void()> onProgress;
  bool* button = nullptr;
  void buttonChanged() override { buttonStates.push_back(*button); }
};

struct Rig {
  explicit Rig(q5::sim::SimOptions options = {})
      : port(q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock, std::move(options))),
        exchange(*port, clock),
        link(exchange),
        fw(link, dialogs, {[this] { return connected; }, [] { return std::string("sim:"); }}) {
    exchange.setTraceObserver([this](q5::link::TraceEvent e, std::string_view text, std::int64_t) {
      if (e == q5::link::TraceEvent::Sent) wire.push_back(exchange.baudText() + " " + Visible(text));
    });
    view.button = &fw.btnFirmUpdate.enabled;
    fw.setView(&view);
    exchange.ComPortOpen("sim:Q5T3NML3-6-AI4");
  }
  static std::string Visible(std::string_view s) {
    std::string out;
    for (char c : s) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
  }
  std::vector<std::string> takeWire() {
    std::vector<std::string> w;
    w.swap(wire);
    return w;
  }
  q5::sim::SimulatedUnit& unit() { return port->unit(); }

  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange exchange;
  q5::link::Link link;
  TestDialogs dialogs;
  LogView view;
  bool connected = true;
  frmFirmUpdate fw;
  std::vector<std::string> wire;
};

std::vector<std::string> Identification(const std::string& baud) {
  return {baud + " G00\\r", baud + " I01\\r", baud + " DF\\r",
          baud + " G00\\r", baud + " I02\\r", baud + " I06\\r"};
}

}  // namespace

TEST(FirmwareImage, AGeneratedImagePassesWithItsSummary) {
  const auto r = CheckImage(SmallImage());
  ASSERT_TRUE(r.ok) << r.refusal();
  EXPECT_EQ(r.lines.size(), 5u);
  EXPECT_EQ(r.records, 5u);
  EXPECT_EQ(r.dataRecords, 3u);
  EXPECT_EQ(r.dataBytes, 40u);
  EXPECT_EQ(r.fileBytes, 160u);
  EXPECT_EQ(r.lowAddress, 0u);
  EXPECT_EQ(r.highAddress, 0x27u);
  EXPECT_EQ(r.lines[1].text, kRecord1);
  // 5 x 10 ms + (150 characters + 5 x CR LF + 5 x "COK" CR) x 10 bits at 115200.
  EXPECT_EQ(q5::firmware::TransferTimeUs(r), 50'000 + 180 * 10'000'000LL / 115200);
  const auto summary = q5::firmware::ImageSummary(r);
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[0], "Records: 5 (3 data records)");
  EXPECT_EQ(summary[1], "Data bytes: 40");
  EXPECT_EQ(summary[2], "Addresses: 00000000 to 00000027");
  EXPECT_EQ(summary[3], "Transfer at 115200 baud: about 0.1 s");
  // LF-only lines and lower-case hex are the same image.
  std::string lf = SmallImage();
  for (std::size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
  EXPECT_TRUE(CheckImage(lf).ok);
  EXPECT_TRUE(CheckImage("S1050000abcd82\r\nS9030000FC").ok);
}

TEST(FirmwareImage, EveryRefusalNamesTheLineAndWhy) {
  const std::string good = SmallImage();
  auto withLine = [&](int n, const std::string& text) {
    std::istringstream is(good);
    std::string out, l;
    for (int i = 1; std::getline(is, l); ++i) out += (i == n ? text + "\r" : l) + "\n";
    return out;
  };
  struct Case {
    std::string contents;
    std::size_t line;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {withLine(2, "S1130000F289B349C305BFF78CEB74004AE1BC53D3"), 2,
       "checksum is D3, the record's bytes give D2"},
      {withLine(3, "S1130010AD6B1E6626ACCF2C091F722ED8E339D8D"), 3, "odd number of hex digits (39)"},
      {withLine(4, "S40B002045A0531A572ACDD65E"), 4, "record type S4 does not exist"},
      {withLine(4, "SX0B002045A0531A572ACDD65E"), 4, "record type \"X\" is not S0 to S9"},
      {withLine(4, "S10C002045A0531A572ACDD65E"), 4,
       "byte count is 0C (12), the line holds 11 bytes after it"},
      {withLine(4, "S10B002045A0531A572ACDD6 5E"), 4, "code 20h at column 25 is not a hex digit"},
      {withLine(4, ":10002000F2"), 4, "does not begin with \"S\"; not an S-record"},
      {withLine(4, ""), 4, "empty line, not an S-record"},
      {withLine(4, "S102FFFE"), 4, "byte count 2 is too small for the 2-byte address and the checksum of S1"},
      // 33 data bytes at a 4-byte address: 80 characters, above the unit's 78.
      {withLine(4, "S326" + std::string(8, '0') + std::string(66, '0') + "D9"), 4,
       "80 characters, longer than the unit's limit of 78"},
      {good + "S1030000FC\r\n", 6, "a line after the termination record (line 5)"},
      {good.substr(0, good.find("S9")), 0,
       "The file has no termination record (S7, S8 or S9); it may be cut short"},
      {"S00600004844521B\r\nS9030000FC\r\n", 0, "The file holds no data records (S1, S2 or S3)"},
      {"", 0, "The file is empty"},
  };
  for (const auto& c : cases) {
    const auto r = CheckImage(c.contents);
    EXPECT_FALSE(r.ok) << c.reason;
    EXPECT_EQ(r.line, c.line) << c.reason;
    EXPECT_EQ(r.reason, c.reason);
  }
  EXPECT_EQ(CheckImage(cases[0].contents).refusal(), "Line 2: checksum is D3, the record's bytes give D2");
  // A 78-character record (32 data bytes at a 4-byte address) is within the limit.
  std::string s3 = "S325" + std::string(8, '0') + std::string(64, '0') + "DA";
  EXPECT_TRUE(CheckImage(s3 + "\r\nS70500000000FA\r\n").ok) << CheckImage(s3 + "\r\nS70500000000FA\r\n").refusal();
  EXPECT_EQ(q5::firmware::CheckImageFile(testing::TempDir() + "no-such.srec").line, 0u);
}

TEST(FirmwareUpdate, ExactWireOfASmallImageBaudSwitchPercentagesAndNewVersion) {
  Rig rig;
  rig.fw.Form_Load();
  EXPECT_EQ(rig.takeWire(), Identification("9600"));
  EXPECT_EQ(rig.fw.txtFirmInfo.text, "Q5T3NML3-6-AI4\r\n1.05\r\n");

  rig.dialogs.openFiles = {WriteTemp("fw-small.srec", SmallImage())};
  rig.dialogs.answers = {true, true};
  const int opensBefore = rig.port->opens();
  rig.fw.btnFirmUpdate_Click();

  std::vector<std::string> expected = {
      "9600 G00\\r", "9600 I82\\r", "9600 DSS\\r", "9600 I86\\r", "9600 D115200\\r\\n",
      "115200 I82\\r",
      "115200 S00D0000736D616C6C2E73726563FE\\r\\n",
      "115200 " + std::string(kRecord1) + "\\r\\n",
      "115200 " + std::string(kRecord2) + "\\r\\n",
      "115200 " + std::string(kRecord3) + "\\r\\n",
      "115200 S9030000FC\\r\\n",
      "115200 I82\\r", "115200 SV\\r\\n", "115200 I82\\r",
      "115200 I82\\r", "115200 SW\\r\\n"};
  for (const auto& l : Identification("9600")) expected.push_back(l);
  EXPECT_EQ(rig.takeWire(), expected);
  // Closed and opened again at 115200, then at 9600.
  EXPECT_EQ(rig.port->opens(), opensBefore + 2);
  EXPECT_EQ(rig.port->line().baud(), 9600);
  EXPECT_EQ(rig.exchange.baudText(), "9600");

  EXPECT_EQ(rig.view.percents,
            (std::vector<std::string>{"20.0%", "47.5%", "75.0%", "92.5%", "100.0%"}));
  // The CRC16 of the 40 data bytes (CCITT, initial FFFF), from character 10 of "FIRMWARE:FEDB".
  EXPECT_EQ(rig.fw.unitCrc(), "FEDB");
  ASSERT_EQ(rig.dialogs.questions.size(), 2u);
  EXPECT_EQ(rig.dialogs.questions[0], (TestDialogs::Question{"update firm ?", "message"}));
  EXPECT_EQ(rig.dialogs.questions[1],
            (TestDialogs::Question{"CRC16 = FEDB. CRC16 is TRUE ?", "message"}));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.fw.txtFirmInfo.text, "Q5T3NML3-6-AI4\r\n1.06\r\nUpdate Completed!!\r\n");
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Completed);
  EXPECT_EQ(rig.view.buttonStates, (std::vector<bool>{false, true}));
  EXPECT_EQ(rig.unit().firmware().programmed, 1);
  EXPECT_EQ(rig.unit().firmware().received.size(), 40u);
}

TEST(FirmwareUpdate, LogRoutineAndALastLineWithoutBreak) {
  Rig rig;
  rig.fw.WriteLog("");
  rig.fw.WriteLog("ab");
  rig.fw.WriteLog(".");
  rig.fw.WriteLog(".");
  rig.fw.WriteLog("cd");
  EXPECT_EQ(rig.fw.txtFirmInfo.text, "ab\r\n..cd\r\n");
  rig.fw.WriteLog("");
  EXPECT_EQ(rig.fw.txtFirmInfo.text, "");

  // Each line counts its length + 2: without the last CR LF the file is 158 bytes and
  // the count ends at 160.
  std::string image = SmallImage();
  image.resize(image.size() - 2);
  rig.dialogs.openFiles = {WriteTemp("fw-nobreak.srec", image)};
  rig.dialogs.answers = {true, true};
  rig.fw.btnFirmUpdate_Click();
  EXPECT_EQ(rig.view.percents,
            (std::vector<std::string>{"20.3%", "48.1%", "75.9%", "93.7%", "101.3%"}));
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Completed);
}

TEST(FirmwareUpdate, ADamagedFileOrNoToTheFirstQuestionSendsNothing) {
  Rig rig;
  std::string bad = SmallImage();
  bad.replace(bad.find(kRecord3), 26, "S10B002045A0531A572ACDD65F");
  rig.dialogs.openFiles = {WriteTemp("fw-bad.srec", bad), WriteTemp("fw-good.srec", SmallImage()),
                           std::nullopt};
  rig.dialogs.answers = {false};

  rig.fw.btnFirmUpdate_Click();
  EXPECT_TRUE(rig.takeWire().empty());
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Refused);
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].text,
            "The file is not a firmware image the unit can take.\r\n"
            "Line 4: checksum is 5F, the record's bytes give 5E");
  EXPECT_EQ(rig.dialogs.messages[0].caption, "FirmUpdate");
  EXPECT_TRUE(rig.dialogs.questions.empty());
  EXPECT_NE(rig.fw.txtFirmInfo.text.find("Line 4: checksum is 5F"), std::string::npos);

  rig.fw.btnFirmUpdate_Click();  // No to "update firm ?"
  EXPECT_TRUE(rig.takeWire().empty());
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Declined);
  EXPECT_EQ(rig.exchange.baudText(), "9600");
  EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);

  rig.fw.btnFirmUpdate_Click();  // the file choice cancelled
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Cancelled);
  EXPECT_TRUE(rig.takeWire().empty());
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);

  rig.connected = false;  // nothing happens without a unit
  rig.dialogs.openFiles = {WriteTemp("fw-good.srec", SmallImage())};
  rig.fw.btnFirmUpdate_Click();
  EXPECT_EQ(rig.dialogs.openFiles.size(), 1u);
}

TEST(FirmwareUpdate, NoToTheCrcLeavesTheLinkAtTheUnitsRateAndASecondAttemptWorks) {
  Rig rig;
  const std::string path = WriteTemp("fw-small2.srec", SmallImage());
  rig.dialogs.openFiles = {path, path};
  rig.dialogs.answers = {true, false, true, true};
  rig.fw.btnFirmUpdate_Click();
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Declined);
  EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
  EXPECT_EQ(rig.exchange.baudText(), "115200");
  EXPECT_TRUE(rig.exchange.isOpen());
  EXPECT_EQ(rig.port->line().lineCount("SW"), 0);
  EXPECT_NE(rig.fw.txtFirmInfo.text.find("The unit is still in update mode at 115200 baud: "
                                         "repeat the update or power-cycle it"),
            std::string::npos);
  EXPECT_EQ(rig.unit().version(), "1.05");

  rig.takeWire();
  rig.fw.btnFirmUpdate_Click();
  const auto wire = rig.takeWire();
  ASSERT_GE(wire.size(), 3u);
  EXPECT_EQ(wire[0], "115200 G00\\r");  // the start goes out at the rate the unit is at
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Completed);
  EXPECT_EQ(rig.unit().version(), "1.06");
  EXPECT_EQ(rig.exchange.baudText(), "9600");

  // Closing the window after a declined CRC returns the link to 9600.
  rig.dialogs.openFiles = {path};
  rig.dialogs.answers = {true, false};
  rig.fw.btnFirmUpdate_Click();
  EXPECT_EQ(rig.exchange.baudText(), "115200");
  rig.fw.Form_Unload();
  EXPECT_EQ(rig.exchange.baudText(), "9600");
  EXPECT_TRUE(rig.exchange.isOpen());
}

TEST(FirmwareUpdate, LostAndRefusedLinesAreCountedAndNamedInTheCrcQuestion) {
  // A record unanswered once and another refused once go again and get through; the
  // question still names what was lost on the way.
  q5::sim::SimOptions options;
  options.faults = {std::string("noreply:=") + kRecord2 + "*1", std::string("cng:=") + kRecord3 + "*1"};
  Rig rig(options);
  rig.dialogs.openFiles = {WriteTemp("fw-lost.srec", SmallImage())};
  rig.dialogs.answers = {true, false};
  rig.fw.btnFirmUpdate_Click();
  EXPECT_EQ(rig.fw.unansweredLines(), 1);
  EXPECT_EQ(rig.fw.refusedLines(), 1);
  ASSERT_EQ(rig.dialogs.questions.size(), 2u);
  EXPECT_EQ(rig.dialogs.questions[1].text,
            "1 line got no reply, 1 line was refused.\r\nCRC16 = " +
                rig.fw.unitCrc() + ". CRC16 is TRUE ?");
  EXPECT_NE(rig.fw.txtFirmInfo.text.find("1 line got no reply"), std::string::npos);

  // A record refused on every attempt ends the transfer: no CRC question, no "SW", the
  // unit waits in update mode, and the update failed.
  q5::sim::SimOptions refusing;
  refusing.faults = {std::string("cng:=") + kRecord3};
  Rig hole(refusing);
  hole.dialogs.openFiles = {WriteTemp("fw-hole.srec", SmallImage())};
  hole.dialogs.answers = {true, true};
  hole.fw.btnFirmUpdate_Click();
  EXPECT_EQ(hole.fw.outcome(), frmFirmUpdate::Outcome::Failed);
  EXPECT_EQ(hole.fw.refusedLines(), 4);
  EXPECT_EQ(hole.dialogs.questions.size(), 1u);
  EXPECT_EQ(hole.unit().firmware().received.size(), 32u);  // records 1 and 2 only
  EXPECT_EQ(hole.exchange.baudText(), "115200");
  EXPECT_NE(hole.fw.txtFirmInfo.text.find(
                "The unit is still in update mode at 115200 baud: repeat the update or power-cycle it"),
            std::string::npos);
  EXPECT_EQ(frmFirmUpdate::LostLinesText(3, 0), "3 lines got no reply");
}

TEST(FirmwareUpdate, TheCrcIsFourCharactersFromTheTenthWhateverTheReplysLength) {
  for (const auto& [value, crc] : std::vector<std::pair<std::string, std::string>>{
           {"FIRMWARE:12AB", "12AB"}, {"FIRMWARE:12AB and more", "12AB"}, {"0123456789ABC", "9ABC"}}) {
    Rig rig;
    rig.dialogs.openFiles = {WriteTemp("fw-crc.srec", SmallImage())};
    rig.dialogs.answers = {true, false};
    rig.unit().item("00", "82").format([v = value](const q5::sim::SimulatedUnit&, const std::string&) { return v; });
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.unitCrc(), crc);
    ASSERT_EQ(rig.dialogs.questions.size(), 2u);
    EXPECT_EQ(rig.dialogs.questions[1].text, "CRC16 = " + crc + ". CRC16 is TRUE ?");
  }
  // Without four characters there is nothing to confirm: no question, a failure.
  for (const std::string value : {"FIRMWARE:12A", ""}) {
    Rig rig;
    rig.dialogs.openFiles = {WriteTemp("fw-crc.srec", SmallImage())};
    rig.dialogs.answers = {true, true};
    if (value.empty()) {
      rig.port->fault("noreply:00/82+2");  // the I82 lines after the records
    } else {
      rig.unit().item("00", "82").format([v = value](const q5::sim::SimulatedUnit&, const std::string&) { return v; });
    }
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.dialogs.questions.size(), 1u) << value;
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
    EXPECT_EQ(rig.port->line().lineCount("SW"), 0);
    EXPECT_EQ(rig.exchange.baudText(), "115200");
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].caption, "FirmUpdate");
  }
}

TEST(FirmwareUpdate, AUnitThatDidNotSwitchOrALostPortStopsTheTransfer) {
  std::string image = SmallImage();
  for (int i = 0; i < 20; ++i) image.insert(image.find("S9"), std::string(kRecord1) + "\r\n");
  {
    // The unit never hears "D115200": it stays at 9600 and hears nothing at 115200, not
    // even the "82" read that opens the transfer; no record is sent.
    q5::sim::SimOptions options;
    options.faults = {"noreply:00/86/D"};
    Rig rig(options);
    rig.dialogs.openFiles = {WriteTemp("fw-long.srec", image)};
    rig.dialogs.answers = {true, true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_EQ(rig.fw.unansweredLines(), 0);
    EXPECT_EQ(rig.port->line().lineCount(kRecord1), 0);
    EXPECT_EQ(rig.dialogs.questions.size(), 1u);
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
    // Back at 9600, where the unit still listens: a second attempt can start.
    EXPECT_EQ(rig.exchange.baudText(), "9600");
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text,
              "The unit gave no reply at 115200 baud; nothing of the image was sent.\r\n"
              "The unit may still be in update mode: repeat the update or power-cycle it.");
  }
  {
    // The unit answers the "82" read at 115200 but none of the records: the first record
    // goes out three times, then the unit is taken as not listening at 115200.
    q5::sim::SimOptions options;
    options.faults = {"noreply+6"};
    Rig rig(options);
    rig.dialogs.openFiles = {WriteTemp("fw-long.srec", image)};
    rig.dialogs.answers = {true, true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_EQ(rig.fw.unansweredLines(), 3);
    EXPECT_EQ(rig.port->line().lineCount(kRecord2), 0);
    EXPECT_EQ(rig.port->line().lineCount(kRecord3), 0);
    EXPECT_EQ(rig.exchange.baudText(), "9600");
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text.substr(0, 42), "The unit gave no reply at 115200 baud; the");
  }
  {
    q5::sim::SimOptions options;
    options.faults = {std::string("vanish:=") + kRecord2};
    Rig rig(options);
    rig.dialogs.openFiles = {WriteTemp("fw-vanish.srec", SmallImage())};
    rig.dialogs.answers = {true, true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_EQ(rig.fw.unansweredLines(), 1);
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text.substr(0, 77),
              "The connection to the unit was lost during the transfer (Line 3 of 5). 1 line");
  }
}

TEST(FirmwareUpdate, CompletedOnlyWhenTheWriteAndTheFinalIdentifyAnswered) {
  {
    q5::sim::SimOptions options;
    options.faults = {"noreply:=SW"};
    Rig rig(options);
    rig.dialogs.openFiles = {WriteTemp("fw-sw.srec", SmallImage())};
    rig.dialogs.answers = {true, true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_EQ(rig.fw.txtFirmInfo.text.find("Update Completed!!"), std::string::npos);
    EXPECT_EQ(rig.exchange.baudText(), "115200");
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
  }
  {
    q5::sim::SimOptions options;
    options.faults = {"noreply:00/06+1"};  // the identify after programming
    Rig rig(options);
    rig.fw.Form_Load();
    rig.dialogs.openFiles = {WriteTemp("fw-id.srec", SmallImage())};
    rig.dialogs.answers = {true, true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Failed);
    EXPECT_EQ(rig.fw.txtFirmInfo.text.find("Update Completed!!"), std::string::npos);
    EXPECT_NE(rig.fw.txtFirmInfo.text.find("did not identify itself"), std::string::npos);
    EXPECT_EQ(rig.exchange.baudText(), "9600");
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
    EXPECT_EQ(rig.dialogs.captions(), (std::vector<std::string>{"Upload", "FirmUpdate"}));
  }
  {
    // A start the unit refuses: "Upload Error", nothing else sent, the unit unchanged.
    q5::sim::SimOptions options;
    options.faults = {"cng:00/82/D"};
    Rig rig(options);
    rig.dialogs.openFiles = {WriteTemp("fw-ss.srec", SmallImage())};
    rig.dialogs.answers = {true};
    rig.fw.btnFirmUpdate_Click();
    EXPECT_EQ(rig.takeWire(), (std::vector<std::string>{"9600 G00\\r", "9600 I82\\r", "9600 DSS\\r",
                                                        "9600 G00\\r", "9600 I82\\r", "9600 DSS\\r"}));
    EXPECT_EQ(rig.dialogs.messages[0], (TestDialogs::Message{"Upload Error", "Upload", q5::ui::Icon::Error}));
    EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
    EXPECT_EQ(rig.exchange.baudText(), "9600");
  }
}

// The CRC16 the tool computes from the file's data records (polynomial 1021, start
// FFFF): the one a unit reports for the whole image, beside the question, so a person has
// something to compare with. Header and termination records do not count; the order does.
TEST(FirmwareImage, TheFileCrcIsComputedOverTheDataRecordsInOrder) {
  const std::string image =
      "S00D0000736D616C6C2E73726563FE\r\n"
      "S1130000F289B349C305BFF78CEB74004AE1BC53D2\r\n"
      "S1130010AD6B1E6626ACCF2C091F722ED8E339D8DF\r\n"
      "S10B002045A0531A572ACDD65E\r\n"
      "S9030000FC\r\n";
  const q5::firmware::ImageCheck check = q5::firmware::CheckImage(image);
  ASSERT_TRUE(check.ok) << check.refusal();
  EXPECT_EQ(check.dataCrc16, 0xFEDB);
  // "123456789" gives the check value of this CRC, 29B1.
  const std::string nine = "S10C000031323334353637383916\r\nS9030000FC\r\n";
  const q5::firmware::ImageCheck n = q5::firmware::CheckImage(nine);
  ASSERT_TRUE(n.ok) << n.refusal();
  EXPECT_EQ(n.dataCrc16, 0x29B1);
}

// Closing the window during the transfer asks first and says the unit stays in update
// mode; No goes on, Yes stops after the record under way and nothing more is sent.
TEST(FirmwareUpdate, ClosingTheWindowDuringTheTransferAsksAndStopsAfterTheRecordUnderWay) {
  Rig rig;
  rig.fw.Form_Load();
  EXPECT_TRUE(rig.fw.confirmStopForClose());  // no update runs: no question
  rig.takeWire();
  rig.dialogs.openFiles = {WriteTemp("fw-close.srec", SmallImage())};
  rig.dialogs.answers = {true, false, true};  // update firm ?, close: No, close: Yes
  int progress = 0;
  bool yes = false;
  std::size_t wireAtYes = 0;
  rig.view.onProgress = [&] {
    ++progress;
    if (progress == 2) {
      EXPECT_FALSE(rig.fw.confirmStopForClose());
    }
    if (progress == 3) {
      yes = rig.fw.confirmStopForClose();
      wireAtYes = rig.wire.size();
    }
  };
  rig.fw.btnFirmUpdate_Click();
  ASSERT_TRUE(yes);
  ASSERT_EQ(rig.dialogs.questions.size(), 3u);
  const std::string where =
      "The unit is still in update mode at 115200 baud: repeat the update or power-cycle it";
  EXPECT_EQ(rig.dialogs.questions[2].caption, "FirmUpdate");
  EXPECT_NE(rig.dialogs.questions[2].text.find(where), std::string::npos) << rig.dialogs.questions[2].text;
  // The record under way had been answered when the question came; nothing followed it.
  EXPECT_EQ(rig.wire.size(), wireAtYes);
  EXPECT_EQ(rig.wire.back(), "115200 " + std::string(kRecord2) + "\\r\\n");
  EXPECT_EQ(rig.fw.outcome(), frmFirmUpdate::Outcome::Interrupted);
  EXPECT_TRUE(rig.fw.inUpdateMode());
  EXPECT_NE(rig.fw.txtFirmInfo.text.find(where), std::string::npos);
  EXPECT_EQ(rig.unit().firmware().programmed, 0);
  EXPECT_FALSE(rig.fw.running());
}
