#include "QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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

QtDialogs::~QtDialogs() {
  if (loading_) delete loading_.data();
}

void QtDialogs::message(const std::string& text, const std::string& caption, ui::Icon icon) {
  QMessageBox::Icon qicon = QMessageBox::Critical;
  switch (icon) {
    case ui::Icon::Error: qicon = QMessageBox::Critical; break;
    case ui::Icon::Information: qicon = QMessageBox::Information; break;
    case ui::Icon::Warning: qicon = QMessageBox::Warning; break;
    case ui::Icon::Question: qicon = QMessageBox::Question; break;
  }
  QMessageBox box(qicon, DisplayCaption(caption), DisplayText(text), QMessageBox::Ok,
                  parent_.data());
  box.setObjectName("q5MessageBox");
  box.exec();
}

bool QtDialogs::ask(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Question, DisplayCaption(caption), DisplayText(text),
                  QMessageBox::Yes | QMessageBox::No, parent_.data());
  box.setObjectName("q5MessageBox");
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& title,
                                                     const std::string& filter) {
  const QString f = QString::fromStdString(filter);
  QString selected = f.section(QStringLiteral(";;"), 0, 0);  // the first filter preselected
  const QString name = QFileDialog::getOpenFileName(parent_.data(), QString::fromStdString(title),
                                                    QString(), f, &selected);
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& suggestedName) {
  const QString f = QString::fromStdString(filter);
  QString selected = f.section(QStringLiteral(";;"), 0, 0);
  // The dialog asks before it overwrites an existing file.
  const QString name = QFileDialog::getSaveFileName(parent_.data(), QString::fromStdString(title),
                                                    QString::fromStdString(suggestedName), f,
                                                    &selected);
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

void QtDialogs::progressOpen(double maximum, const std::string& caption) {
  if (!loading_) loading_ = new frmLoading(parent_.data());
  loading_->open(maximum, QString::fromStdString(caption));
}

void QtDialogs::progressStep() {
  if (loading_) loading_->step();
}

void QtDialogs::progressClose() {
  if (loading_) loading_->hide();
}

frmLoading* QtDialogs::progressWindow() const {
  return loading_ && loading_->isVisible() ? loading_.data() : nullptr;
}

}  // namespace q5::gui
