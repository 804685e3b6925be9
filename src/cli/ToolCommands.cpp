// The commands that go beyond a single page sequence: where the manual is, comparing
// configurations (diff) and finding units on the ports (scan).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <csignal>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "config/Compare.h"
#include "qtlink/PortList.h"
#include "session/Scan.h"

namespace q5::cli {

namespace {

// diff's exit codes, as diff(1) has them: 0 the same, 1 different, 2 trouble.
constexpr int kDiffSame = 0;
constexpr int kDiffDiffer = 1;
constexpr int kDiffTrouble = 2;

std::atomic<bool> gScanCancelled{false};
extern "C" void OnScanInterrupt(int) { gScanCancelled = true; }

void PrintComparison(std::ostream& os, const config::Comparison& c, const std::string& first,
                     const std::string& second) {
  os << "# " << first << " (" << c.firstModel << ") vs " << second << " (" << c.secondModel << ")\n";
  if (c.pagesDiffer) {
    os << "The models have different pages; their settings cannot be compared.\n";
  }
  for (const auto& d : c.differences)
    os << d.name << "\t" << d.caption << "\t" << d.first << "\t" << d.second << "\n";
  if (c.same()) {
    os << "No differences.\n";
  } else if (!c.pagesDiffer) {
    os << c.differences.size() << (c.differences.size() == 1 ? " difference" : " differences")
       << ".\n";
  }
  os.flush();
}

}  // namespace

std::string UserManualPath() {
  // Beside the program in a build tree, or <prefix>/share/q5cfg/manual of an installation.
  const QString bin = QCoreApplication::applicationDirPath();
  for (const QString& folder :
       {bin + QStringLiteral("/manual"), bin + QStringLiteral("/../share/q5cfg/manual")}) {
    const QFileInfo index(folder + QStringLiteral("/index.html"));
    if (index.exists()) return index.canonicalFilePath().toStdString();
  }
  return {};
}

int CmdDiff(const CliContext& ctx, const Args& args) {
  std::vector<std::string> files;
  for (const auto& a : args) {
    if (!a.empty() && a[0] == '-') {
      ctx.err << "q5cfg-cli diff: unknown option " << a << std::endl;
      return kExitUsage;
    }
    files.push_back(a);
  }
  if (files.empty() || files.size() > 2) {
    ctx.err << "q5cfg-cli diff: one FILE (with --port) or two files are required" << std::endl;
    return kExitUsage;
  }
  if (files.size() == 1 && !RequirePort(ctx, "diff")) return kExitUsage;
  if (files.size() == 2 && !ctx.options.port.empty()) {
    ctx.err << "q5cfg-cli diff: two files are compared without a unit; leave out --port" << std::endl;
    return kExitUsage;
  }

  // The file compared with the unit, or the second file.
  config::ConfigSnapshot second;
  std::string error;
  if (!second.open(files.back(), error)) {
    ctx.err << "q5cfg-cli diff: " << error << std::endl;
    return kDiffTrouble;
  }
  config::Comparison c;
  if (files.size() == 2) {
    config::ConfigSnapshot first;
    if (!first.open(files.front(), error)) {
      ctx.err << "q5cfg-cli diff: " << error << std::endl;
      return kDiffTrouble;
    }
    c = config::CompareSettings(*first.page(), first.values(), *second.page(), second.values());
    PrintComparison(ctx.out, c, files.front(), files.back());
  } else {
    session::Session& s = ctx.session;
    s.setPortName(ctx.options.port);
    ctx.dialogs.clearErrors();
    s.btnConnect_Click();
    if (s.programEnded() || ctx.dialogs.errorShown || !s.values.Connected) return kDiffTrouble;
    pages::ModulePage* page = session::IsPageKind(s.values.pageKind) ? s.page() : nullptr;
    if (!page) {
      ctx.err << "q5cfg-cli diff: the unit " << s.values.model << " has no settings page" << std::endl;
      return kDiffTrouble;
    }
    c = config::CompareSettings(*page, s.values, *second.page(), second.values());
    PrintComparison(ctx.out, c, "unit " + ctx.options.port, files.back());
  }
  return c.same() ? kDiffSame : kDiffDiffer;
}

int CmdScan(const CliContext& ctx, const Args& args) {
  bool sim = false;
  std::vector<std::string> ports;
  for (const auto& a : args) {
    if (a == "--sim") {
      sim = true;
    } else if (!a.empty() && a[0] == '-') {
      ctx.err << "q5cfg-cli scan: unknown option " << a << std::endl;
      return kExitUsage;
    } else {
      ports.push_back(a);
    }
  }
  if (!ctx.options.port.empty()) ports.insert(ports.begin(), ctx.options.port);
  if (ports.empty()) {
    for (const auto& p : qtlink::ListPorts()) ports.push_back(p.location);
  }
  if (sim) {
    for (const auto& p : qtlink::SimulatedPortExamples()) ports.push_back(p);
  }
  if (ports.empty()) {
    ctx.err << "q5cfg-cli scan: no serial ports found (name pseudo-terminals, or add --sim)"
            << std::endl;
    return kExitFailed;
  }

  gScanCancelled = false;
  auto previous = std::signal(SIGINT, OnScanInterrupt);
  const auto results = session::ScanPorts(
      ctx.session.exchange(), ports, [&](int i, int n, const std::string& port) {
        if (i < n) ctx.err << "Trying " << (i + 1) << "/" << n << ": " << port << std::endl;
        return !gScanCancelled.load();
      });
  std::signal(SIGINT, previous);

  int found = 0;
  for (const auto& r : results) {
    ctx.out << session::DescribeScanResult(r) << "\n";
    if (r.identified) ++found;
  }
  if (results.size() < ports.size()) ctx.out << "Cancelled after " << results.size() << " ports.\n";
  ctx.out << found << (found == 1 ? " unit" : " units") << " found.\n";
  ctx.out.flush();
  return found > 0 ? kExitOk : kExitFailed;
}

}  // namespace q5::cli
