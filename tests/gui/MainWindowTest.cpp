// The main window driven as a person would: pick a simulated unit in the port dialog,
// connect, edit the page, Download, monitor, disconnect; and the ways out of a sequence.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QStatusBar>
#include <QtTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "../core/TestDialogs.h"
#include "ControlBinder.h"
#include "ElidedLabel.h"
#include "IndicatorBox.h"
#include "LampWidget.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmNONE.h"
#include "frmQ5Con.h"
#include "config/ModelSelect.h"
#include "qtlink/PortSwitch.h"

using q5::gui::frmComPort;
using q5::gui::frmQ5Con;
using q5::gui::IndicatorBox;
using q5::gui::PageView;

namespace {

constexpr std::uint32_t kGreenLamp = 0x00F000;
constexpr std::uint32_t kYellowLamp = 0xFFFF80;
constexpr std::uint32_t kBlueLamp = 0x000080;

// Only simulated units: the list does not depend on the ports of the machine.
std::vector<q5::gui::PortChoice> SimChoices() {
  std::vector<q5::gui::PortChoice> out;
  for (const auto& s : q5::gui::SimulatedUnits())
    out.push_back({QString::fromStdString("Simulated (" + s + ")"), s});
  return out;
}

QString Plain(const QString& caption) { return QString(caption).remove(QLatin1Char('&')); }

template <typename W>
W* Control(frmQ5Con& w, const char* name) {
  PageView* v = w.currentPageView();
  return v ? qobject_cast<W*>(v->control(name)) : nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  frmQ5Con::Setup setup() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.portChoices = SimChoices;
    s.applicationFolder = folder_.path().toStdString();
    return s;
  }

  // Opens the port dialog with the Setting button, chooses the entry for port, clicks OK.
  static void ConnectThroughDialog(frmQ5Con& w, const std::string& port, QString* buttonText) {
    QTimer::singleShot(0, &w, [port, buttonText] {
      auto* dlg = qobject_cast<frmComPort*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      QCOMPARE(dlg->windowTitle(), QStringLiteral("Com Setting"));
      QCOMPARE(dlg->fraPortNo->title(), QStringLiteral("Port No."));
      *buttonText = dlg->btnExit->text();
      const int i = dlg->cmbComPort->findData(QString::fromStdString(port));
      QVERIFY(i >= 0);
      dlg->cmbComPort->setCurrentIndex(i);
      dlg->btnExit->click();
    });
    w.btnSetting->click();
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  void startsDisconnectedWithOnlySettingEnabled() {
    frmQ5Con w(setup());
    w.show();
    QCOMPARE(w.shpLamp->colour(), kBlueLamp);
    QCOMPARE(w.lblConStatus->text(), QStringLiteral("Disconnected"));
    QCOMPARE(w.lblMastertype->text(), QStringLiteral("Welcome"));
    QVERIFY(w.btnSetting->isEnabled());
    for (QPushButton* b : {w.btnStart, w.btnStop, w.btnConnect, w.btnDisconnect, w.btnUpload,
                           w.btnDownload, w.btnComNet})
      QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    // Captions, with the keyboard mnemonics taken out.
    QCOMPARE(Plain(w.btnUpload->text()), QStringLiteral("Upload"));
    QCOMPARE(Plain(w.btnDownload->text()), QStringLiteral("Download"));
    QCOMPARE(Plain(w.btnStart->text()), QStringLiteral("Start"));
    QCOMPARE(Plain(w.btnStop->text()), QStringLiteral("Stop"));
    QCOMPARE(Plain(w.btnSetting->text()), QStringLiteral("Setting"));
    QCOMPARE(Plain(w.btnConnect->text()), QStringLiteral("Connect"));
    QCOMPARE(Plain(w.btnDisconnect->text()), QStringLiteral("Disconnect"));
    // Menus: DebugInfo and FirmUpdate only with their switches.
    QVERIFY(!w.mnuDebugInfo->isVisible());
    QVERIFY(!w.mnuFirmUpdate->isVisible());
    // The window's size: 12120 x 8800 twips.
    QCOMPARE(w.width(), w.twips(12120));
  }

  void debugSwitchShowsDebugInfo() {
    auto s = setup();
    s.args = {"-debug"};
    frmQ5Con w(s);
    QVERIFY(w.mnuDebugInfo->isVisible());
    QVERIFY(w.mnuDebugInfo->isEnabled());
    QVERIFY(!w.mnuFirmUpdate->isVisible());
  }

  // Both switches together turn neither mode on (each works alone); the status line says
  // why the two Help items are missing.
  void bothSwitchesTogetherAreNamedInTheStatusLine() {
    auto s = setup();
    s.args = {"-firmupdate", "-debug"};
    frmQ5Con w(s);
    QVERIFY(!w.mnuDebugInfo->isVisible());
    QVERIFY(!w.mnuFirmUpdate->isVisible());
    const QString note = w.statusBar()->currentMessage();
    QVERIFY2(note.contains(QStringLiteral("-firmupdate")) && note.contains(QStringLiteral("-debug")),
             qPrintable(note));
  }

  // The whole cycle on a 32-point input unit.
  void discreteUnitConnectEditDownloadMonitorDisconnect() {
    frmQ5Con w(setup());
    w.show();
    QString okCaption;
    ConnectThroughDialog(w, "sim:Q5W3NEIP-BI32", &okCaption);
    QCOMPARE(okCaption, QStringLiteral("OK"));
    QVERIFY2(dialogs_.messages.empty(), dialogs_.events.empty() ? "" : dialogs_.events[0].c_str());

    QCOMPARE(w.lblConStatus->text(), QStringLiteral("Connected"));
    QCOMPARE(w.shpLamp->colour(), kGreenLamp);
    QCOMPARE(w.lblMastertype->text(), QStringLiteral("Q5W3NEIP-BI32"));
    QVERIFY(w.lblVersionNo->text().startsWith(QStringLiteral("Version : ")));
    QVERIFY(!w.btnSetting->isEnabled() || !w.btnConnect->isEnabled());
    QVERIFY(w.btnDownload->isEnabled());

    // The page opened at the top-left of the page area with its fixed size.
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QStringLiteral("frmBI32"));
    QCOMPARE(w.currentSubWindow()->pos(), QPoint(0, 0));
    QCOMPARE(w.currentSubWindow()->size(), QSize(w.twips(9650), w.twips(7400)));
    auto* type = Control<QLabel>(w, "lblV_Unit");
    QVERIFY(type);
    QCOMPARE(type->text(), QStringLiteral("BI32"));

    // The port name on one line, whole in its tool tip; the points 10 to 1F numbered on
    // one line each, above their boxes.
    QCOMPARE(w.lblComPortNo->text(), QStringLiteral("sim:Q5W3NEIP-BI32"));
    QCOMPARE(w.lblComPortNo->toolTip(), QStringLiteral("sim:Q5W3NEIP-BI32"));
    QVERIFY(w.lblComPortNo->height() < 2 * w.lblComPortNo->fontMetrics().height());
    QStringList numbers;
    for (QLabel* l : view->findChildren<QLabel*>())
      if (l->text().size() == 2 && l->text().startsWith(QLatin1Char('1')) && l->isVisibleTo(view))
        numbers << l->text();
    numbers.sort();
    QCOMPARE(numbers.size(), 16);
    QCOMPARE(numbers.front(), QStringLiteral("10"));
    QCOMPARE(numbers.back(), QStringLiteral("1F"));

    // The live values were read once: every box is green or red.
    for (int i = 0; i < 16; ++i) {
      auto* box = Control<IndicatorBox>(w, qPrintable(QStringLiteral("txtChData(%1)").arg(i)));
      QVERIFY(box);
      QVERIFY(box->colour() == 0x00FF00 || box->colour() == 0xFF0000);
    }

    // Choose another conversion rate, Download; the re-Upload brings it back.
    auto* rate = Control<QComboBox>(w, "CmbConvSpeed");
    QVERIFY(rate);
    QCOMPARE(rate->count(), 8);
    QCOMPARE(rate->itemText(0), QStringLiteral("10ms"));
    QCOMPARE(rate->itemText(1), QStringLiteral("1ms"));
    QVERIFY(rate->isEnabled());
    const int chosen = rate->currentIndex() == 6 ? 4 : 6;
    rate->setCurrentIndex(chosen);
    w.btnDownload->click();
    QVERIFY(dialogs_.messages.empty());
    rate = Control<QComboBox>(w, "CmbConvSpeed");
    QCOMPARE(rate->currentIndex(), chosen);
    // Set the list to another value and read the unit again, throwing the edit away:
    // still the downloaded one.
    rate->setCurrentIndex(0);
    dialogs_.saveAnswers = {q5::ui::SaveAnswer::Discard};
    w.btnUpload->click();
    QCOMPARE(dialogs_.questions.size(), std::size_t{1});
    QCOMPARE(Control<QComboBox>(w, "CmbConvSpeed")->currentIndex(), chosen);

    // Start: the lamp turns light yellow and only Stop / Disconnect are enabled; Stop
    // (clicked while the loop runs) ends it.
    bool sawMonitoring = false;
    QTimer::singleShot(300, &w, [&] {
      sawMonitoring = w.shpLamp->colour() == kYellowLamp && w.btnStop->isEnabled() &&
                      !w.btnStart->isEnabled() && !w.mnuFiles->menuAction()->isEnabled();
      w.btnStop->click();
    });
    w.btnStart->click();  // returns when monitoring has ended
    QVERIFY(sawMonitoring);
    QCOMPARE(w.shpLamp->colour(), kGreenLamp);
    QVERIFY(w.btnStart->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());

    w.btnDisconnect->click();
    QCOMPARE(w.shpLamp->colour(), kBlueLamp);
    QCOMPARE(w.lblConStatus->text(), QStringLiteral("Disconnected"));
    QVERIFY(dialogs_.messages.empty());
  }

  // The analog page: tabs, a scale edit, Download and the re-Upload, the progress window.
  void analogUnitTabsAndScaleEdit() {
    frmQ5Con w(setup());
    w.show();
    QString ok;
    ConnectThroughDialog(w, "sim:Q5T3NML3-6-AI4", &ok);
    QVERIFY(dialogs_.messages.empty());
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QStringLiteral("frmAI4"));
    QVERIFY(!dialogs_.progressShown);
    QVERIFY(dialogs_.progressOpens >= 1);
    QCOMPARE(dialogs_.progressCaption, std::string("Initializing"));

    auto* tab1 = Control<QPushButton>(w, "cmdSet1");
    auto* tab2 = Control<QPushButton>(w, "cmdSet2");
    QVERIFY(tab1 && tab2);
    QCOMPARE(tab1->text(), QStringLiteral("Setting 1"));
    QCOMPARE(tab2->text(), QStringLiteral("Setting 2"));
    QVERIFY(!tab1->isEnabled());  // the disabled button marks the tab shown
    auto* range = Control<QComboBox>(w, "cmbUserRange(0)");
    QVERIFY(range);
    QVERIFY(!range->isVisibleTo(view));
    tab2->click();
    QVERIFY(range->isVisibleTo(view));
    QVERIFY(!Control<QLineEdit>(w, "txtZScale(0)")->isVisibleTo(view));
    tab1->click();

    auto* zero = Control<QLineEdit>(w, "txtZScale(0)");
    QVERIFY(zero && zero->isEnabled());
    QVERIFY(Control<QLineEdit>(w, "txtZBase(0)")->isReadOnly());  // shown only
    const QString typed = zero->text() == QStringLiteral("100") ? QStringLiteral("200")
                                                                 : QStringLiteral("100");
    zero->selectAll();
    QTest::keyClicks(zero, typed);
    w.btnDownload->click();
    QVERIFY2(dialogs_.messages.empty(),
             dialogs_.messages.empty() ? "" : dialogs_.messages[0].text.c_str());
    QCOMPARE(Control<QLineEdit>(w, "txtZScale(0)")->text(), typed);
    QVERIFY(!dialogs_.progressShown);

    // A value out of range: the two messages, then disconnected.
    Control<QLineEdit>(w, "txtBias(0)")->setText(QStringLiteral("320.01"));
    w.btnDownload->click();
    QCOMPARE(dialogs_.captions(),
             (std::vector<std::string>{"Data Range Error", "Download"}));
    QCOMPARE(dialogs_.messages[0].text, std::string("Data Error \r\nCheck data range."));
    QCOMPARE(w.shpLamp->colour(), kBlueLamp);
  }

  // Tab goes through a page's fields row by row, left to right, and passes over what is
  // disabled, only shown or on the hidden tab; the live-value row stands under the
  // settings' columns.
  void analogPageTabOrderAndColumns() {
    frmQ5Con w(setup());
    w.show();
    QString ok;
    ConnectThroughDialog(w, "sim:Q5T3NML3-6-AI4", &ok);
    PageView* view = w.currentPageView();
    QVERIFY(view);
    auto next = [](QWidget* from) {
      QWidget* n = from->nextInFocusChain();
      while (n != from && !(n->isEnabled() && n->isVisible() && (n->focusPolicy() & Qt::TabFocus)))
        n = n->nextInFocusChain();
      return QString(n->objectName());
    };
    auto named = [&](const char* name) { return view->control(name); };
    QCOMPARE(next(named("cmdSet2")), QStringLiteral("txtZScale(0)"));
    QCOMPARE(next(named("txtZScale(0)")), QStringLiteral("txtZScale(1)"));
    QCOMPARE(next(named("txtZScale(3)")), QStringLiteral("txtFScale(0)"));
    // Zero and full base are fixed, live values only shown.
    QCOMPARE(next(named("txtGain(3)")), QStringLiteral("CmbConvSpeed"));
    // Alt+2 shows the second tab.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(named("txtZScale(0)"), Qt::Key_2, Qt::AltModifier);
    QVERIFY(named("cmbUserRange(0)")->isVisibleTo(view));
    QCOMPARE(next(named("cmdSet1")), QStringLiteral("cmbUserRange(0)"));
    QCOMPARE(next(named("cmbUserRange(3)")), QStringLiteral("cmbInvalid(0)"));

    // Each live value stands under the settings of its channel, on both tabs.
    for (int i = 0; i < 4; ++i) {
      const QString n = QString::number(i);
      const int x = named(qPrintable("txtParData(" + n + ")"))->mapTo(view, QPoint()).x();
      QCOMPARE(named(qPrintable("cmbUserRange(" + n + ")"))->mapTo(view, QPoint()).x(), x);
      Control<QPushButton>(w, "cmdSet1")->click();
      QCOMPARE(named(qPrintable("txtZScale(" + n + ")"))->mapTo(view, QPoint()).x(), x);
      Control<QPushButton>(w, "cmdSet2")->click();
    }
  }

  void failedConnectionShowsConnectionError() {
    auto s = setup();
    s.portChoices = [] {
      return std::vector<q5::gui::PortChoice>{{"Absent (/nonexistent/tty)", "/nonexistent/tty"}};
    };
    frmQ5Con w(s);
    w.show();
    QString ok;
    ConnectThroughDialog(w, "/nonexistent/tty", &ok);
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0],
             (TestDialogs::Message{"Connection Error", "Connection", q5::ui::Icon::Error}));
    QCOMPARE(w.shpLamp->colour(), kBlueLamp);
    QVERIFY(w.btnSetting->isEnabled());
  }

  void portDialogWithoutEntriesReadsCancel() {
    frmComPort dlg({});
    QCOMPARE(dlg.btnExit->text(), QStringLiteral("CANCEL"));
    QVERIFY(dlg.listEmpty());
    // A typed port path makes it an OK again.
    dlg.cmbComPort->setEditText(QStringLiteral("/dev/pts/7"));
    QCOMPARE(dlg.btnExit->text(), QStringLiteral("OK"));
    QCOMPARE(dlg.chosenPort(), std::string("/dev/pts/7"));
    QCOMPARE(q5::gui::PortNameFromText(QStringLiteral("USB Serial (ttyUSB0)")),
             std::string("ttyUSB0"));
    QCOMPARE(q5::gui::PortNameFromText(QStringLiteral("  /dev/ttyS1 ")), std::string("/dev/ttyS1"));
  }

  // "Exit" while a sequence waits for a reply: nothing is torn down under it, no message
  // box stops the unwinding, and the window closes once it has unwound.
  void closingWhileWaitingForAReplyEndsAfterTheSequence() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const std::string slave = ptsname(master);

    auto s = setup();
    s.portChoices = [slave] {
      return std::vector<q5::gui::PortChoice>{{"Silent (" + QString::fromStdString(slave) + ")", slave}};
    };
    frmQ5Con w(s);
    w.show();
    bool closedDuringSequence = false;
    QTimer::singleShot(200, &w, [&] {
      closedDuringSequence = w.sequencesRunning() > 0;
      w.close();
      QVERIFY(w.exitRequested());
    });
    QElapsedTimer t;
    t.start();
    QString ok;
    ConnectThroughDialog(w, slave, &ok);  // nobody answers on the pseudo-terminal
    QVERIFY2(closedDuringSequence, qPrintable(QStringLiteral("%1 ms, %2 messages, %3")
                                                  .arg(t.elapsed())
                                                  .arg(dialogs_.messages.size())
                                                  .arg(QString::fromStdString(w.portSwitch().lastError()))));
    QVERIFY(w.exitRequested());
    QVERIFY(dialogs_.messages.empty());
    QVERIFY(t.elapsed() < 4000);  // the closed port ends the wait
    QTRY_VERIFY(!w.isVisible());
    ::close(master);
  }

  // A configuration created offline from the Model Select menu opens on its page.
  void modelSelectCreatesAnOfflinePage() {
    frmQ5Con w(setup());
    w.show();
    QAction* ai4 = w.modelSelectAction(QStringLiteral("Q5T3NML3"), QStringLiteral("AI4"));
    QVERIFY(ai4);
    QVERIFY(ai4->isEnabled());
    ai4->trigger();
    QVERIFY2(dialogs_.messages.empty(),
             dialogs_.messages.empty() ? "" : dialogs_.messages[0].text.c_str());
    QVERIFY(w.currentPageView());
    QCOMPARE(w.currentPageView()->objectName(), QStringLiteral("frmAI4"));
    // A kind this version cannot create is listed but disabled.
    for (const auto& g : q5::config::ModelSelectMenu()) {
      for (const auto& item : g.items) {
        QAction* a = w.modelSelectAction(QString::fromUtf8(g.caption.data(), g.caption.size()),
                                         QString::fromUtf8(item.caption.data(), item.caption.size()));
        QVERIFY(a);
        QCOMPARE(a->isEnabled(), q5::config::ModelSelectAvailable(item));
      }
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
