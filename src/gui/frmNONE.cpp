#include "frmNONE.h"

#include <QLabel>
#include <QVBoxLayout>

namespace q5::gui {

frmNONE::frmNONE(QWidget* parent) : QWidget(parent) {
  setObjectName("frmNONE");
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  lblMessage = new QLabel(QStringLiteral("Please download the latest version."), this);
  lblMessage->setObjectName("lblMessage");
  lblMessage->setAlignment(Qt::AlignCenter);
  QFont f = lblMessage->font();
  f.setPointSizeF(f.pointSizeF() * 1.3);
  f.setBold(true);
  lblMessage->setFont(f);
  lblAddress = new QLabel(this);
  lblAddress->setObjectName("lblAddress");
  lblAddress->setAlignment(Qt::AlignCenter);
  lblAddress->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(kDownloadAddress)));
  lblAddress->setTextFormat(Qt::RichText);
  lblAddress->setOpenExternalLinks(true);
  layout->addWidget(lblMessage);
  layout->addWidget(lblAddress);
  layout->addStretch(2);
}

}  // namespace q5::gui
