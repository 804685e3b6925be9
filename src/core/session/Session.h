#pragma once
// The main window's logic, without pixels: connection state, identification, Upload /
// Download / monitoring on the module page, the button-state routines, the menus'
// enable state, the lamp and the status labels. The GUI and the command line show it
// through a SessionView and call its actions; everything the user sees of the main
// window is read from here.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/Exchange.h"
#include "link/Link.h"
#include "netpages/NetworkWindow.h"
#include "pages/ModulePage.h"
#include "pages/PageRegistry.h"
#include "pages/frmChangeValue.h"
#include "session/SessionValues.h"
#include "ui/UserDialogs.h"

namespace q5::session {

// What shows the session: the main window of the GUI, or the command line. Every
// method has a do-nothing default.
class SessionView {
 public:
  virtual ~SessionView() = default;
  // Buttons, lamp, labels or menus changed.
  virtual void refresh() {}
  // Show a module page, or the placeholder page (nullptr: "Please download the latest
  // version.").
  virtual void showPage(pages::ModulePage* page) {}
  // The shown page's controls changed (a ReadingData pass, Start/Stop editing state).
  virtual void pageUpdated() {}
  // Let pending window messages run; the monitoring loop calls it on every pass, so a
  // Stop click (or Ctrl-C on the command line) reaches btnStop_Click.
  virtual void processEvents() {}
  // The program is to end ("Exit", or a unit that needs initialising). The view ends
  // it once the current sequence has unwound.
  virtual void endProgram() {}
  // Show the network settings window of a network type code (1, 4, 6, 7) modally:
  // Session::networkWindow(), which has read the unit's settings already. Returns when
  // the window closed (its Exit hides it).
  virtual void openNetworkWindow(int networkType) {}
  // Show "Change Value" (modeless), loaded with the current page's output values. The
  // view binds it by control name and presses its "cmdSet1" ("Change") through
  // Session::changeValue.Press.
  virtual void openChangeValueDialog(pages::frmChangeValue& dialog) {}
  // Close the change-value dialog of a page with manual outputs, if it is open.
  virtual void closeChangeValueDialog() {}
};

// Told when an Upload has read the unit into its page, and before a Download writes
// anything to the unit (the backups of configurations keep the unit's settings here).
class DownloadGuard {
 public:
  virtual ~DownloadGuard() = default;
  // The page now holds what the unit holds.
  virtual void uploaded() {}
  // A Download passed its checks and is about to write; false stops it (nothing written).
  virtual bool beforeDownload() { return true; }
  // The backup the Download under way can be restored from ("" when none was written).
  virtual std::string backupPath() const { return {}; }
};

// The eight buttons of the main window: true = enabled.
struct Buttons {
  bool btnStart = false;
  bool btnStop = false;
  bool btnConnect = false;
  bool btnDisconnect = false;
  bool btnSetting = true;
  bool btnComNet = false;
  bool btnUpload = false;
  bool btnDownload = false;
  bool operator==(const Buttons&) const = default;
};

// Enable (and, where the command line decides it, visible) states of the menu items.
struct Menus {
  bool fileEnabled = true;            // "File"
  bool modelSelectEnabled = true;     // "Model Select"
  bool informationEnabled = false;    // "Q5 Informain" (node information)
  bool firmUpdateVisible = false;     // "FirmUpdate"
  bool firmUpdateEnabled = false;
  bool debugInfoVisible = false;      // "DebugInfo"
  bool debugInfoEnabled = false;
  bool operator==(const Menus&) const = default;
};

// Lamp colours, 0xRRGGBB.
inline constexpr std::uint32_t kLampConnected = 0x00F000;   // green (0, 240, 0)
inline constexpr std::uint32_t kLampMonitoring = 0xFFFF80;  // light yellow (255, 255, 128)
inline constexpr std::uint32_t kLampDisconnected = 0x000080;  // dark blue (0, 0, 128)

// The main window's labels.
struct Labels {
  std::string lblConStatus = "Disconnected";
  std::string lblComPortNo;  // the chosen port's name (/dev/ttyUSB0, sim:MODEL)
  std::string lblVersionNo;
  std::string lblMastertype = "Welcome";
};

// True for the page kinds that have a module page (the registry's).
using pages::IsPageKind;

class Session {
 public:
  Session(link::Exchange& exchange, ui::UserDialogs& dialogs);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void setView(SessionView* view) { view_ = view; }
  void setDownloadGuard(DownloadGuard* guard) { guard_ = guard; }

  // The program-wide values (identification, connection flags). Pages and file
  // routines read them; the configuration-file code also sets them.
  SessionValues values;

  link::Link& link() { return link_; }
  link::Exchange& exchange() { return exchange_; }
  ui::UserDialogs& dialogs() { return dialogs_; }

  const Buttons& buttons() const { return buttons_; }
  const Menus& menus() const { return menus_; }
  std::uint32_t lamp() const { return lamp_; }
  const Labels& labels() const { return labels_; }

  // The port Connect opens. The COM port dialog sets it; lblComPortNo shows it.
  const std::string& portName() const { return portName_; }
  void setPortName(const std::string& name);

  // Start-up: the command line (the words after the program name). Only exactly one
  // word counts: "-firmupdate" or "-debug".
  void ParseCommandLine(const std::vector<std::string>& args);

  // --- Actions of the window -------------------------------------------------------
  // "Setting": beginSetting() disables every button; the view then shows the COM port
  // dialog. Its "OK" calls comPortChosen(name) (closes the port, opens the chosen one
  // and runs Connect before the dialog closes); a dialog with no ports calls
  // comPortDialogEmpty(). When the dialog has closed, the view calls endSetting().
  void beginSetting();
  void comPortChosen(const std::string& portName);
  void comPortDialogEmpty();
  void endSetting();
  // The whole "Setting" sequence at once, for views without a dialog: a port name runs
  // the dialog's OK, no name the empty dialog.
  void btnSetting_Click(const std::string* chosenPort);

  void btnConnect_Click();
  void btnUpload_Click();
  void btnDownload_Click();
  // Runs the monitoring loop until Stop (or Disconnect) clears Monitoring.
  void btnStart_Click();
  void btnStop_Click();
  void btnDisconnect_Click();
  void btnComNet_Click();
  void mnuQ5Informain_Click();
  // A button of the page on screen pressed by a person (a calibration button, "Offset
  // [deg]", "Auto Scale"...). Such a button talks to the unit at once, so it runs as a
  // sequence: the window's buttons are disabled until it ends, and a press while another
  // sequence runs is refused, since its lines would go out in the middle of another
  // exchange. Tab buttons and the live value boxes only change what is shown and act at
  // once. False when the press was refused or the page has no such button.
  bool pagePress(pages::ModulePage& page, std::string_view name);
  // "File", "Open": configFileOpen is the configuration-file routine that reads a file
  // into the page; afterwards Download is enabled when connected.
  void mnuFilesOpen_Click(const std::function<void()>& configFileOpen);
  // "Exit": closes the port if open and ends the program. During a Download the exchange
  // under way finishes, nothing more is sent, and the port closes once the Download has
  // unwound.
  void mnuFilesEnd_Click();
  // The window is asked to close (close box, Ctrl+Q). While a Download writes to the
  // unit it asks first, saying where the unit stands: No (false) lets the Download go
  // on; Yes (true) stops it after the exchange under way. True at once otherwise.
  bool confirmStopForClose();

  // --- Connection routines -------------------------------------------------------
  void UnitConnect();
  void UnitDisconnect();
  void UnitUpload();
  void UnitDownload();
  void UnitMonitor();
  // Shows a page (nullptr: the placeholder page) and sets PageShown.
  void ShowPage(pages::ModulePage* page);
  // The model and version labels show the current values (a configuration file was
  // opened: its model string and version text are now the current ones).
  void showIdentification() {
    labels_.lblMastertype = values.model;
    labels_.lblVersionNo = values.versionText;
    changed();
  }
  // The connected unit identified itself again after its firmware was updated: the
  // version it reports (the reply to item "06") becomes the version text and label.
  // Ignored when no unit is connected or the reply is empty.
  void firmwareIdentified(const std::string& versionReply);

  // Identification alone (Upload without the page's Init): "F" to 00/01, model,
  // version, channel count, page kind. False after an Upload failure or "Need
  // Initialize" (message shown, unit disconnected).
  bool Identify();

  // --- Pages --------------------------------------------------------------------
  // The page of a page kind, created the first time and reused afterwards (never
  // deleted while the session lives); nullptr for kinds without a page.
  pages::ModulePage* pageFor(int pageKind);
  // The page of the current page kind (nullptr when none).
  pages::ModulePage* page();
  // Replaces pages::CreatePage as the maker of pages (tests put pages of their own in).
  using PageFactory =
      std::function<std::unique_ptr<pages::ModulePage>(int pageKind, pages::PageContext&)>;
  void setPageFactory(PageFactory factory) { pageFactory_ = std::move(factory); }
  pages::PageContext& pageContext() { return pageContext_; }
  // "Change Value", the dialog of the pages with manual outputs; a live value box
  // clicked during monitoring loads it from the current page and asks the view to show it.
  pages::frmChangeValue changeValue;
  // The network settings window the network button opened last (nullptr before the
  // first). It lives until the button opens the next one.
  netpages::NetworkWindow* networkWindow() { return network_.get(); }

  // --- Button-state routines -------------------------------------------------------
  void all_btn_control(bool enable);
  void io_btn_control(bool enable);
  void start_btn_control();
  void stop_btn_control();
  void disconnect_btn_control();
  void connect_btn_control();
  void setting_btn_control();

  // --- Unsaved page values ------------------------------------------------------------
  // The page holds values a person edited, or a configuration created offline, that are
  // neither in a file nor in the unit yet. Saving, Download, and reading the unit or a
  // file into the page clear it.
  bool pageEdited() const { return pageEdited_; }
  // A person changed a setting on the page (the view calls it after the page's own
  // change handler ran).
  void markPageEdited();
  void setPageEdited(bool edited);
  // The page was (true) or was not completely filled by an Upload or a file.
  void setPageIncomplete(bool incomplete);
  // Before page values are replaced (Connect, Upload, Open, Model Select, Exit): with
  // unsaved values, "Save changes?" (Save / Discard / Cancel). True to go on: nothing
  // unsaved, saved, or discarded; false when cancelled or the save did not happen.
  bool ConfirmReplacePage();
  // Saves the page to a file for the question above; true when a file was written. The
  // configuration-file routines set it.
  std::function<bool()> saveChanges;
  // An action that replaces the page's values (Setting, Connect, Upload, Open, Model
  // Select). Within it "Save changes?" is asked once; a Discard holds until it ends,
  // and the edited mark stays until a replacement has completed, so a Discard followed
  // by a cancelled file dialog keeps the edits marked as unsaved.
  class ReplaceAction {
   public:
    explicit ReplaceAction(Session& s) : s_(s) { ++s_.replaceDepth_; }
    ~ReplaceAction() {
      if (--s_.replaceDepth_ == 0) s_.discarded_ = false;
    }
    ReplaceAction(const ReplaceAction&) = delete;
    ReplaceAction& operator=(const ReplaceAction&) = delete;

   private:
    Session& s_;
  };
  // Counts the "Save changes?" questions answered Cancel (or whose save did not
  // happen): a view compares it before and after an action to say "Cancelled".
  int declinedQuestions() const { return declinedQuestions_; }

  // --- A page not completely read -------------------------------------------------------
  // The page holds values an Upload did not finish reading (it failed or was cancelled
  // part-way): lists it did not reach are empty. Such a page is not saved and not
  // downloaded; a complete Upload or an opened configuration clears the mark.
  bool pageIncomplete() const { return pageIncomplete_; }
  // The page's setting that has nothing selected, as "CH 2 Input range (cmbUserRange(2))";
  // "" when every list of the page has a selection. Nothing with an empty selection is
  // ever written to the unit.
  static std::string UnselectedSetting(pages::ModulePage& page);
  // The writes of the last Download the unit refused or left unanswered, in words
  // ("13 writes refused or unanswered (last: G00 I29 D-1)"); "" when it took them all.
  const std::string& downloadRefused() const { return downloadRefused_; }

  // The configuration file the page's values were last opened from or saved to; ""
  // when they came from the unit or a Model Select item.
  const std::string& configFile() const { return configFile_; }
  void setConfigFile(std::string path) {
    configFile_ = std::move(path);
    changed();
  }

  // Monitoring passes since the last Start.
  int monitorPass() const { return monitorPass_; }

  // True once the program was asked to end (no action runs after it).
  bool programEnded() const { return ended_; }

  // What failed in the last sequence a person started (Connect, Upload, Download,
  // monitoring, node information, the network window), in words: "2 writes refused or
  // unanswered (last: G1 I20 D5)", "the unit stopped answering", "the port closed".
  // Empty when every read and write was answered. The windows show it in their status
  // line; the command line prints it and exits with a failure.
  const std::string& failure() const { return failure_; }
  // True while a sequence is on the stack. Its buttons stay disabled until it has
  // unwound, also after Stop or Disconnect were pressed in the middle of it.
  bool sequenceRunning() const { return sequenceDepth_ > 0; }
  // True while a Download writes the page's values to the unit (after its checks and
  // before the re-Upload): an interruption now leaves the unit partly written.
  bool downloading() const { return downloading_; }
  // Data lines the Download under way (or the last one) sent to the unit.
  int downloadWrites() const {
    return downloading_ ? static_cast<int>(link_.dataLinesSent() - downloadDataLinesAtStart_)
                        : downloadWrites_;
  }

 private:
  class SequenceScope;
  void finishStop();
  void changed();
  void setLamp(std::uint32_t colour);
  void pageEditing(bool enable);  // the page's AllowEditing at Start, Stop and Disconnect
  void uploadFailure();
  // Upload without the question (inside Connect and after Download).
  void uploadAction();
  // nothingWritten: a check stopped the Download before it wrote anything.
  void downloadFailure(bool nothingWritten = false);

  link::Exchange& exchange_;
  ui::UserDialogs& dialogs_;
  link::Link link_;
  SessionView* view_ = nullptr;
  DownloadGuard* guard_ = nullptr;
  pages::PageContext pageContext_;
  std::map<int, std::unique_ptr<pages::ModulePage>> pages_;
  PageFactory pageFactory_;
  netpages::NetworkContext networkContext_;
  std::unique_ptr<netpages::NetworkWindow> network_;
  bool networkOpen_ = false;

  Buttons buttons_;
  Menus menus_;
  Labels labels_;
  std::uint32_t lamp_ = kLampDisconnected;
  std::string portName_;
  bool ended_ = false;
  bool pageEdited_ = false;
  bool pageIncomplete_ = false;
  int replaceDepth_ = 0;
  bool discarded_ = false;  // "Discard" answered within the current ReplaceAction
  int declinedQuestions_ = 0;
  std::string downloadRefused_;
  std::string configFile_;
  // The last "Save changes?" was cancelled: Start does not go on to monitor.
  bool replaceDeclined_ = false;
  int monitorPass_ = 0;

  int sequenceDepth_ = 0;
  std::string failure_;
  std::string sequenceFailure_;  // what the sequence itself found (not the link)
  bool downloading_ = false;
  int downloadWrites_ = 0;
  std::uint64_t downloadDataLinesAtStart_ = 0;
  bool closeWhenUnwound_ = false;  // Exit during a Download: close the port at its end
  bool monitorLoop_ = false;    // UnitMonitor is on the stack
  bool stopPending_ = false;    // Stop was pressed during a pass; finished when it unwinds
  bool buttonsDeferred_ = false;
  Buttons deferredButtons_;     // the states to show once the sequence has unwound
};

}  // namespace q5::session
