// The main window's status bar and message boxes as a person reads them: a note never
// runs into the unit and port texts, a path in a box is never broken inside, and the
// status line says an action failed by the time its error box shows.
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QPointer>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "WindowRig.h"
#include "MainWindowTools.h"
#include "NoteStatusBar.h"
#include "PageView.h"
#include "QtDialogs.h"
#include "config/Backups.h"
#include "frmQ5Con.h"
#include "qtlink/PortSwitch.h"
#include "sim/SimPort.h"

using q5::gui::frmQ5Con;

namespace {

constexpr QChar kJoiner(0x2060);

// The lines a word-wrapping label of this width and font makes of the text.
QStringList Lines(const QString& text, const QFont& font, int width) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QStringList lines;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength()).remove(kJoiner).trimmed();
  }
  layout.endLayout();
  return lines;
}

bool WholeOnOneLine(const QStringList& lines, const QString& path) {
  for (const QString& l : lines)
    if (l.contains(path)) return true;
  return false;
}

}  // namespace

class StatusLineAndBoxesTest : public QObject {
  Q_OBJECT

 private:
  WindowRig rig_;
  TestDialogs& dialogs_ = rig_.dialogs;
  frmQ5Con::Setup setup() { return rig_.setup(); }

 private slots:
  void init() { rig_.reset(); }

  // Monitoring passes change the status line ("Monitoring — pass N") and the live values
  // three times a second: neither lays the main window out again (a layout of the whole
  // window on every pass was a large part of what monitoring cost the processor), and
  // the state text still follows the passes.
  void monitoringPassesDoNotLayOutTheWindow() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5Z3UECT-1-AIMF8N");
    QVERIFY(w.session().values.Connected);
    struct LayoutCount : QObject {
      int requests = 0;
      bool counting = false;
      bool eventFilter(QObject*, QEvent* e) override {
        if (counting && e->type() == QEvent::LayoutRequest) ++requests;
        return false;
      }
    } count;
    w.installEventFilter(&count);
    w.statusBar()->installEventFilter(&count);
    QStringList states;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &w, [&] {
      const int pass = w.session().monitorPass();
      if (pass >= 2) count.counting = true;
      if (count.counting && !states.contains(w.lblStatus->text())) states << w.lblStatus->text();
      if (pass >= 6) w.btnStop->click();
    });
    watch.start();
    w.btnStart->click();  // returns when monitoring has ended
    watch.stop();
    QVERIFY2(states.size() >= 3, qPrintable(states.join(QStringLiteral(" | "))));
    QVERIFY2(states.front().startsWith(QStringLiteral("Monitoring — pass ")), qPrintable(states.front()));
    QCOMPARE(count.requests, 0);
  }

  // The backup note written before a Download, at the window's normal size and at its
  // smallest: drawn left of the model and port with a gap, shortened in its middle so
  // that both "Backup:" and the file name stay; the state text shortens the same way.
  void noteNeverRunsIntoModelAndPort() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5Z3UECT-1-AIMF8N");
    QVERIFY(w.session().values.Connected);
    w.btnDownload_Click();
    QVERIFY(dialogs_.messages.empty());
    const std::string backup = w.tools()->backups().lastPath();
    QVERIFY(!backup.empty());
    const QString file = QFileInfo(QString::fromStdString(backup)).fileName();
    auto* bar = qobject_cast<q5::gui::NoteStatusBar*>(w.statusBar());
    QVERIFY(bar);
    QVERIFY(bar->currentMessage().startsWith(QStringLiteral("Backup: ")));
    QCOMPARE(w.lblStatusUnit->text(), QStringLiteral("Q5Z3UECT-1-AIMF8N"));

    const QSize normal = w.size();
    for (const QSize size : {normal, w.minimumSizeHint(), QSize(normal.width() / 2, normal.height())}) {
      w.resize(size);
      QApplication::processEvents();
      const QRect unit = w.lblStatusUnit->geometry();
      const QRect port = w.lblStatusPort->geometry();
      QVERIFY(w.lblStatusUnit->isVisible() && w.lblStatusPort->isVisible());
      QVERIFY2(!unit.intersects(port), qPrintable(QStringLiteral("at %1").arg(size.width())));
      const QRect note = bar->noteRect();
      QVERIFY2(note.right() < unit.left() - 4 && note.right() < port.left() - 4,
               qPrintable(QStringLiteral("note to %1, model from %2, at width %3")
                              .arg(note.right()).arg(unit.left()).arg(w.width())));
      // Nothing of the note is painted in the gap before the model.
      const QImage image = bar->grab().toImage();
      const QRgb background = image.pixel(note.right() + 1, image.height() / 2);
      for (int x = note.right() + 1; x < unit.left() - 3; ++x)
        for (int y = 0; y < image.height(); ++y)
          QVERIFY2(image.pixel(x, y) == background, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
      const QString shown = bar->shownNote();
      QVERIFY(bar->fontMetrics().horizontalAdvance(shown) <= note.width());
      if (note.width() > bar->fontMetrics().horizontalAdvance(QStringLiteral("Backup: …") + file)) {
        QVERIFY2(shown.startsWith(QStringLiteral("Backup: ")) && shown.endsWith(file), qPrintable(shown));
      }
      // Without the note, the state text keeps clear of them too.
      bar->clearMessage();
      w.lblStatus->setText(QStringLiteral("Download failed 12:34:56 — 13 writes refused or "
                                          "unanswered (last: G00 I30 D0)"));
      QApplication::processEvents();
      QVERIFY(w.lblStatus->isVisible());
      QVERIFY2(w.lblStatus->geometry().right() < unit.left(),
               qPrintable(QStringLiteral("at width %1").arg(w.width())));
      QVERIFY(w.width() <= normal.width());
      bar->showMessage(QStringLiteral("Backup: ") + QString::fromStdString(backup));
      QApplication::processEvents();
    }
    QFile::remove(QString::fromStdString(backup));
  }

  // A path is never broken inside, at any width the box may have, and the text reads
  // as it did; the silent unit's box keeps its port path whole on screen.
  void pathsInBoxesStayWhole() {
    const QString pty = QStringLiteral("/tmp/q5sim-Rk3/pty");
    const QString file = QStringLiteral("~/.cache/Q5CFG/backups/Q5T3NML3-6-AI4-20261209.uJx");
    const QString windows = QStringLiteral("C:\\Q5\\site-A\\unit-7.uJx");
    const QString text = QStringLiteral("No usable reply to G00 after 4 attempts on %1. Saved as %2 "
                                        "and %3. Is the unit powered and the cable plugged in?")
                             .arg(pty, file, windows);
    const QString kept = q5::gui::KeepPathsWhole(text);
    QCOMPARE(QString(kept).remove(kJoiner), text);
    QCOMPARE(q5::gui::KeepPathsWhole(QStringLiteral("Remote I/O Q5 Information, 3/4 done")),
             QStringLiteral("Remote I/O Q5 Information, 3/4 done"));
    const QFont font = QApplication::font("QMessageBox");
    const int longest = QFontMetrics(font).horizontalAdvance(file);
    bool plainBreaksOne = false;
    for (int width = longest + 2; width < longest * 3; width += 3) {
      const QStringList lines = Lines(kept, font, width);
      for (const QString& path : {pty, file, windows})
        QVERIFY2(WholeOnOneLine(lines, path),
                 qPrintable(QStringLiteral("%1 at %2: %3").arg(path).arg(width).arg(lines.join(" | "))));
      const QStringList plain = Lines(text, font, width);
      plainBreaksOne = plainBreaksOne || !WholeOnOneLine(plain, pty) || !WholeOnOneLine(plain, file);
    }
    QVERIFY(plainBreaksOne);  // the widths tried do break paths without the joiners

    // The real box: fixed text and caption unchanged, the cause with its path whole.
    QWidget parent;
    q5::gui::QtDialogs dialogs(&parent);
    const QString why = QStringLiteral("No usable reply to G00 (1 attempt) on "
                                       "/tmp/q5sim-silent-unit-XYZ/pty. Is the unit powered and "
                                       "the cable plugged in?");
    dialogs.setExplain([&](const q5::ui::MessageCause&, const std::string&) { return why; });
    QString shownText, shownCaption;
    QStringList shownLines;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      shownText = box->text();
      shownCaption = box->windowTitle();
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
      QVERIFY(label);
      QCOMPARE(QString(label->text()).remove(kJoiner), why);
      shownLines = Lines(label->text(), label->font(), label->contentsRect().width());
      box->accept();
    });
    q5::ui::MessageCause cause;
    cause.kind = q5::ui::FailureKind::Connection;
    dialogs.failureMessage(cause, "Connection Error", "Connection",
                           q5::ui::Icon::Error);
    QCOMPARE(shownText, QStringLiteral("Connection Error"));
    QCOMPARE(shownCaption, QStringLiteral("Connection"));
    QVERIFY2(WholeOnOneLine(shownLines, QStringLiteral("/tmp/q5sim-silent-unit-XYZ/pty.")),
             qPrintable(shownLines.join(" | ")));

    // A question that names a backup file: the path whole, the answer still the box's.
    const QString backup = QStringLiteral(
        "/root/.local/share/q5cfg/backups/Q5T3NML3-6-AI4_tmp-site-shots-slow-ai4_20261209-061658.uJx");
    const std::string question =
        "A Download is writing to the unit: 5 writes done so far.\r\nIf it stops now, the unit "
        "holds a partly written configuration; restore it by downloading the backup file " +
        backup.toStdString() + ".\r\nStop the Download and exit?";
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      QVERIFY(label);
      QCOMPARE(QString(label->text()).remove(kJoiner),
               QString::fromStdString(question).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      shownLines = Lines(label->text(), label->font(), label->contentsRect().width());
      box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(dialogs.ask(question, "Exit"));
    QVERIFY2(WholeOnOneLine(shownLines, backup + QLatin1Char('.')), qPrintable(shownLines.join(" | ")));
  }

  // Model Select, File > Save and File > Open say how they ended; a cancelled file dialog
  // says nothing new, a cancelled question "Cancelled", a file that cannot be read
  // "Open failed".
  void fileActionsSayHowTheyEnded() {
    frmQ5Con w(setup());
    w.show();
    const auto status = [&w] { return w.lblStatus->text(); };
    w.modelSelectAction(QStringLiteral("Q5T3NML3"), QStringLiteral("AI4"))->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("New configuration for Q5T3NML3-6-AI4 ")) &&
                 status().endsWith(QStringLiteral(" — not saved")),
             qPrintable(status()));

    dialogs_.saveFiles = {rig_.path(QStringLiteral("plant-a.uJx")).toStdString()};
    w.mnuFilesSave->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("Saved plant-a.uJx ")), qPrintable(status()));

    dialogs_.openFiles = {std::nullopt};
    w.mnuFilesOpen->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("Saved plant-a.uJx ")), qPrintable(status()));

    dialogs_.openFiles = {rig_.path(QStringLiteral("plant-a.uJx")).toStdString()};
    w.mnuFilesOpen->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("Opened plant-a.uJx ")), qPrintable(status()));

    const QString broken = rig_.path(QStringLiteral("broken.uJx"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\"Q5T3NML3-6-AI4\",0,\"Version : 1.05\",4,99\r\nnot a record\r\n");
    f.close();
    dialogs_.openFiles = {broken.toStdString()};
    w.mnuFilesOpen->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("Open failed ")), qPrintable(status()));
    QVERIFY(!dialogs_.messages.empty());

    // An edit, then Model Select answered Cancel: nothing replaced, and said so.
    auto* zero = qobject_cast<QLineEdit*>(w.pageView()->control("txtZScale(0)"));
    QVERIFY(zero);
    zero->selectAll();
    QTest::keyClicks(zero, QStringLiteral("77"));
    dialogs_.saveAnswers = {q5::ui::SaveAnswer::Cancel};
    w.modelSelectAction(QStringLiteral("Q5T3NML3"), QStringLiteral("TC4"))->trigger();
    QVERIFY2(status().startsWith(QStringLiteral("Cancelled ")), qPrintable(status()));
    QCOMPARE(zero->text(), QStringLiteral("77"));
  }

  // "Save changes?" answered from the keyboard: Alt+D discards, Alt+S saves, Esc cancels;
  // Enter takes the default, Save.
  void saveChangesAnsweredFromTheKeyboard() {
    QWidget parent;
    q5::gui::QtDialogs dialogs(&parent);
    const std::vector<std::pair<std::function<void(QWidget*)>, q5::ui::SaveAnswer>> keys = {
        {[](QWidget* b) { QTest::keyClick(b, Qt::Key_D, Qt::AltModifier); }, q5::ui::SaveAnswer::Discard},
        {[](QWidget* b) { QTest::keyClick(b, Qt::Key_S, Qt::AltModifier); }, q5::ui::SaveAnswer::Save},
        {[](QWidget* b) { QTest::keyClick(b, Qt::Key_Escape); }, q5::ui::SaveAnswer::Cancel},
        {[](QWidget* b) { QTest::keyClick(b, Qt::Key_Return); }, q5::ui::SaveAnswer::Save},
    };
    for (const auto& [press, expected] : keys) {
      QTimer::singleShot(0, [&press = press] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        // The person's keys go to the active window.
        QApplication::setActiveWindow(box);
        QVERIFY(QTest::qWaitForWindowActive(box));
        press(box);
        // A key the box did not take leaves it up: close it so the test goes on.
        QTimer::singleShot(200, [box = QPointer<QWidget>(box)] {
          if (box) box->close();
        });
      });
      QCOMPARE(dialogs.askSaveDiscardCancel("Save changes?", "Q5CFG"), expected);
    }
  }

  // Under each failing action the status line already says it failed while the error
  // box is up, never "Downloading..." or "Connecting...".
  void statusSaysFailedWhenTheBoxShows() {
    QStringList atBox;
    struct Case {
      std::vector<std::string> faults;
      std::string model;
      const char* click;  // "Download", "Connect", "Upload"
      QString expected;    // the start of the status line while the first box is up
      QString detail;      // ... and what it names
    };
    const std::vector<Case> cases = {
        // A refused write: the box after the read-back names the writes.
        {{"cng:00/30/D"}, "sim:Q5T3NML3-6-AI4", "Download", QStringLiteral("Download failed "),
         QStringLiteral("1 write refused or unanswered (last: G00 I30 D0)")},
        // The unit now reports another model: "Download Error", nothing written.
        {{"reply:00/02:CQ5T3NML3-6-TC4+1"}, "sim:Q5T3NML3-6-AI4", "Download",
         QStringLiteral("Download failed "), QStringLiteral("Download Error")},
        // A unit that is not one: "Connection Error".
        {{"reply:00/01:CXYZ"}, "sim:Q5T3NML3-6-AI4", "Connect", QStringLiteral("Connect failed "),
         QStringLiteral("Connection Error")},
        // The port lost in the middle of reading the page.
        {{"vanish:=G1+1"}, "sim:Q5T3NML3-6-AI4", "Upload", QStringLiteral("Upload failed "),
         QStringLiteral("Upload Error")},
    };
    for (const Case& c : cases) {
      rig_.reset();
      frmQ5Con w(setup());
      w.show();
      if (std::string(c.click) == "Connect") {
        UseFaults(w, c.faults);
      } else {
        ConnectTo(w, c.model);
        QVERIFY(w.session().values.Connected);
        UseFaults(w, c.faults);
        w.btnDisconnect->click();
      }
      QStringList seen;
      // What the status bar shows: a passing note hides the state text.
      dialogs_.onMessage = [&](const TestDialogs::Message&) {
        const QString note = w.statusBar()->currentMessage();
        seen << (note.isEmpty() ? w.lblStatus->text() : QStringLiteral("note: ") + note);
        QTest::qWait(1100);  // the person reads the box for a while
      };
      ConnectTo(w, c.model);
      if (std::string(c.click) == "Download") w.btnDownload->click();
      if (std::string(c.click) == "Upload") w.btnUpload->click();
      QVERIFY2(!seen.isEmpty(), c.click);
      QVERIFY2(seen.front().startsWith(c.expected) && seen.front().contains(c.detail),
               qPrintable(seen.front()));
      // Once the action is over the line still says it failed, and when it did.
      QVERIFY2(w.lblStatus->text().startsWith(c.expected), qPrintable(w.lblStatus->text()));
      QCOMPARE(w.lblStatus->text().section(QLatin1Char(' '), 2, 2),
               seen.front().section(QLatin1Char(' '), 2, 2));
      if (!w.tools()->backups().lastPath().empty())
        QFile::remove(QString::fromStdString(w.tools()->backups().lastPath()));
    }
  }
};

QTEST_MAIN(StatusLineAndBoxesTest)
#include "StatusLineAndBoxesTest.moc"
