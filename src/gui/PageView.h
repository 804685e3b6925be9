#pragma once
// The window of a module page or of a network settings window: widgets laid out from its
// layout (or generically from its controls) and bound to its control states. It holds no
// rules: after every step of the session it copies the states into the widgets, and a
// user's edit goes straight into the state.
#include <QWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "ControlBinder.h"
#include "PageLayout.h"
#include "PageWidget.h"
#include "ViewModel.h"
#include "netpages/NetworkWindow.h"
#include "pages/ModulePage.h"

class QGridLayout;
class QScrollArea;
class QVBoxLayout;

namespace q5::gui {

class PageView : public QWidget {
  Q_OBJECT
 public:
  PageView(pages::ModulePage& page, QWidget* parent = nullptr);
  PageView(netpages::NetworkWindow& window, QWidget* parent = nullptr);

  // The module page shown (a view of a module page only).
  pages::ModulePage& page() {
    Q_ASSERT(modulePage_);
    return *modulePage_;
  }
  // What the view shows, page or network window.
  ViewModel& model() { return *model_; }
  ControlBinder& binder() { return *binder_; }
  // Widget ← state for every control.
  void refresh();
  // Live values of no connected unit are shown as "—" / no colour.
  void setLiveStale(bool stale) { binder_->setStale(stale); }
  // The tool tip of every disabled control: why it cannot be changed now.
  void setDisabledReason(const QString& reason) { binder_->setDisabledReason(reason); }
  // Shows the tab holding the control (a field a message names).
  void showControl(const std::string& name);
  // The widget bound to a control name (nullptr when none).
  QWidget* control(const std::string& name) const { return binder_->widget(name); }
  // Runs a button of the page that a person clicked; by default the page's own Press.
  // The main window and the network dialog run them as sequences (they talk to the unit).
  std::function<void(const QString& control)> pressHandler;

 signals:
  // A person changed the value of a control (after the page's change handler ran).
  void edited(const QString& control);
  // A person pressed a button of the page (a tab, a page action).
  void pressed(const QString& control);

 private:
  PageView(std::unique_ptr<ViewModel> model, pages::ModulePage* page, QWidget* parent);
  struct Info {
    char kind;  // 't'ext, 'c'ombo, 'k' check, 'o'ption, 'l'abel, 'i'ndicator, 'b'utton, 'f'rame
    std::string caption;
    pages::Role role = pages::Role::Setting;
  };
  void collect();
  const Info* info(const std::string& name) const;
  // Widget for one named control (nullptr when the page has no such control).
  QWidget* make(const std::string& name, QWidget* parent);
  QWidget* makeWidget(const std::string& name, const Info& info, QWidget* parent);
  QWidget* captionFor(const std::string& captionLabels, const std::string& fixed,
                      const std::string& control, QWidget* parent);
  void addBlock(const layout::Block& b, QVBoxLayout* into, QWidget* parent);
  void addPoints(const layout::Points& p, QVBoxLayout* into, QWidget* parent);
  void addFields(const layout::Fields& f, QVBoxLayout* into, QWidget* parent);
  void addChannels(const layout::Channels& c, QVBoxLayout* into, QWidget* parent);
  void addTable(const layout::Table& t, QVBoxLayout* into, QWidget* parent);
  void addOptions(const layout::Options& o, QVBoxLayout* into, QWidget* parent);
  void addCustom(const layout::Custom& c, QVBoxLayout* into, QWidget* parent);
  // Everything no layout placed, as labelled rows and per-index tables.
  void addRemaining(QVBoxLayout* into, QWidget* parent);
  // Every table of channels on the page gets the same column widths, so that a row
  // outside the tabs (the live values) lines up with the table in the tabs.
  void alignChannelColumns();
  // The width of one column of point boxes: a box, a two-digit point number or a check
  // box, whichever is widest in this font.
  int pointColumnWidth() const;
  // Tab moves through the fields in reading order: row by row, left to right.
  void chainTabOrder();
  // Draws the button of the tab shown as chosen, apart from tabs that cannot be chosen.
  void markCurrentTab();
  // Puts the contents where the scroll bars say they are.
  void keepScrollInStep();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  struct ChannelTable {
    QGridLayout* grid;
    int count;
    std::vector<QWidget*> captions;
    std::vector<QWidget*> cells;
  };

  std::unique_ptr<ViewModel> model_;
  pages::ModulePage* modulePage_;  // nullptr for a network window
  const layout::PageLayout* layout_;
  QScrollArea* scroll_ = nullptr;
  ControlBinder* binder_;
  std::vector<std::string> order_;
  std::map<std::string, Info> infos_;
  std::set<std::string> placed_;
  std::vector<ChannelTable> channelTables_;
  // Fields and option rows that line up with the tables of channels beside them.
  std::vector<ChannelTable> alignedRows_;
  std::vector<PageWidget*> customs_;
  std::vector<QWidget*> focusOrder_;
  // How far the contents of a framed block stand in from the page's left edge, so that
  // unframed blocks below can stand in as far.
  int pointsInset_ = 0;
  int tabInset_ = 0;
  // The block is being built outside the tab frames of a page that has tabs.
  bool belowTabs_ = false;
  // The block is being built in a tab that holds a table of channels.
  bool besideChannels_ = false;
  // Width of the text boxes of the block being built, in digits (0: the layout's).
  int digits_ = 0;
};

}  // namespace q5::gui
