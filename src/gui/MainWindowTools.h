#pragma once
// What the main window offers beyond the page sequences: "File > Compare with file…",
// the backups written before every Download (their path in the status line), the port
// scan of "Com Setting" and the trend view of the live values. Kept apart from the
// window's own code; the window creates it once its menus exist.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "session/LiveValues.h"
#include "session/Scan.h"

class QAction;
class QMenu;

namespace q5::config {
class Backups;
}

namespace q5::gui {

class frmComPort;
class frmQ5Con;
class TrendView;

class MainWindowTools : public QObject {
  Q_OBJECT
 public:
  explicit MainWindowTools(frmQ5Con& window);
  ~MainWindowTools() override;

  config::Backups& backups() { return *backups_; }

  // "File > Compare with file…": a file chosen, the differences shown; "Load file values"
  // opens the file on the page as File > Open does.
  void mnuFilesCompare_Click();
  // Compares the page on screen with a file, shows the result, loads the file's values
  // when asked. False when there was nothing to compare or the file could not be read.
  bool compareWith(const std::string& path);
  // Told the path of every file the page was compared with.
  std::function<void(const std::string& path)> compared;

  // The port dialog's "Scan": tries the dialog's ports in turn with a progress window
  // that can cancel, then marks the ports where a unit answered.
  void scan(frmComPort& dialog);

  // After every monitoring pass (and every other page refresh): the trend view and the
  // record take the pass's live values.
  void pageUpdated();
  // "Monitoring > Trend…": shows the trend window.
  void mnuTrend_Click();
  // "Record…": asks for a CSV file and writes every following monitoring pass to it until
  // monitoring stops; clicked while recording, it stops the record.
  void mnuRecord_Click();
  // Starts a record into a file (no question); false when it cannot be written.
  bool startRecording(const std::string& path);
  void stopRecording();
  bool recording() const { return recordFile_.is_open(); }
  TrendView* trendView() const;  // nullptr until "Trend…" was first chosen

  QAction* mnuFilesCompare = nullptr;
  QMenu* mnuMonitoring = nullptr;
  QAction* mnuTrend = nullptr;
  QAction* mnuRecord = nullptr;

 private:
  frmQ5Con& w_;
  std::unique_ptr<config::Backups> backups_;
  QPointer<TrendView> trend_;
  pages::ModulePage* trendPage_ = nullptr;  // the page whose columns the trend shows
  QElapsedTimer clock_;
  std::ofstream recordFile_;
  std::string recordPath_;
  std::unique_ptr<session::LiveCsvWriter> record_;
  pages::ModulePage* recordPage_ = nullptr;
  bool recordSawMonitoring_ = false;
  bool recordAsking_ = false;  // the file dialog of Record… is open
};

}  // namespace q5::gui
