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

}  // namespace
