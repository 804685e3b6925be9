// The pieces the main window is made of: the binder between widgets and control states,
// the Qt message boxes and progress window, the Help documents, the placeholder page.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "ControlBinder.h"
#include "ElidedLabel.h"
#include "HelpDocuments.h"
#include "PageView.h"
#include "QtDialogs.h"
#include "frmLoading.h"
#include "frmComPort.h"
#include "frmNONE.h"
#include "frmQ5Con.h"
#include "qtlink/QtClock.h"

using namespace q5::pages;
using q5::gui::ControlBinder;

namespace {

// A few controls the way a page holds them.
struct Controls {
  TextBox txt;
  ComboBox cmb;
  CheckBox chk;
  OptionButton optOn{{}, "Output Hold", true};
  OptionButton optOff{{}, "Output Clear", false};
  Label digits{{}, "0 1 2 3"};
  void visit(ControlVisitor& v) {
    v.text(q5::pages::Setting("txt", "Text"), txt);
    v.combo(q5::pages::Setting("cmb", "List"), cmb);
    v.check("chk", chk);
    v.option("optOn", optOn);
    v.option("optOff", optOff);
    v.label("digits", digits);
  }
};

}  // namespace

class GuiPiecesTest : public QObject {
  Q_OBJECT

 private slots:
  void binderCopiesStatesAndEdits() {
    Controls c;
    c.cmb.items = {"Clear", "Hold"};
    c.cmb.index = 1;
    c.txt.text = "12";
    c.txt.maxLength = 5;
    c.chk.enabled = false;
    QWidget parent;
    auto* txt = new QLineEdit(&parent);
    auto* cmb = new QComboBox(&parent);
    auto* chk = new QCheckBox(&parent);
    auto* group = new QWidget(&parent);
    auto* on = new QRadioButton(group);
    auto* off = new QRadioButton(group);
    std::vector<QLabel*> cells{new QLabel(&parent), new QLabel(&parent), new QLabel(&parent),
                               new QLabel(&parent), new QLabel(&parent)};
    ControlBinder b([&](ControlVisitor& v) { c.visit(v); });
    b.bindText("txt", txt);
    b.bindCombo("cmb", cmb);
    b.bindCheck("chk", chk);
    b.bindOption("optOn", on);
    b.bindOption("optOff", off);
    b.bindLabelTokens("digits", cells);
    QStringList edits;
    connect(&b, &ControlBinder::edited, [&](const QString& n) { edits << n; });
    b.refresh();

    QCOMPARE(txt->text(), QStringLiteral("12"));
    QCOMPARE(txt->maxLength(), 5);
    QCOMPARE(cmb->count(), 2);
    QCOMPARE(cmb->currentText(), QStringLiteral("Hold"));
    QVERIFY(!chk->isEnabled());
    QCOMPARE(on->text(), QStringLiteral("Output Hold"));
    QVERIFY(on->isChecked() && !off->isChecked());
    QCOMPARE(cells[3]->text(), QStringLiteral("3"));
    QCOMPARE(cells[4]->text(), QString());
    QVERIFY(edits.isEmpty());  // copying states in is not an edit

    // User edits go into the states.
    QTest::keyClicks(txt, "3");
    QCOMPARE(c.txt.text, std::string("123"));
    cmb->setCurrentIndex(0);
    QCOMPARE(c.cmb.index, 0);
    off->click();
    QVERIFY(c.optOff.value);
    QVERIFY(!c.optOn.value);  // one option of a group at a time
    QVERIFY(!on->isChecked());
    off->click();  // clicking the chosen option again keeps it
    QVERIFY(c.optOff.value && off->isChecked());
    QCOMPARE(edits, (QStringList{"txt", "cmb", "optOff"}));

    // A list refilled by the page shows its new items; a hidden control hides.
    c.cmb.items = {"1", "2", "4"};
    c.cmb.index = 2;
    c.txt.visible = false;
    b.refresh();
    QCOMPARE(cmb->count(), 3);
    QCOMPARE(cmb->currentText(), QStringLiteral("4"));
    QVERIFY(txt->isHidden());
    QCOMPARE(c.cmb.index, 2);  // refilling was no user edit
    // A list of as many items with other texts is refilled too.
    c.cmb.items = {"1", "2", "8"};
    b.refresh();
    QCOMPARE(cmb->itemText(2), QStringLiteral("8"));
    QCOMPARE(cmb->currentText(), QStringLiteral("8"));

    // A disabled control says why in its tool tip, after its own tip; when the reason
    // changes so does the tip, and enabled again it has its own tip back.
    chk->setToolTip(QStringLiteral("Hold the outputs"));
    ControlBinder tips([&](ControlVisitor& v) { c.visit(v); });
    tips.bindCheck("chk", chk);
    tips.bindText("txt", txt);
    c.txt.visible = true;
    tips.setDisabledReason(QStringLiteral("Locked while monitoring"));
    QCOMPARE(chk->toolTip(), QStringLiteral("Hold the outputs\nLocked while monitoring"));
    QCOMPARE(txt->toolTip(), QString());
    c.txt.enabled = false;
    tips.setDisabledReason(QStringLiteral("Being read"));
    QCOMPARE(chk->toolTip(), QStringLiteral("Hold the outputs\nBeing read"));
    QCOMPARE(txt->toolTip(), QStringLiteral("Being read"));
    c.chk.enabled = true;
    tips.refresh();
    QCOMPARE(chk->toolTip(), QStringLiteral("Hold the outputs"));
  }

  // The window's short waits let the window events in at most every few tens of
  // milliseconds: an event that comes during a run of short waits (the replies of a
  // monitoring pass) is handled within 30 ms of waiting, and one that is waiting when
  // the first wait begins is handled at once.
  void shortWaitsStillLetEventsIn() {
    q5::qtlink::QtClock clock(q5::qtlink::WaitMode::EventLoop);
    int handledAfter = -1;
    int waits = 0;
    QTimer::singleShot(0, [&] { handledAfter = waits; });
    clock.waitUs(3000);
    QCOMPARE(handledAfter, 0);
    for (int round = 0; round < 3; ++round) {
      handledAfter = -1;
      waits = 0;
      QTimer::singleShot(0, [&] { handledAfter = waits; });
      while (handledAfter < 0 && waits < 50) {
        ++waits;
        clock.waitUs(3000);
      }
      QVERIFY2(handledAfter >= 1 && handledAfter <= 10, qPrintable(QString::number(handledAfter)));
    }
  }

  // The port dialog by keyboard: Enter takes the chosen entry, Escape leaves without one.
  void portDialogByKeyboard() {
    const std::vector<q5::gui::PortChoice> choices{{"First (sim:Q5W3NEIP-BI16)", "sim:Q5W3NEIP-BI16"},
                                                   {"Second (sim:Q5T3NML3-6-AI4)", "sim:Q5T3NML3-6-AI4"}};
    QStringList chosen;
    {
      q5::gui::frmComPort dlg(choices);
      connect(&dlg, &q5::gui::frmComPort::portChosen, [&](const QString& p) { chosen << p; });
      dlg.show();
      QTest::keyClick(dlg.cmbComPort, Qt::Key_Down);
      QTest::keyClick(dlg.cmbComPort->lineEdit(), Qt::Key_Return);
      QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    QCOMPARE(chosen, QStringList{"sim:Q5T3NML3-6-AI4"});
    {
      q5::gui::frmComPort dlg(choices);
      connect(&dlg, &q5::gui::frmComPort::portChosen, [&](const QString& p) { chosen << p; });
      dlg.show();
      QTest::keyClick(dlg.cmbComPort->lineEdit(), Qt::Key_Escape);
      QVERIFY(!dlg.isVisible());
      QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    QCOMPARE(chosen.size(), 1);
  }

  // A long port name is cut in the middle to fit; the whole name stays its text and tip.
  void longPortNameIsCutInTheMiddle() {
    q5::gui::ElidedLabel label;
    label.setFullText(QStringLiteral("/dev/serial/by-id/usb-Maker_Serial_Adapter-if00-port0"));
    label.resize(label.fontMetrics().horizontalAdvance(QStringLiteral("/dev/serial…port0")), 20);
    const QString shown = label.shownText();
    QVERIFY2(shown.startsWith(QStringLiteral("/dev/")) && shown.endsWith(QStringLiteral("port0")) &&
                 shown.contains(QChar(0x2026)),
             qPrintable(shown));
    QCOMPARE(label.toolTip(), label.text());
    label.resize(label.fontMetrics().horizontalAdvance(label.text()) + 10, 20);
    QCOMPARE(label.shownText(), label.text());
  }

  void messageBoxShowsTextCaptionAndIcon() {
    QWidget owner;
    q5::gui::QtDialogs dialogs(&owner);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      box->accept();
    });
    dialogs.message("Data Error \r\nCheck data range.", "Initialize Error\r\n", q5::ui::Icon::Error);
    QCOMPARE(title, QStringLiteral("Initialize Error"));
    QCOMPARE(text, QStringLiteral("Data Error \nCheck data range."));
    QCOMPARE(icon, QMessageBox::Critical);
  }

  void progressWindowCountsStepsAndCloses() {
    QWidget owner;
    q5::gui::QtDialogs dialogs(&owner);
    dialogs.progressOpen(5, "Initializing");
    auto* w = dialogs.progressWindow();
    QVERIFY(w);
    QCOMPARE(w->lblLoading->text(), QStringLiteral("Initializing"));
    QCOMPARE(w->pgBarLoading->maximum(), 5);
    for (int i = 0; i < 7; ++i) dialogs.progressStep();
    QCOMPARE(w->pgBarLoading->value(), 5);  // never past its maximum
    dialogs.progressClose();
    QVERIFY(!dialogs.progressWindow());
    dialogs.progressOpen(3, "Downloading");
    QCOMPARE(dialogs.progressWindow()->pgBarLoading->value(), 0);
  }

  void helpItemsOpenTheirOwnDocuments() {
    q5::gui::HelpDocuments help;
    q5::session::SessionValues v;
    using D = q5::gui::HelpDocuments;
    v.pageKind = 8;
    const QUrl discrete = help.address(D::InstructionManualEnglish, v);
    QVERIFY(discrete.toLocalFile().endsWith(QStringLiteral("discrete-pages.html")));
    v.pageKind = 0;
    QVERIFY(help.address(D::InstructionManualEnglish, v)
                .toLocalFile()
                .endsWith(QStringLiteral("analog-input-pages.html")));
    QVERIFY(help.address(D::UsersManualEnglish, v).toLocalFile().endsWith("index.html"));
    QVERIFY(help.address(D::DataSheetsJapanese, v)
                .toLocalFile()
                .endsWith("datasheets.html"));
    // Every document exists where it is opened from.
    for (D::Document d : {D::InstructionManualEnglish, D::DataSheetsEnglish,
                          D::UsersManualEnglish, D::UsersManualJapanese}) {
      QFile f(help.address(d, v).toLocalFile());
      QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
      QVERIFY(f.readAll().contains("Q5CFG"));
    }
  }

  // A unit whose module has no page shows the placeholder page.
  void unitWithoutPageShowsPlaceholder() {
    TestDialogs dialogs;
    QTemporaryDir folder;
    q5::gui::frmQ5Con::Setup s;
    s.dialogs = &dialogs;
    s.applicationFolder = folder.path().toStdString();
    q5::gui::frmQ5Con w(s);
    w.show();
    w.session().setPortName("sim:Q5V3PML3-6-BI32");
    w.session().btnConnect_Click();
    QVERIFY2(dialogs.messages.empty(),
             dialogs.messages.empty() ? "" : dialogs.messages[0].text.c_str());
    QVERIFY(!w.currentPageView());
    auto* none = qobject_cast<q5::gui::frmNONE*>(w.noneView());
    QVERIFY(none);
    QVERIFY(none->isVisible());
    QCOMPARE(none->lblMessage->text(), QStringLiteral("Please download the latest version."));
  }
};

QTEST_MAIN(GuiPiecesTest)
#include "GuiPiecesTest.moc"
