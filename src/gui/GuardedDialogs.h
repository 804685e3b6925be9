#pragma once
// Passes the core's dialogs on to the real ones, except while the program is ending:
// then messages are dropped and questions and file choices answered "no" / "cancel", so
// a sequence that unwinds after "Exit" never stops on a box nobody will answer.
#include <functional>

#include "QtDialogs.h"
#include "ui/UserDialogs.h"

namespace q5::gui {

class GuardedDialogs : public ui::UserDialogs {
 public:
  explicit GuardedDialogs(ui::UserDialogs& inner) : inner_(inner) {}
  void silence() { silent_ = true; }
  bool silenced() const { return silent_; }
  // A cancelled sequence unwinds without the failure messages its cancelling causes
  // (the reads after Cancel fail on the closed port); the window says "Cancelled".
  void muteMessages(bool on) { muted_ = on; }
  bool messagesMuted() const { return muted_; }

  // Called just before a message box shows (the window's status line follows it).
  void setBeforeMessage(std::function<void(const std::string& text, ui::Icon icon)> f) {
    beforeMessage_ = std::move(f);
  }

  void message(const std::string& text, const std::string& caption, ui::Icon icon) override {
    if (silent_ || muted_) return;
    if (icon == ui::Icon::Error) ++errorsShown_;
    if (beforeMessage_) beforeMessage_(text, icon);
    inner_.message(text, caption, icon);
  }
  void failureMessage(const ui::MessageCause& cause, const std::string& text,
                      const std::string& caption, ui::Icon icon) override {
    if (silent_ || muted_) return;
    if (icon == ui::Icon::Error) ++errorsShown_;
    if (beforeMessage_) beforeMessage_(text, icon);
    inner_.failureMessage(cause, text, caption, icon);
  }
  bool ask(const std::string& text, const std::string& caption) override {
    return !silent_ && inner_.ask(text, caption);
  }
  // While the program ends, the question was asked before "Exit" went on.
  ui::SaveAnswer askSaveDiscardCancel(const std::string& text,
                                      const std::string& caption) override {
    if (silent_) return ui::SaveAnswer::Discard;
    return inner_.askSaveDiscardCancel(text, caption);
  }
  std::optional<std::string> chooseOpenFile(const std::string& title,
                                            const std::string& filter) override {
    if (silent_) return std::nullopt;
    return chosen(inner_.chooseOpenFile(title, filter));
  }
  std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& suggestedName) override {
    if (silent_) return std::nullopt;
    return chosen(inner_.chooseSaveFile(title, filter, suggestedName));
  }
  // The file chosen last in a file dialog ("" when it was cancelled), and how many
  // error messages were shown so far: the window tells from them how a file action ended.
  const std::string& lastChosenFile() const { return lastChosen_; }
  int errorsShown() const { return errorsShown_; }
  void forgetChosenFile() { lastChosen_.clear(); }
  // A save-file choice that does not wait for the answer: with the window's own dialogs
  // `done` gets it once the person gave it, and a monitoring loop goes on meanwhile;
  // other dialogs (tests) answer at once.
  void chooseSaveFileThen(const std::string& title, const std::string& filter,
                          const std::string& suggestedName,
                          std::function<void(std::optional<std::string>)> done) {
    if (silent_) return done(std::nullopt);
    if (auto* qt = dynamic_cast<QtDialogs*>(&inner_))
      return qt->chooseSaveFileThen(title, filter, suggestedName, std::move(done));
    done(inner_.chooseSaveFile(title, filter, suggestedName));
  }
  void progressOpen(double maximum, const std::string& caption) override {
    if (!silent_) inner_.progressOpen(maximum, caption);
  }
  void progressStep() override {
    if (!silent_) inner_.progressStep();
  }
  void progressClose() override { inner_.progressClose(); }

 private:
  std::optional<std::string> chosen(std::optional<std::string> file) {
    lastChosen_ = file.value_or(std::string());
    return file;
  }

  ui::UserDialogs& inner_;
  std::string lastChosen_;
  int errorsShown_ = 0;
  std::function<void(const std::string&, ui::Icon)> beforeMessage_;
  bool silent_ = false;
  bool muted_ = false;
};

}  // namespace q5::gui
