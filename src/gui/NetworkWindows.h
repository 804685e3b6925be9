#pragma once
// The network settings windows ("Ethernet Setting", "DeviceNet Setting", "CC-Link IE
// Field Setting", "Modbus Setting") as modal dialogs around the page view of the session's
// network window, laid out by the same layout tables as module pages. The dialog holds no
// rules: its buttons press the window's buttons by name, edits go into the control
// states and run the typing rules, and the widgets follow the states (also while a
// sequence waits for the unit).
#include <QDialog>

#include "ControlBinder.h"
#include "netpages/NetworkWindow.h"

class QTimer;

namespace q5::gui {

class PageView;

class NetworkDialog : public QDialog {
  Q_OBJECT
 public:
  NetworkDialog(netpages::NetworkWindow& window, QWidget* parent = nullptr);

  netpages::NetworkWindow& window() { return window_; }
  PageView& view() { return *view_; }
  ControlBinder& binder();
  // The widget bound to a control name (nullptr when none).
  QWidget* control(const std::string& name) const;
  // Widgets ← states.
  void refresh();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  netpages::NetworkWindow& window_;
  PageView* view_;
  QTimer* follow_;
  int busy_ = 0;  // button sequences running
};

}  // namespace q5::gui
