#pragma once
// The firmware update window "FirmUpdate", without pixels: its log, its button and the
// update sequence. The image is checked whole before the unit is told anything; then the
// unit and the link go to 115200 baud, the image travels one record line per exchange,
// the unit reports the CRC16 of what it received, and only on the user's word is it told
// to program the image. Every way out of the sequence leaves the button enabled and the
// link at the rate the unit is at, and says in the log where the unit stands.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "firmware/SRecord.h"
#include "link/Link.h"
#include "pages/Controls.h"
#include "ui/UserDialogs.h"

namespace q5::firmware {

// What the window reads of the main window.
struct FirmUpdateContext {
  std::function<bool()> connected;        // a unit answered the identification check
  std::function<std::string()> portName;  // the port ComPortOpen reopens at another rate
};

// What shows the window: the GUI dialog or the command line. Every method has a
// do-nothing default.
class FirmUpdateView {
 public:
  virtual ~FirmUpdateView() = default;
  // The log was cleared.
  virtual void logCleared() {}
  // Text was appended to the log (as the log routine appended it: a one-character text
  // without a line break, a longer one with CR LF). progress: the entry of a record line
  // (percentage, the line, the unit's reply).
  virtual void logAppended(const std::string& text, bool progress) {}
  // The button's state changed.
  virtual void buttonChanged() {}
};

class frmFirmUpdate {
 public:
  // How the last update sequence ended.
  enum class Outcome {
    None,       // no sequence ran yet
    Cancelled,  // the file choice was cancelled, or no unit is connected
    Refused,    // the image failed its check; nothing was sent
    Declined,   // No to "update firm ?" (nothing sent) or to the CRC question
    Failed,     // the unit or the port failed on the way
    Completed,  // programmed, and the unit identified itself afterwards
    Interrupted,  // stopped on request (a signal) after the record under way; the unit
                  // waits in update mode when the start had been accepted
  };

  // Rates of the link: the unit's own and the transfer's.
  static constexpr const char* kNormalBaud = "9600";
  static constexpr const char* kFirmwareBaud = "115200";
  // The transfer stops when this many records in a row got no reply, or when every
  // one of the first kSilentStart records after the switch got none: the unit is not
  // listening at 115200, and each further record would only wait out its time-out.
  static constexpr int kSilentInARow = 5;
  static constexpr int kSilentStart = 3;
  // A record refused or unanswered goes again this many times (four attempts in all,
  // the retry count of the transactions).
  static constexpr int kRecordRetry = 3;

  // Asked after every record and before each later phase: true stops the update there
  // (the command line sets it on Ctrl-C, SIGTERM, SIGHUP). Once "SW" went out the unit
  // programs the image, and the sequence runs to its end.
  std::function<bool()> stopRequested;
  // True when the start ("SS") was accepted and the unit has not been told to program:
  // the unit waits in update mode at 115200 baud.
  bool inUpdateMode() const { return inUpdateMode_; }
  // The window is asked to close while the update runs. Before the unit programs the
  // image it asks first, saying where the unit stands: Yes (true) stops the update after
  // the record under way, No (false) lets it go on. Once the unit programs the image the
  // update runs to its end: the person is told so, and true closes the window after it.
  bool confirmStopForClose();
  frmFirmUpdate(link::Link& link, ui::UserDialogs& dialogs, FirmUpdateContext context);

  void setView(FirmUpdateView* view) { view_ = view; }

  // Controls.
  pages::TextBox txtFirmInfo;    // the log; "Upload Error" until the unit was read
  pages::Button btnFirmUpdate;   // "FirmUpdate"
  static constexpr const char* kCaption = "FirmUpdate";
  void visitControls(pages::ControlVisitor& v);

  // Window load: when a unit is connected, identify it into the log.
  void Form_Load();
  // Window closing: a link left at 115200 (the unit was left in update mode) goes back
  // to 9600, the rate of the main window and of a unit after a power cycle.
  void Form_Unload();
  // The update sequence.
  void btnFirmUpdate_Click();

  // "F" to 00/01, the model (00/02) and the version (06) into the log on two lines.
  // False (after "Upload Error") when the model or the version got no reply.
  bool Identify();
  // The log routine: "" clears, one character is appended without a line break, a
  // longer text is appended followed by CR LF.
  void WriteLog(std::string_view text);
  // The button routine.
  void SetButton(bool enabled);

  // ---- What the last sequence did (for the command line and tests) -------------------
  Outcome outcome() const { return outcome_; }
  // The CRC16 text the unit reported ("" before it did).
  const std::string& unitCrc() const { return crc_; }
  // Record lines that got no reply, and those the unit refused ("CNG").
  int unansweredLines() const { return unanswered_; }
  int refusedLines() const { return refused_; }
  // The percentage of the last record line ("12.3%").
  const std::string& percentText() const { return percent_; }
  // The image of the last sequence (its check result).
  const ImageCheck& image() const { return image_; }
  // The CRC16 of the image file's data records, four upper-case hex digits: what a
  // person compares the unit's CRC16 with.
  std::string FileCrcText() const;
  // Record lines sent so far in the transfer under way, of how many.
  std::size_t linesSent() const { return linesSent_; }
  std::size_t lineCount() const { return image_.lines.size(); }
  bool running() const { return running_; }
  // The unit's reply to the version read (item "06") of the last identification that
  // got both replies; "" before one did. After an update it is the new firmware's.
  const std::string& versionReply() const { return version_; }

  // "##0.0%" of a fraction (0.5 gives "50.0%").
  static std::string FormatPercent(double fraction);
  // "3 lines got no reply", "1 line got no reply, 2 lines were refused", "" for none.
  static std::string LostLinesText(int unanswered, int refused);

 private:
  void runUpdate();
  bool switchLink(const char* baud);
  void endInUpdateMode(const std::string& why, bool message);
  void fail(const std::string& why, const std::string& where);
  std::string raw(std::string_view text);
  bool interrupted() const { return stopAsked_ || (stopRequested && stopRequested()); }

  link::Link& link_;
  ui::UserDialogs& dialogs_;
  FirmUpdateContext context_;
  FirmUpdateView* view_ = nullptr;

  Outcome outcome_ = Outcome::None;
  ImageCheck image_;
  std::string crc_;
  std::string percent_;
  std::string version_;
  int unanswered_ = 0;
  int refused_ = 0;
  std::size_t linesSent_ = 0;
  bool running_ = false;
  bool inUpdateMode_ = false;
  bool programming_ = false;  // "SW" went out: the unit programs the image
  bool stopAsked_ = false;    // Yes to stopping the update when the window closes
};

}  // namespace q5::firmware
