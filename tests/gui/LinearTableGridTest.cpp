// The linearization table grid of the linearizer page: cells edited by keyboard with
// integers only, a column of numbers pasted from a spreadsheet, and the page's table
// taking what the grid holds.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "../core/AnalogInputTestRig.h"
#include "LinearTableGrid.h"
#include "PageView.h"
#include "pages/frmLNRIO1.h"

using q5::gui::LinearTableGrid;
using q5::gui::LinearTableModel;
using q5::pages::frmLNRIO1;

class LinearTableGridTest : public QObject {
  Q_OBJECT

  struct Fixture {
    AnalogRig rig{"Q5T3NML3-6-LNRIO1"};
    frmLNRIO1 page{rig.ctx};
    std::unique_ptr<q5::gui::PageView> view;
    LinearTableGrid* grid = nullptr;
    QStringList edits;
    Fixture() {
      page.Init();
      page.cmdSet_Click(2);
      view = std::make_unique<q5::gui::PageView>(page);
      view->resize(900, 900);
      view->show();
      grid = static_cast<LinearTableGrid*>(view->findChild<QWidget*>("dgdDataGrid1"));
      QObject::connect(view.get(), &q5::gui::PageView::edited,
                       [this](const QString& n) { edits << n; });
    }
    QTableView* table() const { return grid->view(); }
    // Types into the cell of a point: the first key opens the editor, the rest go to it,
    // Enter commits.
    void type(int point, int column, const QString& keys) {
      table()->setFocus();
      table()->setCurrentIndex(grid->model()->index(point - 1, column));
      QTest::keyClick(table(), keys[0].toLatin1());
      // The open editor (one closed before waits hidden for its deletion).
      QLineEdit* editor = nullptr;
      for (auto* e : table()->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
      QVERIFY(editor);
      QTest::keyClicks(editor, keys.mid(1));
      QTest::keyClick(editor, Qt::Key_Return);
      // The cell is committed once the key has been handled.
      QCoreApplication::processEvents();
    }
    // Ctrl+V with the text on the clipboard (taken straight when the platform keeps no
    // clipboard of its own).
    void paste(int row, int column, const QString& text) {
      QGuiApplication::clipboard()->setText(text);
      table()->setFocus();
      table()->setCurrentIndex(grid->model()->index(row, column));
      if (QGuiApplication::clipboard()->text() == text)
        QTest::keyClick(table(), Qt::Key_V, Qt::ControlModifier);
      else
        grid->model()->paste(table()->currentIndex(), text);
    }
    QString cell(int point, int column) const {
      const auto& row = page.dgdDataGrid1[point - 1];
      return QString::fromStdString(column == 1 ? row.x.text : row.y.text);
    }
  };

 private slots:
  void gridShowsThePointsWithTheirColumns() {
    Fixture f;
    QVERIFY(f.grid);
    QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
    auto* m = f.grid->model();
    QCOMPARE(m->rowCount(), 32);
    QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("No."));
    QCOMPARE(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("X[%]"));
    QCOMPARE(m->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Y[%]"));
    QCOMPARE(m->data(m->index(31, 0), Qt::DisplayRole).toInt(), 32);
    QCOMPARE(m->data(m->index(1, 2), Qt::DisplayRole).toString(), QString("322"));
    QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    // The cells are not laid out a second time as text boxes.
    QVERIFY(!f.view->control("dgdX(1)"));
  }

  void keyboardEditTakesIntegersOnly() {
    Fixture f;
    f.type(3, 1, "1234");
    QCOMPARE(f.cell(3, 1), QString("1234"));
    QVERIFY(f.edits.contains("dgdX(3)"));
    // Enter took the cell below, as in a spreadsheet: typing goes on down the column.
    QCOMPARE(f.table()->currentIndex(), f.grid->model()->index(3, 1));
    QTest::keyClick(f.table(), '4');
    QLineEdit* editor = nullptr;
    for (auto* e : f.table()->viewport()->findChildren<QLineEdit*>())
      if (e->isVisible()) editor = e;
    QVERIFY(editor);
    QTest::keyClick(editor, '2');
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(f.cell(4, 1), QString("42"));
    QCOMPARE(f.cell(3, 1), QString("1234"));
    QCOMPARE(f.table()->currentIndex(), f.grid->model()->index(4, 1));
    // Letters and a number past the range are refused while typing.
    f.type(4, 2, "5x9.9");
    QCOMPARE(f.cell(4, 2), QString("599"));
    f.type(5, 1, "99999");
    QCOMPARE(f.cell(5, 1), QString("9999"));
    f.type(6, 1, "-1501");
    QCOMPARE(f.cell(6, 1), QString("-150"));
    // The table takes the grid as the page downloads it.
    f.page.dgd_download();
    QCOMPARE(*f.page.LinearTable_get(3, 0), 1234);
    QCOMPARE(*f.page.LinearTable_get(4, 1), 599);
    // While the page is busy (or monitoring) the cells cannot be edited.
    f.page.txt_able(false);
    f.view->refresh();
    QVERIFY(!(f.grid->model()->flags(f.grid->model()->index(0, 1)) & Qt::ItemIsEditable));
  }

  // The points beyond the number in use are greyed, and follow the points list.
  void pointsNotInUseAreGreyed() {
    Fixture f;
    auto* m = f.grid->model();
    auto grey = [&](int row) { return m->data(m->index(row, 1), Qt::ForegroundRole).isValid(); };
    f.page.CmbLinearizationPoint.index = 0;  // "Disable"
    f.view->refresh();
    QVERIFY(grey(0));
    auto* points = qobject_cast<QComboBox*>(f.view->control("CmbLinearizationPoint"));
    QVERIFY(points);
    points->setCurrentIndex(2);  // "4"
    QCOMPARE(f.page.CmbLinearizationPoint.index, 2);
    QVERIFY(!grey(0));
    QVERIFY(!grey(3));
    QVERIFY(grey(4));
    QVERIFY(m->data(m->index(4, 2), Qt::ToolTipRole).toString().contains("4 points"));
  }

  void pasteOfASpreadsheetColumn() {
    Fixture f;
    // A column of Y values, as a spreadsheet puts it on the clipboard.
    f.paste(0, 2, "100\r\n200\r\n300\r\n");
    QCOMPARE(f.cell(1, 2), QString("100"));
    QCOMPARE(f.cell(2, 2), QString("200"));
    QCOMPARE(f.cell(3, 2), QString("300"));
    QCOMPARE(f.cell(4, 2), QString("967"));  // below the pasted rows: as it was
    QVERIFY(f.edits.contains("dgdY(3)"));
    // Two columns pasted from the "No." column fill X and Y; what is not an integer in
    // range is skipped; rows past point 32 are dropped.
    f.paste(9, 0, "1\t2\nabc\t4\n99999\t6\n");
    QCOMPARE(f.cell(10, 1), QString("1"));
    QCOMPARE(f.cell(10, 2), QString("2"));
    QCOMPARE(f.cell(11, 1), QString("3225"));
    QCOMPARE(f.cell(11, 2), QString("4"));
    QCOMPARE(f.cell(12, 1), QString("3548"));
    QCOMPARE(f.cell(12, 2), QString("6"));
    QCOMPARE(f.grid->model()->paste(f.grid->model()->index(31, 1), "5\n6\n7"), 1);
    QCOMPARE(f.cell(32, 1), QString("5"));
    // Three points pasted rising pass the page's check.
    f.page.CmbLinearizationPoint.index = 1;
    f.paste(0, 1, "0\t-1500\n50\t5000\n11500\t11500");
    QVERIFY(f.page.CheckData());
  }
};

QTEST_MAIN(LinearTableGridTest)
#include "LinearTableGridTest.moc"
