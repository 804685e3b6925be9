#include "ControlBinder.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

#include "IndicatorBox.h"

namespace q5::gui {

using namespace q5::pages;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

void ApplyCommon(QWidget* w, const Control& c) {
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  if (w->isHidden() == c.visible) w->setVisible(c.visible);
}

// A box's own background colour, when its state names one; a box that names none
// again gets the view's usual colours back. Called after ShownOnlyLook, which sets the
// palette of its own.
void BackColour(QWidget* w, const Control& c) {
  const QVariant was = w->property("q5BackColour");
  const QVariant now = c.backColour ? QVariant(static_cast<uint>(*c.backColour)) : QVariant();
  if (was == now) return;
  w->setProperty("q5BackColour", now);
  QPalette pal = was.isValid() && !now.isValid() ? QPalette() : w->palette();
  if (now.isValid()) pal.setColor(QPalette::Base, QColor::fromRgb(*c.backColour));
  w->setPalette(pal);
}

// A text box that only shows a value: read-only, without a frame, on the window's
// colour, reached by a click (to copy) but not by Tab. Switching back restores the look
// of an input.
void ShownOnlyLook(QLineEdit* w, bool shownOnly) {
  const QVariant was = w->property("q5ShownOnly");
  if (was.isValid() ? was.toBool() == shownOnly : !shownOnly) return;
  w->setProperty("q5ShownOnly", shownOnly);
  w->setReadOnly(shownOnly);
  w->setFrame(!shownOnly);
  if (shownOnly) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    w->setPalette(pal);
    w->setFocusPolicy(Qt::ClickFocus);
    w->setToolTip(QStringLiteral("Shown only: follows from the range"));
  } else {
    w->setPalette(QPalette());
    w->setProperty("q5BackColour", QVariant());
    w->setFocusPolicy(Qt::StrongFocus);
    w->setToolTip(QString());
  }
}

// Visits every control and calls back with the one of the wanted name.
template <typename F>
class NamedVisitor : public ControlVisitor {
 public:
  NamedVisitor(const std::string& name, F f) : name_(name), f_(f) {}
  void text(const ControlInfo& i, TextBox& c) override { hit(i, c); }
  void combo(const ControlInfo& i, ComboBox& c) override { hit(i, c); }
  void check(const ControlInfo& i, CheckBox& c) override { hit(i, c); }
  void option(const ControlInfo& i, OptionButton& c) override { hit(i, c); }
  void label(const ControlInfo& i, Label& c) override { hit(i, c); }
  void indicator(const ControlInfo& i, Indicator& c) override { hit(i, c); }
  void button(const ControlInfo& i, Button& c) override { hit(i, c); }
  void frame(const ControlInfo& i, Frame& c) override { hit(i, c); }

 private:
  template <typename C>
  void hit(const ControlInfo& i, C& c) {
    if (i.name == name_) f_(c, i);
  }
  const std::string& name_;
  F f_;
};

}  // namespace

ControlBinder::ControlBinder(Walk walk, QObject* parent) : QObject(parent), walk_(std::move(walk)) {}

void ControlBinder::add(const std::string& name, Kind kind, QWidget* w) {
  widgets_[name] = Bound{kind, w, {}, false, false, {}, {}, {}, -1, -2, false};
  displayOnly_.erase(name);  // a box bound anew starts with its own look
  placed_.clear();
  w->setObjectName(Q(name));
}

QWidget* ControlBinder::widget(const std::string& name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second.widget.data();
}

void ControlBinder::bindText(const std::string& name, QLineEdit* w) {
  add(name, Kind::Text, w);
  connect(w, &QLineEdit::textChanged, this, [this, name](const QString& t) {
    if (!updating_) userText(name, t);
  });
}

void ControlBinder::bindCombo(const std::string& name, QComboBox* w) {
  add(name, Kind::Combo, w);
  connect(w, &QComboBox::currentIndexChanged, this, [this, name](int i) {
    if (!updating_) userIndex(name, i);
  });
}

void ControlBinder::bindCheck(const std::string& name, QCheckBox* w) {
  add(name, Kind::Check, w);
  connect(w, &QCheckBox::toggled, this, [this, name](bool v) {
    if (!updating_) userCheck(name, v);
  });
}

void ControlBinder::bindOption(const std::string& name, QRadioButton* w) {
  add(name, Kind::Option, w);
  // The states say which option is chosen; the binder keeps the group exclusive itself.
  w->setAutoExclusive(false);
  connect(w, &QRadioButton::toggled, this, [this, name, w](bool v) {
    if (!updating_) userOption(name, w, v);
  });
}

void ControlBinder::bindLabel(const std::string& name, QLabel* w) { add(name, Kind::Label, w); }

void ControlBinder::bindLabelCopy(const std::string& name, QLabel* w) {
  labelCopies_.emplace(name, w);
  placed_.clear();
}

void ControlBinder::bindLabelTokens(const std::string& name, std::vector<QLabel*> cells,
                                    const std::string& prefix) {
  auto& t = tokens_[name];
  for (QLabel* c : cells) t.cells.emplace_back(c);
  t.prefix = prefix;
  tokenLabels_.insert(name);
  if (!prefix.empty()) tokenLabels_.insert(prefix);
  placed_.clear();
}

void ControlBinder::bindIndicator(const std::string& name, IndicatorBox* w) {
  add(name, Kind::Indicator, w);
}

void ControlBinder::bindButton(const std::string& name, QPushButton* w) {
  add(name, Kind::Button, w);
  connect(w, &QPushButton::clicked, this, [this, name] { emit clicked(Q(name)); });
}

void ControlBinder::bindFrame(const std::string& name, QWidget* w) {
  widgets_[name] = Bound{Kind::Frame, w, {}, false, false, {}, {}, {}, -1, -2, false};
  placed_.clear();
  if (w->objectName().isEmpty()) w->setObjectName(Q(name));
}

void ControlBinder::bindCompanion(const std::string& name, QWidget* w) {
  companions_.emplace(name, w);
  placed_.clear();
}

void ControlBinder::bindShownWith(const std::string& name, QWidget* w) {
  shownWith_.emplace(name, w);
  placed_.clear();
}

void ControlBinder::userText(const std::string& name, const QString& text) {
  bool hit = false;
  bool refused = false;
  auto f = [&](auto& c, const ControlInfo& info) {
    using C = std::decay_t<decltype(c)>;
    if constexpr (std::is_same_v<C, TextBox>) {
      // Only a setting is typed into: a live or shown-only value is not the person's.
      if (!c.enabled || !c.visible || !info.editable()) {
        refused = true;
        return;
      }
      c.text = text.toStdString();
      hit = true;
    }
  };
  NamedVisitor v(name, f);
  walk_(v);
  if (refused) refuse();
  if (hit) emit edited(Q(name));
}

void ControlBinder::userIndex(const std::string& name, int index) {
  bool hit = false;
  bool refused = false;
  auto f = [&](auto& c, const ControlInfo& info) {
    using C = std::decay_t<decltype(c)>;
    if constexpr (std::is_same_v<C, ComboBox>) {
      if (!c.enabled || !c.visible || !info.editable()) {
        refused = true;
        return;
      }
      c.index = index;
      hit = true;
    }
  };
  NamedVisitor v(name, f);
  walk_(v);
  if (refused) refuse();
  if (hit) emit edited(Q(name));
}

void ControlBinder::userCheck(const std::string& name, bool value) {
  bool hit = false;
  bool refused = false;
  auto f = [&](auto& c, const ControlInfo& info) {
    using C = std::decay_t<decltype(c)>;
    if constexpr (std::is_same_v<C, CheckBox>) {
      if (!c.enabled || !c.visible || !info.editable()) {
        refused = true;
        return;
      }
      c.value = value;
      hit = true;
    }
  };
  NamedVisitor v(name, f);
  walk_(v);
  if (refused) refuse();
  if (hit) emit edited(Q(name));
}

void ControlBinder::userOption(const std::string& name, QRadioButton* w, bool value) {
  if (!value) {
    // Clicking the chosen option again keeps it chosen.
    refresh();
    return;
  }
  bool refused = false;
  auto check = [&](auto& c, const ControlInfo& info) {
    if (!c.enabled || !c.visible || !info.editable()) refused = true;
  };
  NamedVisitor guard(name, check);
  walk_(guard);
  if (refused) {
    refuse();
    return;
  }
  // The options of one group share a parent widget: choosing one clears the others.
  std::vector<std::string> group;
  for (const auto& [n, b] : widgets_)
    if (b.kind == Kind::Option && b.widget && b.widget->parentWidget() == w->parentWidget())
      group.push_back(n);
  for (const auto& n : group) {
    const bool chosen = n == name;
    auto f = [&](auto& c, const ControlInfo& info) {
      using C = std::decay_t<decltype(c)>;
      if constexpr (std::is_same_v<C, OptionButton>) c.value = chosen;
      (void)info;
    };
    NamedVisitor v(n, f);
    walk_(v);
  }
  refresh();
  emit edited(Q(name));
}

void ControlBinder::refuse() {
  // The page had disabled (or hidden) the control before the view caught up: the edit
  // does not reach the page, and the widget shows the page's value again.
  ++refusedEdits_;
  refresh();
}

void ControlBinder::setStale(bool stale) {
  if (stale_ == stale) return;
  stale_ = stale;
  refresh();
}

void ControlBinder::setDisabledReason(const QString& reason) {
  if (disabledReason_ == reason) return;
  disabledReason_ = reason;
  refresh();
}

namespace {
constexpr std::uint32_t kNoColour = 0x1000000;
}  // namespace

void ControlBinder::refresh() {
  class Apply : public ControlVisitor {
   public:
    explicit Apply(ControlBinder& b) : b_(b) {}
    Bound* bound(std::string_view n, Kind k) {
      auto it = b_.widgets_.find(n);
      if (it == b_.widgets_.end() || it->second.kind != k || !it->second.widget) return nullptr;
      return &it->second;
    }
    // The shown-only look and background colour, set again only when either changed.
    void look(Bound& b, const Control& c, bool shownOnly) {
      const std::int64_t colour = c.backColour ? static_cast<std::int64_t>(*c.backColour) : -1;
      if (b.lookShownOnly == int(shownOnly) && b.lookColour == colour) return;
      if (auto* edit = qobject_cast<QLineEdit*>(b.widget.data())) ShownOnlyLook(edit, shownOnly);
      BackColour(b.widget.data(), c);
      b.lookShownOnly = shownOnly;
      b.lookColour = colour;
    }
    QWidget* find(std::string_view n, Kind k) {
      Bound* b = bound(n, k);
      return b ? b->widget.data() : nullptr;
    }
    void companions(std::string_view n, const Control& c) {
      auto [lo, hi] = b_.companions_.equal_range(n);
      for (auto it = lo; it != hi; ++it)
        if (it->second) ApplyCommon(it->second, c);
      auto [from, to] = b_.shownWith_.equal_range(n);
      for (auto it = from; it != to; ++it)
        if (it->second && it->second->isHidden() == c.visible) it->second->setVisible(c.visible);
    }
    void text(const ControlInfo& i, TextBox& c) override {
      const std::string& n = i.name;
      seen(n);
      // A value shown only is drawn enabled, and so is its caption: it is read, not
      // greyed out. The caption of a value the window declares shown only is read too.
      Control shown = c;
      if (c.shownOnly) shown.enabled = true;
      Control caption = shown;
      if (i.role == Role::ShownOnly) caption.enabled = true;
      companions(n, caption);
      Bound* b = bound(n, Kind::Text);
      if (!b) return;
      auto* w = static_cast<QLineEdit*>(b->widget.data());
      // A live value is shown, never typed into; with no unit connected it shows "—".
      const bool live = i.role == Role::Live;
      const bool stale = b_.stale_ && live;
      const QString t = stale ? QStringLiteral("\u2014") : Q(c.text);
      if (w->text() != t) w->setText(t);
      const int max = c.maxLength > 0 ? c.maxLength : 32767;
      if (w->maxLength() != max) w->setMaxLength(max);
      look(*b, c, c.shownOnly);
      const bool readOnly = c.shownOnly || c.locked || live || i.role == Role::ShownOnly;
      if (w->isReadOnly() != readOnly) w->setReadOnly(readOnly);
      if (b->displayOnly != c.shownOnly) {
        b->displayOnly = c.shownOnly;
        if (c.shownOnly)
          b_.displayOnly_.insert(std::string(n));
        else if (auto it = b_.displayOnly_.find(n); it != b_.displayOnly_.end())
          b_.displayOnly_.erase(it);
      }
      ApplyCommon(w, shown);
    }
    void combo(const ControlInfo& i, ComboBox& c) override {
      const std::string& n = i.name;
      seen(n);
      Control caption = c;
      if (i.role == Role::ShownOnly) caption.enabled = true;
      companions(n, caption);
      Bound* b = bound(n, Kind::Combo);
      if (!b) return;
      auto* w = static_cast<QComboBox*>(b->widget.data());
      // The list is filled again only when the page's list changed since it was applied.
      if (!b->itemsKnown || b->items != c.items || w->count() != static_cast<int>(c.items.size())) {
        bool same = w->count() == static_cast<int>(c.items.size());
        for (int i = 0; same && i < w->count(); ++i) same = w->itemText(i) == Q(c.items[i]);
        if (!same) {
          w->clear();
          for (const auto& item : c.items) w->addItem(Q(item));
        }
        b->items = c.items;
        b->itemsKnown = true;
      }
      const int index = c.index >= 0 && c.index < w->count() ? c.index : -1;
      if (w->currentIndex() != index) w->setCurrentIndex(index);
      look(*b, c, false);
      ApplyCommon(w, c);
    }
    void check(const ControlInfo& i, CheckBox& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      auto* w = static_cast<QCheckBox*>(find(n, Kind::Check));
      if (!w) return;
      if (!c.caption.empty() && w->text() != Q(c.caption)) w->setText(Q(c.caption));
      if (w->isChecked() != c.value) w->setChecked(c.value);
      ApplyCommon(w, c);
    }
    void option(const ControlInfo& i, OptionButton& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      auto* w = static_cast<QRadioButton*>(find(n, Kind::Option));
      if (!w) return;
      if (!c.caption.empty() && w->text() != Q(c.caption)) w->setText(Q(c.caption));
      if (w->isChecked() != c.value) w->setChecked(c.value);
      ApplyCommon(w, c);
    }
    void label(const ControlInfo& i, Label& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      // Token rows are filled once every label was seen (a prefix may come later).
      if (b_.tokenLabels_.count(n)) labels_.emplace(std::string(n), c);
      auto [lo, hi] = b_.labelCopies_.equal_range(n);
      for (auto it = lo; it != hi; ++it) {
        QLabel* copy = it->second;
        if (!copy) continue;
        if (copy->text() != Q(c.caption)) copy->setText(Q(c.caption));
        ApplyCommon(copy, c);
      }
      auto* w = static_cast<QLabel*>(find(n, Kind::Label));
      if (!w) return;
      if (w->text() != Q(c.caption)) w->setText(Q(c.caption));
      ApplyCommon(w, c);
    }
    void indicator(const ControlInfo& i, Indicator& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      auto* w = static_cast<IndicatorBox*>(find(n, Kind::Indicator));
      if (!w) return;
      if (w->text() != Q(c.caption)) w->setText(Q(c.caption));
      w->setColour(b_.stale_ && i.role == Role::Live ? kNoColour : c.colour);
      ApplyCommon(w, c);
    }
    void button(const ControlInfo& i, Button& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      auto* w = static_cast<QPushButton*>(find(n, Kind::Button));
      if (!w) return;
      if (!c.caption.empty() && w->text() != Q(c.caption)) {
        w->setText(Q(c.caption));
        // Room for the whole caption, whichever style draws the button.
        w->setMinimumWidth(w->fontMetrics().horizontalAdvance(w->text()) +
                           2 * w->fontMetrics().horizontalAdvance(QLatin1Char('M')));
      }
      ApplyCommon(w, c);
    }
    void frame(const ControlInfo& i, Frame& c) override {
      const std::string& n = i.name;
      seen(n);
      companions(n, c);
      QWidget* w = find(n, Kind::Frame);
      if (!w) return;
      if (auto* g = qobject_cast<QGroupBox*>(w); g && !c.caption.empty() && g->title() != Q(c.caption))
        g->setTitle(Q(c.caption));
      ApplyCommon(w, c);
    }

    // Each token cell: the prefix label's token, then the label's own token.
    void tokenRows() {
      auto split = [this](const std::string& name) {
        auto it = labels_.find(name);
        return it == labels_.end()
                   ? QStringList()
                   : Q(it->second.caption).split(QLatin1Char(' '), Qt::SkipEmptyParts);
      };
      for (const auto& [name, t] : b_.tokens_) {
        auto own = labels_.find(name);
        if (own == labels_.end()) continue;
        const QStringList parts = split(name);
        const QStringList prefixes = t.prefix.empty() ? QStringList() : split(t.prefix);
        for (std::size_t i = 0; i < t.cells.size(); ++i) {
          QLabel* cell = t.cells[i];
          if (!cell) continue;
          const int k = static_cast<int>(i);
          QString text = k < parts.size() ? parts[k] : QString();
          if (!text.isEmpty() && k < prefixes.size()) text.prepend(prefixes[k]);
          if (cell->text() != text) cell->setText(text);
          ApplyCommon(cell, own->second);
        }
      }
    }

   private:
    // Marks a name the view placed as declared by the page (names it did not place are
    // of no interest here).
    void seen(std::string_view n) {
      if (auto it = b_.placed_.find(n); it != b_.placed_.end()) it->second = true;
    }
    ControlBinder& b_;
    std::map<std::string, Label> labels_;
  };
  updating_ = true;
  // Every name the view placed, each marked when the walk declares it.
  if (placed_.empty()) {
    for (const auto& [name, b] : widgets_) placed_.emplace(name, false);
    for (const auto& [name, w] : companions_) placed_.emplace(name, false);
    for (const auto& [name, w] : shownWith_) placed_.emplace(name, false);
    for (const auto& [name, w] : labelCopies_) placed_.emplace(name, false);
    for (const std::string& name : tokenLabels_) placed_.emplace(name, false);
  }
  for (auto& [name, declared] : placed_) declared = false;
  Apply a(*this);
  walk_(a);
  a.tokenRows();
  // A name the view placed that the page does not declare is a fault of the layout: it
  // is reported once, never skipped silently.
  std::vector<std::string> unresolved;
  for (const auto& [name, declared] : placed_)
    if (!declared) unresolved.push_back(name);
  if (unresolved != unresolved_) {
    unresolved_ = unresolved;
    for (const std::string& n : unresolved_)
      qWarning("ControlBinder: the view places \"%s\", which the page does not declare",
               n.c_str());
  }
  // A disabled control says why in its tool tip.
  for (auto& [name, b] : widgets_) {
    QWidget* w = b.widget;
    if (!w || b.kind == Kind::Label || b.kind == Kind::Frame || b.kind == Kind::Indicator)
      continue;
    if (displayOnly_.count(name)) continue;
    if (!b.ownTipKnown) {
      b.ownTip = w->toolTip();
      b.ownTipKnown = true;
    }
    if (b.disabledFor != disabledReason_ || b.disabledTip.isNull()) {
      b.disabledFor = disabledReason_;
      b.disabledTip = b.ownTip.isEmpty() ? disabledReason_
                                         : b.ownTip + QLatin1Char('\n') + disabledReason_;
    }
    const QString& tip = w->isEnabled() || disabledReason_.isEmpty() ? b.ownTip : b.disabledTip;
    if (w->toolTip() != tip) w->setToolTip(tip);
  }
  updating_ = false;
}

}  // namespace q5::gui
