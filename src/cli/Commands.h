#pragma once
// The q5cfg-cli commands. Each takes the context and the words after the command name,
// prints its result and returns the exit code.
#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace q5::cli {

using Args = std::vector<std::string>;

// UnitCommands.cpp
int CmdPorts(const CliContext& ctx, const Args& args);
int CmdIdentify(const CliContext& ctx, const Args& args);
int CmdInfo(const CliContext& ctx, const Args& args);

// PageCommands.cpp
int CmdUpload(const CliContext& ctx, const Args& args);  // without -o: the page's settings
int CmdMonitor(const CliContext& ctx, const Args& args);  // [--count N] [--csv] [--change V,..]

// ControlCommands.cpp
int CmdSet(const CliContext& ctx, const Args& args);    // set NAME=VALUE ...
int CmdPress(const CliContext& ctx, const Args& args);  // press BUTTON [NAME=VALUE ...]

// ConfigCommands.cpp
int CmdUploadToFile(const CliContext& ctx, const Args& args);  // upload -o FILE
int CmdDownload(const CliContext& ctx, const Args& args);      // download [--dry-run] FILE
int CmdNew(const CliContext& ctx, const Args& args);           // new GROUP ITEM -o FILE
int CmdShow(const CliContext& ctx, const Args& args);          // show FILE

// FirmwareCommands.cpp
int CmdFirmware(const CliContext& ctx, const Args& args);  // firmware [--check] FILE ...
// NetworkCommands.cpp
int CmdNetwork(const CliContext& ctx, const Args& args);  // network [NAME=VALUE ...]
// ToolCommands.cpp
// The user manual's first page ("" when it is not installed beside the program).
std::string UserManualPath();
int CmdDiff(const CliContext& ctx, const Args& args);  // [--port P] diff FILE [FILE2]
int CmdScan(const CliContext& ctx, const Args& args);  // scan [--sim] [PORT...]

// ReportCommand.cpp
// report [FILE] -o OUT.pdf|OUT.html [--by NAME] [--note TEXT] [--paper A4|Letter] [--before FILE]
int CmdReport(const CliContext& ctx, const Args& args);

// Usage lines of every command, for the help texts.
struct CommandHelp {
  const char* name;
  const char* usage;    // "q5cfg-cli --port P identify"
  const char* summary;  // one line
  const char* details;  // more lines, or ""
};
const std::vector<CommandHelp>& AllCommandHelp();
const CommandHelp* FindCommandHelp(const std::string& name);
// Prints the help of one command.
void PrintCommandHelp(std::ostream& os, const CommandHelp& help);

}  // namespace q5::cli
