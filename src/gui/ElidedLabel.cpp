#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace q5::gui {

ElidedLabel::ElidedLabel(QWidget* parent) : QFrame(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  setAccessibleName(text);
  update();
}

void ElidedLabel::setFullText(const QString& text) {
  setText(text);
  setToolTip(text);
}

void ElidedLabel::setAlignment(Qt::Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  update();
}

QString ElidedLabel::shownText() const {
  return fontMetrics().elidedText(text_, Qt::ElideMiddle, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const { return minimumSizeHint(); }

QSize ElidedLabel::minimumSizeHint() const {
  const QFontMetrics fm = fontMetrics();
  const int frame = 2 * frameWidth();
  return {fm.horizontalAdvance(QStringLiteral("COM…")) + frame, fm.height() + frame};
}

void ElidedLabel::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  QPainter p(this);
  style()->drawItemText(&p, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment_),
                        palette(), isEnabled(), shownText(), foregroundRole());
}

}  // namespace q5::gui
