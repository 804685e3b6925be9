#pragma once
// "File > Export report…" and "File > Print…": the commissioning report of the page on
// screen, connected or not, as a PDF or HTML file or on a printer with a preview. The
// settings that changed are listed against the backup written before the last Download
// or the file the page was last compared with, whichever came last.
#include <QObject>
#include <QString>
#include <string>

#include "report/Report.h"

class QAction;
class QPrinter;

namespace q5::gui {

class frmQ5Con;

class ReportMenu : public QObject {
  Q_OBJECT
 public:
  explicit ReportMenu(frmQ5Con& window);

  // What the person fills in before a report is made.
  struct Details {
    std::string preparedBy;
    std::string note;
    report::PaperSize paper = report::PaperSize::A4;
  };

  // The report of the page on screen; false when no page is shown.
  bool buildReport(const Details& details, report::Report& out);
  // Writes the report to PATH (.pdf, else HTML). False after the error was shown.
  bool exportTo(const std::string& path, const Details& details);
  // The settings the changed list is made against, and how the report names it ("" none).
  void setChangesSource(const std::string& path, const std::string& label);
  const std::string& changesPath() const { return changesPath_; }

  void mnuFilesReport_Click();
  void mnuFilesPrint_Click();

  QAction* mnuFilesReport = nullptr;
  QAction* mnuFilesPrint = nullptr;

 private:
  // Asks for "Prepared by", a note and the paper; false when cancelled.
  bool askDetails(const QString& title, bool withPaper, Details& details);
  bool pageAvailable() const;

  frmQ5Con& w_;
  Details last_;
  std::string changesPath_, changesLabel_;
};

}  // namespace q5::gui
