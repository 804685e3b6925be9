// The window says only what happened: "Save" in "Save changes?" saves, a Cancel says
// "Cancelled", a page an Upload did not finish is marked in the title and the status line
// and is not offered for Download, writes the unit refused make the Download "failed",
// and a Discard followed by a cancelled Open keeps the edited mark.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "WindowRig.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"
#include "qtlink/PortSwitch.h"
#include "sim/SimPort.h"

using q5::gui::frmQ5Con;
using q5::ui::SaveAnswer;

namespace {

QLineEdit* Edit(frmQ5Con& w, const char* name) {
  auto* v = w.pageView();
  return v ? qobject_cast<QLineEdit*>(v->control(name)) : nullptr;
}

}  // namespace

class TruthfulWindowTest : public QObject {
  Q_OBJECT

 private:
  WindowRig rig_;
  TestDialogs& dialogs_ = rig_.dialogs;
  frmQ5Con::Setup setup() { return rig_.setup(true); }

 private slots:
  void init() { rig_.reset(); }

  // After a Connect (which keeps a backup of the unit's settings) an edit and Upload:
  // Save writes the file, then the Upload runs. Cancel says "Cancelled".
  void saveInTheQuestionSavesAndCancelSaysCancelled() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(w.session().values.Connected);
    QLineEdit* zero = Edit(w, "txtZScale(1)");
    QVERIFY(zero);
    zero->selectAll();
    QTest::keyClicks(zero, QStringLiteral("2468"));
    QVERIFY(w.windowTitle().endsWith(QLatin1Char('*')));

    dialogs_.saveAnswers = {SaveAnswer::Cancel};
    w.btnUpload->click();
    QVERIFY2(w.lblStatus->text().startsWith(QStringLiteral("Cancelled")),
             qPrintable(w.lblStatus->text()));
    QCOMPARE(Edit(w, "txtZScale(1)")->text(), QStringLiteral("2468"));

    const QString path = rig_.path(QStringLiteral("edited"));
    dialogs_.saveAnswers = {SaveAnswer::Save};
    dialogs_.saveFiles = {path.toStdString()};
    w.btnUpload->click();
    QFile saved(path + QStringLiteral(".uJx"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("2468"));
    QVERIFY2(w.lblStatus->text().startsWith(QStringLiteral("Upload done")),
             qPrintable(w.lblStatus->text()));
    QVERIFY(!w.windowTitle().endsWith(QLatin1Char('*')));
  }

  // The port vanishes in the middle of the Upload: title and status line say the page
  // was not completely read, Download is not offered, Save refuses with the reason.
  void halfReadPageIsMarkedAndNotSaved() {
    frmQ5Con w(setup());
    w.show();
    UseFaults(w, {"vanish:#30"});
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(!w.session().values.Connected);
    QVERIFY(w.session().pageIncomplete());
    QVERIFY2(w.windowTitle().contains(QStringLiteral("not completely read")),
             qPrintable(w.windowTitle()));
    QVERIFY2(w.lblStatus->text().contains(QStringLiteral("not completely read")),
             qPrintable(w.lblStatus->text()));
    QVERIFY(!w.btnDownload->isEnabled());

    dialogs_.clear();
    dialogs_.saveFiles = {rig_.path(QStringLiteral("half")).toStdString()};
    w.mnuFilesSave->trigger();
    QCOMPARE(dialogs_.captions(), std::vector<std::string>{"Save Error"});
    QVERIFY(!QFile::exists(rig_.path(QStringLiteral("half.uJx"))));
  }

  // A write the unit refuses: the page is read back, the status line says "Download
  // failed" with the writes, and a box names them.
  void refusedWritesFailTheDownload() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    UseFaults(w, {"cng:00/30/D"});
    // The factory takes effect at the next open of a simulated unit.
    w.btnDisconnect->click();
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(w.session().values.Connected);
    dialogs_.clear();
    w.btnDownload->click();
    const QString status = w.lblStatus->text();
    QVERIFY2(status.startsWith(QStringLiteral("Download failed")) &&
                 status.contains(QStringLiteral("1 write refused or unanswered (last: G00 I30 D0)")),
             qPrintable(status));
    QCOMPARE(dialogs_.captions(), std::vector<std::string>{"Download"});
    QVERIFY(w.session().values.Connected);
  }

  // The port lost while monitoring: the status line says so, and when, and after how
  // many passes.
  void portLostWhileMonitoringIsSaid() {
    frmQ5Con w(setup());
    w.show();
    UseFaults(w, {"vanish:#100"});
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(w.session().values.Connected);
    w.btnStart->click();  // returns when monitoring has ended
    QVERIFY(!w.session().values.Connected);
    const QString status = w.lblStatus->text();
    QVERIFY2(status.startsWith(QStringLiteral("Monitoring ended ")) &&
                 status.contains(QStringLiteral(" passes — the port was lost")),
             qPrintable(status));
  }

  // Discard, then Cancel in the Open dialog: the edits keep their mark, so Exit asks.
  void discardThenCancelKeepsTheMark() {
    frmQ5Con w(setup());
    w.show();
    w.modelSelectAction(QStringLiteral("Q5T3NML3"), QStringLiteral("AI4"))->trigger();
    QLineEdit* zero = Edit(w, "txtZScale(0)");
    zero->selectAll();
    QTest::keyClicks(zero, QStringLiteral("11"));
    dialogs_.saveAnswers = {SaveAnswer::Discard};
    dialogs_.openFiles = {std::nullopt};
    w.mnuFilesOpen->trigger();
    QVERIFY2(w.windowTitle().endsWith(QLatin1Char('*')), qPrintable(w.windowTitle()));
    dialogs_.questions.clear();
    dialogs_.saveAnswers = {SaveAnswer::Cancel};
    w.mnuFilesEnd->trigger();
    QCOMPARE(dialogs_.questions.size(), std::size_t{1});
    QVERIFY(!w.exitRequested());
  }
};

QTEST_MAIN(TruthfulWindowTest)
#include "TruthfulWindowTest.moc"
