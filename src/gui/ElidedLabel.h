#pragma once
// A one-line label that shows a text too long for its width with "…" in the middle, so
// that both ends stay readable ("sim:Q5Z3…-AIMF8N"); the whole text is its tool tip.
// text() is always the whole text.
#include <QLabel>

namespace q5::gui {

class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);
  // Sets the text and the tool tip.
  void setFullText(const QString& text);
  // The text as drawn at the present width.
  QString shownText() const;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace q5::gui
