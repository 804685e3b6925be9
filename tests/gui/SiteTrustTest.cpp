// What a person on site relies on besides the page itself: the status bar and the
// title, "Save changes?", Cancel, message boxes that say why, stale values marked, Help
// that fails visibly, boxes that do not stop monitoring, titles, icon and keyboard.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "IndicatorBox.h"
#include "PageView.h"
#include "QtDialogs.h"
#include "frmComPort.h"
#include "frmLoading.h"
#include "frmQ5Con.h"
#include "qtlink/PortSwitch.h"
#include "sim/SimPort.h"

using q5::gui::frmQ5Con;
using q5::gui::PageView;
using q5::ui::SaveAnswer;

namespace {

std::vector<q5::gui::PortChoice> SimChoices() {
  std::vector<q5::gui::PortChoice> out;
  for (const auto& s : q5::gui::SimulatedUnits())
    out.push_back({QString::fromStdString("Simulated (" + s + ")"), s});
  return out;
}

void Connect(frmQ5Con& w, const std::string& port) {
  // As "Setting" with the port chosen would (Connect is enabled only after a Setting).
  w.session().setPortName(port);
  w.btnConnect_Click();
}

QLineEdit* Edit(frmQ5Con& w, const char* name) {
  PageView* v = w.pageView();
  return v ? qobject_cast<QLineEdit*>(v->control(name)) : nullptr;
}

// A port that counts the command lines written through it.
class CountingPort : public q5::link::Port {
 public:
  CountingPort(std::unique_ptr<q5::link::Port> inner, int* writes)
      : inner_(std::move(inner)), writes_(writes) {}
  bool open(const std::string& n, int b) override { return inner_->open(n, b); }
  void close() override { inner_->close(); }
  bool isOpen() const override { return inner_->isOpen(); }
  bool setBaudRate(int b) override { return inner_->setBaudRate(b); }
  std::size_t bytesWaiting() override { return inner_->bytesWaiting(); }
  bool write(std::string_view d) override {
    ++*writes_;
    return inner_->write(d);
  }
  std::string readAll() override { return inner_->readAll(); }
  void waitForBytes(std::int64_t deadline) override { inner_->waitForBytes(deadline); }

 private:
  std::unique_ptr<q5::link::Port> inner_;
  int* writes_;
};

// The message boxes up now.
QList<QMessageBox*> Boxes() {
  QList<QMessageBox*> out;
  for (QWidget* t : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QMessageBox*>(t); b && b->isVisible()) out << b;
  return out;
}

}  // namespace

class SiteTrustTest : public QObject {
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
  void cleanup() {
    for (QMessageBox* b : Boxes()) b->close();
  }

  // Offline work is not thrown away without a question: Cancel keeps the page and
  // opens no port dialog; the title marks unsaved values with "*"; Save adds ".uJx".
  void saveChangesQuestionAndTitle() {
    frmQ5Con w(setup());
    w.show();
    w.modelSelectAction(QStringLiteral("Q5T3NML3"), QStringLiteral("AI4"))->trigger();
    QCOMPARE(w.windowTitle(), QStringLiteral("Q5CFG — Q5T3NML3-6-AI4*"));
    QLineEdit* zero = Edit(w, "txtZScale(0)");
    zero->selectAll();
    QTest::keyClicks(zero, QStringLiteral("250"));

    dialogs_.saveAnswers = {SaveAnswer::Cancel};
    bool dialogOpened = false;
    QTimer::singleShot(0, &w, [&] {
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialogOpened = true;
        d->reject();
      }
    });
    w.btnSetting->click();
    QVERIFY(!dialogOpened);
    QCOMPARE(dialogs_.questions.size(), std::size_t{1});
    QCOMPARE(dialogs_.questions[0].text, std::string("Save changes?"));
    QCOMPARE(Edit(w, "txtZScale(0)")->text(), QStringLiteral("250"));

    // Exit asks too; Cancel keeps the program.
    dialogs_.saveAnswers = {SaveAnswer::Cancel};
    w.mnuFilesEnd->trigger();
    QVERIFY(!w.exitRequested());

    // Save, to a name without extension: the file gets ".uJx", the title names it.
    dialogs_.saveFiles = {folder_.filePath("plant-a").toStdString()};
    w.mnuFilesSave->trigger();
    QVERIFY(QFile::exists(folder_.filePath("plant-a.uJx")));
    QCOMPARE(w.windowTitle(), QStringLiteral("Q5CFG — Q5T3NML3-6-AI4 — plant-a.uJx"));
    // Nothing unsaved now: Exit asks nothing.
    const auto asked = dialogs_.questions.size();
    w.mnuFilesEnd->trigger();
    QVERIFY(w.exitRequested());
    QCOMPARE(dialogs_.questions.size(), asked);
  }

  // Cancel on the progress window while connecting: the exchange awaited ends, no
  // further line is sent, no error box comes, and the unit is disconnected.
  void cancelStopsAtTheNextExchangeAndDisconnects() {
    frmQ5Con w(setup(true));
    w.show();
    int writes = 0;
    w.portSwitch().setSimFactory([&writes, &w](const std::string& model) {
      q5::sim::SimOptions o;
      o.line.lineTiming = true;
      return std::make_unique<CountingPort>(
          q5::sim::MakeSimPort(model, w.session().exchange().clock(), o), &writes);
    });
    int writesAtCancel = -1;
    bool busyCursor = false, boxSeen = false;
    QElapsedTimer sinceCancel;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, &w, [&] {
      for (QMessageBox* b : Boxes()) {
        boxSeen = true;
        b->close();
      }
      auto* loading = w.findChild<q5::gui::frmLoading*>();
      if (writesAtCancel < 0 && loading && loading->isVisible() && loading->value() >= 2) {
        QVERIFY(loading->btnCancel->isVisible());
        busyCursor = QApplication::overrideCursor() != nullptr;
        QVERIFY(w.statusText().startsWith(QStringLiteral("Reading ")));
        writesAtCancel = writes;
        sinceCancel.start();
        loading->btnCancel->click();
      }
    });
    watch.start();
    Connect(w, "sim:Q5T3NML-6-AIF8N");
    watch.stop();
    QVERIFY(writesAtCancel > 0);
    QCOMPARE(writes, writesAtCancel);
    QVERIFY(sinceCancel.elapsed() < 1000);
    QVERIFY(busyCursor);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!boxSeen);
    QCOMPARE(w.lblConStatus->text(), QStringLiteral("Disconnected"));
    QVERIFY(w.statusText().startsWith(QStringLiteral("Cancelled")));
    QVERIFY(w.btnSetting->isEnabled());
    QVERIFY(!w.findChild<q5::gui::frmLoading*>()->isVisible());
  }

  // Status bar and title follow the work; after a Disconnect the live values and the
  // unit panel do not pass for current ones.
  void statusTitleAndStaleValues() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5T3NML3-6-AI4");
    QCOMPARE(w.windowTitle(), QStringLiteral("Q5CFG — Q5T3NML3-6-AI4 on sim:Q5T3NML3-6-AI4"));
    QVERIFY2(w.statusText().startsWith(QStringLiteral("Connect done ")), qPrintable(w.statusText()));
    QCOMPARE(w.lblStatusUnit->text(), QStringLiteral("Q5T3NML3-6-AI4"));
    QCOMPARE(w.currentSubWindow()->windowTitle(), QStringLiteral("AI4 — analog input, 4 channels"));
    QVERIFY(!w.windowIcon().isNull());
    QString during;
    QTimer::singleShot(400, &w, [&] {
      during = w.statusText();
      w.btnStop->click();
    });
    w.btnStart->click();
    QVERIFY2(during.startsWith(QStringLiteral("Monitoring — pass ")), qPrintable(during));
    QVERIFY(during.mid(18).toInt() >= 1);
    QVERIFY(w.statusText().startsWith(QStringLiteral("Monitoring stopped after ")));
    QVERIFY(Edit(w, "txtParData(0)")->text() != QStringLiteral("\u2014"));
    QVERIFY(w.lblMastertype->isEnabled());

    w.btnDisconnect->click();
    QCOMPARE(Edit(w, "txtParData(0)")->text(), QStringLiteral("\u2014"));
    QVERIFY(!w.lblMastertype->isEnabled());
    QCOMPARE(w.windowTitle(), QStringLiteral("Q5CFG — Q5T3NML3-6-AI4"));
    // A display-only field reads as a value, not as a greyed input.
    QLineEdit* base = Edit(w, "txtZBase(0)");
    QVERIFY(base->isEnabled() && base->isReadOnly());
    // Connected again: while the unit is being read, the live values are still the
    // earlier connection's and keep their mark; the first pass brings current ones.
    QString whileReading;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, &w, [&] {
      if (dialogs_.progressShown && w.session().values.Connected && whileReading.isEmpty())
        whileReading = Edit(w, "txtParData(0)")->text();
    });
    watch.start();
    // Disabled fields say why.
    Connect(w, "sim:Q5T3NML3-6-AI4");
    watch.stop();
    QCOMPARE(whileReading, QStringLiteral("\u2014"));
    QVERIFY(Edit(w, "txtParData(0)")->text() != QStringLiteral("\u2014"));
    QTimer::singleShot(300, &w, [&] {
      during = Edit(w, "txtZScale(0)")->toolTip();
      w.btnStop->click();
    });
    w.btnStart->click();
    QVERIFY2(during.contains(QStringLiteral("Stop")), qPrintable(during));
    QVERIFY(Edit(w, "txtZScale(0)")->toolTip().isEmpty());
  }

  // Error boxes keep their texts and add the cause: the port's error, the item that got
  // no usable reply, the field out of range (focused).
  void errorBoxesSayWhy() {
    {
      frmQ5Con w(setup());
      Connect(w, "/nonexistent/q5-tty");
      QCOMPARE(dialogs_.captions(), std::vector<std::string>{"Connection"});
      QCOMPARE(dialogs_.causes.at(0).kind, q5::ui::FailureKind::Connection);
      const QString why = w.explain(dialogs_.causes.at(0), "Connection Error");
      QVERIFY2(why.contains(QStringLiteral("/nonexistent/q5-tty")) &&
                   why.contains(QStringLiteral("No such file or directory")),
               qPrintable(why));
    }
    dialogs_ = TestDialogs{};
    {
      frmQ5Con w(setup());
      w.portSwitch().setSimFactory([&w](const std::string& model) {
        q5::sim::SimOptions o;
        o.faults = {"reply:00/06:oops"};
        return q5::sim::MakeSimPort(model, w.session().exchange().clock(), o);
      });
      Connect(w, "sim:Q5T3NML3-6-AI4");
      QCOMPARE(dialogs_.captions(), std::vector<std::string>{"Upload"});
      QCOMPARE(dialogs_.causes.at(0).kind, q5::ui::FailureKind::Upload);
      const QString why = w.explain(dialogs_.causes.at(0), "Upload Error");
      QVERIFY2(why.contains(QStringLiteral("I06 in group 00 after 4 attempts")), qPrintable(why));
    }
    dialogs_ = TestDialogs{};
    {
      frmQ5Con w(setup());
      w.show();
      Connect(w, "sim:Q5T3NML3-6-AI4");
      Edit(w, "txtBias(2)")->setText(QStringLiteral("320.01"));
      w.btnDownload->click();
      QCOMPARE(dialogs_.messages.at(0).text, std::string("Data Error \r\nCheck data range."));
      // The cause names the field; the box's caption is not looked at.
      QCOMPARE(dialogs_.causes.at(0).kind, q5::ui::FailureKind::DataRange);
      QCOMPARE(dialogs_.causes.at(0).control, std::string("txtBias(2)"));
      const QString why = w.explain(dialogs_.causes.at(0), "Data Error \r\nCheck data range.");
      QVERIFY2(why.contains(QStringLiteral("Bias of CH 2")) && why.contains(QStringLiteral("320.01")),
               qPrintable(why));
      QCOMPARE(w.focusWidget(), w.pageView()->control("txtBias(2)"));
      // The Download box that follows says nothing was written.
      QCOMPARE(dialogs_.messages.at(1).caption, std::string("Download"));
      QCOMPARE(w.explain(dialogs_.causes.at(1), dialogs_.messages.at(1).text),
               QStringLiteral("Nothing was written to the unit."));
      // A message without a cause gets no explanation, whatever its caption.
      QVERIFY(w.explain({}, "Data Error \r\nCheck data range.").isEmpty());
    }
    // A box is as wide as its caption needs.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Remote I/O Q5 Information"),
                    QStringLiteral("  x  "));
    q5::gui::FitCaption(box);
    QVERIFY(box.sizeHint().width() >
            box.fontMetrics().horizontalAdvance(QStringLiteral("Remote I/O Q5 Information")));
  }

  // Monitoring goes on behind the version box; Help says where the document is when no
  // viewer starts; Ctrl+Q stops monitoring and ends the program.
  void boxesDoNotStopMonitoringAndCtrlQEndsIt() {
    auto s = setup();
    s.openUrl = [](const QUrl&) { return false; };
    frmQ5Con w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Connect(w, "sim:Q5W3NEIP-BI32");
    int passesWithBox = -1;
    QString helpText, copied;
    QTimer::singleShot(200, &w, [&] {
      w.mnuHelpVersion->trigger();
      const int at = w.session().monitorPass();
      QTimer::singleShot(600, &w, [&, at] {
        QVERIFY(w.findChild<QDialog*>(QStringLiteral("frmVersion")));
        passesWithBox = w.session().monitorPass() - at;
        w.findChild<QDialog*>(QStringLiteral("frmVersion"))->close();
        w.findChild<QAction*>(QStringLiteral("mnuUsersManualEnglish"))->trigger();
        auto* failed = w.findChild<QMessageBox*>(QStringLiteral("q5HelpFailedBox"));
        QVERIFY(failed && failed->isVisible());
        helpText = failed->informativeText();
        // "Copy path" puts the document's path on the clipboard.
        auto* copy = failed->findChild<QPushButton*>(QStringLiteral("btnCopyPath"));
        QVERIFY(copy);
        copy->click();
        copied = QGuiApplication::clipboard()->text();
        failed->close();
        // Ctrl+Q with the File menu disabled by monitoring.
        QVERIFY(!w.mnuFiles->menuAction()->isEnabled());
        QVERIFY(w.actions().contains(w.mnuFilesEnd));  // its shortcut lives on the window
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
        if (!w.exitRequested()) w.btnStop->click();  // the loop ends either way
      });
    });
    w.btnStart->click();
    QVERIFY2(passesWithBox >= 2, qPrintable(QString::number(passesWithBox)));
    QVERIFY2(helpText.contains(QStringLiteral(".html")), qPrintable(helpText));
    QVERIFY2(copied.endsWith(QStringLiteral("index.html")) && helpText.contains(copied),
             qPrintable(copied));
    QVERIFY(w.exitRequested());
    QVERIFY(!w.session().values.Monitoring);
  }

  // Tab: the page's scroll area is no stop, and from the page Tab reaches the window's
  // buttons. The model string shows whole, on one line.
  void keyboardAndModelString() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5W3NEIP-BI16");
    PageView* v = w.pageView();
    QVERIFY(v);
    QCOMPARE(v->findChild<QWidget*>(QStringLiteral("VScroll1"))->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w.mdiArea->focusPolicy(), Qt::NoFocus);
    QSet<QString> reached;
    QWidget* start = w.btnSetting;
    QWidget* n = start->nextInFocusChain();
    for (int i = 0; i < 500 && n != start; ++i, n = n->nextInFocusChain())
      if (n->isVisibleTo(&w) && n->isEnabled() && (n->focusPolicy() & Qt::TabFocus))
        reached << n->objectName();
    QVERIFY(reached.contains(QStringLiteral("btnUpload")));
    QVERIFY(reached.contains(QStringLiteral("btnDisconnect")));
    QVERIFY(reached.contains(QStringLiteral("CmbConvSpeed")));
    QVERIFY(!w.lblMastertype->wordWrap());
    // Whole within the label's own width (the frame's margins taken off), not merely
    // within the frame.
    for (const char* model : {"Q5W3UD-BIO16C-H", "Q5T3NML3-6-OVF4", "Q5Z3UECT-1-AIMF8N"}) {
      w.session().values.model = model;
      w.session().showIdentification();
      QCoreApplication::processEvents();
      QVERIFY2(QFontMetrics(w.lblMastertype->font()).horizontalAdvance(w.lblMastertype->text()) <=
                   w.lblMastertype->contentsRect().width(),
               model);
    }
  }

  // Closing the window during a Download asks first; No lets the Download write on, Yes
  // lets nothing more go out, and the window ends once the Download has unwound.
  void closingDuringADownloadAsksFirst() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5T3NML3-6-AI4");
    dialogs_.questions.clear();
    dialogs_.answers = {false, true};
    int closes = 0;
    std::uint64_t linesAtYes = 0;
    bool openAtYes = false;
    w.session().link().setBeforeExchange([&] {
      const int writes = w.session().downloading() ? w.session().downloadWrites() : 0;
      if ((closes == 0 && writes == 2) || (closes == 1 && writes == 4)) {
        ++closes;
        w.close();
        linesAtYes = w.session().exchange().linesSent();
        openAtYes = w.session().exchange().isOpen();
      }
    });
    w.btnDownload->click();
    w.session().link().setBeforeExchange({});
    QCOMPARE(closes, 2);
    QCOMPARE(dialogs_.questions.size(), std::size_t{2});
    QCOMPARE(dialogs_.questions[0].caption, std::string("Exit"));
    QVERIFY2(dialogs_.questions[1].text.find("partly written configuration") != std::string::npos,
             dialogs_.questions[1].text.c_str());
    QVERIFY(openAtYes);
    QCOMPARE(w.session().exchange().linesSent(), linesAtYes);
    QCOMPARE(w.session().downloadWrites(), 4);
    QVERIFY(w.exitRequested());
    QVERIFY(!w.session().exchange().isOpen());
    QTRY_VERIFY(!w.isVisible());
  }
};

QTEST_MAIN(SiteTrustTest)
#include "SiteTrustTest.moc"
