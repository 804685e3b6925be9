#include "AppIcon.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace q5::gui {

namespace {

// The picture of icons/q5cfg.svg (a 64 x 64 view box), painted at any size.
QPixmap Painted(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1d, 0x3b, 0x6e));
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 9, 9);
  p.setBrush(QColor(0xe9, 0xed, 0xf3));
  p.drawRoundedRect(QRectF(12, 11, 40, 42), 3, 3);
  p.setBrush(QColor(0x9a, 0xa8, 0xbd));
  p.drawRoundedRect(QRectF(12, 11, 40, 9), 3, 3);
  p.setBrush(QColor(0x3b, 0x4a, 0x61));
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 4; ++col)
      p.drawRoundedRect(QRectF(16 + col * 8, 24 + row * 8, 5, 5), 1, 1);
  p.setPen(QPen(QColor(0x0b, 0x6b, 0x0b), 1));
  p.setBrush(QColor(0x1f, 0xd1, 0x1f));
  p.drawEllipse(QPointF(22, 45), 4, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x9a, 0xa8, 0xbd));
  p.drawRoundedRect(QRectF(30, 43, 16, 4), 2, 2);
  return pm;
}

}  // namespace

QIcon AppIcon() {
  static const QIcon icon = [] {
    if (QImageReader::supportedImageFormats().contains("svg"))
      return QIcon(QStringLiteral(":/icons/q5cfg.svg"));
    QIcon i;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) i.addPixmap(Painted(size));
    return i;
  }();
  return icon;
}

}  // namespace q5::gui
