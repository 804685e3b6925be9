#include "frmLoading.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
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
  layout->addWidget(lblLoading);
  layout->addWidget(pgBarLoading);
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
}

void frmLoading::open(double maximum, const QString& caption) {
  maximum_ = maximum < 0 ? 0 : maximum;
  value_ = 0;
  pgBarLoading->setRange(0, static_cast<int>(std::lround(maximum_)));
  pgBarLoading->setValue(0);
  lblLoading->setText(caption);
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
