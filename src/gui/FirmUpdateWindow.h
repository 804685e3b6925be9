#pragma once
// The firmware update window "FirmUpdate": the log of the update and its one button,
// shown modally from Help > FirmUpdate. Everything it shows comes from the view-model
// firmware::frmFirmUpdate; the waits of the sequence run the event loop, so the log
// grows and the window repaints while the unit works.
#include <QDialog>
#include <functional>
#include <memory>

#include "firmware/frmFirmUpdate.h"

class QPlainTextEdit;
class QPushButton;

namespace q5::session {
class Session;
}
namespace q5::ui {
class UserDialogs;
}

namespace q5::gui {

class FirmUpdateWindow : public QDialog, public firmware::FirmUpdateView {
  Q_OBJECT
 public:
  // The window reads the unit through the session's link and asks through dialogs.
  FirmUpdateWindow(session::Session& session, ui::UserDialogs& dialogs, QWidget* parent = nullptr);
  ~FirmUpdateWindow() override;

  firmware::frmFirmUpdate& model() { return *model_; }

  QPlainTextEdit* txtFirmInfo;
  QPushButton* btnFirmUpdate;
  // Told what the main window's status line is to say while the transfer runs
  // ("Updating firmware — record 12 of 40"), and "" when it has ended.
  std::function<void(const QString&)> statusChanged;

  // --- FirmUpdateView ---------------------------------------------------------------
  void logCleared() override;
  void logAppended(const std::string& text, bool progress) override;
  void buttonChanged() override;

 public slots:
  void reject() override;  // while the update runs: asks whether to stop it first

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void btnFirmUpdate_Click();

  session::Session& session_;
  std::unique_ptr<firmware::frmFirmUpdate> model_;
  bool loaded_ = false;
  bool closeAfterUpdate_ = false;  // Yes to stopping the update when the window closed
};

}  // namespace q5::gui
