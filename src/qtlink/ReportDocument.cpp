#include "qtlink/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <memory>

#include "config/FileAccess.h"

namespace q5::qtlink {

QString ReportFooter(const report::Report& r) {
  return QString::fromStdString(r.identity.model) + QStringLiteral(" \u2014 ") +
         QString::fromStdString(r.dateTime);
}

int PaintReport(const QString& html, QPagedPaintDevice& device, const QString& footer) {
  const int dpi = device.logicalDpiY();
  const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
  if (paint.width() <= 0 || paint.height() <= 0 || dpi <= 0) return 0;
  // Room for the footer line under the text of each page.
  const int footerHeight = dpi * 8 / 25;  // about 8 mm
  const QSizeF pageSize(paint.width(), paint.height() - footerHeight);

  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&device);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(9);
  doc.setDefaultFont(font);
  doc.setDocumentMargin(0);
  doc.setHtml(html);
  doc.setPageSize(pageSize);
  const int pages = doc.pageCount();

  QPainter p;
  if (!p.begin(&device)) return 0;
  QFont small = font;
  small.setPointSizeF(7.5);
  for (int i = 0; i < pages; ++i) {
    if (i > 0 && !device.newPage()) {
      p.end();
      return 0;
    }
    p.save();
    const QRectF clip(0, i * pageSize.height(), pageSize.width(), pageSize.height());
    p.translate(0, -clip.top());
    p.setClipRect(clip);
    doc.drawContents(&p, clip);
    p.restore();
    p.setFont(small);
    p.setPen(Qt::darkGray);
    const QRectF foot(0, pageSize.height() + footerHeight / 3.0, pageSize.width(),
                      footerHeight * 2 / 3.0);
    p.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, footer);
    p.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
  }
  p.end();
  return pages;
}

bool WriteReportPdf(const report::Report& r, report::PaperSize paper, const std::string& path,
                    std::string& error, int* pages) {
  // Drawn into memory first, then written through a temporary file: a report that cannot
  // be drawn leaves no half-written file.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  int count = 0;
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QStringLiteral("Commissioning report ") + QString::fromStdString(r.identity.model));
    writer.setCreator(QStringLiteral("Q5CFG"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(
        QPageSize(paper == report::PaperSize::Letter ? QPageSize::Letter : QPageSize::A4),
        QPageLayout::Portrait, QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
    count = PaintReport(QString::fromStdString(report::ReportHtml(r, paper)), writer,
                        ReportFooter(r));
  }
  buffer.close();
  if (count <= 0) {
    error = "The report could not be laid out on pages.";
    return false;
  }
  if (pages) *pages = count;
  const QByteArray& bytes = buffer.data();
  return config::WriteFileAtomically(path, std::string(bytes.constData(), bytes.size()), error);
}

bool WriteReportHtml(const report::Report& r, report::PaperSize paper, const std::string& path,
                     std::string& error) {
  return config::WriteFileAtomically(path, report::ReportHtml(r, paper), error);
}

}  // namespace q5::qtlink
