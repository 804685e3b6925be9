// Configuration-file commands: upload into a file, download a file, create a default
// configuration for a model, show a file.
#include "cli/Commands.h"

namespace q5::cli {

namespace {
int NotYet(const CliContext& ctx, const char* what) {
  ctx.err << "q5cfg-cli " << what << ": configuration files are not available in this build"
          << std::endl;
  return kExitFailed;
}
}  // namespace

int CmdUploadToFile(const CliContext& ctx, const Args& args) { return NotYet(ctx, "upload -o"); }

int CmdDownload(const CliContext& ctx, const Args& args) { return NotYet(ctx, "download"); }

int CmdNew(const CliContext& ctx, const Args& args) { return NotYet(ctx, "new"); }

int CmdShow(const CliContext& ctx, const Args& args) { return NotYet(ctx, "show"); }

}  // namespace q5::cli
