#pragma once
// The rig of the end-to-end tests: q5sim serving a simulated unit on a pseudo-terminal,
// programs (q5cfg-cli above all) run to their end with their output caught in files, and
// readers of what went over the wire, from q5cfg-cli's --trace lines and from the
// transcript q5sim writes with --log.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace q5e2e {

inline std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// The lines of a program's output ("\n" ends each).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream is(text);
  for (std::string line; std::getline(is, line);) lines.push_back(line);
  return lines;
}

// A configuration file's lines (CR LF ends each).
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t b = 0; b < text.size();) {
    std::size_t e = text.find("\r\n", b);
    if (e == std::string::npos) e = text.size();
    lines.push_back(text.substr(b, e - b));
    b = e + 2;
  }
  return lines;
}

// A scratch file name of this test process, not used before.
inline std::string ScratchName(const std::string& stem) {
  static int serial = 0;
  return testing::TempDir() + stem + "_" + std::to_string(getpid()) + "_" + std::to_string(++serial);
}

// A folder of its own for one test, removed with everything in it at the end. The
// programs run meanwhile keep their backups under it (<folder>/data/q5cfg/backups), not
// in the user's data folder.
struct ScratchFolder {
  std::string path;
  explicit ScratchFolder(const std::string& stem) {
    std::string t = "/tmp/" + stem + "_XXXXXX";
    path = mkdtemp(t.data());
    setenv("XDG_DATA_HOME", (path + "/data").c_str(), 1);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string operator/(const std::string& name) const { return path + "/" + name; }
};

struct RunResult {
  int exitCode = -1;
  std::string out, err;
  double seconds = 0;  // from start to end
  long maxRssKb = 0;   // the program's peak resident memory
};

// Runs a program to its end with stdout and stderr in files. argv[0] is a path or a name
// looked up on PATH; stdin reads `input` (nothing given: end of input at once). `during`,
// when given, is called once with the program's pid while it runs.
inline RunResult RunProgram(const std::vector<std::string>& argv, const std::string& input = {},
                            const std::function<void(pid_t)>& during = {}) {
  const std::string base = ScratchName("q5e2e");
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  std::ofstream(in, std::ios::binary) << input;
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  RunResult r;
  pid_t pid = -1;
  const auto t0 = std::chrono::steady_clock::now();
  if (posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ) == 0) {
    if (during) during(pid);
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.maxRssKb = use.ru_maxrss;
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  posix_spawn_file_actions_destroy(&fa);
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  for (const auto& p : {in, out, err}) std::remove(p.c_str());
  return r;
}

// q5cfg-cli with these words after the program's name.
inline RunResult RunCli(const std::vector<std::string>& words,
                        const std::function<void(pid_t)>& during = {}) {
  std::vector<std::string> argv = {Q5CLI_PATH};
  argv.insert(argv.end(), words.begin(), words.end());
  return RunProgram(argv, {}, during);
}

// The lines a q5sim --log transcript shows the unit receiving: "  12.345 ms  > DF\r"
// gives "DF\r" (CR written as the two characters \ r).
inline std::vector<std::string> ReceivedByUnit(const std::string& log) {
  std::vector<std::string> lines;
  for (const std::string& line : Lines(log)) {
    const auto at = line.find(" ms  > ");
    if (at != std::string::npos) lines.push_back(line.substr(at + 7));
  }
  return lines;
}

struct SimSetup {
  double maxSeconds = 60;   // q5sim ends by itself after this long in any case
  bool transcript = false;  // q5sim writes its transcript into a file of the rig's
};

// q5sim on a pseudo-terminal for the life of the object. It stops when its stdin (our
// pipe) closes, and after SimSetup::maxSeconds in any case.
class SimOnPty {
 public:
  explicit SimOnPty(std::vector<std::string> options, SimSetup setup = {}) {
    std::vector<std::string> argv = {Q5SIM_PATH, "--max-seconds", std::to_string(setup.maxSeconds)};
    if (setup.transcript) {
      log_ = ScratchName("q5e2e_sim") + ".log";
      argv.insert(argv.end(), {"--log", log_});
    }
    argv.insert(argv.end(), options.begin(), options.end());
    int in[2], out[2];
    if (pipe(in) != 0) return;
    if (pipe(out) != 0) {
      close(in[0]);
      close(in[1]);
      return;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&fa, in[1]);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &fa, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    // The first line of its output is the terminal's path.
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    close(out[0]);
  }
  ~SimOnPty() {
    if (stdin_ >= 0) close(stdin_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (!log_.empty()) std::remove(log_.c_str());
  }
  SimOnPty(const SimOnPty&) = delete;
  SimOnPty& operator=(const SimOnPty&) = delete;

  const std::string& path() const { return path_; }
  // The transcript so far ("" without SimSetup::transcript).
  std::string log() const { return log_.empty() ? std::string() : ReadFile(log_); }
  // The lines the unit received since the last call (with SimSetup::transcript).
  std::vector<std::string> takeReceived() {
    std::vector<std::string> all = ReceivedByUnit(log());
    std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(taken_, all.size())),
                                   all.end());
    taken_ = all.size();
    return fresh;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  std::string path_, log_;
  std::size_t taken_ = 0;
};

struct WireLine {
  double ms;
  char direction;  // '>' sent, '<' received, '!' something else
  std::string text;
};

// q5cfg-cli's --trace lines: "  12.345 ms > G00\r".
inline std::vector<WireLine> Wire(const std::string& err) {
  std::vector<WireLine> wire;
  for (const std::string& line : Lines(err)) {
    double ms = 0;
    char dir = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), " %lf ms %c %n", &ms, &dir, &used) < 2) continue;
    if (dir != '>' && dir != '<' && dir != '!') continue;
    wire.push_back({ms, dir, line.substr(static_cast<std::size_t>(used))});
  }
  return wire;
}

// The texts of the wire lines that went one way.
inline std::vector<std::string> Sent(const std::vector<WireLine>& wire, char direction) {
  std::vector<std::string> out;
  for (const auto& w : wire) {
    if (w.direction == direction) out.push_back(w.text);
  }
  return out;
}

}  // namespace q5e2e
