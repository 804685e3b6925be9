// Configuration-file commands: upload into a file, download a file, create a default
// configuration for a model, show a file. Each does what a person does with the main
// window: Connect (which uploads), File/Open, Download, File/Save, Model Select.
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "cli/Commands.h"
#include "cli/Interrupts.h"
#include "cli/ControlPrinter.h"
#include "config/ConfigFiles.h"
#include "config/FileAccess.h"
#include "config/ModelSelect.h"
#include "link/Exchange.h"
#include "pages/Controls.h"

namespace q5::cli {

namespace {

// One FILE argument (and the flags the command allows); false after a usage message.
bool OneFile(const CliContext& ctx, const char* command, const Args& args, std::string& file,
             bool* dryRun = nullptr) {
  for (const auto& a : args) {
    if (dryRun && a == "--dry-run") {
      *dryRun = true;
    } else if (!a.empty() && a[0] == '-') {
      ctx.err << "q5cfg-cli " << command << ": unknown option " << a << std::endl;
      return false;
    } else if (file.empty()) {
      file = a;
    } else {
      ctx.err << "q5cfg-cli " << command << ": unexpected argument " << a << std::endl;
      return false;
    }
  }
  if (file.empty()) {
    ctx.err << "q5cfg-cli " << command << ": a configuration file is required" << std::endl;
    return false;
  }
  return true;
}

// "-o FILE" or "-oFILE" among the words; the rest are returned in `rest`.
bool OutputFile(const CliContext& ctx, const char* command, const Args& args, std::string& file,
                Args& rest) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) break;
      file = args[++i];
    } else if (args[i].rfind("-o", 0) == 0) {
      file = args[i].substr(2);
    } else {
      rest.push_back(args[i]);
    }
  }
  if (file.empty()) {
    ctx.err << "q5cfg-cli " << command << ": -o FILE is required" << std::endl;
    return false;
  }
  return true;
}

// The "Connect" button: the identification check, then the Upload into the page.
bool ConnectAndUpload(const CliContext& ctx, session::Session& s) {
  s.setPortName(ctx.options.port);
  ctx.dialogs.clearErrors();
  s.btnConnect_Click();
  return !s.programEnded() && !ctx.dialogs.errorShown && s.values.Connected;
}

// A port that passes everything to the unit except the data lines of writes: those are
// answered "COK" here and kept, so a Download runs all its reads and checks while the
// unit's settings stay as they are. The "F" written to group "00", item "01" before
// every Upload and Download goes through (it selects the unit's setting mode and is
// sent by every Upload as well).
class DryRunPort : public link::Port {
 public:
  explicit DryRunPort(link::Port& unit) : unit_(unit) {}

  struct Write {
    std::string group, item, data;
  };
  std::vector<Write> kept;
  bool recording = false;

  bool open(const std::string& name, int baud) override { return unit_.open(name, baud); }
  void close() override { unit_.close(); }
  bool isOpen() const override { return unit_.isOpen(); }
  bool setBaudRate(int baud) override { return unit_.setBaudRate(baud); }
  std::size_t bytesWaiting() override {
    return pending_.empty() ? unit_.bytesWaiting() : pending_.size();
  }
  std::string readAll() override {
    if (pending_.empty()) return unit_.readAll();
    std::string s;
    s.swap(pending_);
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    if (pending_.empty()) unit_.waitForBytes(deadlineUs);
  }
  // True when the line is a write's data line that stays here.
  bool keeps(std::string_view data) const {
    std::string line(data);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] != 'D') return false;
    return !(group_ == "00" && item_ == "01" && line == "DF");
  }
  bool write(std::string_view data) override {
    std::string line(data);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (keeps(data)) {
      if (recording) kept.push_back({group_, item_, line.substr(1)});
      pending_ += "COK\r";
      return true;
    }
    if (!line.empty() && line[0] == 'G') {
      group_ = line.substr(1);
      item_.clear();
    } else if (!line.empty() && line[0] == 'I') {
      item_ = line.substr(1);
    }
    return unit_.write(data);
  }

 private:
  link::Port& unit_;
  std::string pending_;
  std::string group_, item_;
};

}  // namespace

// Where the unit stands after a Download was interrupted: nothing written yet, all of it
// written (the read-back was cut short), or partly written.
static std::string InterruptedDownloadLine(const CliContext& ctx, int writes, bool finished) {
  std::string line = std::string("q5cfg-cli download: interrupted (") + InterruptScope::signalName() + "); ";
  if (writes == 0) return line + "nothing was written to the unit";
  if (finished)
    return line + "all " + std::to_string(writes) +
           " writes had gone out; the unit's settings were not read back";
  line += std::to_string(writes) + (writes == 1 ? " write" : " writes") +
          " went out; the unit now holds a partly written configuration";
  const std::string backup = ctx.backupPath ? ctx.backupPath() : std::string();
  if (!backup.empty())
    line += "; restore it with: q5cfg-cli --port " + ctx.options.port + " download " + backup;
  else
    line += "; no backup was written: download a configuration you trust to restore it";
  return line;
}

int CmdUploadToFile(const CliContext& ctx, const Args& args) {
  std::string file;
  Args rest;
  if (!OutputFile(ctx, "upload", args, file, rest)) return kExitUsage;
  if (!rest.empty()) {
    ctx.err << "q5cfg-cli upload: unexpected argument " << rest.front() << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "upload")) return kExitUsage;
  if (!ConnectAndUpload(ctx, ctx.session)) return kExitFailed;
  // Settings read only in part are not saved as if they were the unit's.
  if (ReportFailure(ctx, "upload", ctx.session.failure())) {
    ctx.err << "q5cfg-cli upload: nothing was saved" << std::endl;
    return kExitFailed;
  }
  // File/Save after Connect, with the file name given here.
  config::ConfigFiles files(ctx.session);
  if (!files.SaveTo(file)) return kExitFailed;
  PrintHeader(ctx.out, ctx.session);
  ctx.out << "Saved to " << file << std::endl;
  return kExitOk;
}

int CmdDownload(const CliContext& ctx, const Args& args) {
  std::string file;
  bool dryRun = false;
  if (!OneFile(ctx, "download", args, file, &dryRun)) return kExitUsage;
  if (!RequirePort(ctx, "download")) return kExitUsage;

  if (!dryRun) {
    session::Session& s = ctx.session;
    if (!ConnectAndUpload(ctx, s)) return kExitFailed;
    config::ConfigFiles files(s);
    ctx.dialogs.openFiles = {file};
    s.mnuFilesOpen_Click([&] { files.ConfigFileOpen(); });
    if (ctx.dialogs.errorShown) return kExitFailed;
    // A signal now lets the exchange under way finish, then nothing more is sent, and
    // the person is told where the unit stands.
    InterruptScope interrupts;
    bool finished = false;  // the signal came after the Download had written everything
    auto where = [&] { return InterruptedDownloadLine(ctx, s.downloadWrites(), finished); };
    InterruptScope::setLastWords(where());
    s.link().setBeforeExchange([&] {
      if (InterruptScope::signal() && !s.link().stopRequested()) {
        finished = !s.downloading() && s.downloadWrites() > 0;
        s.link().requestStop();
      }
      InterruptScope::setLastWords(where());
    });
    s.btnDownload_Click();
    s.link().setBeforeExchange({});
    if (InterruptScope::signal()) {
      ctx.err << where() << std::endl;
      return InterruptScope::exitCode();
    }
    if (ReportFailure(ctx, "download", s.failure())) return kExitFailed;
    if (ctx.dialogs.errorShown || !s.values.Connected || s.programEnded()) return kExitFailed;
    PrintHeader(ctx.out, s);
    ctx.out << "Downloaded " << file << "; the unit's settings were read back." << std::endl;
    return kExitOk;
  }

  // The same sequence on a session whose writes stop at the dry-run port.
  DryRunPort port(ctx.session.exchange().port());
  link::Exchange exchange(port, ctx.session.exchange().clock());
  if (ctx.options.trace) {
    const std::int64_t startUs = exchange.clock().nowUs();
    exchange.setTraceObserver([&, startUs](link::TraceEvent e, std::string_view text,
                                           std::int64_t atUs) {
      std::string shown;
      for (char c : text) shown += c == '\r' ? std::string("\\r") : std::string(1, c);
      char when[32];
      std::snprintf(when, sizeof when, "%10.3f ms ", static_cast<double>(atUs - startUs) / 1000.0);
      const char* mark = e == link::TraceEvent::Sent       ? "> "
                         : e == link::TraceEvent::Received ? "< "
                                                           : "! ";
      ctx.err << when << mark << shown
              << (e == link::TraceEvent::Sent && port.keeps(text) ? "   (dry run: not sent)" : "")
              << std::endl;
    });
  }
  session::Session s(exchange, ctx.dialogs);
  if (!ConnectAndUpload(ctx, s)) return kExitFailed;
  config::ConfigFiles files(s);
  ctx.dialogs.openFiles = {file};
  s.mnuFilesOpen_Click([&] { files.ConfigFileOpen(); });
  if (ctx.dialogs.errorShown) {
    exchange.ComPortClose();
    return kExitFailed;
  }
  port.recording = true;
  s.btnDownload_Click();
  port.recording = false;
  const bool failed = ReportFailure(ctx, "download", s.failure()) || ctx.dialogs.errorShown ||
                      !s.values.Connected || s.programEnded();
  exchange.ComPortClose();
  if (failed) return kExitFailed;
  PrintHeader(ctx.out, s);
  ctx.out << "Dry run: the checks passed; nothing was written. A Download would write:\n";
  for (const auto& w : port.kept)
    ctx.out << "group " << w.group << "\titem " << w.item << "\t" << w.data << "\n";
  ctx.out.flush();
  return kExitOk;
}

int CmdNew(const CliContext& ctx, const Args& args) {
  std::string file;
  Args rest;
  if (!OutputFile(ctx, "new", args, file, rest)) return kExitUsage;
  if (rest.size() != 2) {
    ctx.err << "q5cfg-cli new: GROUP and ITEM of the Model Select menu are required "
               "(e.g. Q5T3NML3 AI4)"
            << std::endl;
    return kExitUsage;
  }
  const config::ModelSelectItem* item = config::FindModelSelectItem(rest[0], rest[1]);
  if (!item) {
    ctx.err << "q5cfg-cli new: the Model Select menu has no item " << rest[0] << " " << rest[1]
            << ". Items:\n";
    for (const auto& g : config::ModelSelectMenu()) {
      std::string available;
      for (const auto& i : g.items)
        if (config::ModelSelectAvailable(i)) available += " " + std::string(i.caption);
      if (!available.empty()) ctx.err << "  " << g.caption << ":" << available << "\n";
    }
    return kExitUsage;
  }
  if (!config::ModelSelectAvailable(*item)) {
    ctx.err << "q5cfg-cli new: " << rest[0] << " " << rest[1]
            << " cannot be created by this version (its page is not available yet)" << std::endl;
    return kExitFailed;
  }
  // What the menu item does, with the chosen file in place of the temporary one.
  auto& flags = ctx.session.values.flags;
  flags.ClearModelFlags();
  for (const auto& f : item->flags) flags.set(f.flag, f.on);
  config::ConfigFiles files(ctx.session);
  std::string text, error;
  if (!files.NewConfigText(item->moduleKind, text)) {
    ctx.dialogs.message("No Config Data", "Create Error", ui::Icon::Error);
    return kExitFailed;
  }
  if (!config::WriteFileAtomically(file, text, error)) {
    ctx.dialogs.message(error, "Create Error", ui::Icon::Error);
    return kExitFailed;
  }
  ctx.out << "Created " << file << " (" << text.substr(1, text.find('"', 1) - 1) << ")"
          << std::endl;
  return kExitOk;
}

int CmdShow(const CliContext& ctx, const Args& args) {
  std::string file;
  if (!OneFile(ctx, "show", args, file)) return kExitUsage;
  // File/Open without a unit: no version check, nothing sent.
  config::ConfigFiles files(ctx.session);
  if (!files.OpenFrom(file)) return kExitFailed;
  pages::ModulePage* page = ctx.session.page();
  PrintHeader(ctx.out, ctx.session);
  if (page) PrintControls(ctx.out, *page);
  ctx.out.flush();
  return kExitOk;
}

}  // namespace q5::cli
