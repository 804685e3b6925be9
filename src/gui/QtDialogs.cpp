#include "QtDialogs.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>
#include <QSpacerItem>

#include "frmLoading.h"

namespace q5::gui {

QString DisplayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QString DisplayCaption(const std::string& caption) {
  QString s = QString::fromStdString(caption);
  while (s.endsWith(QLatin1Char('\n')) || s.endsWith(QLatin1Char('\r'))) s.chop(1);
  s.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return s;
}

namespace {
// A path starts a word: "/", "~/", "./", "../", a drive letter or "\\\\server".
const QRegularExpression& PathPattern() {
  static const QRegularExpression kPath(
      QStringLiteral(R"((?<![^\s("'])(?:~?/|\.\.?/|[A-Za-z]:\\|\\\\)\S*)"));
  return kPath;
}
constexpr QChar kWordJoiner(0x2060);
}  // namespace

QString KeepPathsWhole(const QString& text) {
  QString out;
  qsizetype from = 0;
  auto it = PathPattern().globalMatch(text);
  while (it.hasNext()) {
    const auto m = it.next();
    out += text.mid(from, m.capturedStart() - from);
    const QString path = m.captured();
    // A joiner between every two characters: no rule of line breaking applies inside.
    for (qsizetype i = 0; i < path.size(); ++i) {
      if (i > 0) out += kWordJoiner;
      out += path[i];
    }
    from = m.capturedEnd();
  }
  out += text.mid(from);
  return out;
}

void FitCaption(QMessageBox& box) {
  // A title bar shows the caption beside the window manager's buttons; a box as narrow
  // as "Upload Error" would cut "Remote I/O Q5 Information" short.
  const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
  int width = fm.horizontalAdvance(box.windowTitle()) + fm.height() * 8;
  // The cause under the message ("… could not be opened: No such file or directory.")
  // reads on one or two lines rather than as a narrow column of words.
  // A path, kept whole, fits on a line of its own (up to a screen-friendly width).
  {
    const QFontMetrics text(QApplication::font("QMessageBox"));
    QString all = box.text() + QLatin1Char(' ') + box.informativeText();
    all.remove(kWordJoiner);
    auto paths = PathPattern().globalMatch(all);
    while (paths.hasNext())
      width = std::max(width, std::min(text.horizontalAdvance(paths.next().captured()) + 8,
                                       text.averageCharWidth() * 90));
  }
  if (const QString why = box.informativeText(); !why.isEmpty()) {
    const QFontMetrics text(QApplication::font("QMessageBox"));
    width = std::max(width, std::min(text.horizontalAdvance(why), text.averageCharWidth() * 56));
  }
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

QtDialogs::~QtDialogs() {
  if (loading_) delete loading_.data();
}

void QtDialogs::message(const std::string& text, const std::string& caption, ui::Icon icon) {
  failureMessage({}, text, caption, icon);
}

void QtDialogs::failureMessage(const ui::MessageCause& cause, const std::string& text,
                               const std::string& caption, ui::Icon icon) {
  QMessageBox::Icon qicon = QMessageBox::Critical;
  switch (icon) {
    case ui::Icon::Error: qicon = QMessageBox::Critical; break;
    case ui::Icon::Information: qicon = QMessageBox::Information; break;
    case ui::Icon::Warning: qicon = QMessageBox::Warning; break;
    case ui::Icon::Question: qicon = QMessageBox::Question; break;
  }
  QMessageBox box(qicon, DisplayCaption(caption), KeepPathsWhole(DisplayText(text)), QMessageBox::Ok,
                  parent_.data());
  box.setObjectName("q5MessageBox");
  if (explain_) {
    const QString why = explain_(cause, text);
    if (!why.isEmpty()) box.setInformativeText(KeepPathsWhole(why));
  }
  FitCaption(box);
  // The progress window of a failed read stays behind the message, not above it.
  if (loading_ && loading_->isVisible()) loading_->hide();
  box.exec();
}

bool QtDialogs::ask(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Question, DisplayCaption(caption), KeepPathsWhole(DisplayText(text)),
                  QMessageBox::Yes | QMessageBox::No, parent_.data());
  box.setObjectName("q5MessageBox");
  box.setDefaultButton(QMessageBox::No);
  FitCaption(box);
  return box.exec() == QMessageBox::Yes;
}

ui::SaveAnswer QtDialogs::askSaveDiscardCancel(const std::string& text,
                                               const std::string& caption) {
  QMessageBox box(QMessageBox::Warning, DisplayCaption(caption), DisplayText(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                  parent_.data());
  box.setObjectName("q5SaveChangesBox");
  box.setInformativeText(QStringLiteral(
      "The page holds settings that were edited or created offline and are neither saved "
      "to a file nor downloaded to the unit. They are about to be replaced."));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  // Alt+S and Alt+D answer from the keyboard as Esc does for Cancel.
  box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
  FitCaption(box);
  switch (box.exec()) {
    case QMessageBox::Save: return ui::SaveAnswer::Save;
    case QMessageBox::Discard: return ui::SaveAnswer::Discard;
    default: return ui::SaveAnswer::Cancel;
  }
}

QFileDialog* QtDialogs::makeFileDialog(bool save, const std::string& title,
                                       const std::string& filter,
                                       const std::string& suggestedName) {
  auto* dlg = new QFileDialog(parent_.data(), QString::fromStdString(title), lastFolder_,
                              QString::fromStdString(filter));
  dlg->setObjectName(save ? "q5SaveDialog" : "q5OpenDialog");
  // The first filter (the configuration files, the CSV files) preselected.
  const QStringList filters = dlg->nameFilters();
  if (!filters.isEmpty()) dlg->selectNameFilter(filters.front());
  if (save) {
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the first filter's (NAME.uJx, NAME.csv),
    // and the dialog asks before it overwrites that file.
    QString suffix = QStringLiteral("uJx");
    static const QRegularExpression kFirstPattern(QStringLiteral("\\*\\.(\\w+)"));
    if (const auto m = kFirstPattern.match(filters.isEmpty() ? QString() : filters.front());
        m.hasMatch())
      suffix = m.captured(1);
    dlg->setDefaultSuffix(suffix);
    if (!suggestedName.empty()) dlg->selectFile(QString::fromStdString(suggestedName));
  } else {
    dlg->setAcceptMode(QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::ExistingFile);
  }
  return dlg;
}

std::optional<std::string> QtDialogs::chosen(QFileDialog& dlg) {
  if (dlg.result() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  const QString name = dlg.selectedFiles().front();
  if (name.isEmpty()) return std::nullopt;
  lastFolder_ = QFileInfo(name).absolutePath();
  return name.toStdString();
}

std::optional<std::string> QtDialogs::chooseFile(bool save, const std::string& title,
                                                 const std::string& filter,
                                                 const std::string& suggestedName) {
  std::unique_ptr<QFileDialog> dlg(makeFileDialog(save, title, filter, suggestedName));
  dlg->exec();
  return chosen(*dlg);
}

void QtDialogs::chooseSaveFileThen(const std::string& title, const std::string& filter,
                                   const std::string& suggestedName,
                                   std::function<void(std::optional<std::string>)> done) {
  QFileDialog* dlg = makeFileDialog(true, title, filter, suggestedName);
  dlg->setAttribute(Qt::WA_DeleteOnClose);
  // open(): modal to the window, but it returns at once, without an event loop of its
  // own that would hold up the monitoring loop below on the stack.
  QObject::connect(dlg, &QDialog::finished, dlg, [this, dlg, done = std::move(done)](int) {
    done(chosen(*dlg));
  });
  dlg->open();
}

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& title,
                                                     const std::string& filter) {
  return chooseFile(false, title, filter, {});
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& suggestedName) {
  return chooseFile(true, title, filter, suggestedName);
}

void QtDialogs::progressOpen(double maximum, const std::string& caption) {
  if (!loading_) {
    loading_ = new frmLoading(parent_.data());
    QObject::connect(loading_.data(), &frmLoading::cancelClicked, loading_.data(), [this] {
      if (cancel_) cancel_();
    });
  }
  // Reading can stop between two exchanges; a Download half written cannot.
  const QString c = QString::fromStdString(caption);
  loading_->setCancellable(cancellable_ && cancellable_() &&
                           !c.contains(QStringLiteral("Download"), Qt::CaseInsensitive));
  loading_->open(maximum, c);
  progressNotify();
}

void QtDialogs::progressStep() {
  if (loading_) loading_->step();
  progressNotify();
}

void QtDialogs::progressClose() {
  if (loading_) loading_->hide();
  progressNotify();
}

frmLoading* QtDialogs::progressWindow() const {
  return loading_ && loading_->isVisible() ? loading_.data() : nullptr;
}

}  // namespace q5::gui
