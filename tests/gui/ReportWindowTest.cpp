// The commissioning report from the window: "Export report…" after a Download (the
// changes against the backup), the PDF read back with poppler's tools (a PDF, its page
// count and paper, the table heading on every page, the text extractable), and the HTML.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "WindowRig.h"
#include "MainWindowTools.h"
#include "ReportMenu.h"
#include "config/Backups.h"
#include "frmComPort.h"
#include "frmQ5Con.h"
#include "qtlink/ReportDocument.h"

using q5::gui::frmQ5Con;
using q5::gui::ReportMenu;

class ReportWindowTest : public QObject {
  Q_OBJECT

 private:
  WindowRig rig_;
  TestDialogs& dialogs_ = rig_.dialogs;
  frmQ5Con::Setup setup() { return rig_.setup(); }

  static QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return QStringLiteral("(%1 failed)").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  static int PdfPages(const QString& path) {
    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
  }
  static QString PageText(const QString& path, int page) {
    return Run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), QStringLiteral("-layout"), path, QStringLiteral("-")});
  }
  static QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private slots:
  void init() { rig_.reset(); }

  void exportAfterADownloadListsTheChangesAgainstTheBackup() {
    frmQ5Con w(setup());
    w.show();
    auto* menu = w.findChild<ReportMenu*>();
    QVERIFY(menu);
    // No page yet: nothing to report.
    emit w.mnuFiles->aboutToShow();
    QVERIFY(!menu->mnuFilesReport->isEnabled());
    QVERIFY(!menu->mnuFilesPrint->isEnabled());

    ConnectTo(w, "sim:Q5T3NML3-6-AI4");
    QVERIFY(w.currentPageView());
    struct Edit : q5::pages::ControlVisitor {
      void text(const q5::pages::ControlInfo& i, q5::pages::TextBox& c) override {
        if (i.name == "txtFScale(3)") c.text = "7654";
      }
    } edit;
    w.session().page()->visitControls(edit);
    w.btnDownload_Click();
    QVERIFY(dialogs_.messages.empty());
    const std::string backup = w.tools()->backups().lastPath();
    QVERIFY(!backup.empty());
    QCOMPARE(menu->changesPath(), backup);

    // The menu item: "Prepared by" and a note typed, then the file chosen.
    const QString html = rig_.path(QStringLiteral("ai4.html"));
    dialogs_.saveFiles = {html.toStdString()};
    QTimer::singleShot(0, &w, [&] {
      auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      QCOMPARE(dlg->objectName(), QStringLiteral("frmReport"));
      dlg->findChild<QLineEdit*>(QStringLiteral("txtPreparedBy"))->setText(QStringLiteral("J. Doe"));
      dlg->findChild<QPlainTextEdit*>(QStringLiteral("txtNote"))->setPlainText(QStringLiteral("Panel 4 <B>"));
      dlg->accept();
    });
    emit w.mnuFiles->aboutToShow();
    QVERIFY(menu->mnuFilesReport->isEnabled());
    menu->mnuFilesReport->trigger();
    QVERIFY(dialogs_.messages.empty());
    const QString text = QString::fromUtf8(ReadAll(html));
    QVERIFY(text.contains(QStringLiteral("<tr><th width=\"30%\">Prepared by</th><td>J. Doe</td></tr>")));
    QVERIFY(text.contains(QStringLiteral("Panel 4 &lt;B&gt;")));
    QVERIFY(text.contains(QStringLiteral("<tr><th width=\"30%\">Port</th><td>sim:Q5T3NML3-6-AI4</td></tr>")));
    QVERIFY(text.contains(QStringLiteral("<h2>Changed settings</h2>")));
    QVERIFY(text.contains(QStringLiteral(
        "<tr data-name=\"txtFScale(3)\"><td>CH 3</td><td>Full scale</td><td>10000</td>"
        "<td class=\"value\">7654</td><td></td></tr>")));

    // The same as a PDF: one A4 page, its text extractable.
    const QString pdf = rig_.path(QStringLiteral("ai4.pdf"));
    QVERIFY(menu->exportTo(pdf.toStdString(), {"J. Doe", "", q5::report::PaperSize::A4}));
    QVERIFY(ReadAll(pdf).startsWith("%PDF-"));
    QCOMPARE(PdfPages(pdf), 1);
    const QString page1 = PageText(pdf, 1);
    QVERIFY2(page1.contains(QStringLiteral("Q5T3NML3-6-AI4")), qPrintable(page1));
    QVERIFY(page1.contains(QStringLiteral("J. Doe")));
    QVERIFY(page1.contains(QStringLiteral("Changed settings")));
    QVERIFY(page1.contains(QStringLiteral("7654")));
    QVERIFY(page1.contains(QStringLiteral("Page 1 of 1")));
    QFile::remove(QString::fromStdString(backup));
  }

  void longPageRunsOverPagesWithItsHeadingRepeated() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5V3PM-BI32");
    QVERIFY(w.currentPageView());
    auto* menu = w.findChild<ReportMenu*>();
    q5::report::Report r;
    QVERIFY(menu->buildReport({}, r));
    for (auto paper : {q5::report::PaperSize::A4, q5::report::PaperSize::Letter}) {
      const bool letter = paper == q5::report::PaperSize::Letter;
      const QString pdf = rig_.path(letter ? QStringLiteral("pi32-letter.pdf")
                                                  : QStringLiteral("pi32-a4.pdf"));
      std::string error;
      int pages = 0;
      QVERIFY2(q5::qtlink::WriteReportPdf(r, paper, pdf.toStdString(), error, &pages), error.c_str());
      QVERIFY(pages >= 2);
      QCOMPARE(PdfPages(pdf), pages);
      QVERIFY(Run(QStringLiteral("pdfinfo"), {pdf}).contains(letter ? QStringLiteral("(letter)")
                                                                      : QStringLiteral("(A4)")));
      for (int p = 1; p <= pages; ++p) {
        const QString t = PageText(pdf, p);
        // The settings table's heading on every page it runs over.
        QVERIFY2(t.contains(QRegularExpression(QStringLiteral("Channel\\s+Setting\\s+Value\\s+Unit"))),
                 qPrintable(t));
        QVERIFY(t.contains(QStringLiteral("Page %1 of %2").arg(p).arg(pages)));
      }
      QVERIFY(PageText(pdf, pages).contains(QStringLiteral("CH 31")));
    }
  }

  // "Print…": the details asked, then the preview of the same pages; closing it prints
  // nothing.
  void printShowsAPreview() {
    frmQ5Con w(setup());
    w.show();
    ConnectTo(w, "sim:Q5W3NEIP-BO16");
    auto* menu = w.findChild<ReportMenu*>();
    emit w.mnuFiles->aboutToShow();
    QVERIFY(menu->mnuFilesPrint->isEnabled());
    QStringList seen;
    int previewPages = -1;
    std::function<void()> answer = [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      seen << modal->objectName();
      if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) previewPages = preview->pageCount();
      if (auto* dlg = qobject_cast<QDialog*>(modal)) {
        if (seen.size() == 1) QTimer::singleShot(100, &w, answer);
        dlg->done(seen.size() == 1 ? QDialog::Accepted : QDialog::Rejected);
      }
    };
    QTimer::singleShot(0, &w, answer);
    menu->mnuFilesPrint->trigger();
    QCOMPARE(seen, (QStringList{QStringLiteral("frmReport"), QStringLiteral("frmPrintPreview")}));
    QCOMPARE(previewPages, 1);
    QVERIFY(dialogs_.messages.empty());
  }

  // The 32-channel AC current page: the PDF well under a second.
  void ac32PdfIsQuick() {
    frmQ5Con w(setup());
    ConnectTo(w, "sim:Q5V3UM-AC32");
    auto* menu = w.findChild<ReportMenu*>();
    const QString pdf = rig_.path(QStringLiteral("ac32.pdf"));
    QElapsedTimer t;
    t.start();
    QVERIFY(menu->exportTo(pdf.toStdString(), {}));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(PdfPages(pdf) >= 1);
  }
};

QTEST_MAIN(ReportWindowTest)
#include "ReportWindowTest.moc"
