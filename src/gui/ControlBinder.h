#pragma once
// Binds widgets to the control states of a page (or of the main window) by control name.
// refresh() copies every state into its widget; a user edit copies the widget into its
// state and then reports edited(name). The binder holds no rules of its own: what is
// enabled, shown or captioned comes from the states.
#include <QObject>
#include <QString>
#include <QPointer>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pages/Controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace q5::gui {

class IndicatorBox;

class ControlBinder : public QObject {
  Q_OBJECT
 public:
  // walk visits every control of the bound object (for a page: visitControls).
  using Walk = std::function<void(pages::ControlVisitor&)>;
  explicit ControlBinder(Walk walk, QObject* parent = nullptr);

  void bindText(const std::string& name, QLineEdit* w);
  void bindCombo(const std::string& name, QComboBox* w);
  void bindCheck(const std::string& name, QCheckBox* w);
  void bindOption(const std::string& name, QRadioButton* w);
  void bindLabel(const std::string& name, QLabel* w);
  // One more label showing the caption and state of a label control already bound, e.g.
  // the channel headers "CH 0" ... over a second table of the same channels.
  void bindLabelCopy(const std::string& name, QLabel* w);
  // A label whose caption is a row of blank-separated tokens ("0 1 2 ... F"), shown one
  // token per cell so that each stands above its column. The tokens of a prefix label go
  // in front of them, so that "1 1 ... 1" and "0 1 ... F" show as "10" to "1F" on one
  // line. The cells show and hide with the label itself.
  void bindLabelTokens(const std::string& name, std::vector<QLabel*> cells,
                       const std::string& prefix = {});
  void bindIndicator(const std::string& name, IndicatorBox* w);
  void bindButton(const std::string& name, QPushButton* w);
  // A frame: visibility and enabled state; a group box also takes a non-empty caption.
  void bindFrame(const std::string& name, QWidget* w);
  // A widget that shows and hides (and enables) with a control, e.g. a caption label
  // beside a combo box.
  void bindCompanion(const std::string& name, QWidget* w);
  // A widget that only shows and hides with a control (a row's caption made of label
  // controls, which keep their own enabled state).
  void bindShownWith(const std::string& name, QWidget* w);

  // Widget ← state for every bound control.
  void refresh();
  // Live values of no connected unit: the value boxes (txtParData...) show "—" and the
  // indicator boxes no colour, until the unit is connected again. The states keep their
  // values.
  void setStale(bool stale);
  bool stale() const { return stale_; }
  // A text box whose state says it only shows a value (TextBox::shownOnly): drawn as a
  // value on the page, read-only with a caption in the normal colour, never as a greyed
  // input; edits to it are refused like those to any disabled control.
  bool isDisplayOnly(const std::string& name) const { return displayOnly_.count(name) != 0; }
  // The tool tip of a disabled control: why it cannot be changed now. A control's own
  // tool tip returns when it is enabled again.
  void setDisabledReason(const QString& reason);
  bool isBound(const std::string& name) const { return widgets_.count(name) != 0; }
  QWidget* widget(const std::string& name) const;
  // User edits that arrived at a control the page had disabled or hidden, and were
  // dropped (the widget shows the page's value again).
  int refusedEdits() const { return refusedEdits_; }
  // Names the view bound that the walk does not declare, as of the last refresh (a
  // layout fault: each is also reported as a warning when it first appears).
  const std::vector<std::string>& unresolvedNames() const { return unresolved_; }

 signals:
  // A user edit was written into the state of the named control.
  void edited(const QString& name);
  // A bound button was clicked.
  void clicked(const QString& name);

 private:
  enum class Kind { Text, Combo, Check, Option, Label, Indicator, Button, Frame };
  struct Bound {
    Kind kind;
    QPointer<QWidget> widget;
    // What the last refresh applied, so that a refresh of an unchanged control neither
    // asks the widget nor builds texts again (monitoring refreshes every pass).
    std::vector<std::string> items;  // a combo box's list
    bool itemsKnown = false;
    bool ownTipKnown = false;
    QString ownTip;        // the control's own tool tip, before any disabled reason
    QString disabledTip;   // the own tip with the reason, for disabledReason
    QString disabledFor;
    // The look last applied: shown only (-1: none yet) and background colour (-1: the
    // view's own, -2: none yet).
    int lookShownOnly = -1;
    std::int64_t lookColour = -2;
    bool displayOnly = false;  // listed in displayOnly_
  };
  // Names are looked up on every refresh, by the views' string_view as well.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>{}(s);
    }
  };
  void add(const std::string& name, Kind kind, QWidget* w);
  void userText(const std::string& name, const QString& text);
  void userIndex(const std::string& name, int index);
  void userCheck(const std::string& name, bool value);
  void userOption(const std::string& name, QRadioButton* w, bool value);
  void refuse();

  Walk walk_;
  std::unordered_map<std::string, Bound, NameHash, std::equal_to<>> widgets_;
  std::multimap<std::string, QPointer<QWidget>, std::less<>> companions_;
  std::multimap<std::string, QPointer<QWidget>, std::less<>> shownWith_;
  std::multimap<std::string, QPointer<QLabel>, std::less<>> labelCopies_;
  struct Tokens {
    std::vector<QPointer<QLabel>> cells;
    std::string prefix;
  };
  std::map<std::string, Tokens> tokens_;
  std::set<std::string, std::less<>> tokenLabels_;  // the labels token rows are made of
  // Every name placed by a bind call, and whether the last walk declared it (filled on
  // the first refresh after a bind call).
  std::map<std::string, bool, std::less<>> placed_;
  bool updating_ = false;
  int refusedEdits_ = 0;
  bool stale_ = false;
  std::set<std::string, std::less<>> displayOnly_;
  std::vector<std::string> unresolved_;
  QString disabledReason_;
};

}  // namespace q5::gui
