// The FirmUpdate window opened from Help > FirmUpdate on a simulated unit: identify on
// load, a damaged image refused without a byte sent, and a whole update on real time in
// which the window stays responsive and cannot be closed halfway.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "../core/TestDialogs.h"
#include "FirmUpdateWindow.h"
#include "frmQ5Con.h"

using q5::gui::FirmUpdateWindow;
using q5::gui::frmQ5Con;

namespace {

// 40 bytes as objcopy -I binary -O srec writes them.
const char kImage[] =
    "S00D0000736D616C6C2E73726563FE\r\n"
    "S1130000F289B349C305BFF78CEB74004AE1BC53D2\r\n"
    "S1130010AD6B1E6626ACCF2C091F722ED8E339D8DF\r\n"
    "S10B002045A0531A572ACDD65E\r\n"
    "S9030000FC\r\n";

}  // namespace

class FirmUpdateWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  TestDialogs dialogs_;

  std::string write(const char* name, const std::string& contents) {
    const std::string path = folder_.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }

  // Runs body with the FirmUpdate window once it is up (the menu item opens it modally).
  void withWindow(frmQ5Con& w, std::function<void(FirmUpdateWindow&)> body) {
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
      auto* win = qobject_cast<FirmUpdateWindow*>(QApplication::activeModalWidget());
      QVERIFY(win);
      ran = true;
      body(*win);
      win->reject();
    });
    w.mnuFirmUpdate->trigger();
    QVERIFY(ran);
  }

 private slots:
  void menuItemOnlyWithTheSwitchAndOnlyConnected() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.applicationFolder = folder_.path().toStdString();
    s.args = {"-firmupdate"};
    frmQ5Con w(s);
    w.show();
    QVERIFY(w.mnuFirmUpdate->isVisible());
    QVERIFY(!w.mnuFirmUpdate->isEnabled());
    w.session().setPortName("sim:Q5T3NML3-6-AI4");
    w.btnConnect_Click();
    QVERIFY(w.mnuFirmUpdate->isEnabled());
    QCOMPARE(w.lblVersionNo->text(), QStringLiteral("Version : 1.05"));

    withWindow(w, [&](FirmUpdateWindow& win) {
      QCOMPARE(win.windowTitle(), QStringLiteral("FirmUpdate"));
      QCOMPARE(win.btnFirmUpdate->text(), QStringLiteral("FirmUpdate"));
      // Identified on load: model and version on two lines.
      QTRY_COMPARE(win.txtFirmInfo->toPlainText(), QStringLiteral("Q5T3NML3-6-AI4\n1.05\n"));
      QVERIFY(win.btnFirmUpdate->isEnabled());

      // A damaged image: refused with its line and reason; nothing sent.
      std::string bad = kImage;
      bad[40] = bad[40] == '0' ? '1' : '0';
      dialogs_.openFiles = {write("bad.srec", bad)};
      const int before = w.session().link().ReadErrorCount();
      win.btnFirmUpdate->click();
      QCOMPARE(dialogs_.messages.size(), std::size_t{1});
      QVERIFY(dialogs_.messages[0].text.find("Line 2: checksum is") != std::string::npos);
      QVERIFY(dialogs_.questions.empty());
      QVERIFY(win.txtFirmInfo->toPlainText().contains(QStringLiteral("Nothing was sent to the unit.")));
      QVERIFY2(w.lblStatus->text().startsWith(QStringLiteral("Firmware file refused ")),
               qPrintable(w.lblStatus->text()));
      QVERIFY(win.btnFirmUpdate->isEnabled());
      QCOMPARE(w.session().link().ReadErrorCount(), before);

      // A whole update; halfway the button is disabled, and closing the window asks
      // whether to stop the update: No, so the window stays open and the update goes on.
      dialogs_.openFiles = {write("good.srec", kImage)};
      dialogs_.answers = {true, false, true};
      bool checkedHalfway = false;
      QTimer::singleShot(1500, &win, [&] {
        checkedHalfway = true;
        QVERIFY(!win.btnFirmUpdate->isEnabled());
        // The main window's buttons are greyed and its status line counts the records.
        QVERIFY(!w.btnUpload->isEnabled() && !w.btnDownload->isEnabled() &&
                !w.btnStart->isEnabled() && !w.btnDisconnect->isEnabled());
        QVERIFY2(w.lblStatus->text().startsWith(QStringLiteral("Updating firmware — record ")) &&
                     w.lblStatus->text().contains(QStringLiteral(" of 5")),
                 qPrintable(w.lblStatus->text()));
        win.reject();
        QVERIFY(win.isVisible());
        QVERIFY(dialogs_.questions.back().text.find("Stop the update and close?") != std::string::npos);
      });
      win.btnFirmUpdate->click();
      QVERIFY(checkedHalfway);
      QCOMPARE(win.txtFirmInfo->toPlainText(),
               QStringLiteral("Q5T3NML3-6-AI4\n1.06\nUpdate Completed!!\n"));
      QVERIFY(win.btnFirmUpdate->isEnabled());
      QVERIFY(w.btnUpload->isEnabled() && w.btnDisconnect->isEnabled());
      QCOMPARE(dialogs_.questions.size(), std::size_t{3});
      QCOMPARE(dialogs_.questions[2].text, std::string("CRC16 = FEDB. CRC16 is TRUE ?"));
      // The main window shows the version the unit runs now, and that the update ended well.
      QCOMPARE(w.lblVersionNo->text(), QStringLiteral("Version : 1.06"));
      QVERIFY2(w.lblStatus->text().startsWith(QStringLiteral("Firmware updated ")),
               qPrintable(w.lblStatus->text()));
    });
    QCOMPARE(w.lblVersionNo->text(), QStringLiteral("Version : 1.06"));
    QCOMPARE(w.session().values.versionText, std::string("Version : 1.06"));
    QCOMPARE(w.session().exchange().baudText(), std::string("9600"));
  }
};

QTEST_MAIN(FirmUpdateWindowTest)
#include "FirmUpdateWindowTest.moc"
