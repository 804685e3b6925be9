#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace q5::gui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setWordWrap(false);
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
  if (text != this->text()) setText(text);
  setToolTip(text);
}

QString ElidedLabel::shownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

QSize ElidedLabel::minimumSizeHint() const {
  const QFontMetrics fm = fontMetrics();
  return {fm.horizontalAdvance(QStringLiteral("COM…")), fm.height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  style()->drawItemText(&p, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), shownText(), foregroundRole());
}

}  // namespace q5::gui
