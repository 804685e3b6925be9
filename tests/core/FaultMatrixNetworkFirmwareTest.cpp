// The fault matrix of the network settings windows and of the firmware update, in-process
// on virtual time.
//
// Network windows: for one unit of every network kind (and each Ethernet model group),
// the window's reads when the network button opens it, and a press of its Upload and of
// its Download, against every line fault of FaultMatrix.h. Each case: the step ends within
// its time bound, says what went wrong at most once and with the window's own message,
// reports a failure exactly when the fault was not absorbed, leaves Upload and Exit usable,
// the window's Exit connects again, and the window works as before afterwards.
//
// Firmware update: faults placed at the start, the rate switch, the record lines, the CRC
// check, the write and the identification after it. Each row: how the sequence ended, the
// exact message, the time-outs it cost, the last line sent (nothing after it), the rate the
// link is left at, and how the unit is brought back (the update repeated, or the window
// closed and the unit connected again, after a power cycle where the unit was left in
// update mode), after which a whole update completes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FaultMatrix.h"
#include "SessionTestRig.h"
#include "firmware/frmFirmUpdate.h"

namespace q5::firmware {
// Readable failure output for the way an update ended.
inline void PrintTo(frmFirmUpdate::Outcome o, std::ostream* os) {
  static const char* const kNames[] = {"None", "Cancelled", "Refused", "Declined", "Failed", "Completed"};
  *os << kNames[static_cast<int>(o)];
}
}  // namespace q5::firmware

namespace {

using Msg = TestDialogs::Message;
using q5::ui::Icon;

// Counts time-outs and keeps the rig's wire lines (without CR / LF) while a case runs;
// linesAtTimeOut: the number of wire lines when the last time-out struck.
void Observe(SessionRig& rig, int& timeOuts, std::size_t* linesAtTimeOut = nullptr) {
  rig.exchange.setTraceObserver(
      [&rig, &timeOuts, linesAtTimeOut](q5::link::TraceEvent e, std::string_view text, std::int64_t) {
        if (e == q5::link::TraceEvent::TimedOut) {
          ++timeOuts;
          if (linesAtTimeOut) *linesAtTimeOut = rig.wire.size();
        }
        if (e != q5::link::TraceEvent::Sent) return;
        std::string line(text);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        rig.wire.push_back(line);
      });
}

std::vector<Msg> Errors(const TestDialogs& dialogs) {
  std::vector<Msg> out;
  for (const auto& m : dialogs.messages)
    if (m.icon == Icon::Error) out.push_back(m);
  return out;
}

// ---- Network windows ------------------------------------------------------------------

// One unit per network kind, and one per Ethernet model group.
const char* const kNetModels[] = {
    "Q5V3PE-6-BO16",      // Ethernet, plain: socket ports and linger timers, no gateway
    "Q5W3NEIP-BO32",      // EtherNet/IP: gateway, no sockets, address mode written as 0
    "Q5V3PE-6-BI16",      // Ethernet with gateway, sockets and the CONFIG / DHCP choice
    "Q5W3ND-BI32A-I",     // DeviceNet
    "Q5Z3UCIE-SG2-9/F1",  // CC-Link IE Field
    "Q5V3UM-AC32",        // Modbus
};

enum class NetStep { Open, Upload, Download };
const char* StepName(NetStep s) {
  return s == NetStep::Open ? "open" : s == NetStep::Upload ? "Upload" : "Download";
}

const Msg kUploadIncomplete{"Uploading incomplete", "Uploading", Icon::Error};
const Msg kDownloadIncomplete{"Downloading incomplete", "Downloading", Icon::Error};

// The network button opens the window; the step is its reads on opening, or a press of
// its Upload or Download once it is open. The faults are added as the step starts; `then`
// runs while the window is still open, after the step. Returns the time the step took.
std::int64_t RunNetStep(SessionRig& rig, NetStep step, const std::vector<std::string>& faults,
                        const std::function<void(q5::netpages::NetworkWindow&)>& then) {
  std::int64_t t0 = 0, elapsed = -1;
  auto start = [&] {
    rig.dialogs.clear();
    for (const auto& f : faults) rig.port->fault(f);
    t0 = rig.clock.nowUs();
  };
  rig.view.onNetworkWindow = [&](int) {
    q5::netpages::NetworkWindow* w = rig.session.networkWindow();
    if (step != NetStep::Open) {
      start();
      EXPECT_TRUE(w->Press(step == NetStep::Upload ? "btnUpload" : "btnDownload"));
    }
    elapsed = rig.clock.nowUs() - t0;
    if (then) then(*w);
  };
  if (step == NetStep::Open) start();
  rig.session.btnComNet_Click();
  rig.view.onNetworkWindow = {};
  return elapsed;
}

void RunNetCase(const char* model, NetStep step, const Fault& fault) {
  SCOPED_TRACE(std::string(model) + " / " + StepName(step) + " / " + fault.name);
  SessionRig rig(model);
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  int timeOuts = 0;
  std::size_t linesAtTimeOut = 0;
  Observe(rig, timeOuts, &linesAtTimeOut);
  const std::int64_t cleanUs = RunNetStep(rig, step, {}, nullptr);
  ASSERT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  ASSERT_EQ(timeOuts, 0);

  timeOuts = 0;
  int stepTimeOuts = 0;
  std::vector<Msg> errors;
  bool failed = false;
  const std::int64_t elapsed = RunNetStep(rig, step, fault.faults, [&](q5::netpages::NetworkWindow& w) {
    stepTimeOuts = timeOuts;
    errors = Errors(rig.dialogs);
    EXPECT_EQ(errors.size(), rig.dialogs.messages.size()) << rig.dialogs.messages[0];
    failed = !errors.empty() || rig.session.link().failures().any();
    // A unit given up is sent nothing more: the silent line that gave it up was the last.
    if (rig.session.link().failures().gaveUp) {
      EXPECT_EQ(rig.wire.size(), linesAtTimeOut);
    }
    // Whatever happened, the window can be read again or left.
    EXPECT_TRUE(w.btnUpload.enabled && w.btnExit.enabled);
    EXPECT_FALSE(rig.session.buttons().btnComNet);  // no second window under this one
    // The fault gone, the window's Exit connects again and reads the unit.
    rig.port->line().clearFaults();
    rig.port->line().restore();
    rig.dialogs.clear();
    EXPECT_TRUE(w.Press("btnExit"));
    EXPECT_FALSE(w.visible);
    EXPECT_TRUE(rig.session.values.Connected);
    EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  });

  ASSERT_GE(elapsed, 0);
  EXPECT_LE(stepTimeOuts, fault.maxTimeOuts);
  EXPECT_LE(elapsed, 4 * cleanUs + fault.maxTimeOuts * kTimeOutUs + 1'000'000) << cleanUs;
  // One message at most, and the window's own: the re-read that ends a Download may be
  // what failed.
  EXPECT_LE(errors.size(), 1u) << errors[0] << " | " << errors.back();
  for (const auto& m : errors) {
    if (step == NetStep::Download) {
      EXPECT_TRUE(m == kDownloadIncomplete || m == kUploadIncomplete) << m;
    } else {
      EXPECT_EQ(m, kUploadIncomplete);
    }
  }
  if (fault.outcome == Outcome::Absorbed) {
    EXPECT_FALSE(failed);
  } else if (fault.outcome == Outcome::Fails) {
    EXPECT_TRUE(failed);
  }

  // The window works as before: opened again, its Download writes and reads back.
  rig.dialogs.clear();
  timeOuts = 0;
  RunNetStep(rig, NetStep::Download, {}, nullptr);
  EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  EXPECT_EQ(timeOuts, 0);
  EXPECT_EQ(rig.session.failure(), "");
  EXPECT_TRUE(rig.session.values.Connected);
}

void RunNetStepMatrix(NetStep step) {
  for (const char* model : kNetModels)
    for (const Fault& fault : kFaults) RunNetCase(model, step, fault);
}

// ---- Firmware update ------------------------------------------------------------------

// An S1 record of the data at the address, with its checksum.
std::string S1(unsigned address, const std::vector<unsigned>& data) {
  unsigned sum = static_cast<unsigned>(data.size()) + 3 + (address >> 8) + (address & 0xFF);
  char buf[16];
  std::snprintf(buf, sizeof buf, "S1%02X%04X", static_cast<unsigned>(data.size()) + 3, address);
  std::string s = buf;
  for (unsigned b : data) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    s += buf;
    sum += b;
  }
  std::snprintf(buf, sizeof buf, "%02X", 0xFF - (sum & 0xFF));
  return s + buf;
}

// Fourteen lines: a header, twelve data records of 16 bytes, the termination record.
std::vector<std::string> ImageLines() {
  std::vector<std::string> lines{"S00600004844521B"};
  for (unsigned r = 0; r < 12; ++r) {
    std::vector<unsigned> data;
    for (unsigned k = 0; k < 16; ++k) data.push_back((r * 16 + k) * 7 & 0xFF);
    lines.push_back(S1(r * 16, data));
  }
  lines.push_back("S9030000FC");
  return lines;
}

const std::vector<std::string>& Image() {
  static const std::vector<std::string> lines = ImageLines();
  return lines;
}
// The n-th line of the image (1-based).
std::string R(int n) { return Image()[static_cast<std::size_t>(n - 1)]; }

const std::string& ImagePath() {
  static const std::string path = [] {
    const std::string p = testing::TempDir() + "fault-matrix-image.srec";
    std::ofstream f(p, std::ios::binary);
    for (const auto& l : Image()) f << l << "\r\n";
    return p;
  }();
  return path;
}

// Answers "update firm ?" with Yes, and the CRC question with Yes only when it shows the
// CRC16 of the whole image, as a person comparing it with the image's would.
class CrcDialogs : public TestDialogs {
 public:
  std::string imageCrc;  // "" : Yes to any CRC16
  bool ask(const std::string& text, const std::string& caption) override {
    const bool crcQuestion = text != "update firm ?";
    answers = {!crcQuestion || imageCrc.empty() ||
               text.find("CRC16 = " + imageCrc + ". CRC16 is TRUE ?") != std::string::npos};
    return TestDialogs::ask(text, caption);
  }
};

struct FwRig : SessionRig {
  FwRig()
      : SessionRig("Q5T3NML3-6-AI4"),
        fw(session.link(), fwDialogs,
           {[this] { return session.values.Connected; }, [this] { return session.portName(); }}) {}
  // Runs the update with the image; true when it completed.
  bool update() {
    fwDialogs.openFiles = {ImagePath()};
    fw.btnFirmUpdate_Click();
    return fw.outcome() == q5::firmware::frmFirmUpdate::Outcome::Completed;
  }
  // A power cycle: the unit forgets the update and listens at its normal rate.
  void powerCycle() {
    unit().firmware() = {};
    unit().setBaud(0);
  }
  CrcDialogs fwDialogs;
  q5::firmware::frmFirmUpdate fw;
};

// How the unit and the link are brought back after the row's fault.
enum class Recovery {
  Repeat,      // the update repeated at once (the unit waits in update mode)
  Reconnect,   // the window closed, the unit disconnected and connected again
  PowerCycle,  // as Reconnect, after a power cycle of the unit
};

using FwOutcome = q5::firmware::frmFirmUpdate::Outcome;

struct FwRow {
  const char* name;
  std::vector<std::string> faults;  // added as the update starts
  FwOutcome outcome;
  int timeOuts;                   // exactly
  std::vector<Msg> messages;      // exactly, in order
  // The CRC question: nullptr when not asked, else how it begins (the lost lines it
  // names, or "CRC16 = " when none were lost).
  const char* question;
  std::string lastSent;           // the last line on the wire: nothing after it
  const char* baud;               // the link's rate at the end
  Recovery recovery;
  bool whole = true;        // every record reached the unit: the CRC16 shown is the image's
  bool programmed = false;  // the unit programmed the image
};

const char* const kStillInUpdateMode =
    "The unit is still in update mode at 115200 baud: repeat the update or power-cycle it";
const char* const kNoReplyAt115200 =
    "The unit may still be in update mode: repeat the update or power-cycle it.";
Msg Fw(const std::string& text) { return {text, "FirmUpdate", Icon::Error}; }
std::string Stopped(int record, const std::string& how) {
  return "The transfer was stopped: Line " + std::to_string(record) + " of 14 was " + how +
         " 4 times; the image was not programmed.\r\n" + kStillInUpdateMode;
}
const Msg kUploadError{"Upload Error", "Upload", Icon::Error};

// Wire lines of a clean update of the 14-line image: 1 G00, 2 I82, 3 DSS, 4 I86,
// 5 D115200, 6 I82, 7..20 the image, 21 I82, 22 SV, 23 I82, 24 I82, 25 SW, 26..31 the
// identification (G00 I01 DF G00 I02 I06).
std::vector<FwRow> FwRows() {
  const char* const kNone = "CRC16 = ";
  return std::vector<FwRow>{
      {"start refused", {"cng:00/82/D"}, FwOutcome::Failed, 0, {kUploadError}, nullptr, "DSS",
       "9600", Recovery::Reconnect},
      {"silent from the start", {"noreply"}, FwOutcome::Failed, 2, {kUploadError}, nullptr, "G00",
       "9600", Recovery::Reconnect},
      // Silent from "86" on: given up at the first read at 115200, no record sent.
      {"silent once the start was taken", {"noreply+3"}, FwOutcome::Failed, 4,
       {Fw("The unit gave no reply at 115200 baud; nothing of the image was sent.\r\n" +
           std::string(kNoReplyAt115200))},
       nullptr, "I82", "9600", Recovery::Reconnect},
      {"port vanishes at the rate switch", {"vanish:=D115200"}, FwOutcome::Failed, 0,
       {Fw("The port could not be opened again at 115200 baud.\r\n" + std::string(kStillInUpdateMode))},
       nullptr, "D115200", "115200", Recovery::PowerCycle},
      // A record that never gets through ends the transfer after its four attempts; the
      // unit, which answered the records before, waits in update mode at 115200.
      {"silent in the middle of the transfer", {"noreply+10"}, FwOutcome::Failed, 4,
       {Fw(Stopped(5, "not answered"))}, nullptr, R(5), "115200", Recovery::PowerCycle, false},
      {"one record unanswered", {"noreply:=" + R(5)}, FwOutcome::Failed, 4,
       {Fw(Stopped(5, "not answered"))}, nullptr, R(5), "115200", Recovery::Repeat, false},
      {"one record unanswered once", {"noreply:=" + R(5) + "*1"}, FwOutcome::Completed, 1, {},
       "1 line got no reply.\r\nCRC16 = ", "I06", "9600", Recovery::Repeat},
      {"a record refused", {"cng:=" + R(5)}, FwOutcome::Failed, 0,
       {Fw(Stopped(5, "refused (\"CNG\")"))}, nullptr, R(5), "115200", Recovery::Repeat, false},
      {"a record refused once", {"cng:=" + R(5) + "*1"}, FwOutcome::Completed, 0, {},
       "1 line was refused.\r\nCRC16 = ", "I06", "9600", Recovery::Repeat},
      {"reset reply to a record", {"reply:=" + R(5) + ":\\x00\\xFFQ5 RESET"}, FwOutcome::Failed, 0,
       {Fw(Stopped(5, "refused (\"\\x00\\xFFQ5 RESET\")"))}, nullptr, R(5), "115200",
       Recovery::Repeat, false},
      // An answer that always comes after the time-out is no answer: thrown away in the
      // quiet moment after the time-out, never taken for the next line's.
      {"late reply to a record", {"late:=" + R(5) + ":3500"}, FwOutcome::Failed, 4,
       {Fw(Stopped(5, "not answered"))}, nullptr, R(5), "115200", Recovery::Repeat, false},
      // Once late: the record goes again, and the unit that had taken it takes it twice;
      // the CRC16 it then reports is not the image's, and the question says so.
      {"late reply to a record once", {"late:=" + R(5) + ":3500*1"}, FwOutcome::Declined, 1, {},
       "1 line got no reply.\r\nCRC16 = ", "I82", "115200", Recovery::Repeat, false},
      // "FIRMWARE:RECV" is the unit still receiving, not a CRC16.
      {"no CRC in the reply", {"reply:00/82:CFIRMWARE\\x3ARECV*1+3"}, FwOutcome::Failed, 0,
       {Fw("The unit's reply \"FIRMWARE:RECV\" holds no CRC16.\r\n" + std::string(kStillInUpdateMode))},
       nullptr, "I82", "115200", Recovery::Repeat},
      // A refused "SW" is not programming started.
      {"write command refused", {"cng:=SW"}, FwOutcome::Failed, 0,
       {Fw("The unit refused the write command (\"CNG\"); the image was not programmed.\r\n" +
           std::string(kStillInUpdateMode))},
       kNone, "SW", "115200", Recovery::Repeat},
      // The unit took these lines: what arrives late, twice or after its time must not cost
      // the next line, nor count it as refused.
      {"duplicate reply to a record", {"dup:=" + R(5)}, FwOutcome::Completed, 0, {}, kNone, "I06",
       "9600", Recovery::Repeat},
      {"stale answer after a record's reply", {"stale:=" + R(5)}, FwOutcome::Completed, 0, {}, kNone,
       "I06", "9600", Recovery::Repeat},
      {"port vanishes mid-transfer", {"vanish:=" + R(5)}, FwOutcome::Failed, 0,
       {Fw("The connection to the unit was lost during the transfer (Line 5 of 14). 1 line got no "
           "reply.\r\nThe unit is still in update mode: power-cycle it, connect again and repeat "
           "the update.")},
       nullptr, R(5), "9600", Recovery::PowerCycle},
      // Given up at the third silent read: two "82" reads around "SV", then one more.
      {"silent at the CRC check", {"noreply+20"}, FwOutcome::Failed, 4,
       {Fw("The unit did not report a CRC16.\r\n" + std::string(kStillInUpdateMode))}, nullptr, "I82",
       "115200", Recovery::Repeat},
      {"write command unanswered", {"noreply:=SW"}, FwOutcome::Failed, 1,
       {Fw("The unit did not answer the write command.\r\n" + std::string(kStillInUpdateMode))}, kNone,
       "SW", "115200", Recovery::Repeat},
      // Given up after three silent tries of the "F" that starts the identification.
      {"silent after programming", {"noreply+25"}, FwOutcome::Failed, 3,
       {kUploadError,
        Fw("The unit did not identify itself after programming.\r\nPower-cycle it, connect again "
           "and look at its version; repeat the update if it did not take the new firmware.")},
       kNone, "G00", "9600", Recovery::Reconnect, true, true},
  };
}

void RunFwRow(const FwRow& row) {
  SCOPED_TRACE(row.name);
  FwRig rig;
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  int timeOuts = 0;
  Observe(rig, timeOuts);
  rig.fw.Form_Load();
  // A clean update first: its time, and the image's CRC16 as the unit computes it.
  std::int64_t t0 = rig.clock.nowUs();
  ASSERT_TRUE(rig.update());
  const std::int64_t cleanUs = rig.clock.nowUs() - t0;
  ASSERT_EQ(timeOuts, 0);
  ASSERT_EQ(rig.fwDialogs.messages.size(), 0u);
  const std::string imageCrc = rig.fw.unitCrc();
  ASSERT_EQ(imageCrc.size(), 4u);
  rig.fwDialogs.imageCrc = imageCrc;
  rig.fwDialogs.clear();
  rig.takeWire();
  const std::string versionBefore = rig.unit().version();

  for (const auto& f : row.faults) rig.port->fault(f);
  timeOuts = 0;
  t0 = rig.clock.nowUs();
  rig.update();
  const std::int64_t elapsed = rig.clock.nowUs() - t0;
  const std::vector<std::string> wire = rig.takeWire();

  EXPECT_EQ(rig.fw.outcome(), row.outcome);
  EXPECT_EQ(rig.fwDialogs.messages, row.messages);
  EXPECT_EQ(timeOuts, row.timeOuts);
  // The time bound: the clean update (its waits included) and the time-outs, never more.
  EXPECT_LE(elapsed, cleanUs + row.timeOuts * kTimeOutUs + 1'000'000) << cleanUs;
  ASSERT_FALSE(wire.empty());
  EXPECT_EQ(wire.back(), row.lastSent);
  EXPECT_EQ(rig.exchange.baudText(), row.baud);
  EXPECT_TRUE(rig.fw.btnFirmUpdate.enabled);
  EXPECT_FALSE(rig.fw.running());
  // The CRC question names lost lines and shows what the unit computed: the image's
  // CRC16 exactly when no record was lost on the way.
  const auto& qs = rig.fwDialogs.questions;
  ASSERT_EQ(qs.size(), row.question ? 2u : 1u);
  if (row.question) {
    const std::string& q = qs[1].text;
    EXPECT_EQ(q.substr(0, std::string(row.question).size()), row.question) << q;
    EXPECT_EQ(q.find("CRC16 = " + imageCrc + ". CRC16 is TRUE ?") != std::string::npos, row.whole) << q;
  }
  EXPECT_EQ(rig.unit().version() != versionBefore, row.programmed || row.outcome == FwOutcome::Completed);
  EXPECT_EQ(rig.fw.txtFirmInfo.text.find("Update Completed!!") != std::string::npos,
            row.outcome == FwOutcome::Completed);
  if (row.outcome == FwOutcome::Declined) {
    EXPECT_NE(rig.fw.txtFirmInfo.text.find(kStillInUpdateMode), std::string::npos);
  }

  // Brought back as the log and the message say, a whole update completes.
  rig.port->line().clearFaults();
  rig.port->line().restore();
  rig.fwDialogs.clear();
  rig.dialogs.clear();
  if (row.recovery != Recovery::Repeat) {
    if (row.recovery == Recovery::PowerCycle) rig.powerCycle();
    rig.fw.Form_Unload();
    EXPECT_EQ(rig.exchange.baudText(), "9600");
    rig.session.btnDisconnect_Click();
    rig.session.btnConnect_Click();
    EXPECT_TRUE(rig.session.values.Connected);
    EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  }
  timeOuts = 0;
  EXPECT_TRUE(rig.update());
  EXPECT_TRUE(rig.fwDialogs.messages.empty()) << rig.fwDialogs.messages[0];
  EXPECT_EQ(timeOuts, 0);
  EXPECT_EQ(rig.exchange.baudText(), "9600");
}

}  // namespace

TEST(FaultMatrixNetwork, ReadsOnOpening) { RunNetStepMatrix(NetStep::Open); }
TEST(FaultMatrixNetwork, UploadButton) { RunNetStepMatrix(NetStep::Upload); }
TEST(FaultMatrixNetwork, DownloadButton) { RunNetStepMatrix(NetStep::Download); }

TEST(FaultMatrixFirmware, EveryStepOfTheUpdate) {
  for (const FwRow& row : FwRows()) RunFwRow(row);
}
