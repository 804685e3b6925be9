#pragma once
// The COM port dialog "Com Setting": the ports present, a few simulated units, and an
// editable field so any port path (a pseudo-terminal, say) can be typed.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
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

 signals:
  // "OK" with a port: the main window opens it and connects before the dialog closes.
  void portChosen(const QString& port);

 private:
  void btnExit_Click();
  bool empty_ = false;
};

// The entries the dialog offers: the ports present, then the simulated units.
std::vector<PortChoice> DefaultPortChoices();
// The simulated units offered, one per kind of page built, as "sim:MODEL".
std::vector<std::string> SimulatedUnits();
// What a typed or listed text names: the text inside the last "(...)" at its end, or the
// whole text without surrounding blanks.
std::string PortNameFromText(const QString& text);

}  // namespace q5::gui
