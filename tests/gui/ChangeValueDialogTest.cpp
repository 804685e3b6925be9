// "Change Value" in the windows: a click on a live value while monitoring opens it
// (modeless), "Change" hands the typed values to the page, the next pass writes them and
// the page shows them read back; Stop closes it; a refused value says so.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "ChangeValueDialog.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"

using q5::gui::frmComPort;
using q5::gui::frmQ5Con;

namespace {

template <typename W>
W* PageControl(frmQ5Con& w, const char* name) {
  q5::gui::PageView* v = w.currentPageView();
  return v ? qobject_cast<W*>(v->control(name)) : nullptr;
}

template <typename W>
W* DialogControl(QWidget* dialog, const char* name) {
  return dialog ? dialog->findChild<W*>(QString::fromLatin1(name)) : nullptr;
}

}  // namespace

class ChangeValueDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  void connectTo(frmQ5Con& w, const std::string& port) {
    QTimer::singleShot(0, &w, [port] {
      auto* dlg = qobject_cast<frmComPort*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      const int i = dlg->cmbComPort->findData(QString::fromStdString(port));
      QVERIFY(i >= 0);
      dlg->cmbComPort->setCurrentIndex(i);
      dlg->btnExit->click();
    });
    w.btnSetting->click();
  }

  frmQ5Con::Setup setup(const std::string& port) {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.portChoices = [port] {
      return std::vector<q5::gui::PortChoice>{{QStringLiteral("Simulated"), port}};
    };
    s.applicationFolder = folder_.path().toStdString();
    return s;
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  void clickOnALiveValueOpensItAndChangeReachesTheUnit() {
    frmQ5Con w(setup("sim:Q5T3NML3-6-OVF4"));
    w.show();
    connectTo(w, "sim:Q5T3NML3-6-OVF4");
    QVERIFY(w.session().values.Connected);
    auto* live = PageControl<QLineEdit>(w, "txtParData(0)");
    QVERIFY(live);

    // Not monitoring: a click does nothing.
    QTest::mouseClick(live, Qt::LeftButton);
    QVERIFY(!w.changeValueDialog());

    bool opened = false, shownFour = false, titled = false;
    QString shownAfterChange;
    QTimer::singleShot(200, &w, [&] {
      QTest::mouseClick(live, Qt::LeftButton);
      QWidget* d = w.changeValueDialog();
      opened = d && !d->isModal();
      titled = d && d->windowTitle() == QStringLiteral("Change Value");
      // Wide enough for its title beside the title bar's buttons.
      const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
      titled = titled && d->width() >= fm.horizontalAdvance(d->windowTitle()) + 4 * fm.height();
      auto* box3 = DialogControl<QLineEdit>(d, "txtParData(3)");
      shownFour = box3 && box3->isVisible();
      auto* box = DialogControl<QLineEdit>(d, "txtParData(0)");
      auto* change = DialogControl<QPushButton>(d, "cmdSet1");
      if (!box || !change) return;
      QCOMPARE(change->text(), QStringLiteral("Change"));
      box->setText(QStringLiteral("1234"));
      change->click();
      // Stop once the value is read back (a pass takes a few hundred milliseconds on
      // the simulated line), or after five seconds.
      auto* poll = new QTimer(&w);
      QElapsedTimer since;
      since.start();
      connect(poll, &QTimer::timeout, &w, [&, poll, since] {
        shownAfterChange = live->text();
        if (shownAfterChange != QStringLiteral("1234") && since.elapsed() < 5000) return;
        poll->stop();
        w.btnStop->click();
      });
      poll->start(50);
    });
    w.btnStart->click();  // returns when monitoring has ended
    QVERIFY(opened);
    QVERIFY(titled);
    QVERIFY(shownFour);
    QCOMPARE(shownAfterChange, QStringLiteral("1234"));
    QVERIFY(dialogs_.messages.empty());
    // Stop closes the dialog.
    QVERIFY(!w.changeValueDialog());
  }

  void secondClickKeepsTypedValuesAndClosingReloads() {
    frmQ5Con w(setup("sim:Q5T3NML3-6-OVF4"));
    w.show();
    connectTo(w, "sim:Q5T3NML3-6-OVF4");
    QVERIFY(w.session().values.Connected);
    auto* live = PageControl<QLineEdit>(w, "txtParData(0)");
    auto* live2 = PageControl<QLineEdit>(w, "txtParData(2)");
    QVERIFY(live && live2);
    QString afterSecondClick, afterOtherBox, afterReopen, present;
    bool stillOne = false;
    QTimer::singleShot(200, &w, [&] {
      QTest::mouseClick(live, Qt::LeftButton);
      QWidget* d = w.changeValueDialog();
      auto* box = DialogControl<QLineEdit>(d, "txtParData(0)");
      if (!box) return;
      // A person types a value, then clicks a live value again (the same or another)
      // before pressing "Change": what was typed stays in the box.
      box->setFocus();
      box->selectAll();
      QTest::keyClicks(box, QStringLiteral("777"));
      QTest::mouseClick(live, Qt::LeftButton);
      afterSecondClick = box->text();
      QTest::mouseClick(live2, Qt::LeftButton);
      afterOtherBox = box->text();
      stillOne = w.changeValueDialog() == d;
      // Closed with its X (Escape): the next click shows the present values again.
      QTest::keyClick(d, Qt::Key_Escape);
      QTest::mouseClick(live, Qt::LeftButton);
      QWidget* again = w.changeValueDialog();
      auto* box2 = DialogControl<QLineEdit>(again, "txtParData(0)");
      afterReopen = box2 ? box2->text() : QString();
      present = live->text();
      w.btnStop->click();
    });
    w.btnStart->click();
    QCOMPARE(afterSecondClick, QStringLiteral("777"));
    QCOMPARE(afterOtherBox, QStringLiteral("777"));
    QVERIFY(stillOne);
    QVERIFY(afterReopen != QStringLiteral("777"));
    QCOMPARE(afterReopen, present);
    QVERIFY(dialogs_.messages.empty());
  }

  void refusedValueSaysSoAndTwoChannelsShowTwoBoxes() {
    frmQ5Con w(setup("sim:Q5T3NML-6-OVF2"));
    w.show();
    connectTo(w, "sim:Q5T3NML-6-OVF2");
    QVERIFY(w.session().values.Connected);
    auto* live = PageControl<QLineEdit>(w, "txtParData(0)");
    QVERIFY(live);
    bool twoBoxes = false;
    QTimer::singleShot(200, &w, [&] {
      QTest::mouseClick(live, Qt::LeftButton);
      QWidget* d = w.changeValueDialog();
      auto* box1 = DialogControl<QLineEdit>(d, "txtParData(1)");
      auto* box2 = DialogControl<QLineEdit>(d, "txtParData(2)");
      twoBoxes = box1 && box1->isVisible() && box2 && !box2->isVisible();
      if (box1) box1->setText(QStringLiteral("40000"));
      if (auto* change = DialogControl<QPushButton>(d, "cmdSet1")) change->click();
      w.btnStop->click();
    });
    w.btnStart->click();
    QVERIFY(twoBoxes);
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(dialogs_.messages[0].caption),
             QStringLiteral("Data Range Error"));
    QVERIFY(!w.session().page() || w.session().page()->name() == "frmOVF4");
  }
};

QTEST_MAIN(ChangeValueDialogTest)
#include "ChangeValueDialogTest.moc"
