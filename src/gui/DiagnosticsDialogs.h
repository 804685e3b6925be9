#pragma once
// "DEBUG INFO" and "Version Info." as modal dialogs owned by the main window, bound by
// control name to their view-models.
#include <QDialog>

#include "ControlBinder.h"
#include "diag/frmDebugInfo.h"
#include "diag/frmVersion.h"

namespace q5::gui {

class DebugInfoDialog : public QDialog {
  Q_OBJECT
 public:
  // The text is built as the dialog opens (frmDebugInfo::Form_Load) and not refreshed.
  DebugInfoDialog(const link::Link& link, bool debugMode, QWidget* parent = nullptr);
  const diag::frmDebugInfo& form() const { return form_; }

 private:
  diag::frmDebugInfo form_;
};

class VersionDialog : public QDialog {
  Q_OBJECT
 public:
  explicit VersionDialog(QWidget* parent = nullptr);
  const diag::frmVersion& form() const { return form_; }

 private:
  diag::frmVersion form_;
};

}  // namespace q5::gui
