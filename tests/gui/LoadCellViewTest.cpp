// The load-cell page as a person meets it: the load ratio is typed, the total is only
// shown, "Setting 3" stays shut on models without percent data, the rows of "Setting 2"
// say what they are and do not overlap; in the main window a calibration button runs as
// a sequence: nothing else can be started, and no other line goes out, until it ends.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include "../core/AnalogInputTestRig.h"
#include "../core/TestDialogs.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"
#include "pages/frmSG2.h"
#include "qtlink/PortSwitch.h"
#include "sim/SimPort.h"

using q5::gui::frmQ5Con;
using q5::gui::PageView;
using q5::pages::frmSG2;

namespace {

// A port that tells every command line written through it (without its CR).
class WatchedPort : public q5::link::Port {
 public:
  WatchedPort(std::unique_ptr<q5::link::Port> inner, std::function<void(const std::string&)> sent)
      : inner_(std::move(inner)), sent_(std::move(sent)) {}
  bool open(const std::string& n, int b) override { return inner_->open(n, b); }
  void close() override { inner_->close(); }
  bool isOpen() const override { return inner_->isOpen(); }
  bool setBaudRate(int b) override { return inner_->setBaudRate(b); }
  std::size_t bytesWaiting() override { return inner_->bytesWaiting(); }
  bool write(std::string_view d) override {
    const bool ok = inner_->write(d);
    std::string line(d);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (sent_) sent_(line);
    return ok;
  }
  std::string readAll() override { return inner_->readAll(); }
  void waitForBytes(std::int64_t deadline) override { inner_->waitForBytes(deadline); }

 private:
  std::unique_ptr<q5::link::Port> inner_;
  std::function<void(const std::string&)> sent_;
};

// The visible widgets inside a frame that a person reads or uses, in frame coordinates.
QList<QPair<QWidget*, QRect>> Pieces(QWidget* frame) {
  QList<QPair<QWidget*, QRect>> out;
  for (QWidget* w : frame->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(frame)) continue;
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
        !qobject_cast<QPushButton*>(w))
      continue;
    if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) continue;
    if (auto* l = qobject_cast<QLabel*>(w); l && l->text().isEmpty()) continue;
    out.append({w, QRect(w->mapTo(frame, QPoint(0, 0)), w->size())});
  }
  return out;
}

}  // namespace

class LoadCellViewTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

 private slots:
  void pageFieldsAndTabs() {
    AnalogRig rig("Q5T3NML3-6-SG2A");
    frmSG2 page(rig.ctx);
    QVERIFY(page.Init());
    PageView view(page);
    view.resize(760, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // The load ratio is a setting (10 to 100 %): typed, and Download takes it.
    auto* ratio = qobject_cast<QLineEdit*>(view.control("txtZBase(1)"));
    QVERIFY(ratio);
    QVERIFY(!ratio->isReadOnly());
    QVERIFY(ratio->focusPolicy() & Qt::TabFocus);
    ratio->setFocus();
    ratio->selectAll();
    QTest::keyClicks(ratio, QStringLiteral("55"));
    QCOMPARE(page.txtZBase[1].text, std::string("55"));
    // The total of both channels is shown, never typed.
    auto* total = qobject_cast<QLineEdit*>(view.control("txtTotalData"));
    QVERIFY(total);
    QVERIFY(total->isReadOnly());
    QVERIFY(!(total->focusPolicy() & Qt::TabFocus));

    // "Setting 3" (percent data) stays shut on this model, whichever tab is shown.
    auto* tab2 = qobject_cast<QPushButton*>(view.control("cmdSet2"));
    auto* tab3 = qobject_cast<QPushButton*>(view.control("cmdSet3"));
    QVERIFY(tab2 && tab3);
    QVERIFY(!tab3->isEnabled());
    tab2->click();
    QVERIFY(!tab3->isEnabled());
    QVERIFY(view.control("frmSet2")->isVisible());

    // "Setting 2": every channel row and the filter button say what they are; nothing
    // overlaps.
    QWidget* set2 = view.control("frmSet2");
    QStringList captions;
    for (auto* l : set2->findChildren<QLabel*>())
      if (l->isVisibleTo(set2)) captions << l->text();
    QCOMPARE(captions.count(QStringLiteral("CH 0")), 3);
    QCOMPARE(captions.count(QStringLiteral("CH 1")), 3);
    QVERIFY(captions.contains(QStringLiteral("CR Filter")));
    QVERIFY(captions.contains(QStringLiteral("Ext.Voltage")));
    QVERIFY(!view.control("lblChannels"));
    for (QWidget* frame : {view.control("frmSet2"), view.control("frmSet1")}) {
      if (!frame->isVisible()) qobject_cast<QPushButton*>(view.control("cmdSet1"))->click();
      const auto pieces = Pieces(frame);
      QVERIFY(pieces.size() > 10);
      for (int i = 0; i < pieces.size(); ++i)
        for (int j = i + 1; j < pieces.size(); ++j)
          QVERIFY2(!pieces[i].second.intersects(pieces[j].second),
                   qPrintable(pieces[i].first->objectName() + " / " + pieces[j].first->objectName()));
    }
  }

  void calibrationButtonRunsAsASequence() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.portChoices = [] { return std::vector<q5::gui::PortChoice>{}; };
    s.applicationFolder = folder_.path().toStdString();
    frmQ5Con w(s);
    w.show();
    std::vector<std::string> lines;
    std::function<void(const std::string&)> onLine;
    w.portSwitch().setSimFactory([&](const std::string& model) {
      return std::make_unique<WatchedPort>(
          q5::sim::MakeSimPort(model, w.session().exchange().clock()),
          [&](const std::string& line) {
            lines.push_back(line);
            if (onLine) onLine(line);
          });
    });
    w.session().setPortName("sim:Q5T3NML3-6-SG2A");
    w.btnConnect_Click();
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QVERIFY(w.btnUpload->isEnabled());
    auto* autoZero = qobject_cast<QPushButton*>(view->control("cmdAutoZero0"));
    auto* span = qobject_cast<QPushButton*>(view->control("cmdSpan1"));
    QVERIFY(autoZero && span);

    // While Auto Zero waits for the unit, Upload and Start are disabled and a click on
    // another calibration button does nothing.
    bool uploadEnabled = true, startEnabled = true, seen = false;
    onLine = [&](const std::string& line) {
      if (line != "I32" || seen) return;
      seen = true;
      uploadEnabled = w.btnUpload->isEnabled();
      startEnabled = w.btnStart->isEnabled();
      span->click();
      w.btnUpload->click();
    };
    lines.clear();
    autoZero->click();
    QVERIFY(seen);
    QVERIFY(!uploadEnabled);
    QVERIFY(!startEnabled);
    QCOMPARE(lines, (std::vector<std::string>{"G01", "I01", "DF", "G01", "I32", "D", "G00", "I21"}));
    QVERIFY(w.btnUpload->isEnabled());
    QVERIFY(w.btnStart->isEnabled());
    QVERIFY(dialogs_.messages.empty());
    // Afterwards the other button goes out as usual.
    lines.clear();
    span->click();
    QCOMPARE(lines, (std::vector<std::string>{"G02", "I01", "DF", "G02", "I31", "D", "G00", "I22"}));
  }

  // A calibration the unit refuses leaves the page as it was; the status line says that
  // the button was not done, instead of the plain "Connected" of a button that worked.
  void refusedCalibrationIsToldInTheStatusLine() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.portChoices = [] { return std::vector<q5::gui::PortChoice>{}; };
    s.applicationFolder = folder_.path().toStdString();
    frmQ5Con w(s);
    w.show();
    w.portSwitch().setSimFactory([&](const std::string& model) {
      q5::sim::SimOptions o;
      o.faults = {"cng:01/32"};
      return q5::sim::MakeSimPort(model, w.session().exchange().clock(), o);
    });
    w.session().setPortName("sim:Q5T3NML3-6-SG2A");
    w.btnConnect_Click();
    PageView* view = w.currentPageView();
    QVERIFY(view);
    auto* span = qobject_cast<QPushButton*>(view->control("cmdSpan0"));
    span->click();
    QCOMPARE(w.statusBar()->currentMessage(), QString());
    qobject_cast<QPushButton*>(view->control("cmdAutoZero0"))->click();
    QVERIFY2(w.statusBar()->currentMessage().startsWith(QStringLiteral("Auto Zero not done: ")),
             qPrintable(w.statusBar()->currentMessage()));
    QVERIFY(w.btnUpload->isEnabled());
    // The note goes with the next action: it does not stand beside another unit's state.
    w.btnUpload_Click();
    QCOMPARE(w.statusBar()->currentMessage(), QString());
  }
};

QTEST_MAIN(LoadCellViewTest)
#include "LoadCellViewTest.moc"
