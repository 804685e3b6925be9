#pragma once
// The linearization table of the linearizer page as a Qt item view: columns "No.",
// "X[%]", "Y[%]", one row per point (32). The model reads and writes the page's grid
// cells (dgdDataGrid1), which it finds by name in the walk over the page's controls, so
// the page's dgd_download turns them into its table as it does for every other way of
// editing them (a file, the command line). Cells take integers only, checked while
// typing; a column of numbers copied from a spreadsheet pastes downward from the current
// cell.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <array>
#include <vector>

#include "PageWidget.h"
#include "pages/ControlByName.h"

class QLabel;

namespace q5::gui {

class LinearTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kNumber = 0, kX = 1, kY = 2 };
  explicit LinearTableModel(pages::ControlWalk walk, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Points beyond the number in use ("Linearization point") are drawn greyed: the unit
  // does not use them and Download does not write them.
  // Takes integers within the table's range only; anything else leaves the cell as it was.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The page's states changed: every cell is shown again.
  void refresh();
  // The caption label over the grid (nullptr when the page has none).
  const pages::Label* caption() const { return caption_; }
  // The page's cell at an index of the X or Y column (nullptr elsewhere).
  pages::TextBox* cellOf(const QModelIndex& index) const;
  // Pastes rows of tab-separated numbers (a spreadsheet's clipboard) from the cell at
  // `at` downward and to the right, over the X and Y columns. Returns the cells taken;
  // cells that do not hold an integer within range are skipped.
  int paste(const QModelIndex& at, const QString& text);

  // The page's control name of a cell ("dgdX(3)"), empty for the "No." column.
  static QString cellName(const QModelIndex& index);

 signals:
  void edited(const QString& control);

 private:
  // Finds the cells, the number of points in use and the caption in the walk.
  void resolve();

  pages::ControlWalk walk_;
  std::vector<std::array<pages::TextBox*, 2>> cells_;  // X and Y of each point
  const pages::ComboBox* pointsInUse_ = nullptr;       // CmbLinearizationPoint
  const pages::Label* caption_ = nullptr;              // lblTable
};

// Cell editor: a line edit that takes an integer within the table's range.
class IntegerCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
};

class LinearTableView : public QTableView {
  Q_OBJECT
 public:
  using QTableView::QTableView;

 protected:
  // Ctrl+V pastes the clipboard's numbers; Delete empties nothing (cells always hold a
  // number) and moves on like the arrow keys do.
  void keyPressEvent(QKeyEvent* e) override;
  // Enter in an open cell commits it and moves to the cell below, as in a spreadsheet.
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

// The grid with its caption label, as a page layout places it.
class LinearTableGrid : public PageWidget {
 public:
  explicit LinearTableGrid(pages::ControlWalk walk, QWidget* parent = nullptr);
  void refresh() override;
  LinearTableModel* model() const { return model_; }
  LinearTableView* view() const { return view_; }

 private:
  QLabel* caption_;
  LinearTableModel* model_;
  LinearTableView* view_;
};

}  // namespace q5::gui
