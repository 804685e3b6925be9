// The window's tools driven as a person would: "Compare with file…" and "Load file
// values", the backup path in the status line after a Download, and "Scan" in the port
// dialog.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/SessionTestRig.h"
#include "WindowRig.h"
#include <QLineSeries>
#include <QListWidget>

#include "CompareDialog.h"
#include "MainWindowTools.h"
#include "TrendView.h"
#include "PageView.h"
#include "config/Backups.h"
#include "config/ConfigFiles.h"
#include "frmComPort.h"
#include "frmQ5Con.h"

using q5::gui::frmQ5Con;

class ToolsWindowTest : public QObject {
  Q_OBJECT

 private:
  WindowRig rig_;
  TestDialogs& dialogs_ = rig_.dialogs;
  frmQ5Con::Setup setup() { return rig_.setup(); }

 private slots:
  void init() { rig_.reset(); }

  void compareLoadFileValuesAndDownloadWithBackup() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(w.currentPageView());
    const QString unitValue = FieldText(w, "txtFScale(0)");

    // A file like the unit but for channel 1's full scale.
    std::string text, error;
    QVERIFY(w.files().CurrentConfigText(text, error));
    const std::string from = "\"" + unitValue.toStdString() + "\"";
    // Channel 1's scaling is the fourth line: zero scale, then full scale.
    std::size_t line = 0;
    for (int l = 0; l < 3; ++l) line = text.find("\r\n", line) + 2;
    const std::size_t at = text.find(from, line);
    QVERIFY(at != std::string::npos);
    text.replace(at, from.size(), "\"4321\"");
    const QString path = rig_.path(QStringLiteral("drawing.uJx"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
    f.close();

    // The dialog lists the one setting; "Load file values" puts it on the page.
    QStringList row;
    QTimer::singleShot(0, &w, [&] {
      auto* dlg = qobject_cast<q5::gui::CompareDialog*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      QCOMPARE(dlg->grdDifferences->rowCount(), 1);
      for (int c = 0; c < 4; ++c) row << dlg->grdDifferences->item(0, c)->text();
      QVERIFY(dlg->btnLoad->isEnabled());
      dlg->btnLoad->click();
    });
    dialogs_.openFiles = {path.toStdString()};
    emit w.mnuFiles->aboutToShow();  // the menu decides its items' state as it opens
    QVERIFY(w.tools()->mnuFilesCompare->isEnabled());
    w.tools()->mnuFilesCompare->trigger();
    // The setting as the page heads and captions it; the control's name last.
    QCOMPARE(row, (QStringList{"CH 0 Full scale", unitValue, "4321", "txtFScale(0)"}));
    QCOMPARE(FieldText(w, "txtFScale(0)"), QStringLiteral("4321"));
    QVERIFY(w.btnDownload->isEnabled());
    QVERIFY(dialogs_.messages.empty());

    // Download: the backup holds the unit as it was, and the status line names it.
    w.btnDownload_Click();
    QVERIFY(dialogs_.messages.empty());
    const std::string backup = w.tools()->backups().lastPath();
    QVERIFY(!backup.empty());
    // The file's name in the note, its whole path at hand; the note lapses, so that the
    // window's own state text ("Monitoring — pass 3") is not hidden behind it for good.
    QVERIFY(w.statusBar()->currentMessage().startsWith(QStringLiteral("Backup: ")));
    QVERIFY(w.statusBar()->currentMessage().endsWith(QFileInfo(QString::fromStdString(backup)).fileName()));
    QCOMPARE(w.statusBar()->toolTip(), QString::fromStdString(backup));
    QFile b(QString::fromStdString(backup));
    QVERIFY(b.open(QIODevice::ReadOnly));
    QVERIFY(b.readAll().contains(from.c_str()));
    QCOMPARE(FieldText(w, "txtFScale(0)"), QStringLiteral("4321"));  // the unit took it
    QFile::remove(QString::fromStdString(backup));
  }

  void scanMarksThePortsWhereAUnitAnswers() {
    frmQ5Con w(setup());
    q5::gui::frmComPort dlg({{QStringLiteral("Nothing here (/dev/q5-no-such-port)"), "/dev/q5-no-such-port"},
                             {QStringLiteral("Simulated (sim:Q5W3NEIP-BO16)"), "sim:Q5W3NEIP-BO16"},
                             {QStringLiteral("Simulated (sim:Q5T3NML3-6-AI4)"), "sim:Q5T3NML3-6-AI4"}},
                            &w);
    dlg.setScanner([&w](q5::gui::frmComPort& d) { w.tools()->scan(d); });
    QVERIFY(!dlg.btnScan->isHidden());
    // Without the simulated units only the real port is tried.
    dlg.btnScan->click();
    QCOMPARE(dlg.lblScan->text(), QStringLiteral("0 units found on 1 of 1 ports."));
    dlg.chkScanSim->setChecked(true);
    dlg.btnScan->click();
    QCOMPARE(dlg.lblScan->text(), QStringLiteral("2 units found on 3 of 3 ports."));
    QCOMPARE(dlg.cmbComPort->itemText(0), QStringLiteral("Nothing here (/dev/q5-no-such-port)"));
    QVERIFY(dlg.cmbComPort->itemText(1).startsWith(QStringLiteral("[Q5W3NEIP-BO16, ")));
    QVERIFY(dlg.cmbComPort->itemText(2).startsWith(QStringLiteral("[Q5T3NML3-6-AI4, ")));
    // The first unit found is chosen; its entry still opens its port.
    QCOMPARE(dlg.chosenPort(), std::string("sim:Q5W3NEIP-BO16"));
    // A second scan does not mark an entry twice.
    dlg.btnScan->click();
    QCOMPARE(dlg.cmbComPort->itemText(1).count(QLatin1Char('[')), 1);
    QVERIFY(!w.session().exchange().isOpen());
    // A scan that leaves the simulated units out takes their marks away: they were not
    // looked for this time.
    dlg.chkScanSim->setChecked(false);
    dlg.btnScan->click();
    QCOMPARE(dlg.lblScan->text(), QStringLiteral("0 units found on 1 of 1 ports."));
    QCOMPARE(dlg.cmbComPort->itemText(1), QStringLiteral("Simulated (sim:Q5W3NEIP-BO16)"));
    QCOMPARE(dlg.cmbComPort->itemText(2), QStringLiteral("Simulated (sim:Q5T3NML3-6-AI4)"));
  }

  // A trend window closed while monitoring goes on keeps taking the passes, so that it
  // shows the whole time when it is opened again.
  void trendKeepsTakingPassesWhileClosed() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5T3NML3-6-LNRIO1");
    QVERIFY(w.currentPageView());
    w.tools()->mnuTrend_Click();
    q5::gui::TrendView* trend = w.tools()->trendView();
    QVERIFY(trend);
    QCOMPARE(trend->lstChannels->count(), 2);
    trend->close();
    QTimer::singleShot(600, &w, [&] { w.btnStop->click(); });
    w.btnStart->click();
    const int taken = trend->samples();
    QVERIFY(taken >= 2);
    QVERIFY(std::abs(taken - w.session().monitorPass()) <= 1);
    w.tools()->mnuTrend_Click();
    QVERIFY(trend->isVisible());
    QCOMPARE(trend->samples(), taken);
  }

  // The trend view fed by a simulated unit while monitoring, with a record running; the
  // record ends with Stop. The picture goes to the test's folder for a look.
  void trendAndRecordWhileMonitoring() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5Z3UECT-1-AIMF8N");
    QVERIFY(w.currentPageView());
    w.tools()->mnuTrend_Click();
    q5::gui::TrendView* trend = w.tools()->trendView();
    QVERIFY(trend && trend->isVisible());
    QCOMPARE(trend->lstChannels->count(), 8);
    // The legend speaks the page's words; the control's name is the tool tip.
    QVERIFY2(trend->lstChannels->item(0)->text().startsWith(QStringLiteral("CH 0 ")),
             qPrintable(trend->lstChannels->item(0)->text()));
    QVERIFY(!trend->lstChannels->item(0)->text().contains(QStringLiteral("txt")));
    QCOMPARE(trend->lstChannels->item(0)->toolTip(), QStringLiteral("txtParData(0)"));
    QCOMPARE(trend->series(0)->name(), trend->lstChannels->item(0)->text());
    const QString csv = rig_.path(QStringLiteral("record.csv"));
    QVERIFY(w.tools()->startRecording(csv.toStdString()));

    // Channel 2 off; monitoring for a while, then Stop.
    trend->lstChannels->item(1)->setCheckState(Qt::Unchecked);
    QTimer::singleShot(1500, &w, [&] { w.btnStop->click(); });
    w.btnStart->click();  // returns when monitoring has ended
    QVERIFY(trend->samples() >= 2);
    trend->redraw();
    QVERIFY(trend->series(0)->count() >= 2);
    QVERIFY(!trend->series(1)->isVisible());
    QTRY_VERIFY(!w.tools()->recording());
    trend->grab().save(QDir(QCoreApplication::applicationDirPath()).filePath("trend-test.png"));

    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    QVERIFY(lines.size() >= 3);
    QVERIFY(lines[0].startsWith("# Q5Z3UECT-1-AIMF8N"));
    QCOMPARE(lines[1].split(',').size(), 9);
    QCOMPARE(lines[1].split(',').first(), QByteArray("time"));
    // One row per pass the trend took, each with a value for every channel.
    QCOMPARE(lines.size() - 2, trend->samples());
    for (int i = 2; i < lines.size(); ++i) QCOMPARE(lines[i].split(',').size(), 9);
  }

  // On every page kind the trend's legend names each live value as the page heads and
  // captions it, never by its control name (the name is the tool tip). Discrete points
  // carry no heading of their own yet and keep their names.
  void trendLegendSpeaksThePagesWordsOnEveryPageKind() {
    const char* const models[22] = {
        "Q5T3NML3-6-AI4",  "Q5T3NML3-6-TC4",   "Q5T3NML3-6-RT4",    "Q5T3NML3-6-OV2",
        "Q5T3NML3-6-OC2",  "Q5W3NEIP-BI16",    "Q5W3NEIP-BO16",     "Q5T3NML3-6-AIF2",
        "Q5W3NEIP-BI32",   "Q5Z3UECT-1-BO32A", "Q5T3NML3-6-OCF4",   "Q5T3NML3-6-PI1/A",
        "Q5T3NML3-6-OVF4", "Q5T3NML3-6-SG2A",  "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
        "Q5V3UM-AC32",     "Q5T3NML-6-AIF8N",  "Q5Z3UECT-1-BIO32",  "Q5Z3UECT-1-PI8A",
        "Q5W3NEIP-BIO16",  "Q5V3PM-BI32"};
    for (const char* model : models) {
      SessionRig rig(model);
      rig.connect();
      QVERIFY2(rig.session.page(), model);
      const auto columns = q5::session::LiveColumns(*rig.session.page());
      QVERIFY2(!columns.empty(), model);
      q5::gui::TrendView trend;
      trend.reset(columns, QString::fromLatin1(model));
      for (int i = 0; i < trend.lstChannels->count(); ++i) {
        const QString label = trend.lstChannels->item(i)->text();
        const QString name = QString::fromStdString(columns[static_cast<std::size_t>(i)].name);
        QCOMPARE(trend.lstChannels->item(i)->toolTip(), name);
        if (columns[static_cast<std::size_t>(i)].discrete) continue;
        QVERIFY2(!label.contains(name) && !label.contains(QLatin1Char('(')),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(model), label)));
        QCOMPARE(trend.lstChannels->item(i)->toolTip(), name);
      }
    }
  }

  // Record… while monitoring, with the window's own file dialog: the passes go on while
  // the dialog is open (the trend gets no gap), and a name typed without an extension is
  // written as NAME.csv.
  void recordDialogKeepsMonitoringAndAddsCsv() {
    frmQ5Con::Setup s = setup();
    s.dialogs = nullptr;  // the Qt dialogs
    frmQ5Con w(s);
    w.show();
    ConnectTo(w, "sim:Q5Z3UECT-1-AIMF8N");
    QVERIFY(w.currentPageView());
    int passesWithDialog = -1;
    bool dialogShown = false;
    const QString typed = rig_.path(QStringLiteral("rec1"));
    QTimer::singleShot(300, &w, [&] {
      w.tools()->mnuRecord->trigger();
      const int at = w.session().monitorPass();
      QTimer::singleShot(800, &w, [&, at] {
        auto* dlg = w.findChild<QFileDialog*>(QStringLiteral("q5SaveDialog"));
        dialogShown = dlg && dlg->isVisible();
        passesWithDialog = w.session().monitorPass() - at;
        if (dlg) {
          // "rec1" typed into the name field of the test's folder, then Save.
          dlg->setDirectory(rig_.folder.path());
          auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          if (name) name->setText(QStringLiteral("rec1"));
          QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        }
        QTimer::singleShot(600, &w, [&] { w.btnStop->click(); });
      });
    });
    w.btnStart->click();  // returns when monitoring has ended
    QVERIFY(dialogShown);
    QVERIFY2(passesWithDialog >= 2, qPrintable(QString::number(passesWithDialog)));
    QVERIFY(!QFileInfo::exists(typed));
    QFile f(typed + QStringLiteral(".csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().count('\n') >= 3);  // comment, header and passes
  }
};

QTEST_MAIN(ToolsWindowTest)
#include "ToolsWindowTest.moc"
