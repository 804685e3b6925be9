#pragma once
// The progress window shown while a page reads its settings from the unit or writes
// them back: a caption and a bar that advances one step at a time.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace q5::gui {

class frmLoading : public QDialog {
  Q_OBJECT
 public:
  explicit frmLoading(QWidget* parent = nullptr);

  // Sets the bar to 0 of maximum, shows the caption and the window (modeless).
  void open(double maximum, const QString& caption);
  void step();

  QProgressBar* pgBarLoading;
  QLabel* lblLoading;

 private:
  double maximum_ = 0;
  double value_ = 0;
};

}  // namespace q5::gui
