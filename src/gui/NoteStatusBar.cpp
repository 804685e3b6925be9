#include "NoteStatusBar.h"

#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace q5::gui {

NoteStatusBar::NoteStatusBar(QWidget* parent) : QStatusBar(parent) {
  // A new note, or none, changes what is drawn left of the permanent texts.
  connect(this, &QStatusBar::messageChanged, this, [this] { update(); });
}

QList<QWidget*> NoteStatusBar::shownPermanentWidgets() const {
  // While a note shows, the bar hides its normal widgets: what stays visible (apart from
  // the size grip) are the permanent ones on the right.
  QList<QWidget*> shown;
  for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (w->isVisible() && !qobject_cast<QSizeGrip*>(w)) shown.append(w);
  return shown;
}

QRect NoteStatusBar::noteRect() const {
  const int gap = fontMetrics().averageCharWidth() * 2;
  int left = 6;
  int right = width() - (isSizeGripEnabled() ? 12 : 6);
  for (QWidget* w : shownPermanentWidgets()) {
    if (layoutDirection() == Qt::RightToLeft)
      left = std::max(left, w->geometry().right() + gap);
    else
      right = std::min(right, w->x() - gap);
  }
  return {left, 0, std::max(0, right - left), height()};
}

QString NoteStatusBar::shownNote() const {
  const QString note = currentMessage();
  if (note.isEmpty()) return {};
  // The middle goes first: the start says what the note is, the end names the file.
  return fontMetrics().elidedText(note, Qt::ElideMiddle, noteRect().width());
}

void NoteStatusBar::paintEvent(QPaintEvent* e) {
  if (currentMessage().isEmpty()) {
    QStatusBar::paintEvent(e);
    return;
  }
  // As the plain bar draws itself with a note, except that the note is fitted.
  QPainter p(this);
  QStyleOption opt;
  opt.initFrom(this);
  style()->drawPrimitive(QStyle::PE_PanelStatusBar, &opt, &p, this);
  for (QWidget* w : shownPermanentWidgets()) {
    QStyleOption item;
    item.rect = w->geometry().adjusted(-2, -1, 2, 1);
    item.palette = palette();
    item.state = QStyle::State_None;
    style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &item, &p, w);
  }
  p.setPen(palette().windowText().color());
  p.drawText(noteRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, shownNote());
}

}  // namespace q5::gui
