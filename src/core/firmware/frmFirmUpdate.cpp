#include "firmware/frmFirmUpdate.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "link/TextRoutines.h"

namespace q5::firmware {
namespace {

constexpr int kRetry = 3;
constexpr int kOneRetry = 1;
constexpr const char* kCrLf = "\r\n";

// Where the unit stands after an early end with the unit in update mode.
constexpr const char* kInUpdateMode =
    "The unit is still in update mode at 115200 baud: repeat the update or power-cycle it";

// Hex digits compared without regard to case.
bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

frmFirmUpdate::frmFirmUpdate(link::Link& link, ui::UserDialogs& dialogs, FirmUpdateContext context)
    : link_(link), dialogs_(dialogs), context_(std::move(context)) {
  txtFirmInfo.text = "Upload Error\r\n";
  btnFirmUpdate.caption = "FirmUpdate";
}

void frmFirmUpdate::visitControls(pages::ControlVisitor& v) {
  v.text(pages::ShownValue("txtFirmInfo"), txtFirmInfo);
  v.button("btnFirmUpdate", btnFirmUpdate);
}

std::string frmFirmUpdate::FormatPercent(double fraction) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f%%", fraction * 100.0);
  return buf;
}

std::string frmFirmUpdate::FileCrcText() const {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(image_.dataCrc16));
  return hex;
}

std::string frmFirmUpdate::LostLinesText(int unanswered, int refused) {
  std::string s;
  if (unanswered > 0)
    s = std::to_string(unanswered) + (unanswered == 1 ? " line got no reply" : " lines got no reply");
  if (refused > 0) {
    if (!s.empty()) s += ", ";
    s += std::to_string(refused) + (refused == 1 ? " line was refused" : " lines were refused");
  }
  return s;
}

void frmFirmUpdate::WriteLog(std::string_view text) {
  if (text.empty()) {
    txtFirmInfo.text.clear();
    if (view_) view_->logCleared();
    return;
  }
  std::string appended(text);
  if (text.size() > 1) appended += kCrLf;
  txtFirmInfo.text += appended;
  if (view_) view_->logAppended(appended, false);
}

void frmFirmUpdate::SetButton(bool enabled) {
  btnFirmUpdate.enabled = enabled;
  if (view_) view_->buttonChanged();
}

bool frmFirmUpdate::Identify() {
  link_.GroupItemWriteRetry(kRetry, "00", "01", "F");
  const std::string model = link_.GroupItemReadRetry(kRetry, "00", "02");
  const std::string version = link_.ItemReadRetry(kRetry, "06");
  WriteLog("");
  WriteLog(link::ValueAfterColon(model));
  WriteLog(link::ValueAfterColon(version));
  if (model.empty() || version.empty()) {
    dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Upload), "Upload Error", "Upload", ui::Icon::Error);
    return false;
  }
  version_ = version;
  return true;
}

void frmFirmUpdate::Form_Load() {
  if (!context_.connected || !context_.connected()) return;
  // Reading the unit is a sequence of its own: a unit that stopped answering is given up
  // after three transactions without a character.
  link_.markSequence();
  Identify();
  link_.endSequence();
}

void frmFirmUpdate::Form_Unload() {
  link::Exchange& ex = link_.exchange();
  if (ex.baudText() == kNormalBaud) return;
  const bool wasOpen = ex.isOpen();
  ex.ComPortClose();
  ex.setBaudText(kNormalBaud);
  if (wasOpen) ex.ComPortOpen(context_.portName ? context_.portName() : ex.portName());
}

std::string frmFirmUpdate::raw(std::string_view text) {
  link::Exchange& ex = link_.exchange();
  std::string line(text);
  line += kCrLf;
  const std::uint64_t sent = ex.linesSent();
  std::string reply = ex.ComCommand(line);
  // Leftovers of an earlier answer (late, or doubled) were waiting: they were thrown
  // away and the line was not sent. It goes out now, on a clean line, so that no record
  // of the image is lost.
  if (reply.empty() && ex.linesSent() == sent && ex.isOpen()) reply = ex.ComCommand(line);
  // Two answers in one piece (the late answer of the line before, then this line's): the
  // newest is this line's.
  if (const auto cr = reply.rfind('\r'); cr != std::string::npos) reply.erase(0, cr + 1);
  return reply;
}

bool frmFirmUpdate::switchLink(const char* baud) {
  link::Exchange& ex = link_.exchange();
  ex.ComPortClose();
  ex.setBaudText(baud);
  ex.ComPortOpen(context_.portName ? context_.portName() : ex.portName());
  return ex.isOpen();
}

// An early end after the unit accepted the start: the unit waits in update mode at
// 115200 baud and the link stays there, so that the update can simply be repeated.
void frmFirmUpdate::endInUpdateMode(const std::string& why, bool message) {
  outcome_ = message ? Outcome::Failed : Outcome::Declined;
  if (!why.empty()) WriteLog(why);
  WriteLog(kInUpdateMode);
  if (message) dialogs_.message(why + kCrLf + kInUpdateMode, kCaption, ui::Icon::Error);
  SetButton(true);
}

void frmFirmUpdate::fail(const std::string& why, const std::string& where) {
  outcome_ = Outcome::Failed;
  WriteLog(why);
  if (!where.empty()) WriteLog(where);
  dialogs_.message(where.empty() ? why : why + kCrLf + where, kCaption, ui::Icon::Error);
  SetButton(true);
}

void frmFirmUpdate::btnFirmUpdate_Click() {
  if (running_) return;
  outcome_ = Outcome::Cancelled;
  if (!context_.connected || !context_.connected()) return;
  running_ = true;
  programming_ = false;
  stopAsked_ = false;
  // The update is a sequence a person started: three transactions in a row without a
  // character give the unit up, so a unit that went away ends the sequence within about
  // three time-outs instead of every remaining transaction waiting out its own.
  link_.markSequence();
  runUpdate();
  link_.endSequence();
  running_ = false;
}

bool frmFirmUpdate::confirmStopForClose() {
  if (!running_ || stopAsked_) return true;
  if (programming_) {
    dialogs_.message("The unit is programming the new firmware: do not power it off.\r\n"
                     "The window closes when the update has ended.",
                     kCaption, ui::Icon::Information);
    return true;
  }
  std::string text = "The firmware update is under way.\r\n";
  if (inUpdateMode_)
    text += std::string("If it stops now, the image is not programmed. ") + kInUpdateMode + ".";
  else
    text += "Nothing of the image has been sent yet; the unit runs its firmware as before.";
  text += "\r\nStop the update and close?";
  if (!dialogs_.ask(text, kCaption)) return false;
  stopAsked_ = true;
  return true;
}

void frmFirmUpdate::runUpdate() {
  link::Exchange& ex = link_.exchange();
  crc_.clear();
  percent_.clear();
  unanswered_ = refused_ = 0;
  inUpdateMode_ = false;

  // 1. The image file, read whole and checked before anything is sent.
  const std::optional<std::string> path =
      dialogs_.chooseOpenFile("Open", "srec Files (*.srec);;mot Files (*.mot)");
  if (!path) return;  // cancelled: no message
  image_ = CheckImageFile(*path);
  WriteLog("");
  WriteLog(*path);
  if (!image_.ok) {
    outcome_ = Outcome::Refused;
    const std::string why = image_.refusal();
    WriteLog(why);
    WriteLog("Nothing was sent to the unit.");
    dialogs_.message("The file is not a firmware image the unit can take." + std::string(kCrLf) + why,
                     kCaption, ui::Icon::Error);
    return;
  }
  for (const std::string& s : ImageSummary(image_)) WriteLog(s);

  // 2. The user's word.
  if (!dialogs_.ask("update firm ?", "message")) {
    outcome_ = Outcome::Declined;
    return;
  }

  // 3.
  linesSent_ = 0;
  SetButton(false);
  const double total = static_cast<double>(image_.fileBytes);
  double counter = 0;
  WriteLog("");
  WriteLog("Update Start!!\r\n");

  if (interrupted()) {
    outcome_ = Outcome::Interrupted;
    WriteLog("The update was interrupted before it started; nothing was sent.");
    SetButton(true);
    return;
  }

  // 4. Start: the unit goes into update mode.
  if (link_.GroupItemWriteRetry(kOneRetry, "00", "82", "SS").empty()) {
    outcome_ = Outcome::Failed;
    dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Upload), "Upload Error", "Upload", ui::Icon::Error);
    WriteLog("The unit did not accept the start of the update; it runs its firmware as before.");
    SetButton(true);
    return;
  }

  inUpdateMode_ = true;

  // 5. The unit to 115200 baud.
  link_.ItemReadRetry(kOneRetry, "86");
  raw(std::string("D") + kFirmwareBaud);
  ex.WaitFor(500);

  // 6. The link follows.
  if (!switchLink(kFirmwareBaud)) {
    endInUpdateMode("The port could not be opened again at 115200 baud.", true);
    return;
  }

  // 7. The first words at the new rate.
  const std::uint64_t bytesAtSwitch = ex.bytesReceived();
  if (link_.ItemReadRetry(kOneRetry, "82").empty() && ex.bytesReceived() == bytesAtSwitch &&
      ex.isOpen()) {
    // Not a character at 115200: the unit does not listen there, and every record line
    // would only wait out its time-out. Back to 9600, where a unit that never switched
    // still listens.
    switchLink(kNormalBaud);
    fail("The unit gave no reply at 115200 baud; nothing of the image was sent.",
         "The unit may still be in update mode: repeat the update or power-cycle it.");
    return;
  }

  // 8. The image, one record line per exchange. A record the unit refused or did not
  // answer goes again, up to kRecordRetry more times; one that never got through ends
  // the transfer, since an image with a hole must never be programmed.
  int silentInARow = 0;
  int answeredSinceSwitch = 0;
  const std::size_t lineCount = image_.lines.size();
  for (std::size_t i = 0; i < lineCount; ++i) {
    const std::string& line = image_.lines[i].text;
    counter += static_cast<double>(line.size() + 2);
    linesSent_ = i + 1;
    std::string reply;
    bool unanswered = true;
    for (int attempt = 0; attempt <= kRecordRetry; ++attempt) {
      reply = raw(line);
      unanswered = reply.empty();
      if (unanswered) {
        ++unanswered_;
        ++silentInARow;
      } else {
        silentInARow = 0;
        ++answeredSinceSwitch;
        if (reply != "COK") ++refused_;
      }
      if (reply == "COK" || !ex.isOpen() || silentInARow >= kSilentInARow ||
          (answeredSinceSwitch == 0 && unanswered_ >= kSilentStart))
        break;
    }
    percent_ = FormatPercent(total > 0 ? counter / total : 1.0);
    const std::string entry = percent_ + kCrLf + line + kCrLf + reply;
    txtFirmInfo.text.clear();
    if (view_) view_->logCleared();
    txtFirmInfo.text += entry + kCrLf;
    if (view_) view_->logAppended(entry + kCrLf, true);

    const std::string where = "Line " + std::to_string(i + 1) + " of " + std::to_string(lineCount);
    if (!ex.isOpen()) {
      // The port went away (an adapter unplugged, the unit's cable pulled).
      outcome_ = Outcome::Failed;
      ex.setBaudText(kNormalBaud);
      const std::string why = "The connection to the unit was lost during the transfer (" +
                              where + "). " + LostLinesText(unanswered_, refused_) + ".";
      fail(why, "The unit is still in update mode: power-cycle it, connect again and repeat "
                "the update.");
      return;
    }
    if ((answeredSinceSwitch == 0 && unanswered_ >= kSilentStart) || silentInARow >= kSilentInARow) {
      // The unit does not listen at 115200 (it did not switch, or it went silent): back
      // to 9600, where a unit that never switched still listens.
      switchLink(kNormalBaud);
      fail("The unit gave no reply at 115200 baud; the transfer was stopped (" + where + ", " +
               LostLinesText(unanswered_, refused_) + ").",
           "The unit may still be in update mode: repeat the update or power-cycle it.");
      return;
    }
    if (reply != "COK") {
      endInUpdateMode("The transfer was stopped: " + where + " was " +
                          (unanswered ? std::string("not answered") : "refused (\"" + link::EscapeControls(reply) + "\")") +
                          " " + std::to_string(kRecordRetry + 1) + " times; the image was not programmed.",
                      true);
      return;
    }
    if (interrupted()) {
      outcome_ = Outcome::Interrupted;
      WriteLog("The update was interrupted after " + where + "; the image was not programmed.");
      WriteLog(kInUpdateMode);
      SetButton(true);
      return;
    }
  }

  // 9.
  ex.WaitFor(500);
  WriteLog("");
  WriteLog("CRC check");
  const std::string lost = LostLinesText(unanswered_, refused_);
  if (!lost.empty()) WriteLog(lost);

  if (interrupted()) {
    outcome_ = Outcome::Interrupted;
    WriteLog("The update was interrupted after the transfer; the image was not programmed.");
    WriteLog(kInUpdateMode);
    SetButton(true);
    return;
  }

  // 10. The unit computes the CRC16 of what it received.
  link_.ItemReadRetry(kOneRetry, "82");
  raw("SV");
  for (int k = 0; k < 5; ++k) {
    WriteLog(".");
    ex.WaitFor(500);
  }

  // 11. The CRC16: four characters from the tenth of the reply value.
  const std::string value = link_.ItemReadRetry(kOneRetry, "82");
  // A CRC16 is four hexadecimal digits; "FIRMWARE:RECV" (still receiving) is none.
  auto isHex = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  };
  const std::string crc = value.size() >= 13 ? value.substr(9, 4) : std::string();
  if (crc.size() != 4 || !std::all_of(crc.begin(), crc.end(), isHex)) {
    endInUpdateMode(value.empty() ? std::string("The unit did not report a CRC16.")
                                  : "The unit's reply \"" + link::EscapeControls(value) + "\" holds no CRC16.",
                    true);
    return;
  }
  crc_ = crc;
  WriteLog(std::string(kCrLf) + "CRC16 = " + crc_);
  // Something to compare with, beside the question: the CRC16 of the file's data records.
  WriteLog("Computed from the file: CRC16 = " + FileCrcText() +
           (SameText(FileCrcText(), crc_) ? " (the same)" : " (DIFFERENT)"));

  // 12. The user compares it with the image's.
  std::string question = "CRC16 = " + crc_ + ". CRC16 is TRUE ?";
  if (!lost.empty()) question = lost + "." + kCrLf + question;

  if (!dialogs_.ask(question, "message")) {
    endInUpdateMode("", false);
    return;
  }

  if (interrupted()) {
    outcome_ = Outcome::Interrupted;
    WriteLog("The update was interrupted before the image was programmed.");
    WriteLog(kInUpdateMode);
    SetButton(true);
    return;
  }

  // 13. The unit programs the image.
  WriteLog("");
  WriteLog("Firm Updating ");
  link_.ItemReadRetry(kOneRetry, "82");
  programming_ = true;
  const std::string written = raw("SW");
  if (written != "COK") {
    // The unit did not hear the command, or refused it: it did not start programming
    // and still waits in update mode at 115200.
    endInUpdateMode(written.empty() ? std::string("The unit did not answer the write command.")
                                    : "The unit refused the write command (\"" +
                                          link::EscapeControls(written) + "\"); the image was not programmed.",
                    true);
    return;
  }
  inUpdateMode_ = false;
  for (int k = 0; k < 15; ++k) {
    WriteLog(".");
    ex.WaitFor(500);
  }

  // 14. Back to 9600.
  const bool reopened = switchLink(kNormalBaud);
  ex.WaitFor(1000);

  // 15. The unit with its new firmware.
  if (!reopened) {
    fail("The port could not be opened again at 9600 baud.",
         "Connect again and identify the unit to see whether it took the new firmware.");
    return;
  }
  if (!Identify()) {
    fail("The unit did not identify itself after programming.",
         "Power-cycle it, connect again and look at its version; repeat the update if it "
         "did not take the new firmware.");
    return;
  }
  outcome_ = Outcome::Completed;
  WriteLog("Update Completed!!");
  SetButton(true);
}

}  // namespace q5::firmware
