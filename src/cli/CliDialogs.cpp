#include "cli/CliContext.h"

#include "link/TextRoutines.h"

namespace q5::cli {

std::string CliDialogs::Printable(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      s += '\n';
    } else if (c == '\n' || c == '\t') {
      s += c;
    } else {
      // Other control characters (a unit's value in a message) are shown escaped.
      std::size_t end = i;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\t') ++end;
      s += link::EscapeControls(std::string_view(text).substr(i, end - i));
      i = end - 1;
    }
  }
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

void CliDialogs::message(const std::string& text, const std::string& caption, ui::Icon icon) {
  messages.push_back({text, caption, icon});
  std::ostream& os = icon == ui::Icon::Information ? out_ : err_;
  if (icon == ui::Icon::Error) errorShown = true;
  os << Printable(caption) << ": " << Printable(text) << std::endl;
}

bool CliDialogs::ask(const std::string& text, const std::string& caption) {
  bool answer = defaultAnswer;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  err_ << Printable(caption) << ": " << Printable(text) << " -> " << (answer ? "yes" : "no")
       << std::endl;
  return answer;
}

std::optional<std::string> CliDialogs::chooseOpenFile(const std::string&, const std::string&) {
  if (openFiles.empty()) return std::nullopt;
  auto f = openFiles.front();
  openFiles.pop_front();
  return f;
}

std::optional<std::string> CliDialogs::chooseSaveFile(const std::string&, const std::string&,
                                                      const std::string&) {
  if (saveFiles.empty()) return std::nullopt;
  auto f = saveFiles.front();
  saveFiles.pop_front();
  return f;
}

bool RequirePort(const CliContext& ctx, const char* command) {
  if (!ctx.options.port.empty()) return true;
  ctx.err << "q5cfg-cli " << command << ": --port is required (a device path such as "
          << "/dev/ttyUSB0 or COM3, a pseudo-terminal path, or sim:MODEL)" << std::endl;
  return false;
}

bool ConnectUnit(const CliContext& ctx) {
  ctx.session.setPortName(ctx.options.port);
  ctx.session.UnitConnect();
  return ctx.session.values.Connected;
}

bool WantsHelp(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace q5::cli
