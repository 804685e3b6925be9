#include "FirmUpdateWindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "session/Session.h"

namespace q5::gui {
namespace {

// The log's text as the widget shows it: CR LF and lone CRs are line breaks.
QString Shown(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

FirmUpdateWindow::FirmUpdateWindow(session::Session& session, ui::UserDialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("frmFirmUpdate");
  setWindowTitle(QString::fromLatin1(firmware::frmFirmUpdate::kCaption));
  model_ = std::make_unique<firmware::frmFirmUpdate>(
      session.link(), dialogs,
      firmware::FirmUpdateContext{[&session] { return session.values.Connected; },
                                  [&session] { return session.portName(); }});

  auto* col = new QVBoxLayout(this);
  txtFirmInfo = new QPlainTextEdit(this);
  txtFirmInfo->setObjectName("txtFirmInfo");
  txtFirmInfo->setReadOnly(true);
  txtFirmInfo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txtFirmInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
  col->addWidget(txtFirmInfo, 1);
  btnFirmUpdate = new QPushButton(QString::fromStdString(model_->btnFirmUpdate.caption), this);
  btnFirmUpdate->setObjectName("btnFirmUpdate");
  btnFirmUpdate->setAutoDefault(false);
  col->addWidget(btnFirmUpdate, 0, Qt::AlignRight);
  connect(btnFirmUpdate, &QPushButton::clicked, this, &FirmUpdateWindow::btnFirmUpdate_Click);

  txtFirmInfo->setPlainText(Shown(model_->txtFirmInfo.text));
  model_->setView(this);
  resize(560, 400);
}

FirmUpdateWindow::~FirmUpdateWindow() { model_->setView(nullptr); }

void FirmUpdateWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (loaded_) return;
  loaded_ = true;
  // The unit is read once the window is up, so the log fills in front of the user.
  QTimer::singleShot(0, this, [this] {
    btnFirmUpdate->setEnabled(false);
    model_->Form_Load();
    btnFirmUpdate->setEnabled(model_->btnFirmUpdate.enabled);
  });
}

void FirmUpdateWindow::btnFirmUpdate_Click() {
  if (model_->running()) return;
  // The main window's buttons are greyed while the unit is being updated.
  session_.all_btn_control(false);
  model_->btnFirmUpdate_Click();
  session_.endSetting();
  if (statusChanged) statusChanged(QString());
  // The unit now runs the new firmware: the main window shows the version it reported
  // after programming, not the one read at the last Upload.
  if (model_->outcome() == firmware::frmFirmUpdate::Outcome::Completed)
    session_.firmwareIdentified(model_->versionReply());
  btnFirmUpdate->setEnabled(model_->btnFirmUpdate.enabled);
  if (closeAfterUpdate_) {
    closeAfterUpdate_ = false;
    reject();
  }
}

void FirmUpdateWindow::logCleared() { txtFirmInfo->clear(); }

void FirmUpdateWindow::logAppended(const std::string& text, bool progress) {
  if (progress && statusChanged)
    statusChanged(QStringLiteral("Updating firmware — record %1 of %2")
                      .arg(model_->linesSent())
                      .arg(model_->lineCount()));
  // Appended at the end, with the caret (and the view) moved there.
  txtFirmInfo->moveCursor(QTextCursor::End);
  txtFirmInfo->insertPlainText(Shown(text));
  txtFirmInfo->moveCursor(QTextCursor::End);
  txtFirmInfo->ensureCursorVisible();
}

void FirmUpdateWindow::buttonChanged() { btnFirmUpdate->setEnabled(model_->btnFirmUpdate.enabled); }

void FirmUpdateWindow::reject() {
  if (model_->running()) {
    // Asked first, saying where the unit stands; Yes closes once the update stopped.
    if (model_->confirmStopForClose()) closeAfterUpdate_ = true;
    return;
  }
  model_->Form_Unload();
  QDialog::reject();
}

void FirmUpdateWindow::closeEvent(QCloseEvent* e) {
  if (model_->running()) {
    e->ignore();
    if (model_->confirmStopForClose()) closeAfterUpdate_ = true;
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace q5::gui
