#pragma once
// "Change Value": the modeless dialog in which a person types output values while the
// page is monitored. Its boxes and the "Change" button are bound by control name to the
// session's frmChangeValue; "Change" presses cmdSet1 there, which checks the values and
// hands them to the page. The dialog itself holds no rules.
#include <QDialog>
#include <functional>

#include "ControlBinder.h"
#include "pages/frmChangeValue.h"
#include "ui/UserDialogs.h"

class QWidget;

namespace q5::gui {

class ChangeValueDialog : public QDialog {
  Q_OBJECT
 public:
  ChangeValueDialog(pages::frmChangeValue& model, ui::UserDialogs& dialogs,
                    QWidget* parent = nullptr);

  ControlBinder& binder() { return *binder_; }
  // Widgets ← the dialog's states (after Load filled them).
  void refresh();
  // Closed by its X or Escape: the next click on a live value loads it afresh.
  void done(int result) override;

 private:
  pages::frmChangeValue& model_;
  ui::UserDialogs& dialogs_;
  ControlBinder* binder_;
};

// Calls `press` when the widget is clicked with the left mouse button: a live value box
// that opens "Change Value" is clicked like a button.
void PressOnClick(QWidget* w, std::function<void()> press);

}  // namespace q5::gui
