#pragma once
// A widget a page layout makes for controls the generic blocks cannot show well (the
// linearization table grid). Like the bound widgets it holds no rules: refresh() copies
// the page's control states in, and a user's edit goes straight into the state and is
// reported through onEdited(name), which the page view hands to the page as any other
// edit.
#include <QString>
#include <QWidget>
#include <functional>

namespace q5::gui {

class PageWidget : public QWidget {
 public:
  using QWidget::QWidget;
  // Widget <- state.
  virtual void refresh() = 0;
  // Set by the page view: called after a user edit was written into a control's state.
  std::function<void(const QString& control)> onEdited;
};

}  // namespace q5::gui
