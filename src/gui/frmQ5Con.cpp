#include "frmQ5Con.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "ElidedLabel.h"
#include "FirmUpdateWindow.h"
#include "GuardedDialogs.h"
#include "HelpDocuments.h"
#include "LampWidget.h"
#include "MainWindowTools.h"
#include "PageView.h"
#include "QtDialogs.h"
#include "frmComPort.h"
#include "frmNONE.h"
#include "config/ConfigFiles.h"
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

  session_->values.applicationFolder =
      setup.applicationFolder.empty() ? QCoreApplication::applicationDirPath().toStdString()
                                      : setup.applicationFolder;
  session_->values.cacheFolder =
      QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
  session_->ParseCommandLine(setup.args);

  buildWidgets();
  buildMenus();
  tools_ = new MainWindowTools(*this);
  resize(twips(kWindowWidth), twips(kWindowHeight));
  session_->setView(this);
  // Every wait for the unit brings the views up to date before window events run.
  qtlink::SetYieldHook([this] { followSession(); });
  refresh();
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
  lblMastertype->setWordWrap(true);
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
      {"Specification &Sheets", "mnuSpecificationSheets",
       HelpDocuments::SpecificationSheetsEnglish, HelpDocuments::SpecificationSheetsJapanese},
      {"&Users Manual", "mnuUsersManual", HelpDocuments::UsersManualEnglish,
       HelpDocuments::UsersManualJapanese},
  };
  for (const auto& d : docs) {
    QMenu* sub = mnuHelp->addMenu(QString::fromLatin1(d.caption));
    sub->setObjectName(d.name);
    const auto english = d.english;
    const auto japanese = d.japanese;
    sub->addAction(QStringLiteral("&English"), this,
                   [this, english] { help_->open(english, session_->values); })
        ->setObjectName(QString::fromLatin1(d.name) + "English");
    sub->addAction(QStringLiteral("&Japanese"), this,
                   [this, japanese] { help_->open(japanese, session_->values); })
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
    sub->setObjectName(QStringLiteral("mnuModelSelect_") + Q(std::string(group.caption)));
    for (const auto& item : group.items) {
      QAction* a = sub->addAction(Q(std::string(item.caption)));
      a->setObjectName(QStringLiteral("mnu%1_%2").arg(Q(std::string(group.caption))).arg(item.index));
      a->setData(Q(std::string(item.caption)));
      // Kinds whose configuration files this version cannot write are shown, disabled.
      a->setEnabled(config::ModelSelectAvailable(item));
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
  files_->ModelSelect_Click(item);
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
  mnuDebugInfo->setVisible(m.debugInfoVisible);
  mnuDebugInfo->setEnabled(m.debugInfoEnabled);
  mnuFirmUpdate->setVisible(m.firmUpdateVisible);
  mnuFirmUpdate->setEnabled(m.firmUpdateEnabled);
}

void frmQ5Con::pageUpdated() {
  if (PageView* v = pageView()) v->refresh();
  sinceFollow_.restart();
  if (tools_) tools_->pageUpdated();
}

void frmQ5Con::processEvents() {
  followSession(true);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void frmQ5Con::followSession(bool now) {
  // A binder refresh walks every control of the page: at most every few tens of
  // milliseconds while the unit answers a character at a time. An edit arriving in
  // between at a control the page has disabled is refused by the binder.
  constexpr qint64 kFollowMs = 20;
  if (!now && sinceFollow_.isValid() && sinceFollow_.elapsed() < kFollowMs) return;
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
      noneWindow_->setWindowTitle(QStringLiteral("frmNONE"));
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
  sub->setWindowTitle(Q(std::string(page->name())));
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
  placePage(sub);
}

PageView* frmQ5Con::currentPageView() const {
  if (!current_ || current_ == noneWindow_ || current_->isHidden()) return nullptr;
  return qobject_cast<PageView*>(current_->widget());
}

QWidget* frmQ5Con::noneView() const { return noneWindow_ ? noneWindow_->widget() : nullptr; }

void frmQ5Con::openNetworkWindow(int networkType) {
  dialogs_->message("The network settings window is not available in this version.", "Q5CFG",
                    ui::Icon::Information);
}

void frmQ5Con::closeChangeValueDialog() {}

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
  exchange_->ComPortClose();
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
  // Asked before the port is chosen: connecting reads the unit into the page.
  if (!session_->ConfirmReplacePage()) return;
  Sequence seq(*this);
  session_->beginSetting();
  if (PageView* v = pageView()) v->refresh();
  sinceFollow_.restart();
  if (tools_) tools_->pageUpdated();
  if (actionAllowed()) session_->endSetting();
}

void frmQ5Con::btnConnect_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnConnect_Click();
}

void frmQ5Con::btnUpload_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnUpload_Click();
}

void frmQ5Con::btnDownload_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnDownload_Click();
}

void frmQ5Con::btnStart_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  // Live values are shown on the page: a page window closed or minimised comes back.
  revealPage();
  session_->btnStart_Click();
}

void frmQ5Con::btnStop_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnStop_Click();
}

void frmQ5Con::btnDisconnect_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnDisconnect_Click();
}

void frmQ5Con::btnComNet_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->btnComNet_Click();
}

void frmQ5Con::mnuFilesOpen_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().fileEnabled) return;
  Sequence seq(*this);
  files_->mnuFilesOpen_Click();
}

void frmQ5Con::mnuFilesSave_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().fileEnabled) return;
  Sequence seq(*this);
  files_->mnuFilesSave_Click();
}

void frmQ5Con::mnuFilesEnd_Click() {
  if (exitRequested_) return;
  if (!session_->ConfirmReplacePage()) return;
  requestExit();
}

void frmQ5Con::mnuQ5Informain_Click() {
  if (!actionAllowed()) return;
  Sequence seq(*this);
  session_->mnuQ5Informain_Click();
}

void frmQ5Con::mnuDebugInfo_Click() {}

void frmQ5Con::mnuFirmUpdate_Click() {
  if (!actionAllowed() || depth_ > 0 || !session_->menus().firmUpdateEnabled) return;
  Sequence seq(*this);
  FirmUpdateWindow window(*session_, *dialogs_, this);
  window.exec();
}

void frmQ5Con::mnuHelpVersion_Click() {
  QMessageBox::about(this, QStringLiteral("Version"),
                     QStringLiteral("<b>Q5CFG</b><br>Configuration tool for Remote I/O Q5 "
                                    "units<br>Version %1")
                         .arg(QCoreApplication::applicationVersion()));
}

}  // namespace q5::gui
