#pragma once
// "Compare with file": every setting of the page on screen whose value differs from a
// configuration file (control, caption, unit value, file value), with "Load file values"
// to put the file's values on the page for a Download.
#include <QDialog>

#include "config/Compare.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace q5::gui {

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  CompareDialog(const config::Comparison& comparison, const QString& file, QWidget* parent = nullptr);

  QLabel* lblSummary;
  QTableWidget* grdDifferences;
  QPushButton* btnLoad;   // "Load file values": accept() with loadRequested() true
  QPushButton* btnClose;

  bool loadRequested() const { return load_; }

 private:
  bool load_ = false;
};

}  // namespace q5::gui
