#pragma once
// The report's HTML laid out on pages: the same text the HTML file holds, drawn through
// a rich-text document onto a PDF file or a printer, with the table headings repeated
// on every page a table runs over and "page N of M" under each page.
#include <QString>
#include <string>

#include "report/Report.h"

class QPagedPaintDevice;

namespace q5::qtlink {

// Lays the HTML out on the device's pages and draws them. Returns the page count
// (0 when nothing could be drawn). The device's page size and margins are used as set.
int PaintReport(const QString& html, QPagedPaintDevice& device, const QString& footer);

// Writes the report as a PDF file of the paper size (15 mm margins). False with the
// reason when it cannot be written; `pages` gets the page count.
bool WriteReportPdf(const report::Report& report, report::PaperSize paper, const std::string& path,
                    std::string& error, int* pages = nullptr);

// Writes the report's HTML to a file (through a temporary file and a rename).
bool WriteReportHtml(const report::Report& report, report::PaperSize paper,
                     const std::string& path, std::string& error);

// The footer under each page: "MODEL — DATE".
QString ReportFooter(const report::Report& report);

}  // namespace q5::qtlink
