// Commands on the module page: upload the unit's settings and print them, monitor the
// live values.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "cli/Commands.h"
#include "cli/ControlPrinter.h"
#include "pages/Controls.h"
#include "session/LiveValues.h"

namespace q5::cli {

namespace {

// "txtCData(3)" -> "txtCData"; names without an index stay as they are.
std::string BaseName(const std::string& name) { return name.substr(0, name.find('(')); }

// Connect as the "Connect" button does: the identification check, then Upload (the
// page's Init and one ReadingData pass). The page on success, nullptr otherwise (the
// message was printed); *noPage is set when the unit has no module page.
pages::ModulePage* ConnectAndUpload(const CliContext& ctx, bool* noPage) {
  *noPage = false;
  ctx.session.setPortName(ctx.options.port);
  ctx.dialogs.clearErrors();
  ctx.session.btnConnect_Click();
  const auto& v = ctx.session.values;
  if (ctx.session.programEnded() || ctx.dialogs.errorShown || !v.Connected) return nullptr;
  pages::ModulePage* page = session::IsPageKind(v.pageKind) ? ctx.session.page() : nullptr;
  if (!page) *noPage = true;
  return page;
}

int NoPage(const CliContext& ctx) {
  PrintHeader(ctx.out, ctx.session);
  ctx.out << "Please download the latest version." << std::endl;
  return kExitOk;
}

// Ctrl-C while monitoring: the first ends the monitoring after the exchange under way
// (as Stop does), a second one ends the program at once.
volatile std::sig_atomic_t gInterrupts = 0;

extern "C" void OnInterrupt(int) {
  if (gInterrupts > 0) {
    static const char kText[] = "\nq5cfg-cli monitor: interrupted\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kText, sizeof kText - 1);
    ::_exit(130);  // ending the process closes the port
  }
  gInterrupts = 1;
}

// Prints the live values after every monitoring pass and stops the loop as Stop would.
class MonitorView : public session::SessionView {
 public:
  MonitorView(const CliContext& ctx, pages::ModulePage& page, long count, bool csv,
              std::vector<std::string> change)
      : ctx_(ctx),
        page_(page),
        count_(count),
        csv_(csv),
        change_(std::move(change)),
        start_(std::chrono::steady_clock::now()) {
    // The live set: what the page declares live, the points of one array printed
    // together as one string of bits.
    live_ = session::LiveColumns(page_);
    for (const session::LiveColumn& c : live_) {
      const std::string name = c.discrete ? BaseName(c.name) : c.name;
      if (c.discrete && !columns_.empty() && columns_.back().bits && columns_.back().name == name)
        continue;
      columns_.push_back({name, c.discrete});
    }
  }

  int passes() const { return passes_; }
  // "Change Value" could not be used (no manual outputs, more values than it shows).
  bool changeFailed() const { return changeFailed_; }

  void openChangeValueDialog(pages::frmChangeValue&) override { dialogOpened_ = true; }

  // Between two exchanges and between two passes: a Ctrl-C becomes a Stop.
  void processEvents() override {
    if (gInterrupts && ctx_.session.values.Monitoring) ctx_.session.btnStop_Click();
  }

  void pageUpdated() override {
    if (!ctx_.session.values.Monitoring) return;
    ++passes_;
    // A pass with a read that got no reply holds old values: it is reported, not printed.
    const auto& f = ctx_.session.link().failures();
    const int failed = f.unansweredReads + f.failedWrites;
    if (failed != failedBefore_ || f.gaveUp || f.portClosed) {
      ctx_.err << "q5cfg-cli monitor: pass " << passes_ << ": " << f.describe() << std::endl;
      failedBefore_ = failed;
    } else {
      printPass();
    }
    if (passes_ == 1 && !change_.empty()) changeValues();
    if ((count_ > 0 && passes_ >= count_) || gInterrupts || changeFailed_)
      ctx_.session.btnStop_Click();
  }

 private:
  struct Column {
    std::string name;
    bool bits;  // an indicator array: one 0/1 per point
  };

  void printPass() {
    std::map<std::string, std::string> values;
    const std::vector<std::string> row = session::LiveRow(page_, live_);
    for (std::size_t i = 0; i < live_.size(); ++i) {
      if (live_[i].discrete) {
        values[BaseName(live_[i].name)] += row[i];
      } else {
        values[live_[i].name] = row[i];
      }
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    char when[32];
    std::snprintf(when, sizeof when, "%.1f", ms);
    if (csv_) {
      // The columns and rows of the window's "Record…".
      if (!csvWriter_) {
        const auto& v = ctx_.session.values;
        csvWriter_ = std::make_unique<session::LiveCsvWriter>(ctx_.out, session::LiveColumns(page_));
        csvWriter_->header(v.model, v.versionText, ctx_.session.portName());
      }
      csvWriter_->row(std::chrono::system_clock::now(), session::LiveRow(page_, csvWriter_->columns()));
      return;
    }
    ctx_.out << "pass " << passes_ << " (" << when << " ms):";
    for (const Column& c : columns_) ctx_.out << " " << c.name << "=" << link::EscapeControls(values[c.name]);
    ctx_.out << std::endl;
  }

  // What a person does after the first pass: clicks the first live value, types the
  // values into "Change Value" and presses "Change". The next pass writes them.
  void changeValues() {
    if (page_.manualOutputCount() == 0) {
      ctx_.err << "q5cfg-cli monitor: " << page_.name()
               << " has no manual outputs; \"Change Value\" does not open" << std::endl;
      changeFailed_ = true;
      return;
    }
    dialogOpened_ = false;
    // The first live value box of the page, as a person clicks it.
    for (const session::LiveColumn& c : live_) {
      if (c.discrete) continue;
      page_.Press(c.name);
      break;
    }
    if (!dialogOpened_) {
      ctx_.err << "q5cfg-cli monitor: \"Change Value\" did not open" << std::endl;
      changeFailed_ = true;
      return;
    }
    pages::frmChangeValue& dialog = ctx_.session.changeValue;
    int shown = 0;
    for (const auto& box : dialog.txtParData) shown += box.visible ? 1 : 0;
    if (static_cast<int>(change_.size()) > shown) {
      ctx_.err << "q5cfg-cli monitor: \"Change Value\" shows " << shown
               << " value(s) for this unit; " << change_.size() << " given" << std::endl;
      changeFailed_ = true;
      return;
    }
    for (std::size_t i = 0; i < change_.size(); ++i) dialog.txtParData[i].text = change_[i];
    const bool refusedBefore = ctx_.dialogs.errorShown;
    ctx_.dialogs.clearErrors();
    dialog.Press("cmdSet1", ctx_.dialogs);
    const bool refused = ctx_.dialogs.errorShown;
    ctx_.dialogs.errorShown = refusedBefore || refused;
    if (refused) return;
    ctx_.err << "Change Value:";
    for (int i = 0; i < shown; ++i) ctx_.err << " " << dialog.txtParData[i].text;
    ctx_.err << " (written by the next pass)" << std::endl;
  }

  const CliContext& ctx_;
  pages::ModulePage& page_;
  long count_;
  bool csv_;
  std::vector<std::string> change_;
  bool changeFailed_ = false;
  bool dialogOpened_ = false;
  std::chrono::steady_clock::time_point start_;
  std::vector<Column> columns_;
  std::vector<session::LiveColumn> live_;
  int passes_ = 0;
  int failedBefore_ = 0;
  std::unique_ptr<session::LiveCsvWriter> csvWriter_;
};

}  // namespace

int CmdUpload(const CliContext& ctx, const Args& args) {
  if (!args.empty()) {
    ctx.err << "q5cfg-cli upload: unexpected argument " << args.front() << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "upload")) return kExitUsage;
  bool noPage = false;
  pages::ModulePage* page = ConnectAndUpload(ctx, &noPage);
  if (noPage) return NoPage(ctx);
  if (!page) return kExitFailed;
  PrintHeader(ctx.out, ctx.session);
  PrintControls(ctx.out, *page);
  ctx.out.flush();
  return ReportFailure(ctx, "upload", ctx.session.failure()) ? kExitFailed : kExitOk;
}

int CmdMonitor(const CliContext& ctx, const Args& args) {
  long count = 0;
  bool csv = false;
  std::vector<std::string> change;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--csv") {
      csv = true;
    } else if (args[i] == "--change" && i + 1 < args.size()) {
      const std::string& list = args[++i];
      std::size_t from = 0;
      while (true) {
        const std::size_t comma = list.find(',', from);
        change.push_back(list.substr(from, comma - from));
        if (comma == std::string::npos) break;
        from = comma + 1;
      }
      if (change.size() > pages::frmChangeValue::kValues) {
        ctx.err << "q5cfg-cli monitor: --change takes at most four values" << std::endl;
        return kExitUsage;
      }
    } else if (args[i] == "--count" && i + 1 < args.size()) {
      char* end = nullptr;
      count = std::strtol(args[++i].c_str(), &end, 10);
      if (*end != '\0' || count <= 0) {
        ctx.err << "q5cfg-cli monitor: --count needs a positive number" << std::endl;
        return kExitUsage;
      }
    } else {
      ctx.err << "q5cfg-cli monitor: unexpected argument " << args[i] << std::endl;
      return kExitUsage;
    }
  }
  if (!change.empty() && count == 1) {
    ctx.err << "q5cfg-cli monitor: --change needs a second pass to write the values "
               "(--count 2 or more)"
            << std::endl;
    return kExitUsage;
  }
  if (!RequirePort(ctx, "monitor")) return kExitUsage;
  bool noPage = false;
  pages::ModulePage* page = ConnectAndUpload(ctx, &noPage);
  if (noPage) return NoPage(ctx);
  if (!page) return kExitFailed;
  if (!csv) PrintHeader(ctx.out, ctx.session);

  MonitorView view(ctx, *page, count, csv, std::move(change));
  ctx.session.setView(&view);
  ctx.session.link().setBeforeExchange([&view] { view.processEvents(); });
  gInterrupts = 0;
  auto previous = std::signal(SIGINT, OnInterrupt);
  ctx.session.btnStart_Click();  // returns when Stop (count reached, Ctrl-C) ends the loop
  std::signal(SIGINT, previous);
  ctx.session.link().setBeforeExchange({});
  ctx.session.setView(nullptr);

  if (ReportFailure(ctx, "monitor", ctx.session.failure())) return kExitFailed;
  if (ctx.dialogs.errorShown || view.changeFailed() || !ctx.session.values.Connected)
    return kExitFailed;
  return kExitOk;
}

}  // namespace q5::cli
