#pragma once
// The dialogs the core asks for, shown with Qt widgets: message boxes with the exact text,
// caption and icon (and, below them, what caused them), a yes/no question, "Save
// changes?", the file choices and the progress window.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "ui/UserDialogs.h"

class QFileDialog;
class QMessageBox;

namespace q5::gui {

class frmLoading;

class QtDialogs : public ui::UserDialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  ~QtDialogs() override;

  void message(const std::string& text, const std::string& caption, ui::Icon icon) override;
  void failureMessage(const ui::MessageCause& cause, const std::string& text,
                      const std::string& caption, ui::Icon icon) override;
  bool ask(const std::string& text, const std::string& caption) override;
  ui::SaveAnswer askSaveDiscardCancel(const std::string& text,
                                      const std::string& caption) override;
  std::optional<std::string> chooseOpenFile(const std::string& title,
                                            const std::string& filter) override;
  std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& suggestedName) override;
  // A file dialog that does not stop the window: monitoring goes on behind it.
  void chooseSaveFileThen(const std::string& title, const std::string& filter,
                          const std::string& suggestedName,
                          std::function<void(std::optional<std::string>)> done);
  void progressOpen(double maximum, const std::string& caption) override;
  void progressStep() override;
  void progressClose() override;

  // The progress window while it is up (nullptr otherwise); for tests.
  frmLoading* progressWindow() const;

  // What caused a message, shown under its fixed text ("" for nothing); the main window
  // knows the port's error and the last unanswered command. A message without a cause
  // comes with the default one (FailureKind::None).
  using Explain = std::function<QString(const ui::MessageCause& cause, const std::string& text)>;
  void setExplain(Explain explain) { explain_ = std::move(explain); }
  // The progress window's "Cancel": shown while cancellable() says so; the handler runs
  // when it is clicked.
  void setCancel(std::function<bool()> cancellable, std::function<void()> handler) {
    cancellable_ = std::move(cancellable);
    cancel_ = std::move(handler);
  }
  // Called whenever the progress window opens, steps or closes.
  void setProgressChanged(std::function<void()> f) { progressChanged_ = std::move(f); }
  // The folder the file dialogs start in: the one last used in this run (nothing of it
  // is kept after the program ends).
  const QString& lastFolder() const { return lastFolder_; }

 private:
  std::optional<std::string> chooseFile(bool save, const std::string& title,
                                        const std::string& filter,
                                        const std::string& suggestedName);
  QFileDialog* makeFileDialog(bool save, const std::string& title, const std::string& filter,
                              const std::string& suggestedName);
  std::optional<std::string> chosen(QFileDialog& dlg);
  void progressNotify() {
    if (progressChanged_) progressChanged_();
  }

  QPointer<QWidget> parent_;
  QPointer<frmLoading> loading_;
  Explain explain_;
  std::function<bool()> cancellable_;
  std::function<void()> cancel_;
  std::function<void()> progressChanged_;
  QString lastFolder_;
};

// A message text as a widget shows it: CR LF pairs become line breaks.
QString DisplayText(const std::string& text);
// A caption as a title bar shows it: line breaks at the end are dropped.
QString DisplayCaption(const std::string& caption);
// A text whose paths ("/tmp/q5sim-x/pty", "~/a.uJx", "C:\\q5\\a.uJx") a word-wrapping label
// keeps whole: a line may break before a path, never inside it (not after a "/" or
// "-"). Only invisible word joiners are added; the text reads the same.
QString KeepPathsWhole(const QString& text);
// Widens a message box so that its whole caption shows in the title bar.
void FitCaption(QMessageBox& box);

}  // namespace q5::gui
