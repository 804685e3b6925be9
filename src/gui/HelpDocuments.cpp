#include "HelpDocuments.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "pages/PageRegistry.h"

// The manual is built into the program as a resource of this library; naming its
// initialiser here keeps the linker from dropping it.
static void InitManualResource() { Q_INIT_RESOURCE(q5cfg); }

namespace q5::gui {

namespace {

// The instruction manual's section for the page shown: the page kind's own document, or
// the overview of pages when no page is shown.
QString PageDocument(int pageKind) {
  const pages::PageKindEntry* entry = pages::FindPageKind(pageKind);
  return entry ? QString::fromUtf8(entry->manual.data(), static_cast<int>(entry->manual.size()))
               : QStringLiteral("pages.html");
}

}  // namespace

QString HelpDocuments::manualFolder() {
  if (!folder_.isEmpty()) return folder_;
  // Next to the program (the build tree's copy), or where an installation puts it:
  // <prefix>/share/q5cfg/manual beside <prefix>/bin.
  const QString bin = QCoreApplication::applicationDirPath();
  for (const QString& candidate :
       {bin + QStringLiteral("/manual"), bin + QStringLiteral("/../share/q5cfg/manual")}) {
    if (QFileInfo::exists(candidate + QStringLiteral("/index.html"))) {
      folder_ = QDir(candidate).canonicalPath();
      return folder_;
    }
  }
  // Otherwise unpack the copy built into the program.
  InitManualResource();
  const QString temp = QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                       QStringLiteral("/q5cfg-manual-") + QCoreApplication::applicationVersion();
  QDir().mkpath(temp);
  QDirIterator it(QStringLiteral(":/manual"), QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString src = it.next();
    if (QFileInfo(src).isDir()) continue;
    const QString rel = src.mid(QStringLiteral(":/manual/").size());
    const QString dst = temp + QLatin1Char('/') + rel;
    QDir().mkpath(QFileInfo(dst).absolutePath());
    QFile::remove(dst);
    if (QFile::copy(src, dst))
      QFile::setPermissions(dst, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                     QFile::ReadOther);
  }
  folder_ = temp;
  return folder_;
}

QUrl HelpDocuments::address(Document d, const session::SessionValues& values) {
  QString file;
  switch (d) {
    case InstructionManualEnglish:
    case InstructionManualJapanese: file = PageDocument(values.pageKind); break;
    case DataSheetsEnglish:
    case DataSheetsJapanese: file = QStringLiteral("datasheets.html"); break;
    case UsersManualEnglish:
    case UsersManualJapanese: file = QStringLiteral("index.html"); break;
  }
  return QUrl::fromLocalFile(manualFolder() + QLatin1Char('/') + file);
}

bool HelpDocuments::open(Document d, const session::SessionValues& values) {
  return QDesktopServices::openUrl(address(d, values));
}

}  // namespace q5::gui
