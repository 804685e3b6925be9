// "report": the commissioning report of a unit's page (after an Upload) or of a
// configuration file, as PDF or HTML.
#include <filesystem>
#include <string>

#include "cli/Commands.h"
#include "config/Compare.h"
#include "config/ConfigFiles.h"
#include "qtlink/ReportDocument.h"
#include "report/Report.h"

namespace q5::cli {

namespace {

struct ReportArgs {
  std::string file;    // a configuration file, or "" for the unit on --port
  std::string output;  // OUT.pdf or OUT.html
  std::string by, note, before;
  report::PaperSize paper = report::PaperSize::A4;
  bool pdf = false;
};

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// False after a usage message.
bool ParseReportArgs(const CliContext& ctx, const Args& args, ReportArgs& a) {
  auto value = [&](std::size_t& i, const char* option, std::string& out) {
    if (i + 1 >= args.size()) {
      ctx.err << "q5cfg-cli report: " << option << " needs a value" << std::endl;
      return false;
    }
    out = args[++i];
    return true;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    if (w == "-o") {
      if (!value(i, "-o", a.output)) return false;
    } else if (w.rfind("-o", 0) == 0 && w.size() > 2 && w[2] != '-') {
      a.output = w.substr(2);
    } else if (w == "--by") {
      if (!value(i, "--by", a.by)) return false;
    } else if (w == "--note") {
      if (!value(i, "--note", a.note)) return false;
    } else if (w == "--before") {
      if (!value(i, "--before", a.before)) return false;
    } else if (w == "--paper") {
      std::string p;
      if (!value(i, "--paper", p)) return false;
      if (Lower(p) == "a4") {
        a.paper = report::PaperSize::A4;
      } else if (Lower(p) == "letter") {
        a.paper = report::PaperSize::Letter;
      } else {
        ctx.err << "q5cfg-cli report: --paper is A4 or Letter" << std::endl;
        return false;
      }
    } else if (!w.empty() && w[0] == '-') {
      ctx.err << "q5cfg-cli report: unknown option " << w << std::endl;
      return false;
    } else if (a.file.empty()) {
      a.file = w;
    } else {
      ctx.err << "q5cfg-cli report: unexpected argument " << w << std::endl;
      return false;
    }
  }
  if (a.output.empty()) {
    ctx.err << "q5cfg-cli report: -o OUT.pdf or -o OUT.html is required" << std::endl;
    return false;
  }
  const std::string ext = Lower(std::filesystem::path(a.output).extension().string());
  if (ext == ".pdf") {
    a.pdf = true;
  } else if (ext != ".html" && ext != ".htm") {
    ctx.err << "q5cfg-cli report: the output is a .pdf or an .html file" << std::endl;
    return false;
  }
  if (a.file.empty() && ctx.options.port.empty()) {
    ctx.err << "q5cfg-cli report: give a configuration FILE, or --port P for a unit" << std::endl;
    return false;
  }
  return true;
}

}  // namespace

int CmdReport(const CliContext& ctx, const Args& args) {
  ReportArgs a;
  if (!ParseReportArgs(ctx, args, a)) return kExitUsage;
  session::Session& s = ctx.session;
  report::ReportOptions options;
  options.preparedBy = a.by;
  options.note = a.note;
  if (!a.file.empty()) {
    // File/Open without a unit: no version check, nothing sent.
    config::ConfigFiles files(s);
    if (!files.OpenFrom(a.file)) return kExitFailed;
    options.source = "file " + std::filesystem::path(a.file).filename().string();
  } else {
    // The "Connect" button: the identification check, then the Upload into the page.
    s.setPortName(ctx.options.port);
    ctx.dialogs.clearErrors();
    s.btnConnect_Click();
    if (s.programEnded() || ctx.dialogs.errorShown || !s.values.Connected) return kExitFailed;
    // Settings read only in part are not reported as if they were the unit's.
    if (ReportFailure(ctx, "report", s.failure())) {
      ctx.err << "q5cfg-cli report: no report was written" << std::endl;
      return kExitFailed;
    }
    options.port = ctx.options.port;
  }
  pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
  if (!page) {
    ctx.err << "q5cfg-cli report: " << s.values.model << " has no module page to report"
            << std::endl;
    return kExitFailed;
  }
  report::Report r = report::BuildReport(*page, s.values, options);
  if (!a.before.empty()) {
    config::ConfigSnapshot before;
    std::string error;
    if (!before.open(a.before, error)) {
      ctx.err << "q5cfg-cli report: " << a.before << ": " << error << std::endl;
      return kExitFailed;
    }
    report::AddChanges(r, *before.page(), before.values(), *page, s.values,
                       "file " + std::filesystem::path(a.before).filename().string());
  }
  std::string error;
  int pages = 0;
  const bool written = a.pdf ? qtlink::WriteReportPdf(r, a.paper, a.output, error, &pages)
                             : qtlink::WriteReportHtml(r, a.paper, a.output, error);
  if (!written) {
    ctx.err << "q5cfg-cli report: " << error << std::endl;
    return kExitFailed;
  }
  std::size_t settings = 0;
  for (const auto& section : r.sections) settings += section.rows.size();
  ctx.out << "Report of " << r.identity.model << " (" << settings
          << (settings == 1 ? " setting" : " settings");
  if (r.hasChanges) ctx.out << ", " << r.changes.size() << " changed";
  if (a.pdf) ctx.out << ", " << pages << (pages == 1 ? " page" : " pages");
  ctx.out << ") written to " << a.output << std::endl;
  return kExitOk;
}

}  // namespace q5::cli
