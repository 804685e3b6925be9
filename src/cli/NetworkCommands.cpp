// The network settings window from a terminal: connect, identify, open the window of the
// unit's network type as the network button does (it reads the unit's settings), print
// its controls; with NAME=VALUE words, set those controls as a person types them and
// press "Download" (entry checks, writes, read back).
#include <map>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "cli/Commands.h"
#include "cli/ControlPrinter.h"
#include "netpages/NetworkWindow.h"
#include "pages/ControlByName.h"

namespace q5::cli {

namespace {

struct Assignment {
  std::string name;
  std::string value;
};

// What the command does while the window is shown (the network button waits for it).
class NetworkView : public session::SessionView {
 public:
  NetworkView(const CliContext& ctx, const std::vector<Assignment>& assignments)
      : ctx_(ctx), assignments_(assignments) {}

  void openNetworkWindow(int) override {
    netpages::NetworkWindow* w = ctx_.session.networkWindow();
    if (!w) return;
    opened = true;
    uploaded = !ctx_.dialogs.errorShown;
    if (!uploaded) return;
    if (assignments_.empty()) {
      print(*w);
      return;
    }
    for (const Assignment& a : assignments_) {
      // The same NAME=VALUE routine as "set": list items by text or #N, lengths and
      // characters checked, live and shown-only values and buttons refused by role.
      const std::string why = pages::SetControlValue(
          [w](pages::ControlVisitor& v) { w->visitControls(v); }, a.name, a.value);
      if (!why.empty()) {
        ctx_.err << "q5cfg-cli network: " << w->name() << ": " << why << std::endl;
        usageError = true;
        return;
      }
      // The typing rules run as for a person; any message they show is a refusal.
      const std::size_t before = ctx_.dialogs.messages.size();
      w->Edited(a.name);
      if (ctx_.dialogs.messages.size() != before) refused = true;
    }
    const std::size_t before = ctx_.dialogs.messages.size();
    downloaded = w->btnDownload_Click();
    if (ctx_.dialogs.messages.size() != before) refused = true;
    print(*w);
  }

  bool opened = false;
  bool uploaded = false;
  bool downloaded = false;
  bool refused = false;
  bool usageError = false;

 private:
  void print(netpages::NetworkWindow& w) {
    const auto& v = ctx_.session.values;
    ctx_.out << "# " << v.model << "  network " << v.networkType << " "
             << catalogue::NetworkName(v.networkType) << "  " << w.name() << " \"" << w.caption
             << "\"\n";
    detail::ControlCollector c;
    w.visitControls(c);
    for (const ShownControl& s : c.shown)
      ctx_.out << s.name << "\t" << s.caption << "\t" << s.value << "\n";
    ctx_.out.flush();
  }

  const CliContext& ctx_;
  const std::vector<Assignment>& assignments_;
};

}  // namespace

int CmdNetwork(const CliContext& ctx, const Args& args) {
  std::vector<Assignment> assignments;
  for (const auto& a : args) {
    Assignment as;
    if (!pages::SplitAssignment(a, as.name, as.value)) {
      ctx.err << "q5cfg-cli network: expected NAME=VALUE, got " << a << std::endl;
      return kExitUsage;
    }
    assignments.push_back(std::move(as));
  }
  if (!RequirePort(ctx, "network")) return kExitUsage;
  if (!ConnectUnit(ctx)) return kExitFailed;
  if (!ctx.session.Identify()) return kExitFailed;
  // The network button is usable once the unit is identified.
  ctx.session.connect_btn_control();

  NetworkView view(ctx, assignments);
  ctx.session.setView(&view);
  ctx.dialogs.clearErrors();
  ctx.session.btnComNet_Click();
  ctx.session.setView(nullptr);
  if (!view.opened) return kExitFailed;  // "Not definced NetTyp ..." was printed
  if (view.usageError) return kExitUsage;
  if (!view.uploaded) return kExitFailed;
  if (assignments.empty()) return kExitOk;
  return view.downloaded && !view.refused ? kExitOk : kExitFailed;
}

}  // namespace q5::cli
