#pragma once
// The main window: connection frame with its lamp, the unit's model and version, the
// "I/O", "Monitoring" and "Com" buttons, the menus, and the area in which module pages
// open. It shows the session and calls its actions; every state it shows comes from
// the session.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ElidedLabel.h"
#include "session/Session.h"

class QAction;
class QDialog;
class QUrl;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;

namespace q5::link {
class Clock;
class Exchange;
}  // namespace q5::link
namespace q5::qtlink {
class PortSwitch;
}
namespace q5::ui {
class UserDialogs;
}
namespace q5::config {
class ConfigFiles;
struct ModelSelectItem;
}  // namespace q5::config

namespace q5::gui {

class ChangeValueDialog;
class GuardedDialogs;
class LampWidget;
class MainWindowTools;
class PageView;
class QtDialogs;
class HelpDocuments;
struct PortChoice;

class frmQ5Con : public QMainWindow, public session::SessionView {
  Q_OBJECT
 public:
  struct Setup {
    // The command line after the program name ("-debug", "-firmupdate").
    std::vector<std::string> args;
    // Replaces the Qt message boxes, file choices and progress window (tests).
    ui::UserDialogs* dialogs = nullptr;
    // The entries of the COM port dialog; by default the ports present and the simulated
    // units.
    std::function<std::vector<PortChoice>()> portChoices;
    // The program's folder (holds tmp/tmp.uJx); by default the executable's folder.
    std::string applicationFolder;
    // Opens a document's address in the system's viewer; false when none could be
    // started. By default QDesktopServices::openUrl.
    std::function<bool(const QUrl&)> openUrl;
  };

  explicit frmQ5Con(Setup setup, QWidget* parent = nullptr);
  frmQ5Con();
  ~frmQ5Con() override;

  session::Session& session() { return *session_; }
  config::ConfigFiles& files() { return *files_; }
  // The Model Select item of a group and caption ("Q5T3NML3", "AI4"); nullptr if none.
  QAction* modelSelectAction(const QString& group, const QString& caption) const;
  qtlink::PortSwitch& portSwitch() { return *port_; }
  ui::UserDialogs& dialogs();
  // The same dialogs, with the file choice that does not wait (Record…).
  GuardedDialogs& guardedDialogs() { return *dialogs_; }

  // Shows an informational window above the main window without a nested event loop:
  // monitoring passes go on behind it. The window deletes itself when closed.
  void showInformation(QDialog* dialog);
  // Opens a Help document; when no viewer can be started, says so with its path and
  // offers to copy it.
  void openDocument(int document);

  // Twips (1/1440 inch) in pixels of this window's screen.
  int twips(int t) const;

  // The view of the page shown now (nullptr when none or the placeholder page).
  PageView* currentPageView() const;
  // The view of the page last shown, also while its window is closed or hidden.
  PageView* pageView() const;
  // Shows the current page window again, restored and filled ("Window", "Page").
  void revealPage();
  // The placeholder page's window (nullptr until first shown).
  QWidget* noneView() const;
  QMdiSubWindow* currentSubWindow() const { return current_; }
  // "Exit" was chosen or the window closed; the program ends once no sequence runs.
  bool exitRequested() const { return exitRequested_; }
  // Sequences (button or menu actions) running now, nested ones included.
  int sequencesRunning() const { return depth_; }
  // The progress window's "Cancel": the exchange now awaited ends, nothing more is
  // sent, the unit is disconnected and the page keeps what was read.
  void cancelSequence();
  bool cancelOffered() const { return cancellable_ && depth_ > 0 && !cancelled_; }
  // The status bar's state text ("Reading 12/40", "Monitoring — pass 153", "Upload done
  // 14:02:11").
  QString statusText() const;
  // The cause shown under a message box's fixed text ("" when none is known).
  QString explain(const ui::MessageCause& cause, const std::string& text);
  // The title of a page window: the module part and what the page is.
  static QString PageTitle(int pageKind, const std::string& model);

  // Compare, backups, scan and trends (nullptr never after construction).
  MainWindowTools* tools() const { return tools_; }

  // --- SessionView --------------------------------------------------------------
  void refresh() override;
  void showPage(pages::ModulePage* page) override;
  void pageUpdated() override;
  void processEvents() override;
  void endProgram() override;
  void openNetworkWindow(int networkType) override;
  void openChangeValueDialog(pages::frmChangeValue& dialog) override;
  void closeChangeValueDialog() override;
  // "Change Value" while it is open (nullptr otherwise).
  QWidget* changeValueDialog() const;

  // --- Actions --------------------------------------------------------------------
  void btnSetting_Click();
  void btnConnect_Click();
  void btnUpload_Click();
  void btnDownload_Click();
  void btnStart_Click();
  void btnStop_Click();
  void btnDisconnect_Click();
  void btnComNet_Click();
  void mnuFilesOpen_Click();
  void mnuFilesSave_Click();
  void mnuFilesEnd_Click();
  void mnuQ5Informain_Click();
  void mnuDebugInfo_Click();
  void mnuFirmUpdate_Click();
  void mnuHelpVersion_Click();

  // Widgets (named as the window's controls).
  LampWidget* shpLamp;
  ElidedLabel* lblComPortNo;
  QLabel* lblConStatus;
  QLabel* lblVersionNo;
  QLabel* lblMastertype;
  QPushButton* btnUpload;
  QPushButton* btnDownload;
  QPushButton* btnStart;
  QPushButton* btnStop;
  QPushButton* btnSetting;
  QPushButton* btnConnect;
  QPushButton* btnDisconnect;
  QPushButton* btnComNet;
  QMdiArea* mdiArea;
  QMenu* mnuFiles;
  QMenu* mnuModelSelect;
  QMenu* mnuWindow;
  QMenu* mnuHelp;
  QAction* mnuFilesOpen;
  QAction* mnuFilesSave;
  QAction* mnuFilesEnd;
  QAction* mnuQ5Informain;
  QAction* mnuDebugInfo;
  QAction* mnuFirmUpdate;
  QAction* mnuHelpVersion;
  QAction* mnuWindowPage;
  ElidedLabel* lblStatus; // status bar: the state
  QLabel* lblStatusPort;  // status bar: the port
  QLabel* lblStatusUnit;  // status bar: the unit's model
 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  class Sequence;
  void buildWidgets();
  void buildMenus();
  void buildModelSelectMenu();
  // Begins a user action; false while the program is ending.
  bool actionAllowed() const { return !exitRequested_; }
  void requestExit();
  // Runs the desktop's opener for an address; a failure it reports later says so too.
  bool startViewer(const QUrl& url);
  void documentNotShown(const QUrl& url);
  void finishExit();
  QMdiSubWindow* subWindowFor(pages::ModulePage* page);
  void placePage(QMdiSubWindow* sub);
  void modelSelect(const config::ModelSelectItem& item);
  // Runs File > Open, File > Save or a Model Select item; the status line then says how
  // it ended ("Opened plant-a.uJx 14:02:11", "Cancelled 14:02:11", "Save failed …").
  enum class FileAction { Open, Save, Create };
  void fileAction(FileAction kind, const std::function<void()>& body);
  // Brings the views up to date with the session (each wait for the unit; throttled
  // unless now).
  void followSession(bool now = false);
  void hideStalePage();
  // Runs a user action: busy cursor over the window while it runs (not while
  // monitoring), "Cancel" offered on the progress window when cancellable, the status
  // bar's result when the outermost action ends.
  // `failing` names the action in the status line when a failure box shows ("Download
  // failed 14:02:11 — Download Error"); by default `done`.
  void runAction(const QString& activity, const QString& done, bool busy, bool cancellable,
                 const std::function<void()>& body, const QString& failing = {});
  // An error box is about to show: the status line says the running action failed.
  void failureShown(const std::string& text, ui::Icon icon);
  void updateTitle();
  void updateStatus();
  void traceExchange(int event, std::string_view text);

  std::unique_ptr<link::Clock> clock_;
  std::unique_ptr<qtlink::PortSwitch> port_;
  std::unique_ptr<link::Exchange> exchange_;
  std::unique_ptr<QtDialogs> qtDialogs_;
  std::unique_ptr<GuardedDialogs> dialogs_;
  std::unique_ptr<session::Session> session_;
  std::unique_ptr<config::ConfigFiles> files_;
  std::unique_ptr<HelpDocuments> help_;
  std::function<std::vector<PortChoice>()> portChoices_;
  std::function<bool(const QUrl&)> openUrl_;

  std::map<pages::ModulePage*, QMdiSubWindow*> pageWindows_;
  QMdiSubWindow* noneWindow_ = nullptr;
  QMdiSubWindow* current_ = nullptr;
  QPointer<ChangeValueDialog> changeValue_;
  std::vector<QAction*> modelSelectActions_;

  std::string shownModel_;  // the model the current page was shown for
  QString activity_;        // what the running action does ("Uploading")
  QString result_;          // how the last action ended
  QString failing_;         // the running action as a failure names it ("Download")
  QString failed_;          // "Download failed …" once an error box showed during it
  QString failedAt_;        // when the first error box of the running action showed
  bool inAction_ = false;
  // The live values on the page were read from the unit connected now. False from a
  // Disconnect until the first pass after the next connection: until then they are an
  // earlier connection's and shown as stale.
  bool liveFresh_ = false;
  bool cancellable_ = false;
  bool cancelled_ = false;
  // The wire as the message boxes explain it: the group selected last, the last line
  // sent, the last one that got no reply and how many times in a row.
  std::string group_;
  std::string lastSent_;
  std::string unanswered_;
  std::string unansweredGroup_;
  int unansweredTimes_ = 0;
  std::string lastRefused_;
  std::string lastReceived_;
  QElapsedTimer sinceFollow_;
  MainWindowTools* tools_ = nullptr;
  int depth_ = 0;
  bool exitRequested_ = false;
  bool exitFinished_ = false;
};

}  // namespace q5::gui
