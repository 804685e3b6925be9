// The windows during a sequence, tried as a person on site would: what the page shows
// while the unit answers, keys typed meanwhile, page windows closed or minimised, the
// port dialog and the progress window while connecting.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmLoading.h"
#include "frmQ5Con.h"

using q5::gui::frmComPort;
using q5::gui::frmQ5Con;
using q5::gui::PageView;

namespace {

std::vector<q5::gui::PortChoice> SimChoices() {
  std::vector<q5::gui::PortChoice> out;
  for (const auto& s : q5::gui::SimulatedUnits())
    out.push_back({QString::fromStdString("Simulated (" + s + ")"), s});
  return out;
}

// Picks the port in "Com Setting" and clicks OK.
void ConnectThroughDialog(frmQ5Con& w, const std::string& port) {
  QTimer::singleShot(0, &w, [port] {
    auto* dlg = qobject_cast<frmComPort*>(QApplication::activeModalWidget());
    QVERIFY(dlg);
    dlg->cmbComPort->setCurrentIndex(dlg->cmbComPort->findData(QString::fromStdString(port)));
    dlg->btnExit->click();
  });
  w.btnSetting->click();
}

// Runs f every few milliseconds while the window's next action runs.
class Watcher {
 public:
  Watcher(QObject* owner, std::function<void()> f) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, owner, std::move(f));
    timer_.start();
  }
 private:
  QTimer timer_;
};

QLineEdit* Edit(PageView* v, const char* name) {
  return v ? qobject_cast<QLineEdit*>(v->control(name)) : nullptr;
}

}  // namespace

class SequenceViewTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  frmQ5Con::Setup setup(bool qtDialogs = false) {
    frmQ5Con::Setup s;
    if (!qtDialogs) s.dialogs = &dialogs_;
    s.portChoices = SimChoices;
    s.applicationFolder = folder_.path().toStdString();
    return s;
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  // While the page reads the unit, its fields are greyed as soon as the page disables
  // them; what is typed then does not reach the page, and the page ends with the unit's
  // values.
  void keysTypedDuringUploadDoNotSurviveIt() {
    frmQ5Con w(setup());
    w.show();
    ConnectThroughDialog(w, "sim:Q5T3NML3-6-AI4");
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QLineEdit* zero = Edit(view, "txtZScale(0)");
    QVERIFY(zero && zero->isEnabled());
    const QString unitValue = zero->text();
    QVERIFY(!unitValue.isEmpty());

    bool sawGreyDuringProgress = false, typed = false;
    int greyAtSecondLook = 0;
    Watcher watch(&w, [&] {
      // The progress window is up and the first channel has been read: the page's Init
      // has disabled its fields.
      if (!dialogs_.progressShown || dialogs_.progressValue < 1 || typed) return;
      sawGreyDuringProgress = !zero->isEnabled();
      // A key press on the greyed field, and a value set on the widget as an input
      // method or a late event would: neither may reach the page.
      QTest::keyClicks(zero, QStringLiteral("999"));
      zero->setText(QStringLiteral("12345"));
      greyAtSecondLook = zero->isEnabled() ? -1 : 1;
      typed = true;
    });
    w.btnUpload->click();
    QVERIFY(typed);
    QVERIFY(sawGreyDuringProgress);
    QCOMPARE(greyAtSecondLook, 1);
    QVERIFY(view->binder().refusedEdits() >= 1);
    QCOMPARE(Edit(w.currentPageView(), "txtZScale(0)")->text(), unitValue);
    QVERIFY(Edit(w.currentPageView(), "txtZScale(0)")->isEnabled());
    QVERIFY(dialogs_.messages.empty());
  }

  // Closing a page window with its X or minimising it never loses the page: Upload,
  // Start and "Window", "Page" bring it back, restored and filled.
  void closedOrMinimisedPageComesBack() {
    frmQ5Con w(setup());
    w.show();
    ConnectThroughDialog(w, "sim:Q5T3NML3-6-AI4");
    QMdiSubWindow* sub = w.currentSubWindow();
    QVERIFY(sub);
    sub->close();
    QVERIFY(!sub->isVisible());
    w.btnUpload->click();
    QVERIFY(sub->isVisible());
    QVERIFY(sub->widget()->isVisible());
    QVERIFY(!Edit(w.currentPageView(), "txtZScale(0)")->text().isEmpty());
    QCOMPARE(sub->size(), QSize(w.twips(9650), w.twips(7400)));

    // Minimised, then Start: the live values show on a restored page.
    sub->showMinimized();
    QVERIFY(sub->isMinimized());
    bool restoredWhileMonitoring = false;
    QTimer::singleShot(200, &w, [&] {
      restoredWhileMonitoring = !sub->isMinimized() && sub->widget()->isVisible();
      w.btnStop->click();
    });
    w.btnStart->click();
    QVERIFY(restoredWhileMonitoring);

    // Closed again: the Window menu's Page item shows it.
    sub->close();
    QVERIFY(w.mnuWindowPage->isEnabled());
    w.mnuWindowPage->trigger();
    QVERIFY(sub->isVisible() && sub->widget()->isVisible());
    QVERIFY(!Edit(w.currentPageView(), "txtZScale(0)")->text().isEmpty());
  }

  // Connecting from "Setting": the port dialog is gone before the unit is read, the
  // progress window is up while the page loads, and the page of the unit connected
  // before is never shown under the new unit's model.
  void connectingFromSettingShowsProgressAndNoStalePage() {
    frmQ5Con w(setup(true));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ConnectThroughDialog(w, "sim:Q5W3NEIP-BI16");
    QCOMPARE(w.currentPageView()->objectName(), QStringLiteral("frmBI16"));
    w.btnDisconnect->click();

    bool sawProgress = false, progressUnderDialog = false, stalePage = false;
    Watcher watch(&w, [&] {
      QWidget* dialog = nullptr;
      q5::gui::frmLoading* loading = nullptr;
      for (QWidget* t : QApplication::topLevelWidgets()) {
        if (!t->isVisible()) continue;
        if (auto* d = qobject_cast<frmComPort*>(t)) dialog = d;
        if (auto* l = qobject_cast<q5::gui::frmLoading*>(t)) loading = l;
      }
      if (loading) {
        sawProgress = true;
        if (dialog) progressUnderDialog = true;
      }
      PageView* v = w.pageView();
      if (v && v->isVisible() && v->objectName() == QStringLiteral("frmBI16") &&
          w.lblMastertype->text() != QStringLiteral("Q5W3NEIP-BI16"))
        stalePage = true;
    });
    ConnectThroughDialog(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(sawProgress);
    QVERIFY(!progressUnderDialog);
    QVERIFY(!stalePage);
    QCOMPARE(w.currentPageView()->objectName(), QStringLiteral("frmAI4"));
    QCOMPARE(w.lblMastertype->text(), QStringLiteral("Q5T3NML3-6-AI4"));
  }
};

QTEST_MAIN(SequenceViewTest)
#include "SequenceViewTest.moc"
