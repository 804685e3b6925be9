#pragma once
// The COM port dialog "Com Setting": the ports present, a few simulated units, and an
// editable field so any port path (a pseudo-terminal, say) can be typed.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QGroupBox;
class QPushButton;

namespace q5::gui {

// One entry of the port list: what the list shows and what is opened.
struct PortChoice {
  QString label;     // "USB Serial (ttyUSB0)", "Simulated ... (sim:MODEL)"
  std::string port;  // "/dev/ttyUSB0", "sim:MODEL"
};

class frmComPort : public QDialog {
  Q_OBJECT
 public:
  explicit frmComPort(std::vector<PortChoice> choices, QWidget* parent = nullptr);

  // The port the current entry names ("" when the field is empty).
  std::string chosenPort() const;
  bool listEmpty() const { return empty_; }

  QGroupBox* fraPortNo;
  QComboBox* cmbComPort;
  QPushButton* btnExit;
  // "Scan": shown when a scanner is set; it looks for units on the listed ports.
  QPushButton* btnScan;
  QCheckBox* chkScanSim;  // the simulated units are scanned too
  QLabel* lblScan;        // what the last scan found
  void setScanner(std::function<void(frmComPort&)> scanner);
  bool scanSimulated() const;
  void setScanSummary(const QString& text);

 signals:
  // "OK" with a port: the main window opens it and connects before the dialog closes.
  void portChosen(const QString& port);

 private:
  void btnExit_Click();
  bool empty_ = false;
  std::function<void(frmComPort&)> scanner_;
};

// The entries the dialog offers: the ports present, then the simulated units.
std::vector<PortChoice> DefaultPortChoices();
// The simulated units offered, one per kind of page built, as "sim:MODEL".
std::vector<std::string> SimulatedUnits();
// What a typed or listed text names: the text inside the last "(...)" at its end, or the
// whole text without surrounding blanks.
std::string PortNameFromText(const QString& text);

}  // namespace q5::gui
