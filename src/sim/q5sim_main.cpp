// q5sim: a simulated Remote I/O Q5 unit on a pseudo-terminal. Prints the terminal's
// path as its first line on stdout, then answers the configuration protocol on it until
// it is killed, its stdin closes (when stdin is a pipe or a terminal) or --max-seconds
// pass. Any serial program can open that path as if it were the unit's COM port.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "sim/SimLine.h"
#include "sim/SimPtyServer.h"
#include "sim/SimulatedUnit.h"

namespace {

q5::sim::SimPtyServer* g_server = nullptr;
void OnSignal(int) {
  if (g_server) g_server->stop();
}

const char kUsage[] =
    "usage: q5sim [options]\n"
    "  --model M             model string (default Q5T3NML3-6-AI4)\n"
    "  --version V           firmware version of item 06 (default 1.05)\n"
    "  --new-version V       version after a firmware update (default: the old one + 0.01)\n"
    "  --channels N          channel count of item 03 (default: from the module part)\n"
    "  --uninitialised       item 03 answers a value beginning with N\n"
    "  --uninitialised-value T  that value (default NG)\n"
    "  --node-info T         text of item 88 after \"Q5CFG:\"\n"
    "  --unknown-item R      reply to unknown items: CNG (default) or CNU\n"
    "  --timing              every character costs 10 bits at the line's baud rate\n"
    "  --baud B              rate for --timing until the client changes it (9600)\n"
    "  --turnaround-ms T     pause before every reply (default 0)\n"
    "  --fault FAULT          inject a fault (repeatable), KIND[:TARGET][:PARAM...][*N][+K]\n"
    "                        KIND noreply|late[:MS]|chunks[:N[:MS]]|garbage[:TEXT]|\n"
    "                        stale[:TEXT[:MS]]|cng|cnu|reply:TEXT|vanish|flood[:N]|\n"
    "                        nocr|dup\n"
    "                        TARGET GG/II (item line), GG/II/D (data line), #N (N-th line),\n"
    "                        =TEXT (lines with that text); none: every line\n"
    "                        a firmware record without reply: noreply:=S1130010...;\n"
    "                        the port gone mid-transfer: vanish:#N; a unit that does not\n"
    "                        switch to 115200: noreply:00/86/D\n"
    "  --log FILE            write the transcript (every line and reply, with times)\n"
    "  --link PATH           also make PATH a symbolic link to the terminal\n"
    "  --max-seconds S       stop after S seconds\n";

}  // namespace

int main(int argc, char** argv) {
  q5::sim::UnitOptions unitOptions;
  q5::sim::LineOptions lineOptions;
  std::vector<std::string> faults;
  std::string logPath, linkPath;
  double maxSeconds = 0;

  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool hasValue = false;
    if (auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = a.substr(eq + 1);
      a = a.substr(0, eq);
      hasValue = true;
    }
    auto need = [&]() -> std::string {
      if (hasValue) return value;
      if (i + 1 >= args.size()) {
        std::cerr << "q5sim: " << a << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return args[++i];
    };
    auto number = [&](const std::string& text) {
      char* end = nullptr;
      double v = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || v < 0) {
        std::cerr << "q5sim: " << a << " takes a number, not \"" << text << "\"\n";
        std::exit(2);
      }
      return v;
    };
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--model") {
      unitOptions.model = need();
    } else if (a == "--version") {
      unitOptions.version = need();
    } else if (a == "--new-version") {
      unitOptions.firmwareVersion = need();
    } else if (a == "--channels") {
      unitOptions.channels = static_cast<int>(number(need()));
    } else if (a == "--uninitialised" || a == "--uninitialized") {
      unitOptions.initialised = false;
    } else if (a == "--uninitialised-value") {
      unitOptions.uninitialisedChannelValue = need();
    } else if (a == "--node-info") {
      unitOptions.nodeInformation = need();
    } else if (a == "--unknown-item") {
      unitOptions.unknownItemReply = need();
      if (unitOptions.unknownItemReply != "CNG" && unitOptions.unknownItemReply != "CNU") {
        std::cerr << "q5sim: --unknown-item takes CNG or CNU\n";
        return 2;
      }
    } else if (a == "--timing") {
      lineOptions.lineTiming = true;
    } else if (a == "--baud") {
      lineOptions.baud = static_cast<int>(number(need()));
      if (lineOptions.baud <= 0) lineOptions.baud = 9600;
    } else if (a == "--turnaround-ms") {
      lineOptions.turnaroundUs = static_cast<std::int64_t>(number(need()) * 1000);
    } else if (a == "--fault") {
      faults.push_back(need());
    } else if (a == "--log") {
      logPath = need();
    } else if (a == "--link") {
      linkPath = need();
    } else if (a == "--max-seconds") {
      maxSeconds = number(need());
    } else {
      std::cerr << "q5sim: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }

  q5::sim::SimulatedUnit unit(unitOptions);
  q5::sim::SimLine line(unit, lineOptions);
  line.setKeepTranscript(false);
  for (const std::string& f : faults) {
    std::string error;
    if (!line.addFault(f, &error)) {
      std::cerr << "q5sim: --fault " << f << ": " << error << "\n";
      return 2;
    }
  }
  std::ofstream log;
  q5::link::SystemClock clock;
  const std::int64_t logStartUs = clock.nowUs();
  if (!logPath.empty()) {
    log.open(logPath, std::ios::out | std::ios::trunc);
    if (!log) {
      std::cerr << "q5sim: cannot write " << logPath << "\n";
      return 2;
    }
    line.setTranscriptObserver([&log, &logStartUs](const q5::sim::TranscriptEntry& e) {
      q5::sim::TranscriptEntry since = e;  // times from the start of the run
      since.atUs -= logStartUs;
      log << q5::sim::SimLine::FormatEntry(since) << '\n' << std::flush;
    });
  }

  q5::sim::SimPtyServer server(line);
  std::string error;
  if (!server.open(&error)) {
    std::cerr << "q5sim: pseudo-terminal: " << error << "\n";
    return 1;
  }
  const std::string& slavePath = server.slavePath();
  if (!linkPath.empty()) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(linkPath.c_str());
    if (::symlink(slavePath.c_str(), linkPath.c_str()) != 0) {
      std::perror(("q5sim: --link " + linkPath).c_str());
      linkPath.clear();
    }
  }

  g_server = &server;
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  // Watch stdin only when it can close (a pipe, socket or terminal), not /dev/null.
  struct stat inStat {};
  const bool watchStdin = fstat(STDIN_FILENO, &inStat) == 0 &&
                          (S_ISFIFO(inStat.st_mode) || S_ISSOCK(inStat.st_mode) ||
                           isatty(STDIN_FILENO));

  std::cout << slavePath << std::endl;  // first line: where the unit is
  std::cerr << "q5sim: " << unit.model() << " (module " << unit.modulePart() << ", kind "
            << unit.moduleKind() << ", " << unit.channelCount() << " channels) on "
            << slavePath << "\n";

  const std::int64_t startUs = clock.nowUs();
  const std::int64_t endUs =
      maxSeconds > 0 ? startUs + static_cast<std::int64_t>(maxSeconds * 1e6) : -1;
  const bool ok = server.serve(clock, endUs, watchStdin ? STDIN_FILENO : -1);
  g_server = nullptr;
  if (!ok) std::perror("q5sim: the terminal failed");
  if (server.vanished()) std::cerr << "q5sim: the port vanished\n";
  if (!linkPath.empty()) ::unlink(linkPath.c_str());
  std::cerr << "q5sim: " << line.linesReceived() << " lines received\n";
  const int status = ok ? 0 : 1;
  return status;
}
