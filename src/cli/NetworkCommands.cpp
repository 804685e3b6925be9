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

namespace q5::cli {

namespace {

struct Assignment {
  std::string name;
  std::string value;
};

// Finds one control of the window by name.
class Finder : public pages::ControlVisitor {
 public:
  explicit Finder(std::string name) : name_(std::move(name)) {}
  void text(std::string_view name, std::string_view, pages::TextBox& c) override {
    if (name == name_) textBox = &c;
  }
  void combo(std::string_view name, std::string_view, pages::ComboBox& c) override {
    if (name == name_) comboBox = &c;
  }
  void label(std::string_view name, pages::Label&) override { other = other || name == name_; }
  void button(std::string_view name, pages::Button&) override { other = other || name == name_; }
  void frame(std::string_view name, pages::Frame&) override { other = other || name == name_; }

  pages::TextBox* textBox = nullptr;
  pages::ComboBox* comboBox = nullptr;
  bool other = false;

 private:
  std::string name_;
};

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The list item a value names: its text (blanks around it ignored) or its index.
int ItemOf(const pages::ComboBox& c, const std::string& value) {
  for (std::size_t i = 0; i < c.items.size(); ++i)
    if (Trimmed(c.items[i]) == Trimmed(value)) return static_cast<int>(i);
  if (!value.empty() && value.size() <= 2 &&
      value.find_first_not_of("0123456789") == std::string::npos) {
    const int i = std::stoi(value);
    if (i < static_cast<int>(c.items.size())) return i;
  }
  return -1;
}

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
      Finder f(a.name);
      w->visitControls(f);
      pages::Control* c = f.textBox ? static_cast<pages::Control*>(f.textBox)
                                    : static_cast<pages::Control*>(f.comboBox);
      if (!c) {
        ctx_.err << "q5cfg-cli network: " << w->name() << " has no "
                 << (f.other ? "entry named " : "control named ") << a.name << std::endl;
        usageError = true;
        return;
      }
      if (!c->visible || !c->enabled) {
        ctx_.err << "q5cfg-cli network: " << a.name << " cannot be changed on this unit"
                 << std::endl;
        usageError = true;
        return;
      }
      if (f.textBox) {
        f.textBox->text = a.value;
      } else {
        const int i = ItemOf(*f.comboBox, a.value);
        if (i < 0) {
          ctx_.err << "q5cfg-cli network: " << a.name << " has no item " << a.value
                   << " (items:";
          for (std::size_t k = 0; k < f.comboBox->items.size(); ++k)
            ctx_.err << " " << k << "=\"" << f.comboBox->items[k] << "\"";
          ctx_.err << ")" << std::endl;
          usageError = true;
          return;
        }
        f.comboBox->index = i;
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
    const auto eq = a.find('=');
    if (eq == std::string::npos || eq == 0) {
      ctx.err << "q5cfg-cli network: expected NAME=VALUE, got " << a << std::endl;
      return kExitUsage;
    }
    assignments.push_back({a.substr(0, eq), a.substr(eq + 1)});
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
