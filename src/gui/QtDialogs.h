#pragma once
// The dialogs the core asks for, shown with Qt widgets: message boxes with the exact text,
// caption and icon, a yes/no question, the file choices and the progress window.
#include <QPointer>
#include <QWidget>

#include "ui/UserDialogs.h"

namespace q5::gui {

class frmLoading;

class QtDialogs : public ui::UserDialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  ~QtDialogs() override;

  void message(const std::string& text, const std::string& caption, ui::Icon icon) override;
  bool ask(const std::string& text, const std::string& caption) override;
  std::optional<std::string> chooseOpenFile(const std::string& title,
                                            const std::string& filter) override;
  std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& suggestedName) override;
  void progressOpen(double maximum, const std::string& caption) override;
  void progressStep() override;
  void progressClose() override;

  // The progress window while it is up (nullptr otherwise); for tests.
  frmLoading* progressWindow() const;

 private:
  QPointer<QWidget> parent_;
  QPointer<frmLoading> loading_;
};

// A message text as a widget shows it: CR LF pairs become line breaks.
QString DisplayText(const std::string& text);
// A caption as a title bar shows it: line breaks at the end are dropped.
QString DisplayCaption(const std::string& caption);

}  // namespace q5::gui
