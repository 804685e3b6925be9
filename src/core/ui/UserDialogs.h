#pragma once
// What the core needs of the person at the screen: message boxes, a yes/no question,
// file choices and the progress window. The GUI implements it with Qt widgets, the
// command line with text on stderr, tests with a recorder that answers from a script.
#include <optional>
#include <string>

namespace q5::ui {

enum class Icon { Error, Information, Warning, Question };

// Why a message box is shown, for views that add an explanation under it: the kind of
// failure and the control it concerns. The box's text and caption stay as they are.
enum class FailureKind { None, Connection, Upload, Download, DataRange };
struct MessageCause {
  FailureKind kind = FailureKind::None;
  std::string control;  // the field a check stopped at ("txtBias(2)"), "" when none
  std::string why;      // that check's reason in words, "" when none
  bool nothingWritten = false;  // a Download that a check stopped before any write

  // A cause of that kind with no field named.
  static MessageCause of(FailureKind k) {
    MessageCause c;
    c.kind = k;
    return c;
  }
};

// The answers to "Save changes?".
enum class SaveAnswer { Save, Discard, Cancel };

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A modal message box with a fixed text, caption and icon.
  virtual void message(const std::string& text, const std::string& caption, Icon icon) = 0;
  // The same box, with why it is shown. By default the cause is left aside.
  virtual void failureMessage(const MessageCause& cause, const std::string& text,
                              const std::string& caption, Icon icon) {
    message(text, caption, icon);
  }
  // A modal yes/no question; true for yes.
  virtual bool ask(const std::string& text, const std::string& caption) = 0;
  // A modal question with the buttons "Save", "Discard" and "Cancel" (closing the box
  // is Cancel). Dialogs without such a box ask yes/no: yes saves, no cancels, so nothing
  // is ever thrown away without being chosen.
  virtual SaveAnswer askSaveDiscardCancel(const std::string& text, const std::string& caption) {
    return ask(text, caption) ? SaveAnswer::Save : SaveAnswer::Cancel;
  }
  // File choices: an empty result means the user cancelled (no message follows).
  // filter uses the Qt form, e.g. "Config files (*.uJx);;All files (*)".
  virtual std::optional<std::string> chooseOpenFile(const std::string& title,
                                                    const std::string& filter) = 0;
  virtual std::optional<std::string> chooseSaveFile(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& suggestedName) = 0;

  // The progress window frmLoading: opened with a maximum and a caption, advanced by
  // one step at a time, closed when the page's Init or Download ends.
  virtual void progressOpen(double maximum, const std::string& caption) = 0;
  virtual void progressStep() = 0;
  virtual void progressClose() = 0;
};

}  // namespace q5::ui
