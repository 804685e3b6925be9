// The command line's configuration-file commands against an in-process simulated unit:
// new, show, upload -o, download and download --dry-run (nothing reaches the unit).
// The commands are compiled in here with a plain-text stand-in for the command line's
// message boxes, so they run without Qt.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/ConfigCommands.cpp"
#include "cli/Interrupts.cpp"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "sim/SimPort.h"

namespace q5::cli {
// The command line's dialogs as the commands see them: messages printed as
// "caption: text", error messages noted.
void CliDialogs::message(const std::string& text, const std::string& caption, ui::Icon icon) {
  messages.push_back({text, caption, icon});
  if (icon == ui::Icon::Error) errorShown = true;
  (icon == ui::Icon::Information ? out_ : err_) << caption << ": " << text << "\n";
}
bool CliDialogs::ask(const std::string&, const std::string&) { return defaultAnswer; }
std::optional<std::string> CliDialogs::chooseOpenFile(const std::string&, const std::string&) {
  if (openFiles.empty()) return std::nullopt;
  auto f = openFiles.front();
  openFiles.pop_front();
  return f;
}
std::optional<std::string> CliDialogs::chooseSaveFile(const std::string&, const std::string&,
                                                      const std::string&) {
  return std::nullopt;
}
bool RequirePort(const CliContext& ctx, const char*) { return !ctx.options.port.empty(); }
}  // namespace q5::cli

namespace {

namespace fs = std::filesystem;
using q5::cli::Args;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct CliRig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port = q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock);
  q5::link::Exchange ex{*port, clock};
  std::ostringstream out, err;
  q5::cli::CliDialogs dialogs{out, err};
  q5::session::Session session{ex, dialogs};
  q5::cli::CliContext ctx{session, dialogs, out, err, {"unit", false, false}};
  fs::path dir;
  CliRig() {
    std::string t = (fs::temp_directory_path() / "q5cfg-cli-XXXXXX").string();
    dir = ::mkdtemp(t.data());
  }
  ~CliRig() { fs::remove_all(dir); }
  std::string file(const char* name) const { return (dir / name).string(); }
};

const char* kNewAI4 =
    "\"Q5T3NML3-6-AI4\",0,\"Version : 1.00\",4,99\r\n0,0,0,0\r\n0\r\n"
    "\"12.5\",\"-500\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"\r\n"
    "\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"\r\n"
    "\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"\r\n"
    "\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"\r\n0,0,0,0\r\n";

TEST(ConfigCli, NewWritesWhatTheModelSelectItemCreatesAndShowPrintsIt) {
  CliRig r;
  ASSERT_EQ(q5::cli::CmdNew(r.ctx, Args{"Q5T3NML3", "AI4", "-o", r.file("n.uJx")}), 0);
  std::string expected = kNewAI4;
  expected.replace(expected.find("\"12.5\",\"-500\""), 13, "\"0\",\"10000\"");
  EXPECT_EQ(ReadFile(r.file("n.uJx")), expected);
  EXPECT_EQ(q5::cli::CmdNew(r.ctx, Args{"Q5T3NML3", "AI5", "-o", r.file("x.uJx")}), 2);
  // An item of a kind this version cannot create yet, if there is one.
  for (const auto& g : q5::config::ModelSelectMenu()) {
    for (const auto& item : g.items) {
      if (q5::config::ModelSelectAvailable(item)) continue;
      EXPECT_EQ(q5::cli::CmdNew(r.ctx, Args{std::string(g.caption), std::string(item.caption),
                                            "-o", r.file("x.uJx")}),
                1);
      EXPECT_FALSE(fs::exists(r.file("x.uJx")));
      break;
    }
  }

  r.out.str("");
  ASSERT_EQ(q5::cli::CmdShow(r.ctx, Args{r.file("n.uJx")}), 0);
  const std::string shown = r.out.str();
  EXPECT_EQ(shown.substr(0, shown.find('\n')),
            "# Q5T3NML3-6-AI4  Version : 1.00  channels 4  page 0 frmAI4");
  EXPECT_NE(shown.find("\ntxtGain(3)\tGain\t1.0000\n"), std::string::npos);
  EXPECT_NE(shown.find("\ncmbUserRange(0)\tInput range\t-10V to 10V [0]\n"), std::string::npos);
  EXPECT_EQ(q5::cli::CmdShow(r.ctx, Args{r.file("absent.uJx")}), 1);
}

TEST(ConfigCli, DryRunChecksAndListsTheWritesWithoutSendingThem) {
  CliRig r;
  std::ofstream(r.file("d.uJx"), std::ios::binary) << kNewAI4;
  ASSERT_EQ(q5::cli::CmdDownload(r.ctx, Args{"--dry-run", r.file("d.uJx")}), 0) << r.err.str();
  for (const auto& w : r.port->unit().writeLog()) EXPECT_EQ(w, "00/01=F");
  const std::string out = r.out.str();
  EXPECT_NE(out.find("group 1\titem 20\t12\ngroup 1\titem 21\t-500\n"), std::string::npos) << out;
  EXPECT_NE(out.find("group 00\titem 30\t0\n"), std::string::npos) << out;
  EXPECT_EQ(r.port->unit().value("1", "21"), "10000");

  // A range error fails the dry run as it fails a Download.
  std::string bad = kNewAI4;
  bad.replace(bad.find("\"-500\""), 6, "\"40000\"");
  std::ofstream(r.file("bad.uJx"), std::ios::binary) << bad;
  EXPECT_EQ(q5::cli::CmdDownload(r.ctx, Args{"--dry-run", r.file("bad.uJx")}), 1);
  EXPECT_NE(r.err.str().find("Data Range Error"), std::string::npos);
  for (const auto& w : r.port->unit().writeLog()) EXPECT_EQ(w, "00/01=F");
}

TEST(ConfigCli, DownloadWritesTheFileAndUploadSavesWhatTheUnitHolds) {
  CliRig r;
  std::ofstream(r.file("d.uJx"), std::ios::binary) << kNewAI4;
  ASSERT_EQ(q5::cli::CmdDownload(r.ctx, Args{r.file("d.uJx")}), 0) << r.err.str();
  EXPECT_EQ(r.port->unit().value("1", "20"), "12");
  EXPECT_EQ(r.port->unit().value("1", "21"), "-500");

  ASSERT_EQ(q5::cli::CmdUploadToFile(r.ctx, Args{"-o", r.file("u.uJx")}), 0) << r.err.str();
  std::string expected = kNewAI4;
  expected.replace(expected.find("1.00"), 4, "1.05");
  expected.replace(expected.find("12.5"), 4, "12");
  EXPECT_EQ(ReadFile(r.file("u.uJx")), expected);

  // A file of another major version is refused by the connected unit: non-zero exit.
  std::string v2 = kNewAI4;
  v2.replace(v2.find("1.00"), 4, "2.00");
  v2.replace(v2.find("-500"), 4, "-600");
  std::ofstream(r.file("v2.uJx"), std::ios::binary) << v2;
  EXPECT_EQ(q5::cli::CmdDownload(r.ctx, Args{r.file("v2.uJx")}), 1);
  EXPECT_NE(r.err.str().find("Unit/Config_file version disagreement."), std::string::npos);
  EXPECT_EQ(r.port->unit().value("1", "21"), "-500");
}

}  // namespace
