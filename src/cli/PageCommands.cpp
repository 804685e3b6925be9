// Commands on the module page: upload the unit's settings and print them, monitor the
// live values.
#include "cli/Commands.h"

namespace q5::cli {

int CmdUpload(const CliContext& ctx, const Args& args) {
  ctx.err << "q5cfg-cli upload: not available yet" << std::endl;
  return kExitFailed;
}

int CmdMonitor(const CliContext& ctx, const Args& args) {
  ctx.err << "q5cfg-cli monitor: not available yet" << std::endl;
  return kExitFailed;
}

}  // namespace q5::cli
