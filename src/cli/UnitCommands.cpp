// Commands about the unit itself: the port list, identification, node information.
#include <string>

#include "catalogue/Catalogue.h"
#include "cli/Commands.h"
#include "link/Exchange.h"
#include "link/TextRoutines.h"
#include "pages/PageRegistry.h"
#include "qtlink/PortList.h"

namespace q5::cli {

int CmdPorts(const CliContext& ctx, const Args& args) {
  if (!args.empty()) {
    ctx.err << "q5cfg-cli ports: takes no arguments" << std::endl;
    return kExitUsage;
  }
  const auto ports = qtlink::ListPorts();
  for (const auto& p : ports) ctx.out << p.label << "\t" << p.location << "\n";
  if (ports.empty()) ctx.out << "(no serial ports found)\n";
  ctx.out << "Simulated units (use as --port):\n";
  for (const auto& s : qtlink::SimulatedPortExamples()) ctx.out << "  " << s << "\n";
  ctx.out << "A pseudo-terminal is not listed; give its path (e.g. /dev/pts/3) as --port.\n";
  ctx.out.flush();
  return kExitOk;
}

int CmdIdentify(const CliContext& ctx, const Args& args) {
  if (!args.empty()) {
    ctx.err << "q5cfg-cli identify: takes no arguments" << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "identify")) return kExitUsage;
  ctx.session.link().markSequence();
  if (!ConnectUnit(ctx)) return kExitFailed;
  if (!ctx.session.Identify()) return kExitFailed;
  const bool failed = ReportFailure(ctx, "identify", ctx.session.link().failures().describe());

  const session::SessionValues& v = ctx.session.values;
  std::string flags;
  for (int n = 1; n <= catalogue::kFlagCount; ++n) {
    if (!v.flags.get(n)) continue;
    if (!flags.empty()) flags += ", ";
    flags += catalogue::FlagModel(n);
  }
  ctx.out << "Model: " << link::EscapeControls(v.model) << "\n"
          << "Module part: " << link::EscapeControls(catalogue::ModulePartOf(v.model)) << "\n"
          << "Module kind: " << v.moduleKind << " (" << pages::PageName(v.moduleKind) << ")\n"
          << "Page kind: " << v.pageKind << " (" << pages::PageName(v.pageKind) << ")\n"
          << "Network type: " << v.networkType << " (" << catalogue::NetworkName(v.networkType)
          << ")\n"
          << "Version: " << link::EscapeControls(link::TrimSpaces(link::ValueAfterColon(v.versionText)))
          << "\n"
          << "Channel count: " << v.channelCount << "\n"
          << "Model flags: " << (flags.empty() ? std::string("none") : flags) << std::endl;
  return failed ? kExitFailed : kExitOk;
}

int CmdInfo(const CliContext& ctx, const Args& args) {
  if (!args.empty()) {
    ctx.err << "q5cfg-cli info: takes no arguments" << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "info")) return kExitUsage;
  if (!ConnectUnit(ctx)) return kExitFailed;
  const std::size_t before = ctx.dialogs.messages.size();
  ctx.session.mnuQ5Informain_Click();
  if (ctx.dialogs.messages.size() == before) {
    // The unit gave no answer: the menu item shows nothing; say so here.
    ctx.err << "q5cfg-cli info: no reply to the node information request" << std::endl;
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace q5::cli
