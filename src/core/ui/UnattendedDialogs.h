#pragma once
// Dialogs for work nobody watches: the second, offline session of a comparison, the
// benchmarks, the fuzzers, the command line's firmware run. No box is shown, every
// question gets the same answer, the file chooser returns the file given beforehand (or
// nothing), and there is no progress window. The first error message is kept, so the
// caller can say what failed.
#include <optional>
#include <string>
#include <utility>

#include "ui/UserDialogs.h"

namespace q5::ui {

class UnattendedDialogs : public UserDialogs {
 public:
  explicit UnattendedDialogs(bool answer = false, std::optional<std::string> file = std::nullopt)
      : answer_(answer), file_(std::move(file)) {}

  std::string firstError;

  void message(const std::string& text, const std::string&, Icon icon) override {
    if (icon == Icon::Error && firstError.empty()) firstError = text;
  }
  bool ask(const std::string&, const std::string&) override { return answer_; }
  std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override {
    return file_;
  }
  std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
    return std::nullopt;
  }
  void progressOpen(double, const std::string&) override {}
  void progressStep() override {}
  void progressClose() override {}

 private:
  bool answer_;
  std::optional<std::string> file_;
};

}  // namespace q5::ui
