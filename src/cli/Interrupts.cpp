#include "Interrupts.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace q5::cli {
namespace {

#ifndef SIGHUP
constexpr int kSigHup = 1;
#else
constexpr int kSigHup = SIGHUP;
#endif

std::atomic<int> gSignal{0};

// Two buffers: the one not shown to the handler is filled, then made the shown one, so a
// handler never prints a line that is half written.
constexpr std::size_t kLineBytes = 1024;
char gLines[2][kLineBytes];
std::atomic<std::size_t> gLength[2]{0, 0};
std::atomic<int> gShown{0};

void WriteStderr(const char* text, std::size_t n) {
#ifdef _WIN32
  [[maybe_unused]] const int r = ::_write(2, text, static_cast<unsigned>(n));
#else
  [[maybe_unused]] const ssize_t r = ::write(STDERR_FILENO, text, n);
#endif
}

// Async-signal-safe: atomics, write(2) and _exit only.
void Interrupted(int sig) {
  int expected = 0;
  if (gSignal.compare_exchange_strong(expected, sig)) return;  // the first: only noted
  const int shown = gShown.load();
  WriteStderr("\n", 1);
  WriteStderr(gLines[shown], gLength[shown].load());
  WriteStderr("\n", 1);
  const int code = 128 + gSignal.load();
#ifdef _WIN32
  ::ExitProcess(static_cast<UINT>(code));
#else
  ::_exit(code);  // ending the process closes the port
#endif
}

#ifdef _WIN32
BOOL WINAPI ConsoleHandler(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      Interrupted(SIGINT);
      return TRUE;
    case CTRL_CLOSE_EVENT:
      Interrupted(kSigHup);
      return TRUE;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      Interrupted(SIGTERM);
      return TRUE;
    default:
      return FALSE;
  }
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[3];
#endif

}  // namespace

InterruptScope::InterruptScope() {
  gSignal = 0;
#ifdef _WIN32
  ::SetConsoleCtrlHandler(ConsoleHandler, TRUE);
#else
  for (int i = 0; i < 3; ++i) {
    struct sigaction action {};
    action.sa_handler = Interrupted;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a wait for the unit wakes up at once
    ::sigaction(kSignals[i], &action, &gPrevious[i]);
  }
#endif
}

InterruptScope::~InterruptScope() {
#ifdef _WIN32
  ::SetConsoleCtrlHandler(ConsoleHandler, FALSE);
#else
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &gPrevious[i], nullptr);
#endif
}

int InterruptScope::signal() { return gSignal.load(); }

int InterruptScope::exitCode() { return signal() ? 128 + signal() : 0; }

const char* InterruptScope::signalName() {
  const int s = signal();
  if (s == SIGINT) return "SIGINT";
  if (s == SIGTERM) return "SIGTERM";
  if (s == kSigHup) return "SIGHUP";
  return "a signal";
}

void InterruptScope::setLastWords(const std::string& line) {
  const int next = 1 - gShown.load();
  const std::size_t n = std::min(line.size(), kLineBytes);
  std::memcpy(gLines[next], line.data(), n);
  gLength[next] = n;
  gShown = next;
}

}  // namespace q5::cli
