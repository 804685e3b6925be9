#pragma once
// What every q5cfg-cli command is given: the session (identification, pages, the link),
// the dialogs that print message boxes as text, the output streams and the global
// options. Commands are plain functions: int CmdX(const CliContext&, args) returning
// the exit code (kExitOk, kExitFailed, kExitUsage).
#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

#include "session/Session.h"
#include "ui/UserDialogs.h"

namespace q5::cli {

inline constexpr int kExitOk = 0;      // done
inline constexpr int kExitFailed = 1;  // the unit, the port or a file failed
inline constexpr int kExitUsage = 2;   // bad command line

// Message boxes as text: "caption: text". Errors and warnings go to the error stream,
// information to the output stream (it is what the user asked for). Questions are
// answered from `answers` (then `defaultAnswer`), file choices from the queues (then
// "cancelled"), so a command decides up front what the person would have chosen.
class CliDialogs : public ui::UserDialogs {
 public:
  struct Message {
    std::string text;
    std::string caption;
    ui::Icon icon;
  };

  CliDialogs(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void message(const std::string& text, const std::string& caption, ui::Icon icon) override;
  bool ask(const std::string& text, const std::string& caption) override;
  std::optional<std::string> chooseOpenFile(const std::string& title,
                                            const std::string& filter) override;
  std::optional<std::string> chooseSaveFile(const std::string& title,
                                            const std::string& filter,
                                            const std::string& suggestedName) override;
  void progressOpen(double maximum, const std::string& caption) override {}
  void progressStep() override {}
  void progressClose() override {}

  // Every message shown so far, oldest first.
  std::vector<Message> messages;
  // True when an error message was shown since the last clearErrors().
  bool errorShown = false;
  void clearErrors() { errorShown = false; }

  std::deque<bool> answers;
  bool defaultAnswer = false;
  std::deque<std::optional<std::string>> openFiles;
  std::deque<std::optional<std::string>> saveFiles;

  // The text as a terminal shows it: CR LF and lone CRs become new lines, a trailing
  // line end is dropped.
  static std::string Printable(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
};

struct CliOptions {
  std::string port;    // --port P
  bool trace = false;  // --trace: the wire on stderr
  bool debug = false;  // --debug: error counters and log at the end
  bool noBackup = false;  // --no-backup: Download writes no backup first
};

struct CliContext {
  session::Session& session;
  CliDialogs& dialogs;
  std::ostream& out;
  std::ostream& err;
  CliOptions options;
  // The backup the last Download wrote ("" when none).
  std::function<std::string()> backupPath = {};
};

// For commands that talk to a unit: false (and a usage message) when --port is missing.
bool RequirePort(const CliContext& ctx, const char* command);
// Connect up to the identification check (UnitConnect): opens --port, reads "00"/"01"
// and expects "MNTSW". False after "Connection Error" was printed.
bool ConnectUnit(const CliContext& ctx);
// After a sequence: when something failed on the way (a write refused or unanswered, a
// read without a reply, the unit given up, the port closed), prints
// "q5cfg-cli COMMAND: what failed" and returns true; the command then exits with
// kExitFailed even though it got to its end.
inline bool ReportFailure(const CliContext& ctx, const char* command, const std::string& failure) {
  if (failure.empty()) return false;
  ctx.err << "q5cfg-cli " << command << ": " << failure << std::endl;
  return true;
}

// True when args hold "--help" or "-h".
bool WantsHelp(const std::vector<std::string>& args);

}  // namespace q5::cli
