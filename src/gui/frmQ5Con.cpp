#include "frmQ5Con.h"

#include "pages/ControlByName.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "AppIcon.h"
#include "ChangeValueDialog.h"
#include "DiagnosticsDialogs.h"

#include "ElidedLabel.h"
#include "FirmUpdateWindow.h"
#include "GuardedDialogs.h"
#include "HelpDocuments.h"
#include "LampWidget.h"
#include "NetworkWindows.h"
#include "MainWindowTools.h"
#include "NoteStatusBar.h"
#include "ReportMenu.h"
#include "PageView.h"
#include "QtDialogs.h"
#include "frmComPort.h"
#include "frmNONE.h"
#include "catalogue/Catalogue.h"
#include "config/ConfigFiles.h"
#include "link/TextRoutines.h"
#include "frmLoading.h"
#include "link/Exchange.h"
#include "qtlink/PortSwitch.h"
#include "qtlink/EventLoopYield.h"
#include "qtlink/QtClock.h"

namespace q5::gui {

namespace {

// Window and page sizes in twips.
constexpr int kWindowWidth = 12120;
constexpr int kWindowHeight = 8800;
constexpr int kPageWidth = 9650;
constexpr int kPageHeight = 7400;
// The column of frames and buttons beside the page area.
constexpr int kPanelWidth = 2200;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// One user action on the stack. While any runs, the window is not torn down; when the
// outermost one ends after "Exit", the program ends.
class frmQ5Con::Sequence {
 public:
  explicit Sequence(frmQ5Con& w) : w_(w) { ++w_.depth_; }
  ~Sequence() {
    if (--w_.depth_ == 0) {
      w_.refresh();
      if (w_.exitRequested_) w_.finishExit();
    }
  }
  Sequence(const Sequence&) = delete;
  Sequence& operator=(const Sequence&) = delete;

 private:
  frmQ5Con& w_;
};

frmQ5Con::frmQ5Con(Setup setup, QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmQ5Con");
  setWindowTitle(QStringLiteral("Q5CFG"));
  clock_ = std::make_unique<qtlink::QtClock>(qtlink::WaitMode::EventLoop);
  port_ = std::make_unique<qtlink::PortSwitch>(*clock_, qtlink::WaitMode::EventLoop);
  exchange_ = std::make_unique<link::Exchange>(*port_, *clock_);
  qtDialogs_ = std::make_unique<QtDialogs>(this);
  dialogs_ = std::make_unique<GuardedDialogs>(setup.dialogs ? *setup.dialogs : *qtDialogs_);
  session_ = std::make_unique<session::Session>(*exchange_, *dialogs_);
  files_ = std::make_unique<config::ConfigFiles>(*session_);
  help_ = std::make_unique<HelpDocuments>();
  portChoices_ = setup.portChoices ? setup.portChoices : [] { return DefaultPortChoices(); };
  openUrl_ = setup.openUrl ? setup.openUrl : [this](const QUrl& u) { return startViewer(u); };

  session_->values.applicationFolder =
      setup.applicationFolder.empty() ? QCoreApplication::applicationDirPath().toStdString()
                                      : setup.applicationFolder;
  session_->values.cacheFolder =
      QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
  session_->ParseCommandLine(setup.args);

  buildWidgets();
  buildMenus();
  tools_ = new MainWindowTools(*this);
  new ReportMenu(*this);
  resize(twips(kWindowWidth), twips(kWindowHeight));
  setWindowIcon(AppIcon());
  qtDialogs_->setExplain(
      [this](const ui::MessageCause& cause, const std::string& text) { return explain(cause, text); });
  qtDialogs_->setCancel([this] { return cancelOffered(); }, [this] { cancelSequence(); });
  qtDialogs_->setProgressChanged([this] { updateStatus(); });
  // The status line says an action failed before its box waits for the person.
  dialogs_->setBeforeMessage(
      [this](const std::string& text, ui::Icon icon) { failureShown(text, icon); });
  exchange_->setTraceObserver([this](link::TraceEvent e, std::string_view text, std::int64_t) {
    traceExchange(static_cast<int>(e), text);
  });
  session_->setView(this);
  // Every wait for the unit brings the views up to date before window events run.
  qtlink::SetYieldHook([this] { followSession(); });
  refresh();
  // The switches work one at a time; given together neither is on. Said here, so the
  // missing Help items are not a mystery.
  const auto given = [&setup](const char* word) {
    return std::find(setup.args.begin(), setup.args.end(), word) != setup.args.end();
  };
  if (given("-firmupdate") && given("-debug"))
    statusBar()->showMessage(QStringLiteral("-firmupdate and -debug work one at a time: given "
                                            "together, neither FirmUpdate nor DebugInfo is offered"));
}

frmQ5Con::frmQ5Con() : frmQ5Con(Setup{}) {}

frmQ5Con::~frmQ5Con() {
  qtlink::SetYieldHook({});
  // The tools hold the session's download guard: they go before the session does.
  delete tools_;
  tools_ = nullptr;
  session_->setView(nullptr);
  // The page views refer to the session's pages: they go before the session does.
  for (auto& [page, sub] : pageWindows_) delete sub;
  pageWindows_.clear();
  exchange_->ComPortClose();
}

ui::UserDialogs& frmQ5Con::dialogs() { return *dialogs_; }

int frmQ5Con::twips(int t) const { return qRound(t * logicalDpiX() / 1440.0); }

void frmQ5Con::buildWidgets() {
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(4, 4, 4, 4);
  row->setSpacing(4);

  auto* panel = new QWidget(central);
  panel->setObjectName("panel");
  panel->setFixedWidth(twips(kPanelWidth));
  auto* col = new QVBoxLayout(panel);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(6);

  // Connection: lamp, port, status.
  auto* fraConnection = new QGroupBox(panel);
  fraConnection->setObjectName("fraConnection");
  auto* conn = new QGridLayout(fraConnection);
  shpLamp = new LampWidget(fraConnection);
  shpLamp->setObjectName("shpLamp");
  lblComPortNo = new ElidedLabel(fraConnection);
  lblComPortNo->setObjectName("lblComPortNo");
  QFont small = lblComPortNo->font();
  small.setPointSizeF(small.pointSizeF() * 0.9);
  lblComPortNo->setFont(small);
  lblConStatus = new QLabel(fraConnection);
  lblConStatus->setObjectName("lblConStatus");
  QFont bold = lblConStatus->font();
  bold.setBold(true);
  lblConStatus->setFont(bold);
  // The port name has the whole width of the frame under the lamp and the status: a
  // long name ("sim:Q5W3NEIP-BI32", "/dev/serial/by-id/...") shows on one line, cut in
  // the middle when it does not fit.
  conn->setHorizontalSpacing(conn->spacing() / 2 + 1);
  conn->addWidget(shpLamp, 0, 0, Qt::AlignCenter);
  conn->addWidget(lblConStatus, 0, 1);
  conn->addWidget(lblComPortNo, 1, 0, 1, 2);
  conn->setColumnStretch(1, 1);
  col->addWidget(fraConnection);

  // The unit: model string and firmware version.
  auto* fraUnit = new QGroupBox(panel);
  fraUnit->setObjectName("fraUnit");
  auto* unit = new QVBoxLayout(fraUnit);
  lblMastertype = new QLabel(fraUnit);
  lblMastertype->setObjectName("lblMastertype");
  // One line: a model string is never broken at its hyphens; a long one is set smaller.
  lblMastertype->setWordWrap(false);
  lblMastertype->setFont(bold);
  lblMastertype->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblVersionNo = new QLabel(fraUnit);
  lblVersionNo->setObjectName("lblVersionNo");
  unit->addWidget(lblMastertype);
  unit->addWidget(lblVersionNo);
  col->addWidget(fraUnit);

  auto button = [this](QWidget* parent, const char* name, const QString& text,
                       const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
  };
  auto group = [panel, col](const char* name, const QString& title) {
    auto* g = new QGroupBox(title, panel);
    g->setObjectName(name);
    col->addWidget(g);
    return g;
  };

  auto* fraIO = group("fraIO", QStringLiteral("I/O"));
  auto* io = new QVBoxLayout(fraIO);
  btnUpload = button(fraIO, "btnUpload", QStringLiteral("&Upload"),
                     QStringLiteral("Read the unit's settings into the page (Alt+U)"));
  btnDownload = button(fraIO, "btnDownload", QStringLiteral("&Download"),
                       QStringLiteral("Write the page's settings to the unit (Alt+D)"));
  io->addWidget(btnUpload);
  io->addWidget(btnDownload);

  auto* fraMonitoring = group("fraMonitoring", QStringLiteral("Monitoring"));
  auto* mon = new QVBoxLayout(fraMonitoring);
  btnStart = button(fraMonitoring, "btnStart", QStringLiteral("S&tart"),
                    QStringLiteral("Show live values until Stop (Alt+T)"));
  btnStop = button(fraMonitoring, "btnStop", QStringLiteral("Sto&p"),
                   QStringLiteral("End monitoring (Alt+P)"));
  mon->addWidget(btnStart);
  mon->addWidget(btnStop);

  auto* fraCom = group("fraCom", QStringLiteral("Com"));
  auto* com = new QVBoxLayout(fraCom);
  btnSetting = button(fraCom, "btnSetting", QStringLiteral("S&etting"),
                      QStringLiteral("Choose the port and connect (Alt+E)"));
  btnConnect = button(fraCom, "btnConnect", QStringLiteral("&Connect"),
                      QStringLiteral("Connect to the unit and read it (Alt+C)"));
  btnDisconnect = button(fraCom, "btnDisconnect", QStringLiteral("D&isconnect"),
                         QStringLiteral("Close the port (Alt+I)"));
  btnComNet = button(fraCom, "btnComNet", QString(),
                     QStringLiteral("Settings of the unit's network interface"));
  com->addWidget(btnSetting);
  com->addWidget(btnConnect);
  com->addWidget(btnDisconnect);
  com->addWidget(btnComNet);
  col->addStretch(1);
  row->addWidget(panel);

  mdiArea = new QMdiArea(central);
  mdiArea->setObjectName("mdiArea");
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  row->addWidget(mdiArea, 1);
  setCentralWidget(central);

  // Notes are fitted beside the unit and port texts; the state text shortens with "…"
  // rather than widen the window or push them aside.
  setStatusBar(new NoteStatusBar(this));
  lblStatus = new ElidedLabel(this);
  lblStatus->setObjectName("lblStatus");
  lblStatusUnit = new QLabel(this);
  lblStatusUnit->setObjectName("lblStatusUnit");
  lblStatusPort = new QLabel(this);
  lblStatusPort->setObjectName("lblStatusPort");
  statusBar()->addWidget(lblStatus, 1);
  statusBar()->addPermanentWidget(lblStatusUnit);
  statusBar()->addPermanentWidget(lblStatusPort);
  statusBar()->setSizeGripEnabled(true);
  // Tab reaches the window's buttons; the page area and its scroll bars take no stop of
  // their own.
  mdiArea->setFocusPolicy(Qt::NoFocus);

  connect(btnSetting, &QPushButton::clicked, this, &frmQ5Con::btnSetting_Click);
  connect(btnConnect, &QPushButton::clicked, this, &frmQ5Con::btnConnect_Click);
  connect(btnUpload, &QPushButton::clicked, this, &frmQ5Con::btnUpload_Click);
  connect(btnDownload, &QPushButton::clicked, this, &frmQ5Con::btnDownload_Click);
  connect(btnStart, &QPushButton::clicked, this, &frmQ5Con::btnStart_Click);
  connect(btnStop, &QPushButton::clicked, this, &frmQ5Con::btnStop_Click);
  connect(btnDisconnect, &QPushButton::clicked, this, &frmQ5Con::btnDisconnect_Click);
  connect(btnComNet, &QPushButton::clicked, this, &frmQ5Con::btnComNet_Click);

  // The placeholder page goes as soon as another page window is activated.
  connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (noneWindow_ && w && w != noneWindow_) noneWindow_->hide();
  });
}

void frmQ5Con::buildMenus() {
  mnuFiles = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFiles->setObjectName("mnuFiles");
  mnuFilesOpen = mnuFiles->addAction(QStringLiteral("&Open"), this, &frmQ5Con::mnuFilesOpen_Click);
  mnuFilesOpen->setObjectName("mnuFilesOpen");
  mnuFilesOpen->setShortcut(QKeySequence::Open);
  mnuFilesSave = mnuFiles->addAction(QStringLiteral("&Save"), this, &frmQ5Con::mnuFilesSave_Click);
  mnuFilesSave->setObjectName("mnuFilesSave");
  mnuFilesSave->setShortcut(QKeySequence::Save);
  mnuFiles->addSeparator();
  mnuFilesEnd = mnuFiles->addAction(QStringLiteral("E&xit"), this, &frmQ5Con::mnuFilesEnd_Click);
  mnuFilesEnd->setObjectName("mnuFilesEnd");
  mnuFilesEnd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  // Ctrl+Q also while monitoring has the File menu disabled: it stops monitoring and
  // ends the program, as the window's close button does.
  addAction(mnuFilesEnd);

  mnuModelSelect = menuBar()->addMenu(QStringLiteral("&Model Select"));
  mnuModelSelect->setObjectName("mnuModelSelect");
  buildModelSelectMenu();

  // "Window": the page window back when it was closed, minimised or moved away.
  mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
  mnuWindow->setObjectName("mnuWindow");
  mnuWindowPage = mnuWindow->addAction(QStringLiteral("&Page"), this, &frmQ5Con::revealPage);
  mnuWindowPage->setObjectName("mnuWindowPage");
  mnuWindowPage->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  mnuWindowPage->setToolTip(QStringLiteral("Show the module page again, restored"));

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName("mnuHelp");
  mnuQ5Informain =
      mnuHelp->addAction(QStringLiteral("Q5 &Informain"), this, &frmQ5Con::mnuQ5Informain_Click);
  mnuQ5Informain->setObjectName("mnuQ5Informain");
  const struct {
    const char* caption;
    const char* name;
    HelpDocuments::Document english;
    HelpDocuments::Document japanese;
  } docs[] = {
      {"Instruction &Manual", "mnuInstructionManual", HelpDocuments::InstructionManualEnglish,
       HelpDocuments::InstructionManualJapanese},
      {"Data &Sheets", "mnuDataSheets",
       HelpDocuments::DataSheetsEnglish, HelpDocuments::DataSheetsJapanese},
      {"&Users Manual", "mnuUsersManual", HelpDocuments::UsersManualEnglish,
       HelpDocuments::UsersManualJapanese},
  };
  for (const auto& d : docs) {
    QMenu* sub = mnuHelp->addMenu(QString::fromLatin1(d.caption));
    sub->setObjectName(d.name);
    const auto english = d.english;
    const auto japanese = d.japanese;
    sub->addAction(QStringLiteral("&English"), this, [this, english] { openDocument(english); })
        ->setObjectName(QString::fromLatin1(d.name) + "English");
    sub->addAction(QStringLiteral("&Japanese"), this, [this, japanese] { openDocument(japanese); })
        ->setObjectName(QString::fromLatin1(d.name) + "Japanese");
  }
  mnuDebugInfo =
      mnuHelp->addAction(QStringLiteral("&DebugInfo"), this, &frmQ5Con::mnuDebugInfo_Click);
  mnuDebugInfo->setObjectName("mnuDebugInfo");
  mnuFirmUpdate =
      mnuHelp->addAction(QStringLiteral("&FirmUpdate"), this, &frmQ5Con::mnuFirmUpdate_Click);
  mnuFirmUpdate->setObjectName("mnuFirmUpdate");
  mnuHelpVersion =
      mnuHelp->addAction(QStringLiteral("&Version"), this, &frmQ5Con::mnuHelpVersion_Click);
  mnuHelpVersion->setObjectName("mnuHelpVersion");
}

void frmQ5Con::buildModelSelectMenu() {
  for (const auto& group : config::ModelSelectMenu()) {
    QMenu* sub = mnuModelSelect->addMenu(Q(std::string(group.caption)));
    sub->setToolTipsVisible(true);
    sub->setObjectName(QStringLiteral("mnuModelSelect_") + Q(std::string(group.caption)));
    for (const auto& item : group.items) {
      QAction* a = sub->addAction(Q(std::string(item.caption)));
      a->setObjectName(QStringLiteral("mnu%1_%2").arg(Q(std::string(group.caption))).arg(item.index));
      a->setData(Q(std::string(item.caption)));
      // Kinds whose configuration files this version cannot write are shown, disabled.
      a->setEnabled(config::ModelSelectAvailable(item));
      if (!a->isEnabled())
        a->setToolTip(QStringLiteral("Not available in this version: no settings page for "
                                     "this module yet"));
      const config::ModelSelectItem* ptr = &item;
      connect(a, &QAction::triggered, this, [this, ptr] { modelSelect(*ptr); });
      modelSelectActions_.push_back(a);
    }
  }
}

QAction* frmQ5Con::modelSelectAction(const QString& group, const QString& caption) const {
  for (QMenu* sub : mnuModelSelect->findChildren<QMenu*>()) {
    if (sub->title() != group) continue;
    for (QAction* a : sub->actions())
      if (a->text() == caption) return a;
  }
  return nullptr;
}

void frmQ5Con::modelSelect(const config::ModelSelectItem& item) {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().modelSelectEnabled) return;
  Sequence seq(*this);
  fileAction(FileAction::Create, [&] { files_->ModelSelect_Click(item); });
}

void frmQ5Con::fileAction(FileAction kind, const std::function<void()>& body) {
  const int declinedBefore = session_->declinedQuestions();
  const int errorsBefore = dialogs_->errorsShown();
  dialogs_->forgetChosenFile();
  body();
  const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
  const QString file = QFileInfo(Q(dialogs_->lastChosenFile())).fileName();
  if (session_->declinedQuestions() != declinedBefore) {
    result_ = QStringLiteral("Cancelled %1").arg(time);
  } else if (dialogs_->errorsShown() != errorsBefore) {
    // The box said what went wrong; the line says the file action failed.
    result_ = kind == FileAction::Save   ? QStringLiteral("Save failed %1").arg(time)
              : kind == FileAction::Open ? QStringLiteral("Open failed %1").arg(time)
                                         : QStringLiteral("New configuration failed %1").arg(time);
  } else if (kind == FileAction::Create) {
    result_ = QStringLiteral("New configuration for %1 %2 — not saved")
                  .arg(Q(session_->values.model), time);
  } else if (!file.isEmpty()) {
    result_ = (kind == FileAction::Save ? QStringLiteral("Saved %1 %2") : QStringLiteral("Opened %1 %2"))
                  .arg(file, time);
  }
  updateStatus();
}

// --- What the session shows -------------------------------------------------------------

void frmQ5Con::refresh() {
  const session::Session& s = *session_;
  const session::Buttons& b = s.buttons();
  btnStart->setEnabled(b.btnStart);
  btnStop->setEnabled(b.btnStop);
  btnConnect->setEnabled(b.btnConnect);
  btnDisconnect->setEnabled(b.btnDisconnect);
  btnSetting->setEnabled(b.btnSetting);
  btnComNet->setEnabled(b.btnComNet);
  btnUpload->setEnabled(b.btnUpload);
  btnDownload->setEnabled(b.btnDownload);
  const auto& net = s.values.networkButton;
  btnComNet->setText(Q(net.caption));
  btnComNet->setVisible(net.visible);

  shpLamp->setColour(s.lamp());
  const session::Labels& l = s.labels();
  lblConStatus->setText(Q(l.lblConStatus));
  lblComPortNo->setFullText(Q(l.lblComPortNo));
  lblVersionNo->setText(Q(l.lblVersionNo));
  lblMastertype->setText(Q(l.lblMastertype));

  // Menus. While a sequence runs, the items that would start one of their own wait.
  const session::Menus& m = s.menus();
  const bool idle = depth_ == 0;
  mnuFiles->menuAction()->setEnabled(m.fileEnabled);
  mnuFilesOpen->setEnabled(idle && !exitRequested_);
  mnuFilesSave->setEnabled(idle && !exitRequested_);
  mnuModelSelect->menuAction()->setEnabled(m.modelSelectEnabled && idle && !exitRequested_);
  mnuQ5Informain->setEnabled(m.informationEnabled && idle && !exitRequested_);
  mnuWindowPage->setEnabled(current_ != nullptr && shownModel_ == s.values.model);
  hideStalePage();

  // The unit panel: the model on one line, whole; greyed when no unit is connected, so
  // that it is not read as the connected unit's.
  {
    // The room between the frame's margins (a label is never wider than that).
    QWidget* frame = lblMastertype->parentWidget();
    const QMargins m = frame->layout() ? frame->layout()->contentsMargins() : QMargins();
    const int room = frame->contentsRect().width() - m.left() - m.right() - 2;
    // Fitted again only when the model or the room changed (refresh runs every pass).
    const QString fitKey = lblMastertype->text() + QLatin1Char('|') + QString::number(room);
    if (lblMastertype->property("q5Fitted").toString() != fitKey) {
      lblMastertype->setProperty("q5Fitted", fitKey);
      QFont f = font();
      f.setBold(true);
      while (f.pointSizeF() > 6 && QFontMetrics(f).horizontalAdvance(lblMastertype->text()) > room)
        f.setPointSizeF(f.pointSizeF() - 0.5);
      lblMastertype->setFont(f);
    }
    const bool stale = !s.values.Connected && l.lblMastertype != "Welcome";
    lblMastertype->setEnabled(!stale);
    lblVersionNo->setEnabled(!stale);
    const QString tip = stale ? QStringLiteral("Not connected: the model of the page shown, or "
                                               "of the unit identified last")
                              : QStringLiteral("The connected unit");
    lblMastertype->setToolTip(tip);
    lblVersionNo->setToolTip(tip);
  }
  // Live values of no connected unit are shown as such, not as current values; nor are
  // those of an earlier connection while the unit connected again is being read.
  if (!s.values.Connected) liveFresh_ = false;
  if (PageView* v = pageView()) {
    v->setLiveStale(!s.values.Connected || !liveFresh_);
    v->setDisabledReason(
        s.values.Monitoring
            ? QStringLiteral("Settings are locked while monitoring: click Stop to change them")
        : depth_ > 0 ? QStringLiteral("The page is being read from or written to the unit")
                     : QStringLiteral("Not changeable here: fixed for this model, shown only, "
                                      "or not read from the unit (Upload again)"));
  }
  updateTitle();
  updateStatus();
  mnuDebugInfo->setVisible(m.debugInfoVisible);
  mnuDebugInfo->setEnabled(m.debugInfoEnabled);
  mnuFirmUpdate->setVisible(m.firmUpdateVisible);
  mnuFirmUpdate->setEnabled(m.firmUpdateEnabled);
}

void frmQ5Con::pageUpdated() {
  // A pass of live values (or a change of the page's editing state) while connected:
  // from now on the live values are this unit's.
  if (session_->values.Connected && !liveFresh_) {
    liveFresh_ = true;
    if (PageView* v = pageView()) v->setLiveStale(false);
  }
  if (PageView* v = pageView()) v->refresh();
  sinceFollow_.restart();
  updateStatus();
  if (tools_) tools_->pageUpdated();
}

void frmQ5Con::processEvents() {
  // Between monitoring passes the page was refreshed at the end of the pass just now.
  followSession(!session_->values.Monitoring);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void frmQ5Con::followSession(bool now) {
  // A binder refresh walks every control of the page: at most every few tens of
  // milliseconds while the unit answers a character at a time. An edit arriving in
  // between at a control the page has disabled is refused by the binder.
  // While monitoring, every pass ends with a refresh of its own (pageUpdated); within a
  // pass the page is refreshed only when the pass runs longer than a second (32 channels),
  // which halves what the window costs the processor while monitoring.
  constexpr qint64 kFollowMs = 20;
  constexpr qint64 kFollowMonitoringMs = 1000;
  const qint64 every = session_->values.Monitoring ? kFollowMonitoringMs : kFollowMs;
  if (!now && sinceFollow_.isValid() && sinceFollow_.elapsed() < every) return;
  sinceFollow_.restart();
  if (PageView* v = pageView()) v->refresh();
  hideStalePage();
}

PageView* frmQ5Con::pageView() const {
  if (!current_ || current_ == noneWindow_) return nullptr;
  return qobject_cast<PageView*>(current_->widget());
}

void frmQ5Con::hideStalePage() {
  // A page shown for one unit is not shown under another unit's model: the moment the
  // identification names another model, the old page goes out of sight until the new
  // unit's page has been read and is shown.
  if (!current_ || current_->isHidden()) return;
  if (session_->values.model == shownModel_) return;
  current_->hide();
}

void frmQ5Con::revealPage() {
  if (!current_ || shownModel_ != session_->values.model) return;
  if (current_ == noneWindow_ && !session_->values.PageShown) return;
  // Closing a page window (its X) hides the window and its page; minimising shrinks it
  // to a title bar. Both come back restored and filled.
  if (QWidget* inner = current_->widget()) inner->show();
  if (auto* v = qobject_cast<PageView*>(current_->widget())) v->refresh();
  if (current_->isMinimized() || current_->isMaximized()) current_->showNormal();
  current_->show();
  current_->raise();
  mdiArea->setActiveSubWindow(current_);
}

QMdiSubWindow* frmQ5Con::subWindowFor(pages::ModulePage* page) {
  if (!page) {
    if (!noneWindow_) {
      noneWindow_ = new QMdiSubWindow(mdiArea);
      noneWindow_->setWidget(new frmNONE(noneWindow_));
      noneWindow_->setWindowTitle(QStringLiteral("No settings page for this module"));
      noneWindow_->setObjectName("frmNONEWindow");
      noneWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
      mdiArea->addSubWindow(noneWindow_);
    }
    return noneWindow_;
  }
  auto it = pageWindows_.find(page);
  if (it != pageWindows_.end()) return it->second;
  auto* sub = new QMdiSubWindow(mdiArea);
  auto* view = new PageView(*page, sub);
  sub->setWidget(view);
  // A setting changed by hand is unsaved until it is saved, downloaded or replaced.
  connect(view, &PageView::edited, this, [this] { session_->markPageEdited(); });
  // A page's own buttons (calibration, "Offset [deg]"...) talk to the unit: each runs as
  // a sequence, with the window's buttons disabled, and is refused while another runs.
  view->pressHandler = [this, page, view](const QString& name) {
    if (!actionAllowed()) return;
    // Tabs and live value boxes act at once, also while monitoring.
    if (const auto info = pages::DeclarationOf(*page, name.toStdString());
        info && pages::ActsAtOnce(*info)) {
      session_->pagePress(*page, name.toStdString());
      return;
    }
    if (depth_ > 0 || session_->sequenceRunning()) return;
    QString caption = name;
    if (auto* b = qobject_cast<QAbstractButton*>(view->control(name.toStdString())))
      caption = b->text().remove(QLatin1Char('&'));
    runAction(QStringLiteral("%1: sending to the unit").arg(caption), QString(), true, false,
              [this, page, name] { session_->pagePress(*page, name.toStdString()); }, caption);
    // The button shows nothing of its own when the unit did not take it: say so.
    if (!session_->failure().empty())
      statusBar()->showMessage(
          QStringLiteral("%1 not done: %2").arg(caption, Q(session_->failure())), 30000);
  };
  sub->setWindowTitle(PageTitle(page->pageKind(), session_->values.model));
  sub->setObjectName(Q(std::string(page->name())) + "Window");
  // Closing a page window hides it; the page lives as long as the session.
  sub->setAttribute(Qt::WA_DeleteOnClose, false);
  mdiArea->addSubWindow(sub);
  pageWindows_[page] = sub;
  return sub;
}

void frmQ5Con::placePage(QMdiSubWindow* sub) {
  sub->hide();
  if (sub->isMinimized() || sub->isMaximized()) sub->showNormal();
  // At the top-left corner of the page area, with the page's fixed size.
  sub->move(0, 0);
  sub->resize(twips(kPageWidth), twips(kPageHeight));
  // A page window closed with its X took its page widget out of sight with it.
  if (QWidget* inner = sub->widget()) inner->show();
  sub->show();
  sub->raise();
  mdiArea->setActiveSubWindow(sub);
}

void frmQ5Con::showPage(pages::ModulePage* page) {
  QMdiSubWindow* sub = subWindowFor(page);
  // One page at a time: the page of an earlier unit goes out of sight.
  for (QMdiSubWindow* other : mdiArea->subWindowList())
    if (other != sub) other->hide();
  if (auto* view = qobject_cast<PageView*>(sub->widget())) view->refresh();
  current_ = sub;
  shownModel_ = session_->values.model;
  if (page) sub->setWindowTitle(PageTitle(page->pageKind(), shownModel_));
  placePage(sub);
}

PageView* frmQ5Con::currentPageView() const {
  if (!current_ || current_ == noneWindow_ || current_->isHidden()) return nullptr;
  return qobject_cast<PageView*>(current_->widget());
}

QWidget* frmQ5Con::noneView() const { return noneWindow_ ? noneWindow_->widget() : nullptr; }

void frmQ5Con::openNetworkWindow(int networkType) {
  // The window has read the unit's settings; it shows modally until its Exit or close.
  if (netpages::NetworkWindow* w = session_->networkWindow()) {
    NetworkDialog dlg(*w, this);
    dlg.exec();
  }
}

void frmQ5Con::openChangeValueDialog(pages::frmChangeValue& dialog) {
  const bool first = !changeValue_;
  if (!changeValue_) changeValue_ = new ChangeValueDialog(dialog, dialogs(), this);
  changeValue_->refresh();
  if (first && current_) {
    // Beside the page, not over the values it changes: right of the page window where
    // the screen has room, else at the page's lower right.
    const QRect page(current_->mapToGlobal(QPoint(0, 0)), current_->size());
    const QSize size = changeValue_->sizeHint();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    QPoint at(page.right() + 8, page.top());
    if (screen.isValid() && at.x() + size.width() > screen.right())
      at = QPoint(page.right() - size.width(), page.bottom() - size.height());
    changeValue_->move(at);
  }
  changeValue_->show();
  changeValue_->raise();
  changeValue_->activateWindow();
}

void frmQ5Con::closeChangeValueDialog() {
  if (changeValue_) changeValue_->hide();
}

QWidget* frmQ5Con::changeValueDialog() const {
  return changeValue_ && changeValue_->isVisible() ? changeValue_.data() : nullptr;
}

// --- Status, title, Cancel, causes ------------------------------------------------------

void frmQ5Con::runAction(const QString& activity, const QString& done, bool busy,
                         bool cancellable, const std::function<void()>& body,
                         const QString& failing) {
  Sequence seq(*this);
  const bool outer = !inAction_;
  inAction_ = true;
  if (outer) {
    // A note of an earlier action (a backup, a button not done) is not this action's.
    statusBar()->clearMessage();
    cancelled_ = false;
    cancellable_ = cancellable;
    unansweredTimes_ = 0;
    unanswered_.clear();
    lastRefused_.clear();
    failed_.clear();
    failedAt_.clear();
    // What a failure box names as failed: the action, or the Connect that Start runs
    // first; monitoring that ends says so when it ends.
    failing_ = !failing.isEmpty() ? failing
               : done == QStringLiteral("Monitoring")
                   ? (session_->values.Connected ? QString() : QStringLiteral("Connect"))
                   : done;
  }
  const QString before = activity_;
  activity_ = activity;
  if (busy) QApplication::setOverrideCursor(Qt::BusyCursor);
  updateStatus();
  const int declinedBefore = session_->declinedQuestions();
  body();
  if (busy) QApplication::restoreOverrideCursor();
  activity_ = before;
  if (!outer) return;
  inAction_ = false;
  const auto& v = session_->values;
  // A failure is dated when its box showed, not when the person closed it.
  const QString time = !failedAt_.isEmpty() ? failedAt_
                                            : QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
  if (cancelled_) {
    // The reads after Cancel failed on the closed port; their messages were held back.
    dialogs_->muteMessages(false);
    port_->keepOpen();
    if (v.Connected) session_->btnDisconnect_Click();
    result_ = QStringLiteral("Cancelled %1 — disconnected").arg(time);
  } else if (session_->declinedQuestions() != declinedBefore) {
    // "Save changes?" answered Cancel: the action did not start.
    result_ = QStringLiteral("Cancelled %1").arg(time);
  } else if (done == QStringLiteral("Monitoring")) {
    const QString failure = Q(session_->failure());
    result_ = v.Connected ? QStringLiteral("Monitoring stopped after %1 passes %2")
                                .arg(session_->monitorPass())
                                .arg(time)
              : session_->monitorPass() > 0 && !failure.isEmpty()
                  ? QStringLiteral("Monitoring ended %1 after %2 passes — %3")
                        .arg(time)
                        .arg(session_->monitorPass())
                        .arg(failure.contains(QStringLiteral("port closed"))
                                 ? QStringLiteral("the port was lost")
                                 : failure)
                  : QStringLiteral("Not connected");
  } else if (!done.isEmpty()) {
    const QString failure = Q(session_->failure());
    if (done == QStringLiteral("Download") && !session_->downloadRefused().empty())
      result_ = QStringLiteral("Download failed %1 — %2").arg(time, Q(session_->downloadRefused()));
    else if (v.Connected)
      result_ = QStringLiteral("%1 done %2").arg(done, time);
    else
      result_ = QStringLiteral("%1 failed %2 — not connected").arg(done, time);
  } else {
    result_ = v.Connected ? QStringLiteral("Connected") : QStringLiteral("Disconnected");
  }
  // What failed, in full, under the pointer (the line itself stays short).
  lblStatus->setToolTip(Q(session_->failure()));
  failed_.clear();
  failedAt_.clear();
  failing_.clear();
  cancellable_ = false;
  cancelled_ = false;
  updateStatus();
}

void frmQ5Con::failureShown(const std::string& text, ui::Icon icon) {
  if (!inAction_ || icon != ui::Icon::Error || failing_.isEmpty() || cancelled_) return;
  if (failedAt_.isEmpty()) failedAt_ = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
  const QString& time = failedAt_;
  QString what = DisplayText(text).section(QLatin1Char('\n'), 0, 0).trimmed();
  if (failing_ == QStringLiteral("Download") && !session_->downloadRefused().empty())
    what = Q(session_->downloadRefused());
  failed_ = QStringLiteral("%1 failed %2 — %3").arg(failing_, time, what);
  // A note from earlier in the action (the backup written before a Download) would
  // hide the state text while the box is up.
  statusBar()->clearMessage();
  updateStatus();
}

void frmQ5Con::cancelSequence() {
  if (!cancelOffered()) return;
  cancelled_ = true;
  port_->closeBeforeNextWrite();
  dialogs_->muteMessages(true);
  activity_ = QStringLiteral("Cancelling");
  updateStatus();
}

QString frmQ5Con::statusText() const {
  if (frmLoading* l = qtDialogs_->progressWindow()) {
    const bool writing = l->caption().contains(QStringLiteral("Download"), Qt::CaseInsensitive);
    return QStringLiteral("%1 %2/%3")
        .arg(writing ? QStringLiteral("Writing") : QStringLiteral("Reading"))
        .arg(qRound(l->value()))
        .arg(qRound(l->maximum()));
  }
  if (session_->values.Monitoring)
    return QStringLiteral("Monitoring — pass %1").arg(session_->monitorPass());
  // A failure box is up, or was: the line no longer says the action is under way.
  if (depth_ > 0 && !failed_.isEmpty()) return failed_;
  if (depth_ > 0 && !activity_.isEmpty()) return activity_ + QStringLiteral("...");
  if (session_->pageIncomplete())
    return result_ + QStringLiteral(" — page not completely read");
  return result_;
}

void frmQ5Con::updateStatus() {
  const QString state = statusText();
  if (lblStatus->text() != state) lblStatus->setText(state);
  const auto& v = session_->values;
  const QString port = session_->portName().empty()
                           ? QStringLiteral("No port chosen")
                           : Q(session_->portName()) + (v.Connected ? QString() : QStringLiteral(" (closed)"));
  if (lblStatusPort->text() != port) lblStatusPort->setText(port);
  const QString unit = v.model.empty() || v.model == "NONE" ? QString() : Q(v.model);
  if (lblStatusUnit->text() != unit) lblStatusUnit->setText(unit);
}

void frmQ5Con::updateTitle() {
  const auto& v = session_->values;
  QString t = QStringLiteral("Q5CFG");
  const bool modelKnown = !v.model.empty() && v.model != "NONE" && (v.PageShown || v.Connected);
  if (modelKnown) t += QStringLiteral(" — ") + Q(v.model);
  if (v.Connected) t += (modelKnown ? QStringLiteral(" on ") : QStringLiteral(" — ")) + Q(session_->portName());
  if (!session_->configFile().empty())
    t += QStringLiteral(" — ") + QFileInfo(Q(session_->configFile())).fileName();
  if (session_->pageIncomplete()) t += QStringLiteral(" — not completely read");
  if (session_->pageEdited()) t += QLatin1Char('*');
  if (windowTitle() != t) setWindowTitle(t);
}

QString frmQ5Con::PageTitle(int pageKind, const std::string& model) {
  static const char* const kWhat[22] = {
      "analog input, 4 channels",          "thermocouple input, 4 channels",
      "resistance thermometer input, 4 channels", "voltage output, 2 channels",
      "current output, 2 channels",        "discrete input, 16 points",
      "discrete output, 16 points",        "analog input, 2 channels",
      "discrete input, 32 points",         "discrete output, 32 points",
      "current output, 4 channels",        "pulse / encoder input, 2 channels",
      "voltage output, 4 channels",        "load cell input, 2 channels",
      "linearizing converter",             "PWM output, 4 channels",
      "AC current input, 32 channels",     "analog input, 8 channels",
      "16-point input / 16-point output",  "pulse input, 8 channels",
      "8-point input / 8-point output",    "pulse input, 32 channels"};
  QString what = pageKind >= 0 && pageKind < 22 ? QString::fromLatin1(kWhat[pageKind])
                                                : QStringLiteral("settings");
  const std::string part = catalogue::ModulePartOf(model);
  // The one-channel pulse modules (PI1, PI1/A) share the two-channel page.
  if (pageKind == 11 && part.rfind("PI1", 0) == 0)
    what = QStringLiteral("pulse / encoder input, 1 channel");
  return part.empty() ? what : Q(part) + QStringLiteral(" — ") + what;
}

void frmQ5Con::traceExchange(int event, std::string_view text) {
  std::string line(text);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  switch (static_cast<link::TraceEvent>(event)) {
    case link::TraceEvent::Sent:
      lastSent_ = line;
      if (!line.empty() && line[0] == 'G') group_ = line.substr(1);
      break;
    case link::TraceEvent::Received:
      lastReceived_ = line;
      if (line == "CNG" || line == "CNU") lastRefused_ = lastSent_ + " answered " + line;
      if (!line.empty() && line[0] == 'C') {
        if (lastSent_ == unanswered_) unansweredTimes_ = 0;
        break;
      }
      // Not a reply of the unit (line noise): as good as none.
      line.clear();
      [[fallthrough]];
    case link::TraceEvent::TimedOut:
    case link::TraceEvent::NotOpen:
      // A line the closed port did not take is named itself; otherwise the line sent.
      if (static_cast<link::TraceEvent>(event) != link::TraceEvent::NotOpen) line = lastSent_;
      if (line == unanswered_ && group_ == unansweredGroup_) {
        ++unansweredTimes_;
      } else {
        unanswered_ = line;
        unansweredGroup_ = group_;
        unansweredTimes_ = 1;
      }
      break;
    default:
      break;
  }
}

QString frmQ5Con::explain(const ui::MessageCause& cause, const std::string& text) {
  const QString port = Q(session_->portName());
  auto noReply = [this, &port]() -> QString {
    if (unansweredTimes_ == 0) {
      if (!lastRefused_.empty())
        return QStringLiteral("The unit refused: %1.").arg(Q(lastRefused_));
      return {};
    }
    // A port that closed under the exchange reports no line of its own: the command is
    // the one sent last.
    const std::string& command = unanswered_.empty() ? lastSent_ : unanswered_;
    QString what = QStringLiteral("No usable reply to %1").arg(Q(command));
    if (!command.empty() && command[0] != 'G' && !unansweredGroup_.empty())
      what += QStringLiteral(" in group %1").arg(Q(unansweredGroup_));
    what += unansweredTimes_ == 1 ? QStringLiteral(" (1 attempt)")
                                  : QStringLiteral(" after %1 attempts").arg(unansweredTimes_);
    what += QStringLiteral(" on %1.").arg(port);
    const bool lost = !exchange_->isOpen();
    if (!port_->lastError().empty() || !port_->serial().lastError().empty()) {
      const std::string& e =
          !port_->lastError().empty() ? port_->lastError() : port_->serial().lastError();
      what += lost ? QStringLiteral(" The port was lost (%1).").arg(Q(e))
                   : QStringLiteral(" The port reported: %1.").arg(Q(e));
    } else if (lost) {
      what += QStringLiteral(" The port was lost.");
    }
    return what;
  };
  if (cause.kind == ui::FailureKind::Connection) {
    const std::string& e = port_->lastError();
    if (!e.empty() && !port_->active()) {
      QString why = QStringLiteral("%1 could not be opened: %2").arg(port, Q(e));
      if (e.find("ermission") != std::string::npos)
        why += QStringLiteral(" — add the user to the dialout group (then log in again)");
      return why + QLatin1Char('.');
    }
    const QString r = noReply();
    if (!r.isEmpty()) return r + QStringLiteral(" Is the unit powered and the cable plugged in?");
    return QStringLiteral("The unit on %1 did not identify itself as MNTSW.").arg(port);
  }
  const bool upload = cause.kind == ui::FailureKind::Upload;
  const bool download = cause.kind == ui::FailureKind::Download;
  if (upload || download) {
    if (cancelled_) return {};
    if (download && cause.nothingWritten) return QStringLiteral("Nothing was written to the unit.");
    const QString r = noReply();
    if (!r.isEmpty()) return r;
    if (upload && text == "Upload Error" && !session_->values.model.empty() &&
        !catalogue::IsSupportedSeries(session_->values.model))
      return QStringLiteral("The model \"%1\" is not of a series this program knows.")
          .arg(Q(session_->values.model));
    if (download && lastReceived_.size() > 1 && lastReceived_[0] == 'C')
      return QStringLiteral("The unit reports the model \"%1\"; the page is for \"%2\". "
                            "Nothing was written.")
          .arg(Q(link::ValueAfterColon(lastReceived_.substr(1))), Q(session_->values.model));
    return {};
  }
  if (cause.kind == ui::FailureKind::DataRange) {
    // The field is shown and focused, so the value can be corrected at once.
    if (PageView* v = pageView(); v && !cause.control.empty()) {
      if (QWidget* w = v->control(cause.control)) {
        v->showControl(cause.control);
        w->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
      }
    }
    return Q(cause.why);
  }
  return {};
}

// --- Ending --------------------------------------------------------------------------

void frmQ5Con::endProgram() { requestExit(); }

void frmQ5Con::requestExit() {
  if (exitRequested_) return;
  exitRequested_ = true;
  // A sequence still on the stack unwinds without stopping on a message box, sees the
  // port closed and Monitoring off, and then the program ends.
  dialogs_->silence();
  dialogs_->progressClose();
  if (!session_->programEnded()) session_->mnuFilesEnd_Click();
  session_->values.Monitoring = false;
  // A Download's write under way gets its reply first; the session closes the port
  // once the Download has unwound.
  if (!session_->downloading()) exchange_->ComPortClose();
  if (depth_ == 0) finishExit();
}

void frmQ5Con::finishExit() {
  if (exitFinished_) return;
  exitFinished_ = true;
  // Leave the stack first: the window may be inside its own close event.
  QTimer::singleShot(0, this, [this] {
    close();
    QCoreApplication::quit();
  });
}

void frmQ5Con::closeEvent(QCloseEvent* e) {
  if (exitFinished_ && depth_ == 0) {
    e->accept();
    return;
  }
  e->ignore();
  mnuFilesEnd_Click();
}

// --- Actions ----------------------------------------------------------------------------

void frmQ5Con::btnSetting_Click() {
  if (!actionAllowed()) return;
  // Asked before the port is chosen: connecting reads the unit into the page. A
  // Discard holds for the Connect that follows.
  session::Session::ReplaceAction replacing(*session_);
  if (!session_->ConfirmReplacePage()) {
    result_ = QStringLiteral("Cancelled %1").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    updateStatus();
    return;
  }
  Sequence seq(*this);
  session_->beginSetting();
  std::optional<std::string> chosen;
  {
    frmComPort dlg(portChoices_(), this);
    dlg.setScanner([this](frmComPort& d) { tools_->scan(d); });
    connect(&dlg, &frmComPort::portChosen, this,
            [&chosen](const QString& port) { chosen = port.toStdString(); });
    if (dlg.listEmpty()) session_->comPortDialogEmpty();
    dlg.exec();
  }
  // "Com Setting" is gone before the port opens and Connect runs, so the progress
  // window and the new unit's page are not hidden under it.
  if (chosen && actionAllowed()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    runAction(QStringLiteral("Connecting to %1").arg(Q(*chosen)), QStringLiteral("Connect"), true,
              true, [&] { session_->comPortChosen(*chosen); });
  }
  if (actionAllowed()) session_->endSetting();
}

void frmQ5Con::btnConnect_Click() {
  if (!actionAllowed()) return;
  runAction(QStringLiteral("Connecting"), QStringLiteral("Connect"), true, true, [this] { session_->btnConnect_Click(); });
}

void frmQ5Con::btnUpload_Click() {
  if (!actionAllowed()) return;
  runAction(QStringLiteral("Uploading"), QStringLiteral("Upload"), true, true, [this] { session_->btnUpload_Click(); });
}

void frmQ5Con::btnDownload_Click() {
  if (!actionAllowed()) return;
  // The Upload that ends a Download shows the first tab; the tab a person downloaded
  // from comes back.
  pages::ModulePage* page = session_->values.PageShown ? session_->page() : nullptr;
  std::size_t tab = 0;
  if (page)
    for (std::size_t n = 0; n < page->frmSet.size(); ++n)
      if (page->frmSet[n].visible) tab = n;
  runAction(QStringLiteral("Downloading"), QStringLiteral("Download"), true, false, [this] { session_->btnDownload_Click(); });
  if (page && tab > 0 && session_->page() == page && tab < page->cmdSet.size() &&
      page->cmdSet[tab].enabled && page->cmdSet[tab].visible) {
    session_->pagePress(*page, "cmdSet" + std::to_string(tab + 1));
    if (PageView* v = pageView()) v->refresh();
  }
}

void frmQ5Con::btnStart_Click() {
  if (!actionAllowed()) return;
  // Live values are shown on the page: a page window closed or minimised comes back.
  revealPage();
  const bool connecting = !session_->values.Connected;
  runAction(connecting ? QStringLiteral("Connecting") : QStringLiteral("Monitoring"),
            QStringLiteral("Monitoring"), false, connecting, [this] { session_->btnStart_Click(); });
}

void frmQ5Con::btnStop_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnStop_Click();
}

void frmQ5Con::btnDisconnect_Click() {
  if (!actionAllowed()) return;
  runAction(QStringLiteral("Disconnecting"), QStringLiteral(""), false, false, [this] { session_->btnDisconnect_Click(); });
}

void frmQ5Con::btnComNet_Click() {
  if (!actionAllowed()) return;
  runAction(QStringLiteral("Network settings"), QStringLiteral(""), false, false,
            [this] { session_->btnComNet_Click(); }, QStringLiteral("Network settings"));
}

void frmQ5Con::mnuFilesOpen_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().fileEnabled) return;
  Sequence seq(*this);
  fileAction(FileAction::Open, [this] { files_->mnuFilesOpen_Click(); });
}

void frmQ5Con::mnuFilesSave_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().fileEnabled) return;
  Sequence seq(*this);
  fileAction(FileAction::Save, [this] { files_->mnuFilesSave_Click(); });
}

void frmQ5Con::mnuFilesEnd_Click() {
  if (exitRequested_) return;
  if (!session_->ConfirmReplacePage()) return;
  // During a Download: asked first, saying where the unit stands; No lets it go on.
  if (!session_->confirmStopForClose()) return;
  requestExit();
}

void frmQ5Con::mnuQ5Informain_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->mnuQ5Informain_Click();
}

void frmQ5Con::mnuDebugInfo_Click() {
  if (!actionAllowed()) return;
  DebugInfoDialog dlg(session_->link(), session_->values.DebugMode, this);
  dlg.exec();
}

void frmQ5Con::mnuFirmUpdate_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().firmUpdateEnabled) return;
  Sequence seq(*this);
  FirmUpdateWindow window(*session_, *dialogs_, this);
  window.statusChanged = [this, &window](const QString& s) {
    activity_ = s;
    // An update that ran says how it ended, beside the window that shows the details.
    if (s.isEmpty()) {
      using Outcome = firmware::frmFirmUpdate::Outcome;
      const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
      switch (window.model().outcome()) {
        case Outcome::Completed: result_ = QStringLiteral("Firmware updated %1").arg(time); break;
        case Outcome::Failed: result_ = QStringLiteral("Firmware update failed %1").arg(time); break;
        case Outcome::Interrupted: result_ = QStringLiteral("Firmware update stopped %1").arg(time); break;
        case Outcome::Declined: result_ = QStringLiteral("Firmware not written %1 — answered No").arg(time); break;
        case Outcome::Refused: result_ = QStringLiteral("Firmware file refused %1 — nothing was sent").arg(time); break;
        default: break;  // the file choice was cancelled: nothing happened
      }
    }
    updateStatus();
  };
  window.exec();
  activity_.clear();
  updateStatus();
}

void frmQ5Con::mnuHelpVersion_Click() {
  if (!actionAllowed()) return;
  // Opened without blocking, so a monitoring loop below on the stack keeps running.
  auto* dlg = new VersionDialog(this);
  dlg->setObjectName(QStringLiteral("frmVersion"));
  showInformation(dlg);
}

void frmQ5Con::showInformation(QDialog* dialog) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  // open(): modal to this window, but returns at once; exec() would stop the monitoring
  // loop below it on the stack until the box closed.
  dialog->open();
}

void frmQ5Con::openDocument(int document) {
  const auto d = static_cast<HelpDocuments::Document>(document);
  const QUrl url = help_->address(d, session_->values);
  if (!openUrl_(url)) documentNotShown(url);
}

bool frmQ5Con::startViewer(const QUrl& url) {
  // The desktop's opener is run here rather than through QDesktopServices, whose answer
  // only says that the opener started: without a browser it fails afterwards, on stderr.
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return QDesktopServices::openUrl(url);
  auto* p = new QProcess(this);
  p->setProcessChannelMode(QProcess::ForwardedChannels);
  connect(p, &QProcess::finished, this, [this, p, url](int code, QProcess::ExitStatus status) {
    p->deleteLater();
    if (status != QProcess::NormalExit || code != 0) documentNotShown(url);
  });
  connect(p, &QProcess::errorOccurred, this, [this, p, url](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    p->deleteLater();
    documentNotShown(url);
  });
  p->start(opener, {url.toString()});
  return true;
}

void frmQ5Con::documentNotShown(const QUrl& url) {
  const QString where = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Q5CFG"),
                              QStringLiteral("The document could not be shown: no program to "
                                             "open it could be started."),
                              QMessageBox::NoButton, this);
  box->setObjectName("q5HelpFailedBox");
  box->setInformativeText(QStringLiteral("Open it yourself in a browser:\n%1").arg(where));
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPushButton* copy = box->addButton(QStringLiteral("&Copy path"), QMessageBox::AcceptRole);
  copy->setObjectName("btnCopyPath");
  box->addButton(QMessageBox::Close);
  box->setDefaultButton(copy);
  connect(copy, &QPushButton::clicked, this, [this, where] {
    QGuiApplication::clipboard()->setText(where);
    statusBar()->showMessage(QStringLiteral("Copied to the clipboard: %1").arg(where), 10000);
  });
  FitCaption(*box);
  showInformation(box);
}

}  // namespace q5::gui
