#pragma once
// Ctrl-C, SIGTERM and SIGHUP while the command line writes to a unit (Download, firmware
// update). The first one is only noted: the command finishes the exchange under way,
// sends nothing more and says where the unit stands. A second one ends the program at
// once, still printing the line the command has prepared for that case.
//
// POSIX: sigaction for SIGINT, SIGTERM and SIGHUP. Windows: a console control handler
// (Ctrl-C, Ctrl-Break, closing the console window, log-off and shut-down) reported as
// SIGINT, SIGTERM or SIGHUP alike.
#include <string>

namespace q5::cli {

class InterruptScope {
 public:
  // Installs the handlers; the destructor puts the previous ones back.
  InterruptScope();
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

  // The signal of the first interruption (SIGINT, SIGTERM, SIGHUP), or 0.
  static int signal();
  // The exit code for it: 128 + the signal number (130, 143, 129).
  static int exitCode();
  // "SIGINT", "SIGTERM", "SIGHUP".
  static const char* signalName();
  // The line a second interruption prints (on stderr, with a line break) before the
  // program ends at once with the signal's exit code. May be changed at any time
  // outside the handler; a handler that runs meanwhile prints the previous line.
  static void setLastWords(const std::string& line);
};

}  // namespace q5::cli
