// The analog output and temperature pages as a person reads them: channel headers over
// every table, zero/full base shown as values where the page only shows them and typed
// where they are settings, and the blocks of the second tab lined up with its table.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"

using q5::gui::frmQ5Con;
using q5::gui::PageView;

namespace {

// The visible labels under a widget whose text is exactly `text`.
QList<QLabel*> Labels(QWidget* under, const QString& text) {
  QList<QLabel*> out;
  for (QLabel* l : under->findChildren<QLabel*>())
    if (l->text() == text && l->isVisibleTo(under)) out << l;
  return out;
}

// The left edge of a widget in the coordinates of `to`.
int LeftIn(QWidget* w, QWidget* to) { return w->mapTo(to, QPoint(0, 0)).x(); }

}  // namespace

class OutputPageViewTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  frmQ5Con::Setup setup() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.applicationFolder = folder_.path().toStdString();
    return s;
  }

  // Connects to a simulated unit and returns its page view (made large enough to show
  // every row, unless keepSize: then it has the size the main window gives a page).
  PageView* connect(frmQ5Con& w, const std::string& port, bool keepSize = false) {
    w.session().setPortName(port);
    w.btnConnect_Click();
    if (!w.session().values.Connected) return nullptr;
    PageView* v = w.currentPageView();
    if (v && !keepSize) v->resize(v->sizeHint().expandedTo(QSize(900, 700)));
    QCoreApplication::processEvents();
    return v;
  }

  void press(PageView* v, const char* tab) {
    if (auto* b = qobject_cast<QPushButton*>(v->control(tab))) b->click();
    QCoreApplication::processEvents();
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  // Both tabs of a four-channel output page have their "CH 0" ... "CH 3" over the
  // columns (the second table of the same channels was left with blank headers).
  void everyTableHasItsChannelHeaders() {
    frmQ5Con w(setup());
    w.show();
    PageView* v = connect(w, "sim:Q5T3NML3-6-OVF4");
    QVERIFY(v);
    for (const char* tab : {"frmSet1", "frmSet2"}) {
      press(v, tab == std::string("frmSet1") ? "cmdSet1" : "cmdSet2");
      QWidget* frame = v->control(tab);
      QVERIFY(frame && frame->isVisible());
      for (int k = 0; k < 4; ++k)
        QVERIFY2(Labels(frame, QStringLiteral("CH %1").arg(k)).size() == 1,
                 qPrintable(QStringLiteral("%1: CH %2").arg(QLatin1String(tab)).arg(k)));
    }
    // Two channels of the unit: the headers of the others go with their columns.
    frmQ5Con w2(setup());
    w2.show();
    PageView* v2 = connect(w2, "sim:Q5T3NML3-6-OV2");
    QVERIFY(v2);
    QWidget* frame = v2->control("frmSet1");
    QCOMPARE(Labels(frame, QStringLiteral("CH 1")).size(), 1);
    QCOMPARE(Labels(frame, QStringLiteral("CH 2")).size(), 0);
  }

  // Zero and full base: on the pages that only show them, read-only values with their
  // captions in the normal colour; where the page writes them (voltage output of two
  // channels, thermocouple temperatures) they are fields a person types into.
  void basesShownOnlyWhereThePageOnlyShowsThem() {
    struct Case {
      const char* port;
      const char* caption;
      bool shownOnly;
    } cases[] = {{"sim:Q5T3NML3-6-AI4", "Zero base", true},
                 {"sim:Q5T3NML3-6-OVF4", "Zero base", true},
                 {"sim:Q5T3NML3-6-OV2", "Zero base", false},
                 {"sim:Q5T3NML3-6-OCF4", "Full base", false},
                 {"sim:Q5T3NML3-6-TC4", "Zero temp", false}};
    for (const Case& c : cases) {
      frmQ5Con w(setup());
      w.show();
      PageView* v = connect(w, c.port);
      QVERIFY2(v, c.port);
      auto* base = qobject_cast<QLineEdit*>(v->control("txtZBase(0)"));
      QVERIFY2(base && base->isVisible(), c.port);
      QCOMPARE(base->isReadOnly(), c.shownOnly);
      QVERIFY2(base->isEnabled(), c.port);
      QVERIFY2(!base->text().isEmpty(), c.port);
      const QList<QLabel*> captions = Labels(v, QString::fromLatin1(c.caption));
      QVERIFY2(captions.size() == 1, c.port);
      QVERIFY2(captions[0]->isEnabled(), c.port);
      if (c.shownOnly) {
        // Typing into a value shown only changes nothing.
        const QString before = base->text();
        base->setFocus();
        QTest::keyClicks(base, QStringLiteral("9"));
        QCOMPARE(base->text(), before);
      } else {
        base->selectAll();
        QTest::keyClicks(base, QStringLiteral("-5.00"));
        QCOMPARE(base->text(), QStringLiteral("-5.00"));
        QVERIFY2(w.session().pageEdited(), c.port);
      }
      // While monitoring the settings grey; a value shown only stays readable, and so
      // does its caption.
      bool greyed = false, captionKept = false;
      QTimer::singleShot(300, &w, [&] {
        greyed = !qobject_cast<QLineEdit*>(v->control("txtZScale(0)"))->isEnabled();
        captionKept = captions[0]->isEnabled() == c.shownOnly;
        w.btnStop->click();
      });
      w.btnStart->click();
      QVERIFY2(greyed, c.port);
      QVERIFY2(captionKept, c.port);
    }
  }

  // Four channels of settings with the hold/clear frame beside them still fit the
  // page's width: no horizontal scrolling.
  void fourChannelsFitThePage() {
    for (const char* port : {"sim:Q5T3NE-6-AI4", "sim:Q5T3NE-6-TC4", "sim:Q5T3NML3-6-OVF4"}) {
      frmQ5Con w(setup());
      w.show();
      PageView* v = connect(w, port, true);
      QVERIFY2(v, port);
      for (const char* tab : {"cmdSet1", "cmdSet2"}) {
        press(v, tab);
        auto* scroll = v->findChild<QScrollArea*>(QStringLiteral("VScroll1"));
        QVERIFY(scroll);
        QVERIFY2(!scroll->horizontalScrollBar()->isVisible(), port);
      }
    }
  }

  // The second tab: the hold/clear choice and the clear value's range stand in the
  // table's columns, their captions in its caption column.
  void secondTabBlocksLineUpWithTheTable() {
    struct Case {
      const char* port;
      const char* row;  // a control in the row that should line up
    } cases[] = {{"sim:Q5T3NML3-6-OVF4", "CmbOutputHold"},
                 {"sim:Q5T3NE-6-OV2", "optKeepOn"},
                 {"sim:Q5T3NE-6-TC4", "optKeepOn"}};
    for (const Case& c : cases) {
      frmQ5Con w(setup());
      w.show();
      PageView* v = connect(w, c.port);
      QVERIFY2(v, c.port);
      press(v, "cmdSet2");
      QWidget* frame = v->control("frmSet2");
      QWidget* row = v->control(c.row);
      QWidget* column = nullptr;
      for (const char* first : {"cmbUserRange(0)", "txtOutputClearValue(0)"})
        if (QWidget* cell = v->control(first); cell && cell->isVisible()) column = cell;
      QVERIFY2(frame && row && column && row->isVisible(), c.port);
      QCOMPARE(LeftIn(row, frame), LeftIn(column, frame));
      // The row's caption stands where the table's captions stand.
      const QString caption = std::string(c.row) == "CmbOutputHold"
                                  ? QStringLiteral("Output Clear/Hold")
                                  : QStringLiteral("Output Hold/Clear");
      const QList<QLabel*> rowCaption = Labels(frame, caption);
      const QList<QLabel*> tableCaption =
          Labels(frame, std::string(c.port).find("TC4") != std::string::npos
                            ? QStringLiteral("Unit")
                            : QStringLiteral("Output range"));
      QVERIFY2(rowCaption.size() == 1, c.port);
      if (!tableCaption.isEmpty())
        QCOMPARE(LeftIn(rowCaption[0], frame), LeftIn(tableCaption[0], frame));
    }
  }
};

QTEST_MAIN(OutputPageViewTest)
#include "OutputPageViewTest.moc"
