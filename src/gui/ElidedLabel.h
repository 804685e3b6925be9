#pragma once
// A one-line label that shows a text too long for its width with "…" in the middle, so
// that both ends stay readable ("sim:Q5Z3…-AIMF8N"); the whole text is its tool tip.
// text() is always the whole text.
//
// Its size does not depend on its text: a new text is only drawn again, and the window
// around it is not laid out again. The status line changes on every monitoring pass
// ("Monitoring — pass 12"); a label that asked for a new layout each time would have the
// whole main window (menu bar, page area, status bar) measured again three times a second.
#include <QFrame>
#include <QString>

namespace q5::gui {

class ElidedLabel : public QFrame {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);
  QString text() const { return text_; }
  void setText(const QString& text);
  // Sets the text and the tool tip.
  void setFullText(const QString& text);
  // The text as drawn at the present width.
  QString shownText() const;
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment alignment);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString text_;
  Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace q5::gui
