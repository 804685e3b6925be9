#include "PageView.h"

#include "ChangeValueDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "IndicatorBox.h"

namespace q5::gui {

using namespace q5::pages;

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

std::string Indexed(const std::string& base, int i) { return base + "(" + std::to_string(i) + ")"; }

// "txtZScale(3)" → ("txtZScale", 3); a name without an index gives -1.
std::pair<std::string, int> Split(const std::string& name) {
  const auto open = name.find('(');
  if (open == std::string::npos || name.back() != ')') return {name, -1};
  return {name.substr(0, open), std::atoi(name.c_str() + open + 1)};
}

std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> out;
  std::string w;
  for (char c : s) {
    if (c == ' ') {
      if (!w.empty()) out.push_back(w);
      w.clear();
    } else {
      w += c;
    }
  }
  if (!w.empty()) out.push_back(w);
  return out;
}

// The width a list needs to show its longest item.
int ComboWidth(const QComboBox* c) {
  const QFontMetrics fm = c->fontMetrics();
  int text = 0;
  for (int i = 0; i < c->count(); ++i) {
    const QString item = c->itemText(i);
    // A pixel or two more rather than less: the list sets its width as the list wants.
    text = std::max({text, fm.horizontalAdvance(item), fm.boundingRect(item).width() + 2});
  }
  QStyleOptionComboBox opt;
  opt.initFrom(c);
  opt.editable = c->isEditable();
  const QSize contents(text, fm.height());
  return c->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, contents, c).width();
}

}  // namespace

PageView::PageView(ModulePage& page, QWidget* parent)
    : PageView(std::make_unique<ViewModelOf<ModulePage>>(page), &page, parent) {}

PageView::PageView(netpages::NetworkWindow& window, QWidget* parent)
    : PageView(std::make_unique<ViewModelOf<netpages::NetworkWindow>>(window), nullptr, parent) {}

PageView::PageView(std::unique_ptr<ViewModel> model, ModulePage* page, QWidget* parent)
    : QWidget(parent),
      model_(std::move(model)),
      modulePage_(page),
      layout_(layout::LayoutFor(model_->name())) {
  setObjectName(Q(model_->name()));
  binder_ = new ControlBinder([this](ControlVisitor& v) { model_->visitControls(v); }, this);
  collect();

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  QWidget* content = nullptr;
  int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
  if (!layout_ || layout_->scrolls) {
    auto* scroll = new QScrollArea(this);
    scroll_ = scroll;
    scroll->setObjectName("VScroll1");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The scroll area is no Tab stop of its own (an invisible one between the fields).
    scroll->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll);
    content = new QWidget(scroll);
    // Margins kept small: four channels of settings have to fit the page's fixed width.
    margin = margin * 2 / 3;
  } else {
    content = new QWidget(this);
    outer->addWidget(content);
  }
  content->setObjectName("content");
  auto* col = new QVBoxLayout(content);
  col->setContentsMargins(margin, margin, margin, margin);
  col->setSpacing(8);
  if (scroll_) scroll_->setWidget(content);

  if (layout_) {
    for (const auto& name : layout_->omitted) placed_.insert(name);
    for (const auto& b : layout_->top) addBlock(b, col, content);
    if (!layout_->tabs.empty()) {
      auto* buttons = new QHBoxLayout;
      buttons->setSpacing(2);
      for (std::size_t n = 1; n <= layout_->tabs.size(); ++n) {
        QWidget* b = make("cmdSet" + std::to_string(n), content);
        if (!b) continue;
        buttons->addWidget(b);
        // Alt+1, Alt+2 switch tabs from the keyboard (the captions carry no mnemonic).
        const QKeySequence key(Qt::ALT | Qt::Key(Qt::Key_0 + static_cast<int>(n)));
        b->setToolTip(key.toString(QKeySequence::NativeText));
        auto* shortcut = new QShortcut(key, this);
        // Also while the focus is on the main window's buttons (the page window is then
        // not the active one): the page's window must be the active window.
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, b, [b] {
          if (!b->isVisible() || !b->window()->isActiveWindow()) return;
          if (auto* button = qobject_cast<QPushButton*>(b); button && button->isEnabled())
            button->click();
        });
      }
      buttons->addStretch(1);
      col->addLayout(buttons);
      for (const auto& tab : layout_->tabs) {
        auto* frame = new QFrame(content);
        frame->setFrameShape(QFrame::StyledPanel);
        auto* inner = new QVBoxLayout(frame);
        inner->setContentsMargins(margin, margin, margin, margin);
        tabInset_ = frame->frameWidth() + margin;
        // Fields and option frames of a tab that holds a table of channels line up
        // with the table: captions in its caption column, controls from its first
        // channel column on.
        besideChannels_ = std::any_of(tab.blocks.begin(), tab.blocks.end(), [](const auto& b) {
          return std::holds_alternative<layout::Channels>(b);
        });
        for (const auto& b : tab.blocks) addBlock(b, inner, frame);
        besideChannels_ = false;
        if (info(tab.frame)) {
          binder_->bindFrame(tab.frame, frame);
          placed_.insert(tab.frame);
        }
        col->addWidget(frame);
      }
    }
    belowTabs_ = !layout_->tabs.empty();
    for (const auto& b : layout_->bottom) addBlock(b, col, content);
    belowTabs_ = false;
  }
  addRemaining(col, content);
  col->addStretch(1);
  alignChannelColumns();
  chainTabOrder();

  connect(binder_, &ControlBinder::edited, this, [this](const QString& name) {
    // A change handler may cut or rewrite the text typed: the caret stays where it was.
    auto* box = qobject_cast<QLineEdit*>(control(name.toStdString()));
    const int caret = box ? box->cursorPosition() : 0;
    model_->Edited(name.toStdString());
    refresh();
    if (box) box->setCursorPosition(std::min(caret, static_cast<int>(box->text().size())));
    emit edited(name);
  });
  connect(binder_, &ControlBinder::clicked, this, [this](const QString& name) {
    if (pressHandler)
      pressHandler(name);
    else
      model_->Press(name.toStdString());
    refresh();
    emit pressed(name);
  });
  refresh();
}

void PageView::refresh() {
  binder_->refresh();
  for (PageWidget* w : customs_) w->refresh();
  markCurrentTab();
  keepScrollInStep();
}

void PageView::keepScrollInStep() {
  // The contents stand where the scroll bars say: a relayout (a tab shown, rows shown or
  // hidden) must not leave them at the top while the bar's thumb sits further down,
  // which would put the lower rows out of reach.
  QWidget* content = scroll_ ? scroll_->widget() : nullptr;
  if (!content) return;
  const QPoint want(-scroll_->horizontalScrollBar()->value(), -scroll_->verticalScrollBar()->value());
  if (content->pos() != want) content->move(want);
}

void PageView::markCurrentTab() {
  // The page disables the button of the tab shown, and every tab button while it reads
  // or writes the unit: the tab shown is drawn as chosen (bold, in the window's text
  // colour on the highlight), so it does not look like a tab that cannot be chosen.
  if (!layout_ || layout_->tabs.empty()) return;
  // The states of the tab buttons and frames, by name.
  struct Tabs : ControlVisitor {
    std::map<std::string, bool> buttonEnabled, frameVisible;
    void button(const ControlInfo& i, Button& c) override { buttonEnabled[i.name] = c.enabled; }
    void frame(const ControlInfo& i, Frame& c) override { frameVisible[i.name] = c.visible; }
  } tabs;
  model_->visitControls(tabs);
  for (std::size_t i = 0; i < layout_->tabs.size(); ++i) {
    const std::string button = "cmdSet" + std::to_string(i + 1);
    auto* b = qobject_cast<QPushButton*>(control(button));
    if (!b) continue;
    const bool current = tabs.frameVisible[layout_->tabs[i].frame] && !tabs.buttonEnabled[button];
    if (b->property("q5CurrentTab").toBool() == current) continue;
    b->setProperty("q5CurrentTab", current);
    QFont f = b->font();
    f.setBold(current);
    b->setFont(f);
    QPalette pal = QPalette();
    if (current) {
      pal.setColor(QPalette::Disabled, QPalette::ButtonText, pal.color(QPalette::Active, QPalette::HighlightedText));
      pal.setColor(QPalette::Disabled, QPalette::Button, pal.color(QPalette::Active, QPalette::Highlight));
      pal.setColor(QPalette::Disabled, QPalette::Window, pal.color(QPalette::Active, QPalette::Highlight));
    }
    b->setPalette(pal);
    b->setAutoFillBackground(current);
  }
}

void PageView::showControl(const std::string& name) {
  QWidget* w = control(name);
  if (!w || w->isVisibleTo(this)) return;
  for (std::size_t n = 1; layout_ && n <= layout_->tabs.size(); ++n) {
    QWidget* frame = control(layout_->tabs[n - 1].frame);
    if (frame && frame->isAncestorOf(w)) {
      model_->Press("cmdSet" + std::to_string(n));
      refresh();
      return;
    }
  }
}

void PageView::showEvent(QShowEvent* e) {
  // Lists are filled by the page's Init: the widest item may have changed.
  alignChannelColumns();
  QWidget::showEvent(e);
}

int PageView::pointColumnWidth() const {
  const QFontMetrics fm = fontMetrics();
  const int box = fm.height() + 8;  // an indicator box is as wide as it is high
  const int number = fm.horizontalAdvance(QStringLiteral("1F")) + fm.horizontalAdvance(QLatin1Char('0'));
  const int check = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4;
  return std::max({box, number, check});
}

void PageView::alignChannelColumns() {
  int captionWidth = 0;
  int cellWidth = 0;
  for (const auto& t : channelTables_) {
    for (QWidget* w : t.captions) captionWidth = std::max(captionWidth, w->sizeHint().width());
    for (QWidget* w : t.cells) {
      cellWidth = std::max(cellWidth, w->sizeHint().width());
      // A list's own size follows its items only a moment after they were filled: take
      // the width its longest item needs.
      for (auto* c : w->findChildren<QComboBox*>()) cellWidth = std::max(cellWidth, ComboWidth(c));
    }
  }
  for (const auto& t : channelTables_) {
    t.grid->setColumnMinimumWidth(0, captionWidth);
    for (int k = 0; k < t.count; ++k) t.grid->setColumnMinimumWidth(1 + k, cellWidth);
  }
  // The rows beside a table take the table's caption column as it is: a longer caption
  // ("Output Hold/Clear") goes on two lines rather than pushing the four channels of
  // the page out of its width.
  for (const auto& t : alignedRows_) {
    t.grid->setColumnMinimumWidth(0, captionWidth);
    for (QWidget* w : t.captions) {
      if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setWordWrap(true);
        l->setFixedWidth(captionWidth);
      }
    }
  }
}

void PageView::chainTabOrder() {
  QWidget* previous = nullptr;
  for (QWidget* w : focusOrder_) {
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void PageView::collect() {
  class Collect : public ControlVisitor {
   public:
    explicit Collect(PageView& v) : v_(v) {}
    void add(const ControlInfo& i, char k, std::string_view caption = {}) {
      if (!v_.infos_.count(i.name)) v_.order_.push_back(i.name);
      v_.infos_[i.name] = Info{k, std::string(caption), i.role};
    }
    void text(const ControlInfo& i, TextBox&) override { add(i, 't', i.caption); }
    void combo(const ControlInfo& i, ComboBox&) override { add(i, 'c', i.caption); }
    void check(const ControlInfo& i, CheckBox&) override { add(i, 'k'); }
    void option(const ControlInfo& i, OptionButton&) override { add(i, 'o'); }
    void label(const ControlInfo& i, Label&) override { add(i, 'l'); }
    void indicator(const ControlInfo& i, Indicator&) override { add(i, 'i'); }
    void button(const ControlInfo& i, Button&) override { add(i, 'b'); }
    void frame(const ControlInfo& i, Frame& f) override { add(i, 'f', f.caption); }

   private:
    PageView& v_;
  };
  Collect c(*this);
  model_->visitControls(c);
}

const PageView::Info* PageView::info(const std::string& name) const {
  auto it = infos_.find(name);
  return it == infos_.end() ? nullptr : &it->second;
}

QWidget* PageView::make(const std::string& name, QWidget* parent) {
  const Info* i = info(name);
  if (!i) return nullptr;
  placed_.insert(name);
  QWidget* w = makeWidget(name, *i, parent);
  if (w && w->focusPolicy() & Qt::TabFocus) focusOrder_.push_back(w);
  return w;
}

QWidget* PageView::makeWidget(const std::string& name, const Info& info, QWidget* parent) {
  const char kind = info.kind;
  const int em = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  switch (kind) {
    case 't': {
      auto* w = new QLineEdit(parent);
      if (digits_ > 0) {
        // A box as wide as the number it holds (an address part, a port), the number
        // standing at its right as in a row of figures.
        w->setFixedWidth(em * digits_ + 16);
        w->setAlignment(Qt::AlignRight);
      } else {
        // Room for the longest value ("-32000", "1.0000", "-10.00") and a little more.
        w->setFixedWidth(em * (layout_ ? layout_->fieldDigits : 10));
      }
      // Values the page only shows (zero and full base on most pages) are drawn as
      // values by the binder, as the page's states say.
      // Live values are shown, not typed.
      if (info.role == pages::Role::Live) {
        w->setReadOnly(true);
        w->setAlignment(Qt::AlignRight);
        // Tab passes over them to the next setting; a click still selects for copying.
        w->setFocusPolicy(Qt::ClickFocus);
        // On a page with manual outputs a click during monitoring opens "Change Value".
        PressOnClick(w, [this, name] {
          model_->Press(name);
          refresh();
        });
      }
      binder_->bindText(name, w);
      return w;
    }
    case 'c': {
      auto* w = new QComboBox(parent);
      w->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      binder_->bindCombo(name, w);
      return w;
    }
    case 'k': {
      auto* w = new QCheckBox(parent);
      binder_->bindCheck(name, w);
      return w;
    }
    case 'o': {
      auto* w = new QRadioButton(parent);
      binder_->bindOption(name, w);
      return w;
    }
    case 'l': {
      auto* w = new QLabel(parent);
      binder_->bindLabel(name, w);
      return w;
    }
    case 'i': {
      auto* w = new IndicatorBox(parent);
      binder_->bindIndicator(name, w);
      return w;
    }
    case 'b': {
      auto* w = new QPushButton(parent);
      w->setAutoDefault(false);
      binder_->bindButton(name, w);
      return w;
    }
    case 'f': {
      auto* w = new QGroupBox(parent);
      binder_->bindFrame(name, w);
      return w;
    }
  }
  return nullptr;
}

QWidget* PageView::captionFor(const std::string& captionLabels, const std::string& fixed,
                              const std::string& control, QWidget* parent) {
  if (!captionLabels.empty()) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (const auto& l : Words(captionLabels))
      if (QWidget* w = make(l, box)) row->addWidget(w);
    row->addStretch(1);
    // A row hidden for the model takes its caption along, so it leaves no gap.
    binder_->bindShownWith(control, box);
    return box;
  }
  const Info* i = info(control);
  const std::string text = !fixed.empty() ? fixed : i ? i->caption : std::string();
  auto* label = new QLabel(Q(text), parent);
  // A little air between a caption and its control ("Valid/Invalid" and its list).
  label->setContentsMargins(0, 0, fontMetrics().horizontalAdvance(QLatin1Char('0')), 0);
  // A fixed caption comes and goes with its control.
  binder_->bindCompanion(control, label);
  return label;
}

void PageView::addBlock(const layout::Block& b, QVBoxLayout* into, QWidget* parent) {
  std::visit(
      [&](const auto& block) {
        using T = std::decay_t<decltype(block)>;
        if constexpr (std::is_same_v<T, layout::Points>) addPoints(block, into, parent);
        if constexpr (std::is_same_v<T, layout::Fields>) addFields(block, into, parent);
        if constexpr (std::is_same_v<T, layout::Channels>) addChannels(block, into, parent);
        if constexpr (std::is_same_v<T, layout::Table>) addTable(block, into, parent);
        if constexpr (std::is_same_v<T, layout::Options>) addOptions(block, into, parent);
        if constexpr (std::is_same_v<T, layout::Custom>) addCustom(block, into, parent);
      },
      b);
}

void PageView::addPoints(const layout::Points& p, QVBoxLayout* into, QWidget* parent) {
  QWidget* box = nullptr;
  if (!p.frame.empty() && info(p.frame)) {
    box = make(p.frame, parent);
    pointsInset_ = box->contentsMargins().left();
  } else {
    // An unframed block stands in as far as the framed one above, so that its columns
    // stand under the columns of the frame.
    box = new QWidget(parent);
    box->setContentsMargins(pointsInset_, 0, 0, 0);
  }
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  const int column = pointColumnWidth();
  for (int c = 0; c < p.columns; ++c) grid->setColumnMinimumWidth(c, column);
  int r = 0;
  for (const auto& row : p.rows) {
    if (!row.heading.empty()) {
      if (QWidget* h = make(row.heading, box)) {
        grid->addWidget(h, r, 0, 1, p.columns);
        if (r > 0) grid->setRowMinimumHeight(r, fontMetrics().height() * 2);
        ++r;
      }
    }
    if (!row.tokens.empty() && info(row.tokens)) {
      placed_.insert(row.tokens);
      if (!row.prefix.empty()) placed_.insert(row.prefix);
      std::vector<QLabel*> cells;
      for (int c = 0; c < p.columns; ++c) {
        auto* l = new QLabel(box);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        l->setWordWrap(false);
        grid->addWidget(l, r, c, Qt::AlignHCenter);
        cells.push_back(l);
      }
      binder_->bindLabelTokens(row.tokens, cells, info(row.prefix) ? row.prefix : std::string());
      ++r;
    }
    if (!row.array.empty()) {
      bool any = false;
      for (int c = 0; c < p.columns; ++c) {
        if (QWidget* w = make(Indexed(row.array, row.first + c), box)) {
          grid->addWidget(w, r, c, Qt::AlignHCenter);
          any = true;
        }
      }
      if (any) ++r;
    }
  }
  grid->setColumnStretch(p.columns, 1);
  into->addWidget(box);
}

void PageView::addFields(const layout::Fields& f, QVBoxLayout* into, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(belowTabs_ ? tabInset_ : 0, 0, 0, 0);
  ChannelTable aligned{grid, 0, {}, {}};
  if (besideChannels_) grid->setHorizontalSpacing(4);
  int r = 0;
  for (const auto& row : f.rows) {
    const std::vector<std::string> controls = Words(row.control);
    if (controls.empty() || !info(controls.front())) continue;
    const std::string& first = controls.front();
    QWidget* caption = captionFor(row.captionLabel, row.caption, first, box);
    grid->addWidget(caption, r, 0);
    digits_ = row.digits;
    if (controls.size() > 1 || !row.after.empty()) {
      // Several controls that show one value (a dotted address, the halves of a MAC
      // address), or a control with its unit or range after it, on one line.
      auto* line = new QHBoxLayout;
      // Labels read as one text ("00-80-4C-1A-2B-3C"); boxes stand a little apart.
      line->setSpacing(info(first)->kind == 'l' ? 0 : 2);
      for (std::size_t k = 0; k < controls.size(); ++k) {
        QWidget* w = make(controls[k], box);
        if (!w) continue;
        if (auto* l = qobject_cast<QLabel*>(w))
          l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        line->addWidget(w);
        if (k + 1 < controls.size() && !row.separator.empty()) {
          // A separator comes and goes with the control before it.
          auto* sep = new QLabel(Q(row.separator), box);
          binder_->bindCompanion(controls[k], sep);
          line->addWidget(sep);
        }
      }
      if (!row.after.empty()) {
        auto* after = new QLabel(Q(row.after), box);
        after->setContentsMargins(fontMetrics().horizontalAdvance(QLatin1Char('0')) / 2, 0, 0, 0);
        binder_->bindCompanion(controls.back(), after);
        line->addWidget(after);
      }
      line->addStretch(1);
      grid->addLayout(line, r, 1, 1, 2);
    } else if (QWidget* w = make(first, box); auto* note = qobject_cast<QLabel*>(w)) {
      // A note (the pulse page's modes) breaks into lines within the page's width; a
      // value shown as a label (a station ID) can be selected for copying.
      note->setWordWrap(true);
      note->setTextInteractionFlags(Qt::TextSelectableByMouse);
      grid->addWidget(w, r, 1, 1, 2);
    } else if (qobject_cast<QComboBox*>(w)) {
      // The lists of a block are as wide as its widest one.
      grid->addWidget(w, r, 1);
    } else {
      grid->addWidget(w, r, 1, Qt::AlignLeft);
    }
    digits_ = 0;
    aligned.captions.push_back(caption);
    ++r;
  }
  grid->setColumnStretch(2, 1);
  if (besideChannels_) alignedRows_.push_back(std::move(aligned));
  into->addWidget(box);
}

void PageView::addChannels(const layout::Channels& c, QVBoxLayout* into, QWidget* parent) {
  QWidget* box = nullptr;
  if (!c.frame.empty() && info(c.frame)) {
    box = new QWidget(parent);
    binder_->bindFrame(c.frame, box);
    placed_.insert(c.frame);
  } else {
    box = new QWidget(parent);
  }
  auto* grid = new QGridLayout(box);
  // Below the tabs the table stands in as far as the tables inside the tab frames.
  grid->setContentsMargins(belowTabs_ ? tabInset_ : 0, 0, 0, 0);
  grid->setHorizontalSpacing(4);
  ChannelTable table{grid, c.count, {}, {}};
  const auto headers = Words(c.headerLabels);
  for (int k = 0; k < c.count; ++k) {
    QWidget* h = nullptr;
    if (k < static_cast<int>(headers.size())) {
      const std::string& name = headers[k];
      if (placed_.count(name) && info(name) && info(name)->kind == 'l') {
        // A second table of the same channels (the other tab): the same captions again.
        auto* copy = new QLabel(box);
        binder_->bindLabelCopy(name, copy);
        h = copy;
      } else {
        h = make(name, box);
      }
    }
    if (!h) h = new QLabel(QStringLiteral("CH %1").arg(c.first + k), box);
    if (auto* l = qobject_cast<QLabel*>(h)) {
      l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      QFont bold = l->font();
      bold.setBold(true);
      l->setFont(bold);
    }
    grid->addWidget(h, 0, 1 + k);
  }
  int r = 1;
  for (const auto& row : c.rows) {
    const std::string first = Indexed(row.array, c.first);
    if (!info(first)) continue;
    QWidget* caption = captionFor(row.captionLabel, "", first, box);
    grid->addWidget(caption, r, 0);
    table.captions.push_back(caption);
    for (int k = 0; k < c.count; ++k) {
      const int i = c.first + k;
      QWidget* w = make(Indexed(row.array, i), box);
      if (!w) continue;
      auto* cell = new QWidget(box);
      auto* v = new QVBoxLayout(cell);
      v->setContentsMargins(0, 0, 0, 0);
      v->setSpacing(0);
      auto* h = new QHBoxLayout;
      h->setSpacing(3);
      w->setParent(cell);
      h->addWidget(w);
      if (!row.unit.empty())
        if (QWidget* u = make(Indexed(row.unit, i), cell)) h->addWidget(u);
      h->addStretch(1);
      v->addLayout(h);
      if (!row.note.empty())
        if (QWidget* n = make(Indexed(row.note, i), cell)) {
          QFont small = n->font();
          small.setPointSizeF(small.pointSizeF() * 0.85);
          n->setFont(small);
          v->addWidget(n);
        }
      grid->addWidget(cell, r, 1 + k);
      table.cells.push_back(cell);
    }
    ++r;
  }
  grid->setColumnStretch(1 + c.count, 1);
  channelTables_.push_back(std::move(table));
  into->addWidget(box);
}

void PageView::addTable(const layout::Table& t, QVBoxLayout* into, QWidget* parent) {
  QWidget* box = nullptr;
  if (!t.frame.empty() && info(t.frame))
    box = make(t.frame, parent);
  else
    box = new QWidget(parent);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(6);
  digits_ = t.digits;
  for (std::size_t k = 0; k < t.headers.size(); ++k) {
    if (QWidget* h = make(t.headers[k], box)) {
      if (auto* l = qobject_cast<QLabel*>(h)) l->setAlignment(Qt::AlignCenter);
      grid->addWidget(h, 0, 1 + static_cast<int>(k));
    }
  }
  int r = 1;
  for (const auto& row : t.rows) {
    if (row.cells.empty() || !info(row.cells.front())) continue;
    grid->addWidget(captionFor(row.captionLabel, row.caption, row.cells.front(), box), r, 0);
    for (std::size_t k = 0; k < row.cells.size(); ++k) {
      if (QWidget* w = make(row.cells[k], box)) {
        if (auto* l = qobject_cast<QLabel*>(w)) l->setAlignment(Qt::AlignCenter);
        grid->addWidget(w, r, 1 + static_cast<int>(k));
      }
    }
    ++r;
  }
  digits_ = 0;
  into->addWidget(box);
}

void PageView::addOptions(const layout::Options& o, QVBoxLayout* into, QWidget* parent) {
  if (const Info* frame = info(o.frame); frame && besideChannels_) {
    // Beside a table of channels the frame is a row of the table's shape: its caption
    // in the caption column, the options from the first channel column on. The row
    // comes and goes (and greys) with the frame.
    auto* box = new QWidget(parent);
    binder_->bindFrame(o.frame, box);
    placed_.insert(o.frame);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    auto* caption = new QLabel(Q(frame->caption), box);
    // The same air between caption and options as between a caption and its field.
    caption->setContentsMargins(0, 0, fontMetrics().horizontalAdvance(QLatin1Char('0')), 0);
    grid->addWidget(caption, 0, 0);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    for (const auto& name : o.options)
      if (QWidget* w = make(name, box)) row->addWidget(w);
    row->addStretch(1);
    grid->addLayout(row, 0, 1);
    grid->setColumnStretch(1, 1);
    alignedRows_.push_back(ChannelTable{grid, 0, {caption}, {}});
    into->addWidget(box);
    return;
  }
  const bool framed = info(o.frame) != nullptr;
  QWidget* box = framed ? make(o.frame, parent) : new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  if (!framed) {
    // A row holding only a label heads the rows below it: a little room above it.
    const bool heading = o.options.size() == 1 && o.caption.empty() && info(o.options[0]) &&
                         info(o.options[0])->kind == 'l';
    row->setContentsMargins(0, heading ? fontMetrics().height() / 2 : 0, 0, 0);
  }
  if (o.trailing) row->addStretch(1);
  if (!o.caption.empty()) {
    auto* caption = new QLabel(QString::fromStdString(o.caption), box);
    caption->setMinimumWidth(fontMetrics().horizontalAdvance(caption->text()) + fontMetrics().height());
    row->addWidget(caption);
  }
  for (const auto& name : o.options)
    if (QWidget* w = make(name, box)) row->addWidget(w);
  if (!o.trailing) row->addStretch(1);
  into->addWidget(box);
}

void PageView::addCustom(const layout::Custom& c, QVBoxLayout* into, QWidget* parent) {
  PageWidget* w =
      c.make ? c.make([this](ControlVisitor& v) { model_->visitControls(v); }, parent) : nullptr;
  if (!w) return;
  for (const auto& name : c.covers) placed_.insert(name);
  customs_.push_back(w);
  focusOrder_.push_back(w);
  // Its edits are the page's edits, like those of the bound widgets.
  w->onEdited = [this](const QString& name) {
    model_->Edited(name.toStdString());
    refresh();
    emit edited(name);
  };
  into->addWidget(w);
}

void PageView::addRemaining(QVBoxLayout* into, QWidget* parent) {
  // Arrays by base name, in the order the page visits them; single controls as rows.
  std::vector<std::string> bases;
  std::map<std::string, std::vector<int>> indexes;
  std::vector<std::string> singles;
  for (const auto& name : order_) {
    if (placed_.count(name)) continue;
    const Info& i = infos_[name];
    if (i.kind == 'f' && i.role == pages::Role::Tab) continue;
    auto [base, index] = Split(name);
    if (index < 0) {
      singles.push_back(name);
      continue;
    }
    if (!indexes.count(base)) bases.push_back(base);
    indexes[base].push_back(index);
  }
  if (singles.empty() && bases.empty()) return;
  auto* box = new QWidget(parent);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  int r = 0;
  for (const auto& name : singles) {
    const Info& i = infos_[name];
    if (i.kind == 't' || i.kind == 'c') grid->addWidget(captionFor("", "", name, box), r, 0);
    grid->addWidget(make(name, box), r, 1, 1, 16, Qt::AlignLeft);
    ++r;
  }
  for (const auto& base : bases) {
    const Info& first = infos_[Indexed(base, indexes[base].front())];
    grid->addWidget(new QLabel(Q(first.caption.empty() ? base : first.caption), box), r, 0);
    int c = 1;
    for (int index : indexes[base]) grid->addWidget(make(Indexed(base, index), box), r, c++);
    ++r;
  }
  into->addWidget(box);
}

}  // namespace q5::gui
