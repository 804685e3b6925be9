#include "LampWidget.h"

#include <QPainter>

namespace q5::gui {

LampWidget::LampWidget(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LampWidget::setColour(std::uint32_t rgb) {
  if (rgb == rgb_) return;
  rgb_ = rgb;
  update();
}

QSize LampWidget::sizeHint() const {
  // A little larger than a line of text: the status beside it needs the rest of the
  // narrow frame.
  const int side = fontMetrics().height() * 3 / 2;
  return {side, side};
}

void LampWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 2;
  const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  p.setPen(QPen(palette().color(QPalette::Dark), 1));
  p.setBrush(QColor((rgb_ >> 16) & 0xFF, (rgb_ >> 8) & 0xFF, rgb_ & 0xFF));
  p.drawEllipse(r);
}

}  // namespace q5::gui
