#include "MainWindowTools.h"

#include "GuardedDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "CompareDialog.h"
#include "TrendView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"
#include "config/Backups.h"
#include "config/Compare.h"
#include "config/ConfigFiles.h"
#include "qtlink/UserFolders.h"

namespace q5::gui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// How long a tool's note stays in the status line before the window's own state text
// ("Monitoring — pass 12", "Download done 14:02:11") shows again.
constexpr int kNoteMs = 30000;
// A recording's pass count is renewed with every pass; it lapses soon after they stop.
constexpr int kPassNoteMs = 3000;

// A port's entry without the mark a scan put in front ("[model, version, channels] ").
QString Unmarked(const QString& label) {
  if (!label.startsWith(QLatin1Char('['))) return label;
  const int end = label.indexOf(QLatin1String("] "));
  return end < 0 ? label : label.mid(end + 2);
}

// A path as a person reads it: the home folder as "~".
QString Shown(const std::string& path) {
  QString p = QDir::toNativeSeparators(Q(path));
  const QString home = QDir::toNativeSeparators(QDir::homePath());
  if (!home.isEmpty() && home != QStringLiteral("/") && p.startsWith(home + QDir::separator()))
    p = QStringLiteral("~") + p.mid(home.size());
  return p;
}
}  // namespace

MainWindowTools::MainWindowTools(frmQ5Con& window) : QObject(&window), w_(window) {
  backups_ = std::make_unique<config::Backups>(w_.session(), qtlink::BackupFolder());
  backups_->onWritten = [this](const std::string& path) {
    w_.statusBar()->showMessage(QStringLiteral("Backup: ") + Shown(path), kNoteMs);
    // The whole path stays at hand while the note shows.
    w_.statusBar()->setToolTip(QDir::toNativeSeparators(Q(path)));
  };
  connect(w_.statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
    if (text.isEmpty()) w_.statusBar()->setToolTip(QString());
  });

  // After "Save", before the separator and "Exit".
  mnuFilesCompare = new QAction(QStringLiteral("&Compare with file…"), w_.mnuFiles);
  mnuFilesCompare->setObjectName("mnuFilesCompare");
  QAction* before = nullptr;
  const auto actions = w_.mnuFiles->actions();
  for (int i = 0; i + 1 < actions.size(); ++i)
    if (actions[i] == w_.mnuFilesSave) before = actions[i + 1];
  w_.mnuFiles->insertAction(before, mnuFilesCompare);
  connect(mnuFilesCompare, &QAction::triggered, this, &MainWindowTools::mnuFilesCompare_Click);
  // "Monitoring": the trend window and the record, before "Help".
  mnuMonitoring = new QMenu(QStringLiteral("M&onitoring"), w_.menuBar());
  mnuMonitoring->setObjectName("mnuMonitoring");
  w_.menuBar()->insertMenu(w_.mnuHelp->menuAction(), mnuMonitoring);
  mnuTrend = mnuMonitoring->addAction(QStringLiteral("&Trend…"), this, &MainWindowTools::mnuTrend_Click);
  mnuTrend->setObjectName("mnuTrend");
  mnuTrend->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  mnuRecord = mnuMonitoring->addAction(QStringLiteral("&Record…"), this, &MainWindowTools::mnuRecord_Click);
  mnuRecord->setObjectName("mnuRecord");
  connect(mnuMonitoring, &QMenu::aboutToShow, this, [this] {
    mnuRecord->setText(recording() ? QStringLiteral("Stop &recording") : QStringLiteral("&Record…"));
    mnuRecord->setEnabled(recording() || w_.currentPageView());
  });
  clock_.start();
  // A record ends when monitoring stops (checked between passes, off the monitoring path).
  auto* watch = new QTimer(this);
  watch->setInterval(200);
  connect(watch, &QTimer::timeout, this, [this] {
    if (recording() && recordSawMonitoring_ && !w_.session().values.Monitoring) stopRecording();
  });
  watch->start();

  // Something to compare: a page on screen, and no sequence running.
  connect(w_.mnuFiles, &QMenu::aboutToShow, this, [this] {
    mnuFilesCompare->setEnabled(w_.sequencesRunning() == 0 && !w_.exitRequested() &&
                                w_.session().values.PageShown && w_.currentPageView());
  });
}

MainWindowTools::~MainWindowTools() {
  stopRecording();
  delete trend_.data();
}

void MainWindowTools::pageUpdated() {
  session::Session& s = w_.session();
  if (!s.values.Monitoring) return;
  // The trend keeps its samples while its window is closed, so that it shows the whole
  // time when it is opened again (a pass costs it no drawing).
  const bool trendOpen = trend_ != nullptr;
  if (!trendOpen && !recording()) return;
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (!page) return;
  if (trendOpen) {
    // Another page: the plot starts afresh. Monitoring the same page again continues it.
    if (page != trendPage_) {
      trendPage_ = page;
      trend_->reset(session::LiveColumns(*page),
                    QStringLiteral("%1 on %2").arg(Q(s.values.model), Q(s.portName())));
    }
    trend_->addPass(clock_.nsecsElapsed() / 1e9, session::LiveRow(*page, trend_->columns()));
  }
  if (recording()) {
    if (!record_ || page != recordPage_) {
      recordPage_ = page;
      record_ = std::make_unique<session::LiveCsvWriter>(recordFile_, session::LiveColumns(*page));
      record_->header(s.values.model, s.values.versionText, s.portName());
    }
    recordSawMonitoring_ = true;
    record_->row(std::chrono::system_clock::now(), session::LiveRow(*page, record_->columns()));
    w_.statusBar()->showMessage(
        QStringLiteral("Recording to %1: %2 passes").arg(Shown(recordPath_)).arg(record_->rows()),
        kPassNoteMs);
  }
}

TrendView* MainWindowTools::trendView() const { return trend_.data(); }

void MainWindowTools::mnuTrend_Click() {
  if (!trend_) {
    trend_ = new TrendView(&w_);
    connect(trend_, &TrendView::recordClicked, this, &MainWindowTools::mnuRecord_Click);
    trendPage_ = nullptr;
  }
  // Columns of the page on screen, so the channel list is there before Start.
  session::Session& s = w_.session();
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (page && page != trendPage_) {
    trendPage_ = page;
    trend_->reset(session::LiveColumns(*page),
                  QStringLiteral("%1 on %2").arg(Q(s.values.model), Q(s.portName())));
  }
  trend_->show();
  trend_->raise();
}

void MainWindowTools::mnuRecord_Click() {
  if (recording()) {
    stopRecording();
    return;
  }
  if (!w_.currentPageView() || recordAsking_) return;
  // Asked from the trend window, the trend window is in front again afterwards (the file
  // dialog belongs to the main window, which it brings up).
  const bool fromTrend = trend_ && trend_->isVisible() && sender() == trend_.data();
  // Monitoring goes on while the file is chosen: the record starts with the passes after
  // the choice, and the trend has no gap.
  recordAsking_ = true;
  w_.guardedDialogs().chooseSaveFileThen(
      "Record", "CSV Files (*.csv);;All Files (*.*)", "trend.csv",
      [this, fromTrend](std::optional<std::string> path) {
        recordAsking_ = false;
        if (fromTrend && trend_) {
          trend_->raise();
          trend_->activateWindow();
        }
        if (path) startRecording(*path);
      });
}

bool MainWindowTools::startRecording(const std::string& path) {
  stopRecording();
  recordFile_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!recordFile_) {
    recordFile_.close();
    w_.dialogs().message("Cannot write \"" + path + "\".", "Record", ui::Icon::Error);
    return false;
  }
  recordPath_ = path;
  record_.reset();
  recordPage_ = nullptr;
  recordSawMonitoring_ = w_.session().values.Monitoring;
  if (trend_) trend_->btnRecord->setText(QStringLiteral("Stop recording"));
  w_.statusBar()->showMessage(QStringLiteral("Recording to %1 while monitoring").arg(Shown(path)),
                              kNoteMs);
  return true;
}

void MainWindowTools::stopRecording() {
  if (!recordFile_.is_open()) return;
  const int rows = record_ ? record_->rows() : 0;
  record_.reset();
  recordFile_.close();
  recordPage_ = nullptr;
  recordSawMonitoring_ = false;
  if (trend_) trend_->btnRecord->setText(QStringLiteral("Record…"));
  w_.statusBar()->showMessage(
      QStringLiteral("Recorded %1 passes to %2").arg(rows).arg(Shown(recordPath_)), kNoteMs);
}

void MainWindowTools::mnuFilesCompare_Click() {
  if (w_.sequencesRunning() > 0 || w_.exitRequested() || !w_.currentPageView()) return;
  const auto path =
      w_.dialogs().chooseOpenFile("Compare with file", std::string(config::kFileFilter));
  if (!path) return;
  compareWith(*path);
}

bool MainWindowTools::compareWith(const std::string& path) {
  session::Session& s = w_.session();
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (!page || !w_.currentPageView()) return false;
  config::ConfigSnapshot file;
  std::string error;
  if (!file.open(path, error)) {
    w_.dialogs().message(error, "Compare", ui::Icon::Error);
    return false;
  }
  const config::Comparison c = config::CompareSettings(*page, s.values, *file.page(), file.values());
  if (compared) compared(path);
  CompareDialog dialog(c, Q(path), &w_);
  dialog.exec();
  if (dialog.loadRequested() && s.menus().fileEnabled && w_.sequencesRunning() == 0) {
    // As File > Open with this file: its values go on the page, Download is enabled
    // when connected. Nothing is sent.
    config::ConfigFiles files(s);
    s.mnuFilesOpen_Click([&] { files.OpenFrom(path); });
    w_.refresh();
  }
  return true;
}

void MainWindowTools::scan(frmComPort& dialog) {
  // The ports of the list, the simulated units only when asked for.
  QComboBox* list = dialog.cmbComPort;
  // Marks of an earlier scan go first: a port this scan does not reach (left out, or the
  // scan cancelled before it) must not look found.
  for (int i = 0; i < list->count(); ++i) list->setItemText(i, Unmarked(list->itemText(i)));
  std::vector<std::string> ports;
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i) {
    const std::string port = list->itemData(i).toString().toStdString();
    if (port.rfind("sim:", 0) == 0 && !dialog.scanSimulated()) continue;
    ports.push_back(port);
    rows.push_back(i);
  }
  if (ports.empty()) {
    dialog.setScanSummary(QStringLiteral("No serial ports to scan."));
    return;
  }

  QProgressDialog progress(QStringLiteral("Looking for units…"), QStringLiteral("Cancel"), 0,
                           static_cast<int>(ports.size()), &dialog);
  progress.setObjectName("frmScanProgress");
  progress.setWindowTitle(QStringLiteral("Scan"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  const auto results = session::ScanPorts(
      w_.session().exchange(), ports, [&](int i, int n, const std::string& port) {
        progress.setValue(i);
        if (i < n) progress.setLabelText(QStringLiteral("Trying %1 of %2: %3").arg(i + 1).arg(n).arg(Q(port)));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
      });
  progress.close();

  int found = 0, first = -1;
  for (std::size_t i = 0; i < results.size(); ++i) {
    const auto& r = results[i];
    const int row = rows[i];
    QString label = list->itemText(row);
    if (r.identified) {
      label = QStringLiteral("[%1, %2, %3] ").arg(Q(r.model), Q(r.version), Q(r.channels)) + label;
      ++found;
      if (first < 0) first = row;
    }
    list->setItemText(row, label);
  }
  if (first >= 0) list->setCurrentIndex(first);
  // The chosen entry is read from its start (the found unit's mark and the port's name),
  // not from its end.
  if (list->lineEdit()) list->lineEdit()->setCursorPosition(0);
  const bool cancelled = results.size() < ports.size();
  dialog.setScanSummary(QStringLiteral("%1 %2 found on %3 of %4 ports%5.")
                            .arg(found)
                            .arg(found == 1 ? QStringLiteral("unit") : QStringLiteral("units"))
                            .arg(results.size())
                            .arg(ports.size())
                            .arg(cancelled ? QStringLiteral(" (cancelled)") : QString()));
}

}  // namespace q5::gui
