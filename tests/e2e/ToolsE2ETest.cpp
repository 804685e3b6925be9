// End to end for the tools around the page sequences: the backup a Download writes, diff
// of a unit and a file and of two files, and scan over pseudo-terminals (two units and a
// port where nothing answers). q5sim serves the units; q5cfg-cli runs as a program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PtyRig.h"

namespace {

namespace fs = std::filesystem;
using namespace q5e2e;

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const auto a = text.find(from);
  if (a == std::string::npos) return {};
  const auto b = text.find(to, a + from.size());
  return text.substr(a + from.size(), b - a - from.size());
}

// Sets field `field` (0-based) of line `line` (0-based) of a configuration file.
void EditField(const std::string& path, int line, int field, const std::string& value) {
  std::string text = ReadFile(path);
  std::size_t start = 0;
  for (int l = 0; l < line; ++l) start = text.find("\r\n", start) + 2;
  for (int f = 0; f < field; ++f) start = text.find(',', start) + 1;
  std::size_t end = start;
  while (end < text.size() && text[end] != ',' && text[end] != '\r') ++end;
  text.replace(start, end - start, value);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(ToolsOverPty, DownloadWritesTheBackupOfTheUnitAsUploadSawIt) {
  ScratchFolder dir("q5tools");
  SimOnPty unit({});
  ASSERT_FALSE(unit.path().empty());
  const std::string before = dir / "before.uJx", edited = dir / "edited.uJx";
  ASSERT_EQ(RunCli({"--port", unit.path(), "upload", "-o", before}).exitCode, 0);
  fs::copy_file(before, edited);
  // Channel 1's full scale, on the fourth line.
  EditField(edited, 3, 1, "\"12345\"");

  const RunResult down = RunCli({"--port", unit.path(), "download", edited});
  ASSERT_EQ(down.exitCode, 0) << down.err;
  const std::string backup = Between(down.out, "Backup: ", "\n");
  ASSERT_FALSE(backup.empty()) << down.out;
  EXPECT_EQ(fs::path(backup).parent_path().string(), dir / "data/q5cfg/backups");
  EXPECT_EQ(ReadFile(backup), ReadFile(before));
  EXPECT_NE(ReadFile(backup), ReadFile(edited));

  // Downloading the backup undoes the Download; --no-backup writes none.
  const RunResult undo = RunCli({"--port", unit.path(), "--no-backup", "download", backup});
  ASSERT_EQ(undo.exitCode, 0) << undo.err;
  EXPECT_EQ(undo.out.find("Backup:"), std::string::npos) << undo.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "data/q5cfg/backups"), fs::directory_iterator()), 1);
  const std::string after = dir / "after.uJx";
  ASSERT_EQ(RunCli({"--port", unit.path(), "upload", "-o", after}).exitCode, 0);
  EXPECT_EQ(ReadFile(after), ReadFile(before));
}

TEST(ToolsOverPty, DiffOfUnitAndFileAndOfTwoFiles) {
  ScratchFolder dir("q5tools");
  const std::string a = dir / "a.uJx", b = dir / "b.uJx", bo = dir / "bo.uJx";
  ASSERT_EQ(RunCli({"new", "Q5T3NML3", "AI4", "-o", a}).exitCode, 0);
  ASSERT_EQ(RunCli({"new", "Q5T3NML3", "AI4", "-o", b}).exitCode, 0);
  ASSERT_EQ(RunCli({"new", "Q5W3NEIP", "BO16", "-o", bo}).exitCode, 0);

  RunResult same = RunCli({"diff", a, b});
  EXPECT_EQ(same.exitCode, 0) << same.out << same.err;
  EXPECT_NE(same.out.find("No differences."), std::string::npos) << same.out;

  EditField(b, 3, 1, "\"9000\"");
  RunResult one = RunCli({"diff", a, b});
  EXPECT_EQ(one.exitCode, 1) << one.err;
  EXPECT_NE(one.out.find("\ntxtFScale(0)\t"), std::string::npos) << one.out;
  EXPECT_NE(one.out.find("\t10000\t9000\n"), std::string::npos) << one.out;
  EXPECT_NE(one.out.find("\n1 difference.\n"), std::string::npos) << one.out;

  RunResult models = RunCli({"diff", a, bo});
  EXPECT_EQ(models.exitCode, 1);
  EXPECT_NE(models.out.find("model\t\tQ5T3NML3-6-AI4\tQ5W3NEIP-BO16"), std::string::npos) << models.out;

  RunResult missing = RunCli({"diff", a, dir / "none.uJx"});
  EXPECT_EQ(missing.exitCode, 2);

  // The unit against a file: the unit's own upload is the same, an edited one differs.
  SimOnPty unit({});
  const std::string mine = dir / "mine.uJx";
  ASSERT_EQ(RunCli({"--port", unit.path(), "upload", "-o", mine}).exitCode, 0);
  RunResult unitSame = RunCli({"--port", unit.path(), "diff", mine});
  EXPECT_EQ(unitSame.exitCode, 0) << unitSame.out << unitSame.err;
  // The first range (the first field of the second line) to another list item.
  {
    std::string text = ReadFile(mine);
    const std::size_t at = text.find("\r\n") + 2;
    text[at] = text[at] == '2' ? '1' : '2';
    std::ofstream(mine, std::ios::binary | std::ios::trunc) << text;
  }
  RunResult unitDiff = RunCli({"--port", unit.path(), "diff", mine});
  EXPECT_EQ(unitDiff.exitCode, 1) << unitDiff.out << unitDiff.err;
  EXPECT_NE(unitDiff.out.find("\ncmbUserRange(0)\tInput range\t"), std::string::npos) << unitDiff.out;
}

TEST(ToolsOverPty, ScanFindsTwoUnitsAndSendsOnlyTheCheckToASilentPort) {
  SimOnPty first({"--model", "Q5T3NML3-6-AI4"});
  SimOnPty second({"--model", "Q5W3NEIP-BO16", "--version", "2.10"});
  ASSERT_FALSE(first.path().empty());
  ASSERT_FALSE(second.path().empty());
  int master = -1, slave = -1;
  char silentName[64] = {};
  ASSERT_EQ(openpty(&master, &slave, silentName, nullptr, nullptr), 0);

  const RunResult r = RunCli({"scan", first.path(), silentName, second.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find(first.path() + "\tQ5T3NML3-6-AI4\tVersion "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(second.path() + "\tQ5W3NEIP-BO16\tVersion 2.10\t16CHs\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(std::string(silentName) + "\tno unit\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 units found."), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("Trying 2/3: " + std::string(silentName)), std::string::npos) << r.err;

  // What reached the silent port: the Connect check's group line, nothing written.
  fcntl(master, F_SETFL, O_NONBLOCK);
  std::string received;
  char buf[256];
  for (ssize_t n; (n = read(master, buf, sizeof buf)) > 0;) received.append(buf, static_cast<std::size_t>(n));
  close(slave);
  close(master);
  EXPECT_EQ(received.rfind("G00\r", 0), 0u) << received;
  EXPECT_EQ(received.find('D'), std::string::npos) << received;
  EXPECT_EQ(received.find("I02"), std::string::npos) << received;
}

}  // namespace
