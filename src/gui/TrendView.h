#pragma once
// "Trend": the live values of the page on screen plotted against time while monitoring.
// Every monitoring pass adds one sample per column (addPass, cheap: the values are kept,
// nothing is drawn); the plot is redrawn from the kept samples a few times a second, so
// drawing happens while the monitoring loop waits for the unit, never inside a pass.
// Shows the last N minutes; "Pause" freezes the plot while samples keep coming; each
// column can be switched off. Discrete points are drawn as steps, one lane per point.
#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "session/LiveValues.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace q5::gui {

class TrendView : public QWidget {
  Q_OBJECT
 public:
  explicit TrendView(QWidget* parent = nullptr);
  ~TrendView() override;

  // A new set of columns (another page, or monitoring started again): the plot starts
  // empty. title: the unit ("Q5Z3UECT-1-AIMF8N on /dev/ttyUSB0").
  void reset(const std::vector<session::LiveColumn>& columns, const QString& title);
  const std::vector<session::LiveColumn>& columns() const { return columns_; }
  // One monitoring pass at `seconds` (any steady time base).
  void addPass(double seconds, const std::vector<std::string>& values);
  // Draws the kept samples now and paints them (the timer does it on its own).
  void redraw();

  int samples() const { return static_cast<int>(times_.size()); }
  // What the legend calls a column: the page's channel heading and caption.
  static QString ColumnLabel(const session::LiveColumn& c);
  bool paused() const;
  // The series of a column (for tests): its points as drawn.
  QLineSeries* series(int column) const;

  QChartView* chartView;
  QSpinBox* spnMinutes;       // the last N minutes shown
  QPushButton* btnPause;      // "Pause" / "Resume"
  QListWidget* lstChannels;   // one checkable entry per column
  QPushButton* btnRecord;     // "Record…" / "Stop recording"; the main window connects it
  QLabel* lblStatus;

 signals:
  void recordClicked();

 private:
  void columnToggled(int column, bool on);
  void draw();

  std::vector<session::LiveColumn> columns_;
  std::deque<double> times_;
  std::vector<std::deque<double>> values_;  // per column; NaN where not a number
  QChart* chart_ = nullptr;
  QValueAxis* axisX_ = nullptr;
  QValueAxis* axisY_ = nullptr;
  std::vector<QLineSeries*> series_;
  QTimer* timer_ = nullptr;
  bool dirty_ = false;
};

}  // namespace q5::gui
