#pragma once
// The window of a module page: widgets laid out from the page's layout (or generically
// from its controls) and bound to the page's control states. It holds no rules: after
// every step of the session it copies the states into the widgets, and a user's edit
// goes straight into the state.
#include <QWidget>
#include <set>
#include <string>

#include "ControlBinder.h"
#include "PageLayout.h"
#include "pages/ModulePage.h"

class QGridLayout;
class QVBoxLayout;

namespace q5::gui {

class PageView : public QWidget {
  Q_OBJECT
 public:
  PageView(pages::ModulePage& page, QWidget* parent = nullptr);

  pages::ModulePage& page() { return page_; }
  ControlBinder& binder() { return *binder_; }
  // Widget ← state for every control.
  void refresh();
  // The widget bound to a control name (nullptr when none).
  QWidget* control(const std::string& name) const { return binder_->widget(name); }

 signals:
  void edited(const QString& control);

 private:
  struct Info {
    char kind;  // 't'ext, 'c'ombo, 'k' check, 'o'ption, 'l'abel, 'i'ndicator, 'b'utton, 'f'rame
    std::string caption;
  };
  void collect();
  const Info* info(const std::string& name) const;
  // Widget for one named control (nullptr when the page has no such control).
  QWidget* make(const std::string& name, QWidget* parent);
  QWidget* captionFor(const std::string& captionLabels, const std::string& fixed,
                      const std::string& control, QWidget* parent);
  void addBlock(const layout::Block& b, QVBoxLayout* into, QWidget* parent);
  void addPoints(const layout::Points& p, QVBoxLayout* into, QWidget* parent);
  void addFields(const layout::Fields& f, QVBoxLayout* into, QWidget* parent);
  void addChannels(const layout::Channels& c, QVBoxLayout* into, QWidget* parent);
  void addOptions(const layout::Options& o, QVBoxLayout* into, QWidget* parent);
  // Everything no layout placed, as labelled rows and per-index tables.
  void addRemaining(QVBoxLayout* into, QWidget* parent);

  pages::ModulePage& page_;
  const layout::PageLayout* layout_;
  ControlBinder* binder_;
  std::vector<std::string> order_;
  std::map<std::string, Info> infos_;
  std::set<std::string> placed_;
};

}  // namespace q5::gui
