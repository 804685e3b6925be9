// Firmware: check an S-record image, or load it into the unit with the sequence of the
// "FirmUpdate" window, printing the window's log as it grows.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/Interrupts.h"
#include "firmware/SRecord.h"
#include "firmware/frmFirmUpdate.h"
#include "link/TextRoutines.h"
#include "ui/UnattendedDialogs.h"

namespace q5::cli {
namespace {

constexpr const char* kInUpdateModeLine =
    "The unit is still in update mode at 115200 baud: repeat the update or power-cycle it";

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

// The window's log on the terminal. A record line's entry shows as its percentage only:
// on a terminal one line redrawn, otherwise one line each time the percentage changes.
class LogPrinter : public firmware::FirmUpdateView {
 public:
  LogPrinter(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

  void logCleared() override {
    // Dots are appended without a line break; what follows a cleared log starts afresh.
    endProgressLine();
    if (!atLineStart_) out_ << '\n' << std::flush;
    atLineStart_ = true;
  }
  void logAppended(const std::string& text, bool progress) override {
    if (progress) {
      const std::string percent = text.substr(0, text.find('\r'));
      if (percent == lastPercent_) return;
      lastPercent_ = percent;
      if (terminal_) {
        out_ << '\r' << percent << "   " << std::flush;
        progressShown_ = true;
      } else {
        out_ << percent << std::endl;
      }
      return;
    }
    endProgressLine();
    out_ << CliDialogs::Printable(text);
    atLineStart_ = text.size() > 1;
    if (atLineStart_) out_ << '\n';
    out_ << std::flush;
  }
  void endProgressLine() {
    if (progressShown_) out_ << '\n';
    progressShown_ = false;
    lastPercent_.clear();
  }

 private:
  std::ostream& out_;
  bool terminal_;
  bool progressShown_ = false;
  bool atLineStart_ = true;
  std::string lastPercent_;
};

// The window's questions and file choice, answered from the command line or the terminal.
class FirmwareDialogs : public ui::UnattendedDialogs {
 public:
  FirmwareDialogs(CliDialogs& inner, LogPrinter& printer, std::string file)
      : UnattendedDialogs(/*answer=*/false, std::move(file)), inner_(inner), printer_(printer) {}

  bool yes = false;                     // --yes: "update firm ?" is answered Yes
  std::optional<std::string> crc;       // --crc XXXX: Yes only for this CRC16
  const firmware::frmFirmUpdate* window = nullptr;

  void message(const std::string& text, const std::string& caption, ui::Icon icon) override {
    printer_.endProgressLine();
    inner_.message(text, caption, icon);
  }
  bool ask(const std::string& text, const std::string& caption) override {
    printer_.endProgressLine();
    const bool crcQuestion = text != "update firm ?";
    if (!crcQuestion && yes) return say(text, caption, true, "--yes");
    if (crcQuestion && crc) {
      const bool same = window && Upper(window->unitCrc()) == Upper(*crc);
      return say(text, caption, same,
                 same ? "--crc matches" : "--crc " + link::EscapeControls(*crc) + " differs");
    }
    // On the terminal; the end of input counts as No.
    std::cerr << CliDialogs::Printable(caption) << ": " << CliDialogs::Printable(text)
              << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
      std::cerr << "(end of input: no)" << std::endl;
      return false;
    }
    answer = Upper(answer);
    return answer == "Y" || answer == "YES";
  }

 private:
  bool say(const std::string& text, const std::string& caption, bool answer, const std::string& why) {
    std::cerr << CliDialogs::Printable(caption) << ": " << CliDialogs::Printable(text) << " -> "
              << (answer ? "yes" : "no") << " (" << why << ")" << std::endl;
    return answer;
  }

  CliDialogs& inner_;
  LogPrinter& printer_;
};

int CheckOnly(const CliContext& ctx, const std::string& file) {
  const firmware::ImageCheck image = firmware::CheckImageFile(file);
  if (!image.ok) {
    ctx.err << file << ": " << image.refusal() << std::endl;
    return kExitFailed;
  }
  ctx.out << file << ": a firmware image the unit can take\n";
  for (const std::string& s : firmware::ImageSummary(image)) ctx.out << s << "\n";
  ctx.out.flush();
  return kExitOk;
}

}  // namespace

int CmdFirmware(const CliContext& ctx, const Args& args) {
  bool check = false, yes = false;
  std::optional<std::string> crc;
  std::string file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--check") {
      check = true;
    } else if (a == "--yes" || a == "-y") {
      yes = true;
    } else if (a == "--crc") {
      if (i + 1 >= args.size()) {
        ctx.err << "q5cfg-cli firmware: --crc needs four hex digits" << std::endl;
        return kExitUsage;
      }
      crc = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      ctx.err << "q5cfg-cli firmware: unknown option " << a << std::endl;
      return kExitUsage;
    } else if (file.empty()) {
      file = a;
    } else {
      ctx.err << "q5cfg-cli firmware: one file only" << std::endl;
      return kExitUsage;
    }
  }
  if (file.empty()) {
    ctx.err << "q5cfg-cli firmware: which S-record file?" << std::endl;
    return kExitUsage;
  }
  if (crc && (crc->size() != 4 || !std::all_of(crc->begin(), crc->end(), [](unsigned char c) {
                 return std::isxdigit(c) != 0;
               }))) {
    ctx.err << "q5cfg-cli firmware: --crc takes the four hexadecimal digits the unit reports, not \""
            << link::EscapeControls(*crc) << "\"" << std::endl;
    return kExitUsage;
  }
  if (check) return CheckOnly(ctx, file);

  if (!RequirePort(ctx, "firmware")) return kExitUsage;
  if (!ConnectUnit(ctx)) return kExitFailed;
  if (!ctx.session.Identify()) return kExitFailed;

  LogPrinter printer(ctx.out, &ctx.out == &std::cout && isatty(STDOUT_FILENO));
  FirmwareDialogs dialogs(ctx.dialogs, printer, file);
  dialogs.yes = yes;
  dialogs.crc = crc;
  session::Session& s = ctx.session;
  firmware::frmFirmUpdate window(s.link(), dialogs,
                                 {[&s] { return s.values.Connected; }, [&s] { return s.portName(); }});
  dialogs.window = &window;
  window.setView(&printer);
  window.Form_Load();
  // A signal stops the update after the record under way; a second one ends the
  // program at once, still saying where the unit stands.
  InterruptScope interrupts;
  auto where = [&window] {
    return std::string("q5cfg-cli firmware: interrupted (") + InterruptScope::signalName() + "); " +
           (window.inUpdateMode() ? std::string(kInUpdateModeLine) : std::string("the unit runs its firmware as before"));
  };
  window.stopRequested = [&] {
    InterruptScope::setLastWords(where());
    return InterruptScope::signal() != 0;
  };
  InterruptScope::setLastWords(where());
  s.link().setBeforeExchange([&] { InterruptScope::setLastWords(where()); });
  window.btnFirmUpdate_Click();
  s.link().setBeforeExchange({});
  printer.endProgressLine();
  if (InterruptScope::signal()) {
    ctx.err << where() << std::endl;
    return InterruptScope::exitCode();
  }
  window.Form_Unload();
  return window.outcome() == firmware::frmFirmUpdate::Outcome::Completed ? kExitOk : kExitFailed;
}

}  // namespace q5::cli
