#include "IndicatorBox.h"

#include <QPainter>

namespace q5::gui {

IndicatorBox::IndicatorBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
}

void IndicatorBox::setColour(std::uint32_t rgb) {
  if (rgb == rgb_) return;
  rgb_ = rgb;
  update();
}

QSize IndicatorBox::sizeHint() const {
  const QFontMetrics fm = fontMetrics();
  const int side = fm.height() + 8;
  const int textWidth = text().isEmpty() ? 0 : fm.horizontalAdvance(text()) + 8;
  return {std::max(side, textWidth), side};
}

void IndicatorBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect().adjusted(0, 0, -1, -1);
  QColor fill = palette().color(QPalette::Base);
  if (rgb_ <= 0xFFFFFF)
    fill = QColor((rgb_ >> 16) & 0xFF, (rgb_ >> 8) & 0xFF, rgb_ & 0xFF);
  if (!isEnabled() && rgb_ > 0xFFFFFF) fill = palette().color(QPalette::Window);
  p.fillRect(r, fill);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(r);
  if (!text().isEmpty()) {
    // Dark text on the light fills, light text on dark ones.
    const bool dark = fill.lightness() < 110;
    p.setPen(dark ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, text());
  }
}

}  // namespace q5::gui
