// "Save changes?": page values edited by hand or created offline are never replaced
// without a question, and each answer does what it says; a saved name gets ".uJx".
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestDialogs.h"
#include "config/Backups.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "pages/frmAI4.h"
#include "session/Session.h"
#include "sim/SimPort.h"

namespace {

namespace fs = std::filesystem;
using q5::config::ConfigFiles;
using q5::ui::SaveAnswer;

struct Rig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange ex;
  TestDialogs dialogs;
  q5::session::Session session;
  ConfigFiles files{session};
  fs::path dir;
  std::vector<std::string> wire;

  Rig()
      : port(q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock, {})),
        ex(*port, clock),
        session(ex, dialogs) {
    std::string t = (fs::temp_directory_path() / "q5cfg-save-XXXXXX").string();
    dir = ::mkdtemp(t.data());
    session.values.applicationFolder = dir.string();
    session.setPortName("unit");
    ex.setTraceObserver([this](q5::link::TraceEvent e, std::string_view text, std::int64_t) {
      if (e == q5::link::TraceEvent::Sent) wire.emplace_back(text);
    });
  }
  ~Rig() { fs::remove_all(dir); }
  void createAI4() {
    files.ModelSelect_Click(*q5::config::FindModelSelectItem("Q5T3NML3", "AI4"));
  }
  q5::pages::frmAI4& page() { return *dynamic_cast<q5::pages::frmAI4*>(session.page()); }
};

bool Exists(const fs::path& p) { return fs::exists(p); }

}  // namespace

// Offline work, then Connect: Cancel keeps the page and sends nothing; Save writes the
// file first (with ".uJx" added) and then connects; the unit's values then count as
// saved.
TEST(SaveChanges, OfflinePageBeforeConnect) {
  Rig r;
  r.createAI4();
  ASSERT_TRUE(r.session.values.PageShown);
  EXPECT_TRUE(r.session.pageEdited());  // created offline: in no file, no unit
  r.page().txtZScale[0].text = "123";
  r.session.markPageEdited();

  r.dialogs.saveAnswers = {SaveAnswer::Cancel};
  r.session.btnConnect_Click();
  EXPECT_TRUE(r.wire.empty());
  EXPECT_FALSE(r.session.values.Connected);
  EXPECT_EQ(r.page().txtZScale[0].text, "123");
  ASSERT_EQ(r.dialogs.questions.size(), 1u);
  EXPECT_EQ(r.dialogs.questions[0], (TestDialogs::Question{"Save changes?", "Q5CFG"}));

  // Save, but the file dialog is cancelled: that is no save, so no Connect either.
  r.dialogs.saveAnswers = {SaveAnswer::Save};
  r.dialogs.saveFiles = {std::nullopt};
  r.session.btnConnect_Click();
  EXPECT_TRUE(r.wire.empty());
  EXPECT_TRUE(r.session.pageEdited());

  // Save to a name without an extension: written as plant-a.uJx, then connected.
  r.dialogs.saveAnswers = {SaveAnswer::Save};
  r.dialogs.saveFiles = {(r.dir / "plant-a").string()};
  r.session.btnConnect_Click();
  EXPECT_TRUE(Exists(r.dir / "plant-a.uJx"));
  EXPECT_FALSE(Exists(r.dir / "plant-a"));
  EXPECT_TRUE(r.session.values.Connected);
  EXPECT_FALSE(r.session.pageEdited());
  EXPECT_EQ(r.session.configFile(), "");  // the page now shows the unit
  EXPECT_NE(r.page().txtZScale[0].text, "123");
  EXPECT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
}

// Hand edits after an Upload: Upload, Open, Model Select and Start-without-connection
// ask; Discard goes on; Download counts as saved, so its own re-Upload asks nothing.
TEST(SaveChanges, EditsBeforeUploadOpenModelSelectAndDownload) {
  Rig r;
  r.session.btnConnect_Click();
  ASSERT_TRUE(r.session.values.Connected);
  EXPECT_FALSE(r.session.pageEdited());

  r.page().txtZScale[0].text = "77";
  r.session.markPageEdited();
  r.wire.clear();
  r.dialogs.saveAnswers = {SaveAnswer::Cancel};
  r.session.btnUpload_Click();
  EXPECT_TRUE(r.wire.empty());
  EXPECT_EQ(r.page().txtZScale[0].text, "77");

  // Download writes the edit; no question, and afterwards nothing is unsaved.
  r.dialogs.questions.clear();
  r.session.btnDownload_Click();
  EXPECT_TRUE(r.dialogs.questions.empty());
  EXPECT_FALSE(r.session.pageEdited());
  EXPECT_EQ(r.page().txtZScale[0].text, "77");

  // Edited again: File/Open and Model Select ask; Cancel stops them before any file
  // dialog or creation.
  r.session.markPageEdited();
  r.dialogs.events.clear();
  r.dialogs.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel};
  r.files.mnuFilesOpen_Click();
  r.createAI4();
  EXPECT_EQ(r.dialogs.events,
            (std::vector<std::string>{"askSave Save changes?|Q5CFG -> cancel",
                                      "askSave Save changes?|Q5CFG -> cancel"}));
  EXPECT_FALSE(Exists(r.dir / "tmp" / "tmp.uJx"));

  // Discard: the Upload replaces the edit with the unit's value.
  r.dialogs.saveAnswers = {SaveAnswer::Discard};
  r.page().txtZScale[0].text = "55";
  r.session.btnUpload_Click();
  EXPECT_EQ(r.page().txtZScale[0].text, "77");
  EXPECT_FALSE(r.session.pageEdited());
}

// Save keeps a name with an extension, adds ".uJx" to one without, and a file that is
// opened or saved becomes the page's file until the unit is read again.
TEST(SaveChanges, SuffixAndTheCurrentFile) {
  EXPECT_EQ(ConfigFiles::WithConfigSuffix("/x/plant-a"), "/x/plant-a.uJx");
  EXPECT_EQ(ConfigFiles::WithConfigSuffix("/x/plant-a.txt"), "/x/plant-a.txt");
  EXPECT_EQ(ConfigFiles::WithConfigSuffix("/x.d/plant"), "/x.d/plant.uJx");
  EXPECT_EQ(ConfigFiles::WithConfigSuffix("C:\\cfg\\unit"), "C:\\cfg\\unit.uJx");

  Rig r;
  r.createAI4();
  r.dialogs.saveFiles = {(r.dir / "b").string()};
  EXPECT_TRUE(r.files.ConfigFileSave());
  EXPECT_EQ(r.session.configFile(), (r.dir / "b.uJx").string());
  EXPECT_FALSE(r.session.pageEdited());
  r.dialogs.openFiles = {(r.dir / "b.uJx").string()};
  r.files.mnuFilesOpen_Click();  // nothing unsaved: no question
  EXPECT_TRUE(r.dialogs.questions.empty());
  EXPECT_EQ(r.session.configFile(), (r.dir / "b.uJx").string());
  r.session.btnConnect_Click();
  EXPECT_EQ(r.session.configFile(), "");
}

// "Save" still saves after the unit was read with backups kept and a comparison made:
// the short-lived file readers those use hand the question's Save back when they go.
// The save dialog offers the file the page came from; Cancel in it cancels the action.
TEST(SaveChanges, SaveWorksAfterBackupsAndShortLivedReaders) {
  Rig r;
  q5::config::Backups backups(r.session, (r.dir / "backups").string(), 5);
  r.session.btnConnect_Click();  // the Upload takes a backup snapshot
  ASSERT_TRUE(r.session.values.Connected);
  { ConfigFiles reader(r.session); }  // as a comparison or a backup would
  r.page().txtZScale[1].text = "4321";
  r.session.markPageEdited();

  r.dialogs.saveAnswers = {SaveAnswer::Save};
  r.dialogs.saveFiles = {std::nullopt};
  r.wire.clear();
  r.session.btnUpload_Click();
  EXPECT_TRUE(r.wire.empty());  // the save dialog was cancelled: no Upload
  EXPECT_EQ(r.page().txtZScale[1].text, "4321");

  r.dialogs.saveAnswers = {SaveAnswer::Save};
  r.dialogs.saveFiles = {(r.dir / "edited").string()};
  r.session.btnUpload_Click();
  ASSERT_TRUE(Exists(r.dir / "edited.uJx"));
  std::ifstream in(r.dir / "edited.uJx");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("4321"), std::string::npos);
  EXPECT_FALSE(r.wire.empty());  // then the Upload ran
  EXPECT_FALSE(r.session.pageEdited());
  EXPECT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
}

// Discard, then Cancel in the Open dialog: the page keeps its edits and its mark, so a
// later question still comes; Discard asked once holds through the Connect that a
// Start runs; a Cancel is counted for the status line.
TEST(SaveChanges, OnlyACompletedReplacementClearsTheMark) {
  Rig r;
  r.createAI4();
  r.page().txtZScale[0].text = "31";
  r.session.markPageEdited();

  r.dialogs.saveAnswers = {SaveAnswer::Discard};
  r.dialogs.openFiles = {std::nullopt};
  r.files.mnuFilesOpen_Click();
  EXPECT_TRUE(r.session.pageEdited());
  EXPECT_EQ(r.page().txtZScale[0].text, "31");

  r.dialogs.events.clear();
  const int declined = r.session.declinedQuestions();
  r.dialogs.saveAnswers = {SaveAnswer::Cancel};
  r.session.btnStart_Click();
  EXPECT_EQ(r.dialogs.events, (std::vector<std::string>{"askSave Save changes?|Q5CFG -> cancel"}));
  EXPECT_EQ(r.session.declinedQuestions(), declined + 1);
  EXPECT_TRUE(r.wire.empty());

  // Discard once: Start's Connect asks no second time, and the Upload clears the mark.
  r.dialogs.questions.clear();
  r.dialogs.saveAnswers = {SaveAnswer::Discard};
  r.session.btnConnect_Click();
  EXPECT_EQ(r.dialogs.questions.size(), 1u);
  EXPECT_TRUE(r.session.values.Connected);
  EXPECT_FALSE(r.session.pageEdited());
  EXPECT_EQ(r.session.declinedQuestions(), declined + 1);
}
