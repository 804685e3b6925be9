// Commands that work the page's controls by name, as a person at the window would:
// "set" types values and downloads them, "press" types values and presses a button.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "cli/ControlPrinter.h"
#include "pages/ControlByName.h"

namespace q5::cli {

namespace {

// Connect as the "Connect" button does (identification, Upload, one live pass). The
// page, or nullptr after a message (a unit without a module page says so).
pages::ModulePage* ConnectToPage(const CliContext& ctx, const char* command) {
  session::Session& s = ctx.session;
  s.setPortName(ctx.options.port);
  ctx.dialogs.clearErrors();
  s.btnConnect_Click();
  if (s.programEnded() || ctx.dialogs.errorShown || !s.values.Connected) return nullptr;
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (!page) {
    PrintHeader(ctx.out, s);
    ctx.err << "q5cfg-cli " << command << ": this unit has no module page" << std::endl;
  }
  return page;
}

bool ParseAssignments(const CliContext& ctx, const char* command, const Args& args,
                      std::vector<std::pair<std::string, std::string>>& out) {
  for (const auto& a : args) {
    std::string name, value;
    if (!pages::SplitAssignment(a, name, value)) {
      ctx.err << "q5cfg-cli " << command << ": expected NAME=VALUE, got " << a << std::endl;
      return false;
    }
    out.emplace_back(std::move(name), std::move(value));
  }
  return true;
}

// Puts every value into its control; the first refusal is printed and ends the command
// (nothing has been written then: it is a bad command line).
bool SetAll(const CliContext& ctx, const char* command, pages::ModulePage& page,
            const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    const std::string why = pages::SetPageControl(page, name, value);
    if (!why.empty()) {
      ctx.err << "q5cfg-cli " << command << ": " << why << std::endl;
      return false;
    }
  }
  return true;
}

// The declaration and text of the named text box, if the page has one of that name.
class TextOf : public pages::ControlVisitor {
 public:
  explicit TextOf(std::string_view name) : name_(name) {}
  void text(const pages::ControlInfo& i, pages::TextBox& c) override {
    if (i.name == name_) found = std::pair{i, c.text};
  }
  std::optional<std::pair<pages::ControlInfo, std::string>> found;

 private:
  std::string_view name_;
};

// A value outside the range its control declares is refused before anything goes to the
// unit: the page's own "Data Range Error" box, then the control, its range and that
// nothing was written. The text is taken as the page holds it after the edit.
bool WithinDeclaredRanges(const CliContext& ctx, const char* command, pages::ModulePage& page,
                          const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& assignment : values) {
    TextOf box(assignment.first);
    page.visitControls(box);
    if (!box.found || pages::InDeclaredRange(box.found->first, box.found->second)) continue;
    const pages::ControlInfo& info = box.found->first;
    const std::string why = pages::OutOfRangeReason(info, box.found->second);
    ui::MessageCause cause;
    cause.kind = ui::FailureKind::DataRange;
    cause.control = info.name;
    cause.why = why;
    cause.nothingWritten = true;
    ctx.dialogs.failureMessage(cause, "Data Error \r\nCheck data range.", "Data Range Error",
                               ui::Icon::Error);
    // "txtSpan: Span [deg] is "59"; allowed 60 to 360, at most 2 decimals; nothing written"
    ctx.err << "q5cfg-cli " << command << ": " << info.name << ": " << why.substr(0, why.size() - 1)
            << "; nothing written" << std::endl;
    return false;
  }
  return true;
}

}  // namespace

int CmdSet(const CliContext& ctx, const Args& args) {
  std::vector<std::pair<std::string, std::string>> values;
  if (!ParseAssignments(ctx, "set", args, values)) return kExitUsage;
  if (values.empty()) {
    ctx.err << "q5cfg-cli set: give at least one NAME=VALUE" << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "set")) return kExitUsage;
  pages::ModulePage* page = ConnectToPage(ctx, "set");
  if (!page) return kExitFailed;
  if (!SetAll(ctx, "set", *page, values)) return kExitUsage;
  if (!WithinDeclaredRanges(ctx, "set", *page, values)) return kExitUsage;

  // The Download button: model check, the page's range check, the writes, re-Upload.
  session::Session& s = ctx.session;
  s.btnDownload_Click();
  // Refused writes are reported after the page was read back: the page is still shown.
  const bool failed = (ctx.dialogs.errorShown && s.downloadRefused().empty()) ||
                      !s.values.Connected || s.programEnded();
  if (!failed) {
    PrintHeader(ctx.out, s);
    PrintControls(ctx.out, *page);
    ctx.out.flush();
  }
  // The Download examines no reply: a write the unit refused shows only in the page read
  // back, and makes the command fail.
  const bool refused = ReportFailure(ctx, "set", s.failure());
  return failed || refused ? kExitFailed : kExitOk;
}

int CmdPress(const CliContext& ctx, const Args& args) {
  if (args.empty() || args.front().find('=') != std::string::npos) {
    ctx.err << "q5cfg-cli press: the button's name comes first (e.g. cmdSet2)" << std::endl;
    return kExitUsage;
  }
  const std::string button = args.front();
  std::vector<std::pair<std::string, std::string>> values;
  if (!ParseAssignments(ctx, "press", Args(args.begin() + 1, args.end()), values))
    return kExitUsage;
  if (!RequirePort(ctx, "press")) return kExitUsage;
  pages::ModulePage* page = ConnectToPage(ctx, "press");
  if (!page) return kExitFailed;
  if (!SetAll(ctx, "press", *page, values)) return kExitUsage;

  const std::string why =
      pages::CheckPressable([page](pages::ControlVisitor& v) { page->visitControls(v); }, button);
  const bool unknown = why.rfind("no button named", 0) == 0;
  if (!why.empty() && !unknown) {
    ctx.err << "q5cfg-cli press: " << why << std::endl;
    return kExitFailed;
  }
  // A page may answer to names it does not list as controls; it says whether it has one.
  // What the button sends is counted on its own: a write the unit refused or left
  // unanswered makes the command fail, even though the page shows no message for it.
  session::Session& s = ctx.session;
  s.link().markSequence();
  const bool pressed = page->Press(button);
  s.link().endSequence();
  if (!pressed) {
    ctx.err << "q5cfg-cli press: " << page->name() << " has no button named " << button
            << std::endl;
    return kExitFailed;
  }
  if (s.programEnded()) return kExitFailed;
  PrintHeader(ctx.out, s);
  PrintControls(ctx.out, *page);
  ctx.out.flush();
  const auto& failures = s.link().failures();
  const bool failed = ReportFailure(ctx, "press", failures.any() ? failures.describe() : "");
  return failed || ctx.dialogs.errorShown || !s.values.Connected ? kExitFailed : kExitOk;
}

}  // namespace q5::cli
