#pragma once
// The main window's status bar. A passing note ("Backup: ~/.cache/…/AI4.uJx") is drawn
// in the room left of the unit's model and the port, with a gap before them, and with
// "…" in its middle when it does not fit: it never runs into the texts beside it, at any
// width of the window.
#include <QStatusBar>

namespace q5::gui {

class NoteStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit NoteStatusBar(QWidget* parent = nullptr);
  // Where the note is drawn now (empty when the bar has no room for it).
  QRect noteRect() const;
  // The note as drawn at the present width ("" when none is shown).
  QString shownNote() const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QList<QWidget*> shownPermanentWidgets() const;
};

}  // namespace q5::gui
