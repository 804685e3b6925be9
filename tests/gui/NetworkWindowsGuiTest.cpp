// The network settings dialogs, the debug information and the version dialog, driven
// through the main window as a person would.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "../core/TestDialogs.h"
#include "DiagnosticsDialogs.h"
#include "NetworkWindows.h"
#include "netpages/frmDeviceNet.h"
#include "frmQ5Con.h"

using q5::gui::frmQ5Con;
using q5::gui::NetworkDialog;

namespace {

// Runs `act` on the first modal dialog of type D once it is up (the network window
// reads the unit before it shows, so it comes after a while).
template <class D>
void WhenModal(QObject* context, std::function<void(D&)> act) {
  auto* poll = new QTimer(context);
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, context, [poll, act] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(*d);
    }
  });
  poll->start();
}

template <class W>
W* Find(QWidget& d, const char* name) {
  return d.findChild<W*>(QString::fromLatin1(name));
}

}  // namespace

class NetworkWindowsGuiTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  frmQ5Con::Setup setup(std::vector<std::string> args = {}) {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.applicationFolder = folder_.path().toStdString();
    s.args = std::move(args);
    return s;
  }
  static void Connect(frmQ5Con& w, const std::string& model) {
    const std::string port = "sim:" + model;
    w.session().btnSetting_Click(&port);
    QVERIFY(w.session().values.Connected);
  }

 private slots:
  void init() { dialogs_ = TestDialogs{}; }

  void ethernetDialogReadsTypesAndWrites() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "Q5V3PE-6-BO16");
    QVERIFY(w.btnComNet->isVisible() && w.btnComNet->isEnabled());
    bool ran = false;
    WhenModal<NetworkDialog>(&w, [&](NetworkDialog& d) {
      ran = true;
      QCOMPARE(d.windowTitle(), QStringLiteral("Ethernet Setting"));
      // Every main-window button is off while the window is open.
      QVERIFY(!w.btnComNet->isEnabled() && !w.btnDisconnect->isEnabled());
      auto* ip3 = Find<QLineEdit>(d, "txtIP(3)");
      auto* ip0 = Find<QLineEdit>(d, "txtIP(0)");
      QVERIFY(ip3 && ip0);
      QCOMPARE(ip3->text(), QStringLiteral("192"));
      QVERIFY(Find<QLineEdit>(d, "txtDGW(0)")->isHidden());
      QVERIFY(!Find<QWidget>(d, "Frame4")->isHidden());
      QVERIFY(Find<QComboBox>(d, "cmbDHCP")->isHidden());
      QCOMPARE(Find<QLineEdit>(d, "txtPort(1)")->text(), QStringLiteral("5001"));
      // Typing "1234" leaves "123"; "300" warns and stays.
      ip0->clear();
      QTest::keyClicks(ip0, QStringLiteral("1234"));
      QCOMPARE(ip0->text(), QStringLiteral("123"));
      // A digit typed in the middle of a full box: the text is cut to three, and the
      // caret stays after the digit typed rather than jumping to the end.
      ip0->setCursorPosition(1);
      QTest::keyClicks(ip0, QStringLiteral("5"));
      QCOMPARE(ip0->text(), QStringLiteral("152"));
      QCOMPARE(ip0->cursorPosition(), 2);
      ip0->setCursorPosition(3);
      QTest::keyClick(ip0, Qt::Key_Backspace);
      QTest::keyClicks(ip0, QStringLiteral("3"));
      QCOMPARE(ip0->text(), QStringLiteral("153"));
      ip0->selectAll();
      QTest::keyClicks(ip0, QStringLiteral("123"));
      ip3->selectAll();
      QTest::keyClicks(ip3, QStringLiteral("300"));
      QCOMPARE(ip3->text(), QStringLiteral("300"));
      QCOMPARE(dialogs_.messages.back().text, std::string("Please enter 0 to 255."));
      // Download refuses it and writes nothing; the box keeps what was typed.
      dialogs_.messages.clear();
      Find<QPushButton>(d, "btnDownload")->click();
      QCOMPARE(dialogs_.messages.size(), std::size_t{2});
      QCOMPARE(dialogs_.messages[1].text, std::string("Downloading incomplete"));
      QCOMPARE(ip3->text(), QStringLiteral("300"));
      QVERIFY(Find<QPushButton>(d, "btnDownload")->isEnabled());
      ip3->selectAll();
      QTest::keyClicks(ip3, QStringLiteral("10"));
      dialogs_.messages.clear();
      Find<QPushButton>(d, "btnDownload")->click();
      QVERIFY(dialogs_.messages.empty());
      QCOMPARE(ip3->text(), QStringLiteral("10"));
      QCOMPARE(ip0->text(), QStringLiteral("123"));
      // Exit closes the window and connects again.
      Find<QPushButton>(d, "btnExit")->click();
    });
    w.btnComNet->click();
    QVERIFY(ran);
    QVERIFY(!w.session().networkWindow()->visible);
    QVERIFY(w.session().values.Connected);
    QVERIFY(w.btnComNet->isEnabled() && w.btnUpload->isEnabled());
    QVERIFY(!w.btnSetting->isEnabled());
  }

  void deviceNetBoxIsWhiteAndEditableAfterUpload() {
    frmQ5Con w(setup());
    Connect(w, "Q5W3ND-BI32");
    bool ran = false;
    WhenModal<NetworkDialog>(&w, [&](NetworkDialog& d) {
      ran = true;
      QCOMPARE(d.windowTitle(), QStringLiteral("DeviceNet Setting"));
      auto* box = Find<QLineEdit>(d, "txtTimeout");
      QVERIFY(box && !box->isReadOnly());
      QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 255));
      // The box follows its state both ways: locked and grey (as while a download
      // runs), then editable and white again, drawn enabled throughout.
      auto* dn = dynamic_cast<q5::netpages::frmDeviceNet*>(&d.window());
      QVERIFY(dn);
      dn->txtTimeout.locked = true;
      dn->txtTimeout.backColour = 0xF0F0F0;
      d.refresh();
      QVERIFY(box->isReadOnly() && box->isEnabled());
      QCOMPARE(box->palette().color(QPalette::Base), QColor(0xF0, 0xF0, 0xF0));
      dn->txtTimeout.locked = false;
      dn->txtTimeout.backColour = 0xFFFFFF;
      d.refresh();
      QVERIFY(!box->isReadOnly());
      QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 255));
      QCOMPARE(Find<QComboBox>(d, "cmbStatus")->currentText(), QStringLiteral("ON"));
      QVERIFY(!Find<QComboBox>(d, "cmbStatus")->isEnabled());
      // The status and serial number are only shown: drawn in the window's face colour,
      // their captions read in the normal colour rather than greyed.
      for (const char* shown : {"cmbStatus", "txtSerial"})
        QCOMPARE(Find<QWidget>(d, shown)->palette().color(QPalette::Base),
                 QColor(0xF0, 0xF0, 0xF0));
      for (auto* l : d.findChildren<QLabel*>())
        if (l->text() == QLatin1String("Status") || l->text() == QLatin1String("Serial ID"))
          QVERIFY2(l->isEnabled(), qPrintable(l->text()));
      // Upload, Download and Exit side by side at the foot, Exit at the right.
      auto* exit = Find<QPushButton>(d, "btnExit");
      QVERIFY(Find<QPushButton>(d, "btnUpload")->x() < exit->x());
      QVERIFY(exit->mapTo(&d, QPoint()).y() > box->mapTo(&d, QPoint()).y());
      d.close();
    });
    w.btnComNet->click();
    QVERIFY(ran);
  }

  void modbusAndCcLinkDialogs() {
    for (const auto& [model, title, control, value] :
         {std::tuple{"Q5V3UM-AC32", "Modbus Setting", "cmbBaudRate", " 9600 bps"},
          std::tuple{"Q5Z3UCIE-SG2-9/F1", "CC-Link IE Field Setting", "lblMac",
                     "00-11-22-33-44-AB"}}) {
      frmQ5Con w(setup());
      Connect(w, model);
      bool ran = false;
      WhenModal<NetworkDialog>(&w, [&, title = title, control = control, value = value](
                                       NetworkDialog& d) {
        ran = true;
        QCOMPARE(d.windowTitle(), QString::fromLatin1(title));
        QWidget* c = d.control(control);
        QVERIFY(c);
        const QString shown = qobject_cast<QComboBox*>(c) ? qobject_cast<QComboBox*>(c)->currentText()
                                                          : qobject_cast<QLabel*>(c)->text();
        QCOMPARE(shown, QString::fromLatin1(value));
        // Every list of the window is as wide as the widest one; a range stands after
        // its box.
        const auto lists = d.findChildren<QComboBox*>();
        for (auto* l : lists) QCOMPARE(l->width(), lists.front()->width());
        QStringList texts;
        for (auto* l : d.findChildren<QLabel*>()) texts << l->text();
        if (std::string(control) == "lblMac") QVERIFY(texts.contains("(1 to 239)"));
        d.close();
      });
      w.btnComNet->click();
      QVERIFY(ran);
    }
  }

  void helpVersionAndDebugInfo() {
    frmQ5Con w(setup({"-debug"}));
    QVERIFY(w.mnuDebugInfo->isVisible());
    bool version = false;
    WhenModal<q5::gui::VersionDialog>(&w, [&](q5::gui::VersionDialog& d) {
      version = true;
      QCOMPARE(d.windowTitle(), QStringLiteral("Version Info."));
      QCOMPARE(Find<QLabel>(d, "lblTitle")->text(), QStringLiteral("Version"));
      QCOMPARE(Find<QLabel>(d, "lblName(1)")->text(), QStringLiteral("0.01.59"));
      Find<QPushButton>(d, "cmdOK")->click();
    });
    w.mnuHelpVersion->trigger();
    QTRY_VERIFY(version);

    bool debug = false;
    WhenModal<q5::gui::DebugInfoDialog>(&w, [&](q5::gui::DebugInfoDialog& d) {
      debug = true;
      QCOMPARE(d.windowTitle(), QStringLiteral("DEBUG INFO"));
      QCOMPARE(Find<QLabel>(d, "lblDebugLog")->text(),
               QStringLiteral("- GI COMMAND\n      READ ERROR COUNTER:0\n     WRITE ERROR "
                              "COUNTER:0\n           ERROR LOG:\n"));
      d.accept();
    });
    w.mnuDebugInfo->trigger();
    QVERIFY(debug);
  }
};

QTEST_MAIN(NetworkWindowsGuiTest)
#include "NetworkWindowsGuiTest.moc"
