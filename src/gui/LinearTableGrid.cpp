#include "LinearTableGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QValidator>
#include <map>
#include <optional>

#include "pages/frmLNRIO1.h"

namespace q5::gui {

using pages::frmLNRIO1;

namespace {

// An integer within the table's range, or nothing.
std::optional<int> TableInteger(const QString& text) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  if (!ok || v < frmLNRIO1::kTableLow || v > frmLNRIO1::kTableHigh) return std::nullopt;
  return v;
}

// What a cell takes while it is typed: a whole number within the table's range, or the
// start of one ("", "-"). Every prefix of a number within range is within range itself,
// so a digit that would leave the range is refused as it is typed rather than leaving
// Enter without effect later (a plain QIntValidator lets "99999" through as "not yet").
class TableCellValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    const QString t = input.trimmed();
    if (t.isEmpty() || t == QLatin1String("-")) return Intermediate;
    return TableInteger(t) ? Acceptable : Invalid;
  }
};

}  // namespace

// ---- Model --------------------------------------------------------------------------------

LinearTableModel::LinearTableModel(pages::ControlWalk walk, QObject* parent)
    : QAbstractTableModel(parent), walk_(std::move(walk)) {
  resolve();
}

void LinearTableModel::resolve() {
  struct Find : pages::ControlVisitor {
    std::map<std::string, pages::TextBox*> boxes;
    const pages::ComboBox* points = nullptr;
    const pages::Label* caption = nullptr;
    void text(const pages::ControlInfo& i, pages::TextBox& c) override { boxes[i.name] = &c; }
    void combo(const pages::ControlInfo& i, pages::ComboBox& c) override {
      if (i.name == "CmbLinearizationPoint") points = &c;
    }
    void label(const pages::ControlInfo& i, pages::Label& c) override {
      if (i.name == "lblTable") caption = &c;
    }
  } find;
  if (walk_) walk_(find);
  cells_.assign(frmLNRIO1::kPoints, {nullptr, nullptr});
  for (int p = 0; p < frmLNRIO1::kPoints; ++p)
    for (int c = 0; c < 2; ++c) {
      auto it = find.boxes.find(frmLNRIO1::CellName(p + 1, c));
      if (it != find.boxes.end()) cells_[p][c] = it->second;
    }
  pointsInUse_ = find.points;
  caption_ = find.caption;
}

pages::TextBox* LinearTableModel::cellOf(const QModelIndex& index) const {
  if (!index.isValid() || index.row() >= static_cast<int>(cells_.size())) return nullptr;
  if (index.column() == kX) return cells_[index.row()][0];
  if (index.column() == kY) return cells_[index.row()][1];
  return nullptr;
}

int LinearTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : frmLNRIO1::kPoints;
}

int LinearTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant LinearTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role == Qt::ForegroundRole || role == Qt::ToolTipRole) {
    const int listIndex = pointsInUse_ ? pointsInUse_->index : 0;
    const int inUse = listIndex > 0 ? listIndex + 2 : 0;
    if (index.row() < inUse) return {};
    if (role == Qt::ForegroundRole) return QColor(Qt::gray);
    return inUse == 0 ? QStringLiteral("Not used: linearization is disabled")
                      : QStringLiteral("Not used: the table has %1 points").arg(inUse);
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (index.column() == kNumber) return index.row() + 1;
  const pages::TextBox* cell = cellOf(index);
  return cell ? QString::fromStdString(cell->text) : QVariant();
}

QVariant LinearTableModel::headerData(int section, Qt::Orientation o, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (o == Qt::Vertical) return {};
  switch (section) {
    case kNumber: return QStringLiteral("No.");
    case kX: return QStringLiteral("X[%]");
    case kY: return QStringLiteral("Y[%]");
    default: return {};
  }
}

Qt::ItemFlags LinearTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const pages::TextBox* cell = cellOf(index);
  if (!cell) return Qt::ItemIsEnabled;  // "No."
  Qt::ItemFlags f = Qt::ItemIsSelectable;
  if (cell->enabled) f |= Qt::ItemIsEnabled | Qt::ItemIsEditable;
  return f;
}

QString LinearTableModel::cellName(const QModelIndex& index) {
  if (index.column() != kX && index.column() != kY) return {};
  return QString::fromStdString(frmLNRIO1::CellName(index.row() + 1, index.column() - 1));
}

bool LinearTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole) return false;
  pages::TextBox* cell = cellOf(index);
  if (!cell || !cell->enabled) return false;
  const auto v = TableInteger(value.toString());
  if (!v) return false;
  cell->text = std::to_string(*v);
  emit dataChanged(index, index);
  emit edited(cellName(index));
  return true;
}

void LinearTableModel::refresh() {
  resolve();
  // One range: an editor that is open keeps what is being typed.
  emit dataChanged(index(0, 0), index(frmLNRIO1::kPoints - 1, 2));
}

int LinearTableModel::paste(const QModelIndex& at, const QString& text) {
  if (!at.isValid()) return 0;
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = t.split(QLatin1Char('\n'));
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  const int firstColumn = std::max(at.column(), static_cast<int>(kX));
  int taken = 0;
  for (int r = 0; r < lines.size(); ++r) {
    const int row = at.row() + r;
    if (row >= frmLNRIO1::kPoints) break;
    const QStringList fields = lines[r].split(QLatin1Char('\t'));
    for (int c = 0; c < fields.size(); ++c) {
      const int column = firstColumn + c;
      if (column > kY) break;
      if (setData(index(row, column), fields[c], Qt::EditRole)) ++taken;
    }
  }
  return taken;
}

// ---- Editor -------------------------------------------------------------------------------

QWidget* IntegerCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setAlignment(Qt::AlignRight);
  edit->setValidator(new TableCellValidator(edit));
  return edit;
}

// ---- View ---------------------------------------------------------------------------------

void LinearTableView::keyPressEvent(QKeyEvent* e) {
  if (e->matches(QKeySequence::Paste) && state() != EditingState) {
    if (auto* m = qobject_cast<LinearTableModel*>(model()))
      m->paste(currentIndex(), QGuiApplication::clipboard()->text());
    e->accept();
    return;
  }
  // Enter commits the cell and moves down, as in a spreadsheet.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState) {
    const QModelIndex below = model()->index(currentIndex().row() + 1, currentIndex().column());
    if (below.isValid()) setCurrentIndex(below);
    e->accept();
    return;
  }
  QTableView::keyPressEvent(e);
}

void LinearTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (hint != QAbstractItemDelegate::SubmitModelCache) {
    QTableView::closeEditor(editor, hint);
    return;
  }
  QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  const QModelIndex below = model()->index(currentIndex().row() + 1, currentIndex().column());
  if (below.isValid()) setCurrentIndex(below);
}

// ---- The grid on the page -------------------------------------------------------------------

LinearTableGrid::LinearTableGrid(pages::ControlWalk walk, QWidget* parent) : PageWidget(parent) {
  setObjectName(QStringLiteral("dgdDataGrid1"));
  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(0, 0, 0, 0);
  caption_ = new QLabel(this);
  caption_->setObjectName(QStringLiteral("lblTable"));
  col->addWidget(caption_);
  model_ = new LinearTableModel(std::move(walk), this);
  view_ = new LinearTableView(this);
  view_->setObjectName(QStringLiteral("dgdDataGrid1View"));
  view_->setModel(model_);
  view_->setItemDelegate(new IntegerCellDelegate(view_));
  view_->verticalHeader()->setVisible(false);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                         QAbstractItemView::EditKeyPressed);
  view_->setTabKeyNavigation(false);
  const int em = view_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  view_->setColumnWidth(LinearTableModel::kNumber, em * 5);
  view_->setColumnWidth(LinearTableModel::kX, em * 10);
  view_->setColumnWidth(LinearTableModel::kY, em * 10);
  view_->setFixedWidth(em * 25 + view_->verticalScrollBar()->sizeHint().width() +
                       2 * view_->frameWidth() + 4);
  view_->setMinimumHeight(view_->verticalHeader()->defaultSectionSize() * 12);
  col->addWidget(view_);
  setFocusProxy(view_);
  connect(model_, &LinearTableModel::edited, this, [this](const QString& name) {
    if (onEdited) onEdited(name);
  });
  refresh();
}

void LinearTableGrid::refresh() {
  model_->refresh();
  const pages::Label* label = model_->caption();
  caption_->setText(label ? QString::fromStdString(label->caption) : QString());
  caption_->setVisible(label && label->visible);
  const pages::TextBox* first =
      model_->rowCount() > 0 ? model_->cellOf(model_->index(0, LinearTableModel::kX)) : nullptr;
  view_->setVisible(first && first->visible);
}

}  // namespace q5::gui
