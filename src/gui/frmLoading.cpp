#include "frmLoading.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace q5::gui {

frmLoading::frmLoading(QWidget* parent) : QDialog(parent) {
  setObjectName("frmLoading");
  setWindowTitle(QStringLiteral("Q5CFG"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  lblLoading = new QLabel(this);
  lblLoading->setObjectName("lblLoading");
  lblLoading->setAlignment(Qt::AlignCenter);
  pgBarLoading = new QProgressBar(this);
  pgBarLoading->setObjectName("pgBarLoading");
  pgBarLoading->setTextVisible(true);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  btnCancel->setToolTip(QStringLiteral(
      "Stop after the answer now awaited and disconnect; the page keeps what was read"));
  btnCancel->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);
  layout->addWidget(lblLoading);
  layout->addWidget(pgBarLoading);
  layout->addLayout(buttons);
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
  connect(btnCancel, &QPushButton::clicked, this, [this] {
    btnCancel->setEnabled(false);
    lblLoading->setText(QStringLiteral("Cancelling..."));
    emit cancelClicked();
  });
}

QString frmLoading::caption() const { return lblLoading->text(); }

void frmLoading::setCancellable(bool on) {
  btnCancel->setVisible(on);
  btnCancel->setEnabled(on);
}

void frmLoading::reject() {
  if (btnCancel->isVisible() && btnCancel->isEnabled()) btnCancel->click();
}

void frmLoading::open(double maximum, const QString& caption) {
  maximum_ = maximum < 0 ? 0 : maximum;
  value_ = 0;
  pgBarLoading->setRange(0, static_cast<int>(std::lround(maximum_)));
  pgBarLoading->setValue(0);
  lblLoading->setText(caption);
  // In the middle of the program's window, above it and above any dialog still closing.
  if (QWidget* p = parentWidget()) {
    adjustSize();
    const QPoint centre = p->mapToGlobal(p->rect().center());
    move(centre - rect().center());
  }
  show();
  raise();
  // Paint at once: the page's reads follow immediately and only yield while waiting.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmLoading::step() {
  // The page adds one to the bar's value; a bar already at its maximum stays there.
  value_ += 1;
  if (value_ > maximum_) value_ = maximum_;
  pgBarLoading->setValue(static_cast<int>(std::lround(value_)));
}

}  // namespace q5::gui
