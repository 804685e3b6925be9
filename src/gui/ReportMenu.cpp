#include "ReportMenu.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <filesystem>
#include <functional>

#include "MainWindowTools.h"
#include "config/Backups.h"
#include "config/Compare.h"
#include "frmQ5Con.h"
#include "qtlink/ReportDocument.h"

namespace q5::gui {

namespace {

std::string FileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

bool EndsWithPdf(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext == ".pdf";
}

}  // namespace

ReportMenu::ReportMenu(frmQ5Con& window) : QObject(&window), w_(window) {
  // Before the separator and "Exit".
  mnuFilesReport = new QAction(QStringLiteral("Export &report…"), w_.mnuFiles);
  mnuFilesReport->setObjectName("mnuFilesReport");
  mnuFilesPrint = new QAction(QStringLiteral("&Print…"), w_.mnuFiles);
  mnuFilesPrint->setObjectName("mnuFilesPrint");
  mnuFilesPrint->setShortcut(QKeySequence::Print);
  QAction* before = nullptr;
  const auto actions = w_.mnuFiles->actions();
  for (QAction* a : actions)
    if (a == w_.mnuFilesEnd) break;
    else if (a->isSeparator()) before = a;
  w_.mnuFiles->insertAction(before, mnuFilesReport);
  w_.mnuFiles->insertAction(before, mnuFilesPrint);
  connect(mnuFilesReport, &QAction::triggered, this, &ReportMenu::mnuFilesReport_Click);
  connect(mnuFilesPrint, &QAction::triggered, this, &ReportMenu::mnuFilesPrint_Click);
  connect(w_.mnuFiles, &QMenu::aboutToShow, this, [this] {
    mnuFilesReport->setEnabled(pageAvailable());
    mnuFilesPrint->setEnabled(pageAvailable());
  });

  // A backup written before a Download, or a file the page was compared with: the later
  // one is what the changed settings are listed against.
  config::Backups& backups = w_.tools()->backups();
  auto previous = backups.onWritten;
  backups.onWritten = [this, previous](const std::string& path) {
    if (previous) previous(path);
    setChangesSource(path, "the backup " + FileNameOf(path) + " written before the last Download");
  };
  w_.tools()->compared = [this](const std::string& path) {
    setChangesSource(path, "the file " + FileNameOf(path));
  };
}

void ReportMenu::setChangesSource(const std::string& path, const std::string& label) {
  changesPath_ = path;
  changesLabel_ = label;
}

bool ReportMenu::pageAvailable() const {
  session::Session& s = w_.session();
  return w_.sequencesRunning() == 0 && !w_.exitRequested() && s.values.PageShown &&
         session::IsPageKind(s.values.pageKind) && s.page() != nullptr;
}

bool ReportMenu::buildReport(const Details& d, report::Report& out) {
  session::Session& s = w_.session();
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (!page || !s.values.PageShown) return false;
  report::ReportOptions o;
  o.preparedBy = d.preparedBy;
  o.note = d.note;
  if (s.values.Connected) {
    o.port = s.portName();
  } else {
    o.source = "the page, not connected";
  }
  out = report::BuildReport(*page, s.values, o);
  if (!changesPath_.empty()) {
    config::ConfigSnapshot before;
    std::string error;
    // A backup or file that cannot be read any more leaves the list out.
    if (before.open(changesPath_, error) && before.page())
      report::AddChanges(out, *before.page(), before.values(), *page, s.values, changesLabel_);
  }
  return true;
}

bool ReportMenu::exportTo(const std::string& path, const Details& d) {
  report::Report r;
  if (!buildReport(d, r)) return false;
  std::string error;
  int pages = 0;
  const bool pdf = EndsWithPdf(path);
  const bool ok = pdf ? qtlink::WriteReportPdf(r, d.paper, path, error, &pages)
                      : qtlink::WriteReportHtml(r, d.paper, path, error);
  if (!ok) {
    w_.dialogs().message(error, "Export report", ui::Icon::Error);
    return false;
  }
  w_.statusBar()->showMessage(QStringLiteral("Report written to %1").arg(QString::fromStdString(path)),
                              30000);
  return true;
}

bool ReportMenu::askDetails(const QString& title, bool withPaper, Details& d) {
  QDialog dialog(&w_);
  dialog.setObjectName("frmReport");
  dialog.setWindowTitle(title);
  auto* form = new QFormLayout(&dialog);
  auto* by = new QLineEdit(QString::fromStdString(d.preparedBy), &dialog);
  by->setObjectName("txtPreparedBy");
  form->addRow(QStringLiteral("Prepared by:"), by);
  auto* note = new QPlainTextEdit(QString::fromStdString(d.note), &dialog);
  note->setObjectName("txtNote");
  note->setTabChangesFocus(true);
  note->setMinimumHeight(80);
  form->addRow(QStringLiteral("Note:"), note);
  auto* paper = new QComboBox(&dialog);
  paper->setObjectName("cmbPaper");
  paper->addItems({QStringLiteral("A4"), QStringLiteral("Letter")});
  paper->setCurrentIndex(d.paper == report::PaperSize::Letter ? 1 : 0);
  if (withPaper) form->addRow(QStringLiteral("Paper:"), paper);
  else paper->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  dialog.resize(420, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  d.preparedBy = by->text().toStdString();
  d.note = note->toPlainText().toStdString();
  d.paper = paper->currentIndex() == 1 ? report::PaperSize::Letter : report::PaperSize::A4;
  return true;
}

void ReportMenu::mnuFilesReport_Click() {
  if (!pageAvailable()) return;
  Details d = last_;
  if (!askDetails(QStringLiteral("Export report"), true, d)) return;
  last_ = d;
  const auto path = w_.dialogs().chooseSaveFile(
      "Export report", "PDF Files (*.pdf);;HTML Files (*.html);;All Files (*.*)",
      "report-" + w_.session().values.model + ".pdf");
  if (!path) return;
  exportTo(*path, d);
}

void ReportMenu::mnuFilesPrint_Click() {
  if (!pageAvailable()) return;
  Details d = last_;
  if (!askDetails(QStringLiteral("Print"), false, d)) return;
  last_ = d;
  report::Report r;
  if (!buildReport(d, r)) return;
  const QString html = QString::fromStdString(report::ReportHtml(r, d.paper));
  const QString footer = qtlink::ReportFooter(r);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
  QPrintPreviewDialog preview(&printer, &w_);
  preview.setObjectName("frmPrintPreview");
  preview.setWindowTitle(QStringLiteral("Print"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&](QPrinter* p) { qtlink::PaintReport(html, *p, footer); });
  preview.exec();
}

}  // namespace q5::gui
