// Backups before Download: the unit's settings of the last Upload are in a file before the
// first D line goes out, old backups beyond the count go, and a backup that cannot be
// written stops the Download unless the user says otherwise.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SessionTestRig.h"
#include "config/Backups.h"
#include "config/ConfigFiles.h"

namespace {

namespace fs = std::filesystem;
using q5::config::Backups;

struct Scratch {
  fs::path path;
  Scratch() {
    std::string t = (fs::temp_directory_path() / "q5cfg-backups-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Scratch() { fs::remove_all(path); }
};

std::string ReadFile(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string SavedText(q5::session::Session& s) {
  std::string text, error;
  EXPECT_TRUE(q5::config::ConfigFiles(s).CurrentConfigText(text, error)) << error;
  return text;
}

TEST(Backups, WrittenBeforeTheFirstDataLineWithTheSettingsOfTheLastUpload) {
  Scratch dir;
  SessionRig rig("Q5T3NML3-6-AI4");
  Backups backups(rig.session, (dir.path / "data" / "backups").string());
  backups.now = [] { return std::time_t{1700000000}; };
  rig.connect();
  const std::string uploaded = SavedText(rig.session);

  // The user edits the page; the backup still holds what the unit held.
  auto* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  struct Edit : q5::pages::ControlVisitor {
    void text(const q5::pages::ControlInfo& info_, q5::pages::TextBox& c) override {
      const std::string_view name = info_.name;
      if (name == "txtFScale(0)") c.text = "9000";
    }
  } edit;
  page->visitControls(edit);
  ASSERT_NE(SavedText(rig.session), uploaded);

  // At the first D line the backup is already complete on disk.
  std::string atFirstWrite = "(no D line)";
  bool seen = false;
  rig.onSent = [&](const std::string& line) {
    if (seen || line.empty() || line[0] != 'D') return;
    seen = true;
    atFirstWrite = backups.list().size() == 1 ? ReadFile(backups.list()[0]) : "(no backup)";
  };
  rig.session.btnDownload_Click();
  rig.onSent = {};
  EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  EXPECT_EQ(atFirstWrite, uploaded);
  ASSERT_EQ(backups.list().size(), 1u);
  EXPECT_EQ(backups.lastPath(), backups.list()[0]);
  EXPECT_EQ(fs::path(backups.lastPath()).filename().string(),
            Backups::FileName("Q5T3NML3-6-AI4", "sim:Q5T3NML3-6-AI4", 1700000000));
  EXPECT_EQ(fs::path(backups.lastPath()).filename().string().substr(0, 34),
            "Q5T3NML3-6-AI4_sim-Q5T3NML3-6-AI4_");

  // The next Download keeps the unit's settings as the re-Upload read them (the edit),
  // in a second file beside the first although the time stamp is the same.
  rig.session.btnDownload_Click();
  ASSERT_EQ(backups.list().size(), 2u);
  EXPECT_NE(ReadFile(backups.list()[1]), uploaded);
  EXPECT_EQ(ReadFile(backups.list()[1]), SavedText(rig.session));
}

TEST(Backups, OldestGoBeyondTheCountAndOffWritesNothing) {
  Scratch dir;
  SessionRig rig("Q5W3NEIP-BO16");
  Backups backups(rig.session, dir.path.string(), 3);
  std::time_t t = 1700000000;
  backups.now = [&] { return t += 60; };
  rig.connect();
  for (int i = 0; i < 5; ++i) rig.session.btnDownload_Click();
  const auto kept = backups.list();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept.back(), backups.lastPath());
  EXPECT_NE(kept[0].find(Backups::FileName("x", "y", 1700000000 + 180).substr(4)), std::string::npos)
      << kept[0];

  backups.setEnabled(false);
  rig.session.btnDownload_Click();
  EXPECT_EQ(backups.list().size(), 3u);
  EXPECT_TRUE(backups.lastPath().empty());
}

TEST(Backups, AFolderThatCannotBeMadeAsksAndNoStopsTheDownloadBeforeAnyWrite) {
  Scratch dir;
  std::ofstream(dir.path / "plain") << "x";
  SessionRig rig("Q5T3NML3-6-AI4");
  Backups backups(rig.session, (dir.path / "plain" / "backups").string());
  rig.connect();
  rig.takeWire();
  rig.dialogs.answers = {false};
  rig.session.btnDownload_Click();
  ASSERT_EQ(rig.dialogs.questions.size(), 1u);
  EXPECT_EQ(rig.dialogs.questions[0].caption, "Backup");
  for (const auto& line : rig.takeWire()) EXPECT_NE(line[0], 'D') << line;
  EXPECT_TRUE(rig.session.values.Connected);
  EXPECT_TRUE(rig.session.buttons().btnDownload);

  // Yes: the Download goes on without a backup.
  rig.dialogs.answers = {true};
  rig.session.btnDownload_Click();
  bool wrote = false;
  for (const auto& line : rig.takeWire()) wrote = wrote || line[0] == 'D';
  EXPECT_TRUE(wrote);
  EXPECT_TRUE(backups.lastPath().empty());
}

TEST(Backups, PruningTouchesOnlyItsOwnFilesNeverUserFilesOrLinks) {
  Scratch dir;
  const fs::path folder = dir.path / "backups";
  const fs::path elsewhere = dir.path / "elsewhere";
  fs::create_directories(folder);
  fs::create_directories(elsewhere);
  // The user's own files in the backups folder, some ending in ".uJx", one even with a
  // time-like tail after its last "_", and names that are almost a backup's.
  const std::vector<std::string> users = {
      "plant_1999.uJx",  "x_0.uJx",
      "0.uJx",           "notes.txt",
      "line3_20200101-000000.uJx",                // only one "_" part before the time
      "AI4_COM3_20200101-000000.uJx.bak",         // more after the suffix
      "AI4_COM3_20200101-00000.uJx",              // a digit short
      "AI4_COM3_20200101-000000-1.uJx",           // no backup is numbered 1
      "AI4_COM3_20200101-000000-x.uJx",           // not a number
      "AI4_COM_3_20200101-000000.uJx",            // three parts
      "-AI4_COM3_20200101-000000.uJx"};           // FileName never starts with "-"
  for (const auto& u : users) std::ofstream(folder / u) << "user " << u;
  // Old backups by name, the oldest of all, which pruning may take.
  std::ofstream(folder / "Q5W3NEIP-BO16_COM3_20000101-000000.uJx") << "old backup";
  std::ofstream(folder / "Q5W3NEIP-BO16_dev-ttyUSB0_20000101-000000-2.uJx") << "old backup 2";
  // A folder with a backup's name is not a file to remove.
  fs::create_directories(folder / "Q5W3NEIP-BO16_COM3_20000101-000001.uJx");
#ifndef _WIN32
  // A link with a backup's name, to a file of the user's elsewhere: neither goes.
  std::ofstream(elsewhere / "precious.uJx") << "precious";
  fs::create_symlink(elsewhere / "precious.uJx", folder / "Q5W3NEIP-BO16_COM3_20000101-000002.uJx");
#endif

  SessionRig rig("Q5W3NEIP-BO16");
  Backups backups(rig.session, folder.string(), 2);
  std::time_t t = 1700000000;
  backups.now = [&] { return t += 60; };
  rig.connect();
  for (int i = 0; i < 4; ++i) rig.session.btnDownload_Click();

  for (const auto& u : users) EXPECT_EQ(ReadFile((folder / u).string()), "user " + u) << u;
  EXPECT_FALSE(fs::exists(folder / "Q5W3NEIP-BO16_COM3_20000101-000000.uJx"));
  EXPECT_FALSE(fs::exists(folder / "Q5W3NEIP-BO16_dev-ttyUSB0_20000101-000000-2.uJx"));
  EXPECT_TRUE(fs::is_directory(folder / "Q5W3NEIP-BO16_COM3_20000101-000001.uJx"));
  const auto kept = backups.list();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept.back(), backups.lastPath());
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(folder / "Q5W3NEIP-BO16_COM3_20000101-000002.uJx"));
  EXPECT_EQ(ReadFile((elsewhere / "precious.uJx").string()), "precious");

  // A backups folder that is itself a link: the backup is written, but nothing in the
  // folder it leads to is pruned, backups by name included.
  for (int i = 0; i < 3; ++i)
    std::ofstream(elsewhere / ("Q5W3NEIP-BO16_COM3_2000010" + std::to_string(i + 1) + "-000000.uJx"))
        << "theirs";
  fs::create_directory_symlink(elsewhere, dir.path / "linked");
  Backups throughLink(rig.session, (dir.path / "linked").string(), 1);
  throughLink.now = [&] { return t += 60; };
  rig.session.btnDownload_Click();  // ends with the Upload whose settings it keeps
  rig.session.btnDownload_Click();
  EXPECT_FALSE(throughLink.lastPath().empty());
  int left = 0;
  for (const auto& e : fs::directory_iterator(elsewhere)) left += e.is_regular_file();
  EXPECT_EQ(left, 5) << "precious, three by name and the new backup";
  EXPECT_EQ(fs::path(throughLink.lastPath()).parent_path(), dir.path / "linked");
#endif
}

TEST(Backups, NamesCarryTheWindowsPortByItsOwnName) {
  const std::string a = Backups::FileName("Q5T3NML3-6-AI4", "\\\\.\\COM10", 1700000000);
  EXPECT_EQ(a.rfind("Q5T3NML3-6-AI4_COM10_", 0), 0u) << a;
  EXPECT_EQ(Backups::FileName("M", "COM3", 1700000000).rfind("M_COM3_", 0), 0u);
  EXPECT_EQ(Backups::FileName("M", "/dev/ttyUSB0", 1700000000).rfind("M_dev-ttyUSB0_", 0), 0u);
  std::string stamp;
  long n = 0;
  EXPECT_TRUE(Backups::IsBackupName(a, &stamp, &n));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(stamp.size(), 15u);
  EXPECT_TRUE(Backups::IsBackupName("M_COM3_20231114-221320-12.uJx", &stamp, &n));
  EXPECT_EQ(stamp, "20231114-221320");
  EXPECT_EQ(n, 12);
}

}  // namespace

// Closing the window during a Download asks first and names the backup to restore from.
// No lets the Download write on; Yes lets the write under way finish, sends nothing
// more, and the port closes only once the Download has unwound.
TEST(Backups, ClosingTheWindowDuringADownloadAsksAndStopsAfterTheWriteUnderWay) {
  Scratch dir;
  SessionRig rig("Q5T3NML3-6-AI4");
  Backups backups(rig.session, dir.path.string());
  rig.connect();
  EXPECT_TRUE(rig.session.confirmStopForClose());  // nothing is writing: no question
  EXPECT_TRUE(rig.dialogs.questions.empty());

  rig.dialogs.answers = {false, true};
  int dLines = 0;
  std::vector<std::string> afterYes;
  bool yes = false, portOpenAfterExit = false;
  rig.onSent = [&](const std::string& line) {
    if (yes) {
      afterYes.push_back(line);
      return;
    }
    if (line.empty() || line[0] != 'D' || ++dLines < 3) return;
    if (dLines == 3) {
      EXPECT_FALSE(rig.session.confirmStopForClose());
    } else if (dLines == 6) {
      yes = rig.session.confirmStopForClose();
      if (yes) rig.session.mnuFilesEnd_Click();  // what the window does on Yes
      portOpenAfterExit = rig.exchange.isOpen();
    }
  };
  rig.session.btnDownload_Click();
  rig.onSent = {};

  ASSERT_TRUE(yes);
  ASSERT_EQ(rig.dialogs.questions.size(), 2u);
  const std::string& asked = rig.dialogs.questions[1].text;
  EXPECT_EQ(rig.dialogs.questions[1].caption, "Exit");
  EXPECT_NE(asked.find("5 writes done so far"), std::string::npos) << asked;
  EXPECT_NE(asked.find("partly written configuration"), std::string::npos) << asked;
  ASSERT_FALSE(backups.lastPath().empty());
  EXPECT_NE(asked.find("the backup file " + backups.lastPath()), std::string::npos) << asked;
  EXPECT_NE(rig.dialogs.questions[0].text.find("2 writes done so far"), std::string::npos);
  // After Yes nothing more went out; the write under way got its reply on an open port.
  EXPECT_TRUE(afterYes.empty()) << afterYes.front();
  EXPECT_TRUE(portOpenAfterExit);
  EXPECT_EQ(rig.session.downloadWrites(), 6);
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_TRUE(rig.session.programEnded());
  EXPECT_FALSE(rig.session.sequenceRunning());
}
