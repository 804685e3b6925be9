#pragma once
// The progress window shown while a page reads its settings from the unit or writes
// them back: a caption, a bar that advances one step at a time, and, while reading,
// "Cancel".
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace q5::gui {

class frmLoading : public QDialog {
  Q_OBJECT
 public:
  explicit frmLoading(QWidget* parent = nullptr);

  // Sets the bar to 0 of maximum, shows the caption and the window (modeless), above
  // every other window of the program.
  void open(double maximum, const QString& caption);
  void step();
  // Whether "Cancel" is offered (it is greyed once clicked).
  void setCancellable(bool on);

  double value() const { return value_; }
  double maximum() const { return maximum_; }
  QString caption() const;

  QProgressBar* pgBarLoading;
  QLabel* lblLoading;
  QPushButton* btnCancel;

 signals:
  void cancelClicked();

 protected:
  // Escape is "Cancel" when it is offered, and nothing otherwise (the window is not
  // closed under a running sequence).
  void reject() override;

 private:
  double maximum_ = 0;
  double value_ = 0;
};

}  // namespace q5::gui
