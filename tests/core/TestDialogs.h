#pragma once
// A UserDialogs for tests: answers questions and file choices from a script and keeps
// every message box and progress call, so a test can assert texts, captions and icons
// exactly and see the order in which things were shown.
//
//   TestDialogs dialogs;
//   dialogs.answers = {true, false};               // ask(): yes, then no (then no)
//   dialogs.openFiles = {"/tmp/a.uJx"};             // chooseOpenFile(): this path
//   dialogs.saveFiles = {std::nullopt};             // chooseSaveFile(): cancelled
//   ... run the code ...
//   ASSERT_EQ(dialogs.messages.size(), 1u);
//   EXPECT_EQ(dialogs.messages[0], (TestDialogs::Message{"Upload Error", "Upload",
//                                                         q5::ui::Icon::Error}));
//   EXPECT_EQ(dialogs.events, (std::vector<std::string>{"progressOpen 5 Initializing",
//       "progressStep", "progressClose", "message Upload Error|Upload|Error"}));
//   EXPECT_FALSE(dialogs.progressShown);
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/UserDialogs.h"

class TestDialogs : public q5::ui::UserDialogs {
 public:
  struct Message {
    std::string text;
    std::string caption;
    q5::ui::Icon icon;
    bool operator==(const Message&) const = default;
  };
  struct Question {
    std::string text;
    std::string caption;
    bool operator==(const Question&) const = default;
  };

  // What was shown, in order.
  std::vector<Message> messages;
  std::vector<Question> questions;
  // Every call as one line: "message TEXT|CAPTION|Error", "ask TEXT|CAPTION -> yes",
  // "open TITLE -> PATH" / "-> cancel", "save TITLE -> ...", "progressOpen MAX CAPTION",
  // "progressStep", "progressClose".
  std::vector<std::string> events;

  // Scripted answers, taken from the front. When a queue is empty: ask() answers
  // defaultAnswer, file choices answer "cancel".
  std::deque<bool> answers;
  bool defaultAnswer = false;
  std::deque<std::optional<std::string>> openFiles;
  std::deque<std::optional<std::string>> saveFiles;
  // "Save changes?" answers, taken from the front; when empty, defaultSaveAnswer.
  std::deque<q5::ui::SaveAnswer> saveAnswers;
  q5::ui::SaveAnswer defaultSaveAnswer = q5::ui::SaveAnswer::Cancel;

  // Called after each message is recorded (e.g. to click a button of the window under
  // test while the message box would be up).
  std::function<void(const Message&)> onMessage;

  // The progress window as a person would see it now.
  bool progressShown = false;
  double progressMaximum = 0;
  double progressValue = 0;
  std::string progressCaption;
  int progressOpens = 0;

  // Why each message was shown, beside messages (the default cause for a plain one).
  std::vector<q5::ui::MessageCause> causes;

  void message(const std::string& text, const std::string& caption,
               q5::ui::Icon icon) override {
    causes.push_back(std::exchange(pendingCause_, {}));
    messages.push_back({text, caption, icon});
    events.push_back("message " + text + "|" + caption + "|" + IconName(icon));
    if (onMessage) onMessage(messages.back());
  }

  void failureMessage(const q5::ui::MessageCause& cause, const std::string& text,
                      const std::string& caption, q5::ui::Icon icon) override {
    pendingCause_ = cause;
    message(text, caption, icon);
  }

  bool ask(const std::string& text, const std::string& caption) override {
    questions.push_back({text, caption});
    bool answer = defaultAnswer;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    events.push_back("ask " + text + "|" + caption + " -> " + (answer ? "yes" : "no"));
    return answer;
  }

  // Recorded among questions too; events: "askSave TEXT|CAPTION -> save".
  q5::ui::SaveAnswer askSaveDiscardCancel(const std::string& text,
                                          const std::string& caption) override {
    questions.push_back({text, caption});
    q5::ui::SaveAnswer answer = defaultSaveAnswer;
    if (!saveAnswers.empty()) {
      answer = saveAnswers.front();
      saveAnswers.pop_front();
    }
    const char* word = answer == q5::ui::SaveAnswer::Save      ? "save"
                       : answer == q5::ui::SaveAnswer::Discard ? "discard"
                                                               : "cancel";
    events.push_back("askSave " + text + "|" + caption + " -> " + word);
    return answer;
  }

  std::optional<std::string> chooseOpenFile(const std::string& title,
                                            const std::string& filter) override {
    return choose("open " + title, openFiles);
  }

  std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& suggestedName) override {
    return choose("save " + title, saveFiles);
  }

  void progressOpen(double maximum, const std::string& caption) override {
    progressShown = true;
    progressMaximum = maximum;
    progressValue = 0;
    progressCaption = caption;
    ++progressOpens;
    std::ostringstream line;
    line << "progressOpen " << maximum << " " << caption;
    events.push_back(line.str());
  }
  void progressStep() override {
    progressValue += 1;
    events.push_back("progressStep");
  }
  void progressClose() override {
    progressShown = false;
    events.push_back("progressClose");
  }

  // Only the message lines of events, e.g. {"Data Range Error", "Download"} captions.
  std::vector<std::string> captions() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.caption);
    return out;
  }
  void clear() {
    messages.clear();
    causes.clear();  // beside messages, one for one
    questions.clear();
    events.clear();
  }

  static const char* IconName(q5::ui::Icon icon) {
    switch (icon) {
      case q5::ui::Icon::Error: return "Error";
      case q5::ui::Icon::Information: return "Information";
      case q5::ui::Icon::Warning: return "Warning";
      case q5::ui::Icon::Question: return "Question";
    }
    return "?";
  }

 private:
  std::optional<std::string> choose(const std::string& what,
                                    std::deque<std::optional<std::string>>& queue) {
    std::optional<std::string> answer;
    if (!queue.empty()) {
      answer = queue.front();
      queue.pop_front();
    }
    events.push_back(what + " -> " + (answer ? *answer : std::string("cancel")));
    return answer;
  }
  q5::ui::MessageCause pendingCause_;
};

// Readable failure output for EXPECT_EQ on messages.
inline std::ostream& operator<<(std::ostream& os, const TestDialogs::Message& m) {
  return os << "{\"" << m.text << "\", \"" << m.caption << "\", "
            << TestDialogs::IconName(m.icon) << "}";
}
