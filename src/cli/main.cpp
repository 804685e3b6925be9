// q5cfg-cli: the configuration tool's sequences from a terminal, without windows.
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "diag/frmDebugInfo.h"
#include "config/Backups.h"
#include "link/Exchange.h"
#include "qtlink/PortSwitch.h"
#include "qtlink/QtClock.h"
#include "qtlink/UserFolders.h"
#include "session/Session.h"

namespace q5::cli {

namespace {

const std::vector<CommandHelp> kHelp = {
    {"ports", "q5cfg-cli ports", "List the serial ports of this computer.",
     "Each port as \"description (port name)\" and the path to give as --port.\n"
     "Pseudo-terminals are not listed; give their path. sim:MODEL opens a simulated unit."},
    {"identify", "q5cfg-cli --port P identify",
     "Connect and identify the unit: model, module part, kinds, network, version, channels.",
     "Reads group \"00\" item \"01\" (must answer MNTSW), writes \"F\", then reads the model\n"
     "(\"02\"), the version (\"06\") and the channel count (\"03\")."},
    {"info", "q5cfg-cli --port P info", "Connect and show the unit's node information.",
     "Reads group \"00\" item \"88\" and prints it as the information message shows it."},
    {"upload", "q5cfg-cli --port P upload [-o FILE]",
     "Connect, read every setting into the module page and print it (or save it to FILE).",
     "Each control as: name, caption, value. List items show their text and [index]."},
    {"monitor", "q5cfg-cli --port P monitor [--count N] [--csv] [--change V0[,V1,V2,V3]]",
     "Connect and print the live values of every monitoring pass.",
     "Stops after N passes, or on Ctrl-C after the current pass (as Stop does).\n"
     "Discrete points are printed as 0/1 per point. --csv prints one line per pass.\n"
     "--change: after the first pass, click the first live value, type the values into\n"
     "\"Change Value\" and press \"Change\"; the next pass writes them to the outputs.\n"
     "Values not given keep what the dialog shows. A refused value prints the message."},
    {"set", "q5cfg-cli --port P set NAME=VALUE [NAME=VALUE ...]",
     "Connect, put values into the page's controls and download them as Download does.",
     "NAME is a control as upload prints it (txtZScale(0), cmbUserRange(1), optKeepOn).\n"
     "Text box: the text. List: an item's exact text, or #N for item N (from 0).\n"
     "Check box or option: 1 or 0. Then the model check, the range check (its message\n"
     "when it fails), the writes and the read-back; the page is printed as the unit has it."},
    {"press", "q5cfg-cli --port P press BUTTON [NAME=VALUE ...]",
     "Connect, put values into controls (no Download), press a button, print the page.",
     "BUTTON is a button's name (cmdSet2, cmdPreset(2), Command3); the values are put in\n"
     "first, as for set. Messages the button shows are printed."},
    {"download", "q5cfg-cli --port P download [--dry-run] FILE",
     "Write a configuration file to the unit (--dry-run: read and check it only).", ""},
    {"new", "q5cfg-cli new GROUP ITEM -o FILE",
     "Create the default configuration of a Model Select item (e.g. Q5T3NML3 AI4).", ""},
    {"show", "q5cfg-cli show FILE", "Print the settings stored in a configuration file.", ""},
    {"report",
     "q5cfg-cli [--port P] report [FILE] -o OUT.pdf|OUT.html [--by NAME] [--note TEXT] "
     "[--paper A4|Letter] [--before FILE]",
     "Write the commissioning report of the unit (after an Upload) or of a configuration file.",
     "The unit's model, firmware version, channels, network and port, the date and time,\n"
     "\"Prepared by\" (--by) and a note (--note), then every setting of the page with its\n"
     "caption, channel, value and unit. --before FILE adds the settings that differ from\n"
     "that file (before -> after). The output's extension chooses PDF or HTML."},
    {"firmware", "q5cfg-cli --port P firmware FILE [--yes] [--crc XXXX] | firmware --check FILE",
     "Load an S-record firmware image into the unit (--check: only check the file).",
     "The file is checked whole first; a damaged one is refused before anything is sent.\n"
     "Then the unit and the port go to 115200 baud, every line is sent, the unit reports\n"
     "the CRC16 of what it received and, on Yes, programs the image and restarts.\n"
     "--yes answers \"update firm ?\" with Yes; --crc XXXX answers the CRC question Yes only\n"
     "when the unit reports XXXX. Without them the questions are asked on the terminal\n"
     "(end of input: No). Exit 0 only when the unit identified itself after programming."},
    {"network", "q5cfg-cli --port P network [NAME=VALUE ...]",
     "Read the unit's network settings and print them; with NAME=VALUE, change and download.",
     "Opens the window of the unit's network type (Ethernet, DeviceNet, CC-Link IE Field,\n"
     "Modbus) as the network button does, and prints each control: name, caption, value.\n"
     "NAME=VALUE sets a control as it is typed (txtIP(3)=192, cmbDHCP=DHCP or cmbDHCP=1);\n"
     "the typing rules and the entry checks print their messages, then Download writes\n"
     "the settings and reads them back. Exit code 1 when anything was refused."},
    {"diff", "q5cfg-cli --port P diff FILE | q5cfg-cli diff FILE1 FILE2",
     "Print every setting whose value differs between the unit and a file, or two files.",
     "One line per difference: name, caption, unit (or first file) value, file value.\n"
     "Exit codes: 0 the same, 1 different, 2 a file or the unit could not be read."},
    {"scan", "q5cfg-cli scan [--sim] [PORT...]",
     "Find units: try the Connect check on each serial port (or the ports named) in turn.",
     "Only a port that answers MNTSW gets the identification reads; each line gives\n"
     "port, model, version and channels, or \"no unit\". --sim adds the simulated units.\n"
     "Ctrl-C cancels after the port being tried. Exit code 1 when no unit was found."},
};

void PrintUsage(std::ostream& os) {
  os << "Usage: q5cfg-cli [--port P] [--trace] [--debug] COMMAND [ARGS]\n\nCommands:\n";
  for (const auto& h : kHelp) os << "  " << h.usage << "\n      " << h.summary << "\n";
  os << "\nOptions:\n"
        "  --port P   the unit's port: a device path (/dev/ttyUSB0; on Windows COM3 or\n"
        "             \\\\.\\COM10), a pseudo-terminal path,\n"
        "             or sim:MODEL for a simulated unit (sim:Q5T3NML3-6-AI4)\n"
        "  --trace    write every line sent and reply received to stderr, with milliseconds\n"
        "             since start\n"
        "  --debug    print the DEBUG INFO lines at the end: the read and write error\n"
        "             counters and the last failed command (alone: the lines of a new run)\n"
        "  --event-loop  wait for replies in an event loop, as the windows do\n"
        "  --no-backup  write no backup of the unit's settings before a Download\n"
        "             (backups go to " + qtlink::BackupFolder() + ")\n"
        "  -h, --help this text; COMMAND --help for one command\n"
        "\nExit codes: 0 success, 1 the unit, port or file failed, 2 bad usage.\n";
  const std::string manual = UserManualPath();
  os << "\nManual: man q5cfg-cli" << (manual.empty() ? "" : "; the user manual: " + manual) << "\n";
}

// The wire as text: CR as \r, LF as \n, other control characters as \xNN.
std::string Visible(std::string_view text) {
  std::string s;
  for (unsigned char c : text) {
    if (c == '\r') {
      s += "\\r";
    } else if (c == '\n') {
      s += "\\n";
    } else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      s += buf;
    } else {
      s += static_cast<char>(c);
    }
  }
  return s;
}

// The four lines of the "DEBUG INFO" window, one per terminal line.
void PrintDebugInfo(std::ostream& os, std::int16_t reads, std::int16_t writes,
                    const std::string& log) {
  os << CliDialogs::Printable(diag::DebugText(reads, writes, log)) << std::endl;
}

}  // namespace

const std::vector<CommandHelp>& AllCommandHelp() { return kHelp; }

const CommandHelp* FindCommandHelp(const std::string& name) {
  for (const auto& h : kHelp) {
    if (name == h.name) return &h;
  }
  return nullptr;
}

void PrintCommandHelp(std::ostream& os, const CommandHelp& help) {
  os << "Usage: " << help.usage << "\n\n" << help.summary << "\n";
  if (*help.details) os << help.details << "\n";
  os << "\nGlobal options: --port P, --trace, --debug (see q5cfg-cli --help).\n";
}

int Run(int argc, char** argv) {
  CliOptions options;
  std::string command;
  Args args;
  bool help = false;
  bool eventLoop = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--port") {
      if (i + 1 >= argc) {
        std::cerr << "q5cfg-cli: --port needs a port name\n";
        return kExitUsage;
      }
      options.port = argv[++i];
    } else if (a.rfind("--port=", 0) == 0) {
      options.port = a.substr(7);
    } else if (a == "--trace") {
      options.trace = true;
    } else if (a == "--debug") {
      options.debug = true;
    } else if (a == "--no-backup") {
      options.noBackup = true;
    } else if (a == "--event-loop") {
      eventLoop = true;
    } else if (command.empty() && (a == "--help" || a == "-h")) {
      help = true;
    } else if (command.empty() && !a.empty() && a[0] == '-') {
      std::cerr << "q5cfg-cli: unknown option " << a << "\n";
      PrintUsage(std::cerr);
      return kExitUsage;
    } else if (command.empty()) {
      command = a;
    } else {
      args.push_back(a);
    }
  }
  if (command.empty() && options.debug && !help) {
    // Nothing has failed yet in this run: both counters 0, an empty log.
    PrintDebugInfo(std::cout, 0, 0, "");
    return kExitOk;
  }
  if (command.empty()) {
    PrintUsage(help ? std::cout : std::cerr);
    return help ? kExitOk : kExitUsage;
  }
  if (command == "help") {
    PrintUsage(std::cout);
    return kExitOk;
  }
  const CommandHelp* commandHelp = FindCommandHelp(command);
  if (!commandHelp) {
    std::cerr << "q5cfg-cli: unknown command " << command << "\n";
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  if (help || WantsHelp(args)) {
    PrintCommandHelp(std::cout, *commandHelp);
    return kExitOk;
  }

  const auto mode = eventLoop ? qtlink::WaitMode::EventLoop : qtlink::WaitMode::Blocking;
  qtlink::QtClock clock(mode);
  qtlink::PortSwitch port(clock, mode);
  link::Exchange exchange(port, clock);
  CliDialogs dialogs(std::cout, std::cerr);
  session::Session session(exchange, dialogs);
  CliContext ctx{session, dialogs, std::cout, std::cerr, options};
  // Before every Download the unit's settings of the last Upload are saved.
  config::Backups backups(session, qtlink::BackupFolder());
  backups.setEnabled(!options.noBackup);
  backups.onWritten = [](const std::string& path) { std::cout << "Backup: " << path << std::endl; };
  ctx.backupPath = [&backups] { return backups.lastPath(); };

  const std::int64_t startUs = clock.nowUs();
  if (options.trace) {
    exchange.setTraceObserver([&](link::TraceEvent e, std::string_view text, std::int64_t atUs) {
      char when[32];
      std::snprintf(when, sizeof when, "%10.3f ms ", static_cast<double>(atUs - startUs) / 1000.0);
      std::string line = when;
      switch (e) {
        case link::TraceEvent::Sent: line += "> " + Visible(text); break;
        case link::TraceEvent::Received: line += "< " + Visible(text); break;
        case link::TraceEvent::TimedOut: line += "! no reply in time, discarded \"" + Visible(text) + "\""; break;
        case link::TraceEvent::Overflow: line += "! reply longer than a line can be, discarded \"" + Visible(text.substr(0, 64)) + "...\""; break;
        case link::TraceEvent::Discarded: line += "! stale input discarded \"" + Visible(text) + "\""; break;
        case link::TraceEvent::NotOpen: line += "! port not open: " + Visible(text); break;
        case link::TraceEvent::Refused: line += "! not sent (" + exchange.refusal() + "): " + Visible(text); break;
        case link::TraceEvent::Stale: line += "! after the reply's CR, kept to be discarded \"" + Visible(text) + "\""; break;
      }
      std::cerr << line << std::endl;
    });
  }

  int rc = kExitUsage;
  if (command == "ports") {
    rc = CmdPorts(ctx, args);
  } else if (command == "identify") {
    rc = CmdIdentify(ctx, args);
  } else if (command == "info") {
    rc = CmdInfo(ctx, args);
  } else if (command == "upload") {
    bool toFile = false;
    for (const auto& a : args) toFile = toFile || a == "-o" || a.rfind("-o", 0) == 0;
    rc = toFile ? CmdUploadToFile(ctx, args) : CmdUpload(ctx, args);
  } else if (command == "monitor") {
    rc = CmdMonitor(ctx, args);
  } else if (command == "set") {
    rc = CmdSet(ctx, args);
  } else if (command == "press") {
    rc = CmdPress(ctx, args);
  } else if (command == "download") {
    rc = CmdDownload(ctx, args);
  } else if (command == "new") {
    rc = CmdNew(ctx, args);
  } else if (command == "show") {
    rc = CmdShow(ctx, args);
  } else if (command == "report") {
    rc = CmdReport(ctx, args);
  } else if (command == "firmware") {
    rc = CmdFirmware(ctx, args);
  } else if (command == "network") {
    rc = CmdNetwork(ctx, args);
  } else if (command == "diff") {
    rc = CmdDiff(ctx, args);
  } else if (command == "scan") {
    rc = CmdScan(ctx, args);
  }
  if (rc == kExitUsage) std::cerr << "See: q5cfg-cli " << command << " --help\n";

  if ((options.trace || options.debug) && !port.lastError().empty()) {
    std::cerr << "Port " << options.port << ": " << port.lastError() << "\n";
  }
  if (options.debug) {
    const link::Link& l = session.link();
    PrintDebugInfo(std::cerr, l.ReadErrorCount(), l.WriteErrorCount(), l.ErrorLog());
  }
  if (exchange.isOpen()) exchange.ComPortClose();
  return rc;
}

}  // namespace q5::cli

int main(int argc, char** argv) {
  // A report lays out text in fonts, which takes the graphical side of Qt; it needs no
  // screen, so the offscreen platform serves where none was chosen.
  bool report = false;
  for (int i = 1; i < argc; ++i) report = report || std::string(argv[i]) == "report";
  if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QCoreApplication> app = report ? std::make_unique<QGuiApplication>(argc, argv)
                                                 : std::make_unique<QCoreApplication>(argc, argv);
  return q5::cli::Run(argc, argv);
}
