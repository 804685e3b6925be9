// Every control of a page within reach at the page's normal size, and nothing on a page
// that says nothing: the lower rows of the 32-channel pulse page scroll into view, the
// one-channel pulse page has one column and its mode note breaks within the page, a
// tab that would hold nothing is not offered, the burnout lamps say what they are, and
// the tab shown looks apart from a tab that cannot be chosen.
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "IndicatorBox.h"
#include "PageView.h"
#include "frmQ5Con.h"

using q5::gui::frmQ5Con;
using q5::gui::PageView;

class PageReachTest : public QObject {
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

  // The page view of a simulated unit, at the size the main window gives a page.
  PageView* connect(frmQ5Con& w, const std::string& port) {
    w.show();
    w.session().setPortName(port);
    w.btnConnect_Click();
    QCoreApplication::processEvents();
    return w.session().values.Connected ? w.currentPageView() : nullptr;
  }

  static void press(PageView* v, const char* tab) {
    if (auto* b = qobject_cast<QPushButton*>(v->control(tab))) b->click();
    QCoreApplication::processEvents();
  }

  // Whether the whole widget lies inside the scroll area's viewport now.
  static bool InView(QScrollArea* scroll, QWidget* w) {
    const QRect r(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
    return scroll->viewport()->rect().contains(r);
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  void lowerRowsOfThe32ChannelPulsePageScrollIntoView() {
    frmQ5Con w(setup());
    PageView* v = connect(w, "sim:Q5V3PM-BI32");
    QVERIFY(v);
    auto* scroll = v->findChild<QScrollArea*>(QStringLiteral("VScroll1"));
    QVERIFY(scroll);
    QWidget* preset = v->control("cmdPreset(7)");
    QVERIFY(preset && preset->isVisibleTo(v));
    // At the top: the thumb at the top too, and the contents where the bar says.
    QScrollBar* bar = scroll->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->minimum());
    QCoreApplication::processEvents();
    QCOMPARE(scroll->widget()->y(), -bar->value());
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    QCOMPARE(scroll->widget()->y(), -bar->value());
    QVERIFY2(InView(scroll, preset), "CH 7's preset button cannot be scrolled into view");
    // A pass of live values later it is still there.
    v->refresh();
    QCoreApplication::processEvents();
    QVERIFY(InView(scroll, preset));
  }

  void oneChannelPulsePageHasOneColumnAndANoteThatFits() {
    frmQ5Con w(setup());
    PageView* v = connect(w, "sim:Q5T3NML3-6-PI1/A");
    QVERIFY(v);
    QVERIFY2(w.currentSubWindow()->windowTitle().contains(QStringLiteral("1 channel")),
             qPrintable(w.currentSubWindow()->windowTitle()));
    press(v, "cmdSet2");
    for (const char* list : {"CmbDataType(0)", "CmbSpeedFreqRange(0)"})
      QVERIFY2(v->control(list)->isVisibleTo(v), list);
    for (const char* list : {"CmbDataType(1)", "CmbSpeedFreqRange(1)", "CmbPositionCntMode(1)",
                             "CmbPositionDataType(1)"})
      QVERIFY2(!v->control(list)->isVisibleTo(v), list);
    auto* note = qobject_cast<QLabel*>(v->control("lblModes"));
    QVERIFY(note && note->isVisibleTo(v));
    auto* scroll = v->findChild<QScrollArea*>(QStringLiteral("VScroll1"));
    QVERIFY2(!scroll->horizontalScrollBar()->isVisible(), "the page scrolls sideways");
    QVERIFY(note->mapTo(scroll->viewport(), QPoint(note->width(), 0)).x() <= scroll->viewport()->width());
    QVERIFY(note->text().contains(QStringLiteral("Mode3")));
  }

  void emptyTabsAreNotOfferedAndBurnoutLampsAreNamed() {
    {
      frmQ5Con w(setup());
      PageView* v = connect(w, "sim:Q5T3NML3-6-OC2");
      QVERIFY(v);
      QVERIFY(!v->control("cmdSet2")->isVisibleTo(v));
      QVERIFY(v->control("txtZScale(1)")->isVisibleTo(v));
    }
    {
      // Behind a network module the output hold/clear fills "Setting 2".
      frmQ5Con w(setup());
      PageView* v = connect(w, "sim:Q5T3NML3-6-OVF4");
      QVERIFY(v);
      QVERIFY(v->control("cmdSet2")->isVisibleTo(v));
    }
    frmQ5Con w(setup());
    PageView* v = connect(w, "sim:Q5T3NML3-6-RT4");
    QVERIFY(v);
    for (int i = 0; i < 4; ++i) {
      auto* lamp = qobject_cast<q5::gui::IndicatorBox*>(v->control("Text1(" + std::to_string(i) + ")"));
      QVERIFY(lamp);
      QCOMPARE(lamp->text(), QStringLiteral("Burnout"));
    }
  }

  // A Download reads the unit back into the page; the tab it was made from stays shown.
  void downloadKeepsTheTabShown() {
    frmQ5Con w(setup());
    PageView* v = connect(w, "sim:Q5T3NML3-6-LNRIO1");
    QVERIFY(v);
    press(v, "cmdSet2");
    QVERIFY(v->page().frmSet[1].visible);
    w.btnDownload_Click();
    QVERIFY(w.session().values.Connected);
    QVERIFY(v->page().frmSet[1].visible);
    QVERIFY(!v->page().frmSet[0].visible);
    QVERIFY(v->control("frmSet2")->isVisibleTo(v));
  }

  // On the load-cell page the tab shown and a tab that cannot be chosen are both
  // disabled buttons; the one shown is drawn apart (bold, on the highlight).
  void tabShownLooksApartFromATabThatCannotBeChosen() {
    frmQ5Con w(setup());
    PageView* v = connect(w, "sim:Q5T3NML3-6-SG2A");
    QVERIFY(v);
    auto* shown = qobject_cast<QPushButton*>(v->control("cmdSet1"));
    auto* other = qobject_cast<QPushButton*>(v->control("cmdSet2"));
    QVERIFY(shown && other);
    QVERIFY(!shown->isEnabled());
    QVERIFY(shown->font().bold());
    QVERIFY(!other->font().bold());
    press(v, "cmdSet2");
    QVERIFY(other->font().bold());
    QVERIFY(!shown->font().bold());
    // Every tab greyed (as while the page reads the unit): none is drawn as shown.
    for (auto& b : v->page().cmdSet) b.enabled = false;
    for (auto& f : v->page().frmSet) f.visible = false;
    v->refresh();
    QVERIFY(!other->font().bold());
    QVERIFY(!shown->font().bold());
  }
};

QTEST_MAIN(PageReachTest)
#include "PageReachTest.moc"
