// The window never claims what did not happen: a page an Upload stopped reading part-way
// is marked and neither saved nor downloaded, a file with an empty selection is refused,
// "-1" never goes to the unit, and writes the unit refused are reported after the page
// was read back (Download, a page's button, a network window's Download).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SessionTestRig.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"
#include "pages/Selections.h"
#include "pages/frmAI4.h"

namespace {

namespace fs = std::filesystem;
using q5::config::ConfigFiles;

// One model for every page kind 0 to 21.
const char* const kModelOfKind[22] = {
    "Q5T3NML3-6-AI4",   "Q5T3NML3-6-TC4",     "Q5T3NML3-6-RT4",    "Q5T3NML3-6-OV2",
    "Q5T3NML3-6-OC2",   "Q5W3NEIP-BI16",      "Q5W3NEIP-BO16",     "Q5T3NML3-6-AIF2",
    "Q5W3NEIP-BI32",    "Q5Z3UECT-1-BO32A",   "Q5T3NML3-6-OCF4",   "Q5T3NML3-6-PI1/A",
    "Q5T3NML3-6-OVF4",  "Q5T3NML3-6-SG2A",    "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
    "Q5V3UM-AC32",      "Q5T3NML-6-AIF8N",    "Q5Z3UECT-1-BIO32",  "Q5Z3UECT-1-PI8A",
    "Q5W3UD-BIO16",     "Q5V3PM-BI32"};

bool SentMinusOne(const std::vector<std::string>& wire) {
  for (const auto& l : wire)
    if (l == "D-1") return true;
  return false;
}

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "q5cfg-incomplete-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
};

}  // namespace

// Every page kind: a complete Upload leaves every list with a selection, and a Download
// of it sends no "-1" and reports nothing.
TEST(IncompletePage, CompleteUploadOfEveryKindDownloadsWithoutMinusOne) {
  for (int kind = 0; kind < 22; ++kind) {
    SCOPED_TRACE(kModelOfKind[kind]);
    SessionRig r(kModelOfKind[kind]);
    r.connect();
    ASSERT_TRUE(r.session.values.Connected);
    ASSERT_EQ(r.session.values.pageKind, kind);
    EXPECT_FALSE(r.session.pageIncomplete());
    EXPECT_EQ(q5::session::Session::UnselectedSetting(*r.session.page()), "");
    r.takeWire();
    r.session.btnDownload_Click();
    const auto wire = r.takeWire();
    EXPECT_FALSE(wire.empty());
    EXPECT_FALSE(SentMinusOne(wire));
    EXPECT_EQ(r.session.downloadRefused(), "");
    EXPECT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
  }
}

// The port vanishes in the middle of an Upload: the page is marked, Save refuses with
// its reason and writes no file, Download is not offered and, pressed anyway, writes
// nothing. A complete Upload clears the mark.
TEST(IncompletePage, HalfReadPageIsNeitherSavedNorDownloaded) {
  TempDir dir;
  SessionRig r("Q5T3NML3-6-AI4");
  ConfigFiles files(r.session);
  r.session.values.applicationFolder = dir.path.string();
  r.port->fault("vanish:#30");
  r.connect();
  EXPECT_FALSE(r.session.values.Connected);
  ASSERT_TRUE(r.session.values.PageShown);
  EXPECT_TRUE(r.session.pageIncomplete());
  EXPECT_NE(q5::session::Session::UnselectedSetting(*r.session.page()), "");
  EXPECT_FALSE(r.session.buttons().btnDownload);

  r.dialogs.clear();
  r.dialogs.saveFiles = {(dir.path / "half").string()};
  EXPECT_FALSE(files.ConfigFileSave());
  EXPECT_FALSE(fs::exists(dir.path / "half.uJx"));
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Save Error");
  EXPECT_NE(r.dialogs.messages[0].text.find("not completely read"), std::string::npos);
  // Refused before a file name is asked for.
  EXPECT_EQ(r.dialogs.events.size(), 1u);

  r.dialogs.clear();
  r.takeWire();
  r.session.btnDownload_Click();
  EXPECT_TRUE(r.takeWire().empty());
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Download");
  EXPECT_NE(r.dialogs.messages[0].text.find("Nothing was written"), std::string::npos);
}

// A cancelled Upload (Stop between two reads) leaves the same mark; the next complete
// Upload (connecting again) clears it and Download is offered again.
TEST(IncompletePage, CancelledUploadMarksUntilACompleteUpload) {
  SessionRig r("Q5T3NML3-6-AI4");
  r.connect();
  ASSERT_FALSE(r.session.pageIncomplete());
  int lines = 0;
  r.onSent = [&](const std::string&) {
    if (++lines == 20) r.session.link().requestStop();
  };
  r.session.btnUpload_Click();
  r.onSent = nullptr;
  EXPECT_TRUE(r.session.pageIncomplete());
  EXPECT_FALSE(r.session.buttons().btnDownload);
  r.connect();
  EXPECT_FALSE(r.session.pageIncomplete());
  EXPECT_TRUE(r.session.buttons().btnDownload);
}

// A file whose list index is outside its list, or that has nothing selected in a list
// the model fills, is refused on opening with the line and the field; the page is
// unchanged.
TEST(IncompletePage, FileWithIndexOutsideItsListIsRefused) {
  TempDir dir;
  SessionRig r("Q5T3NML3-6-AI4");
  ConfigFiles files(r.session);
  r.session.values.applicationFolder = dir.path.string();
  files.ModelSelect_Click(*q5::config::FindModelSelectItem("Q5T3NML3", "AI4"));
  std::string text, error;
  ASSERT_TRUE(files.CurrentConfigText(text, error)) << error;
  auto& page = dynamic_cast<q5::pages::frmAI4&>(*r.session.page());
  const int rangeBefore = page.cmbUserRange[0].index;

  for (const char* bad : {"-1", "99"}) {
    SCOPED_TRACE(bad);
    // The second record holds channel 1's settings; its first field is the range list.
    const auto eol = text.find("\r\n");
    ASSERT_NE(eol, std::string::npos);
    const auto comma = text.find(',', eol);
    std::string broken = text.substr(0, eol + 2) + bad + text.substr(comma);
    const fs::path p = dir.path / "broken.uJx";
    std::ofstream(p, std::ios::binary) << broken;
    r.dialogs.clear();
    EXPECT_FALSE(files.OpenFrom(p.string()));
    ASSERT_EQ(r.dialogs.messages.size(), 1u);
    const std::string& m = r.dialogs.messages[0].text;
    EXPECT_NE(m.find("line 2"), std::string::npos) << m;
    EXPECT_NE(m.find("cmbUserRange(0)"), std::string::npos) << m;
    EXPECT_NE(m.find("the index " + std::string(bad)), std::string::npos) << m;
    EXPECT_EQ(page.cmbUserRange[0].index, rangeBefore);
  }
}

// The last guard before the wire: a list with nothing selected stops the Download
// before anything is written and names the field, also when the page is not marked.
TEST(IncompletePage, EmptySelectionNeverReachesTheWire) {
  SessionRig r("Q5T3NML3-6-AI4");
  r.connect();
  auto& page = dynamic_cast<q5::pages::frmAI4&>(*r.session.page());
  page.cmbUserRange[2].index = -1;
  r.takeWire();
  r.dialogs.clear();
  r.session.btnDownload_Click();
  const auto wire = r.takeWire();
  EXPECT_FALSE(SentMinusOne(wire));
  for (const auto& l : wire) EXPECT_NE(l.substr(0, 1), "D") << l;
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Data Range Error");
  EXPECT_NE(r.dialogs.messages[0].text.find("cmbUserRange(2)"), std::string::npos)
      << r.dialogs.messages[0].text;
  EXPECT_TRUE(r.session.values.Connected);

  // A code the unit reported that names no item is written back as it was read.
  page.cmbUserRange[2].selectCode(40);
  EXPECT_EQ(q5::session::Session::UnselectedSetting(page), "");
}

// Writes the unit refuses: the Download goes on, reads the page back, then says which
// writes failed; the status text is kept for the window.
TEST(IncompletePage, RefusedWritesAreReportedAfterTheReadBack) {
  SessionRig r("Q5T3NML3-6-AI4");
  r.connect();
  r.port->fault("cng:00/30/D");
  r.dialogs.clear();
  r.takeWire();
  r.session.btnDownload_Click();
  const auto wire = r.takeWire();
  // Read back: the last lines are reads of the Upload.
  ASSERT_FALSE(wire.empty());
  EXPECT_NE(wire.back().substr(0, 1), "D");
  EXPECT_EQ(r.session.downloadRefused().rfind("1 write refused or unanswered (last: ", 0), 0u)
      << r.session.downloadRefused();
  EXPECT_NE(r.session.downloadRefused().find("G00 I30 D0"), std::string::npos);
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Download");
  EXPECT_NE(r.dialogs.messages[0].text.find(r.session.downloadRefused()), std::string::npos)
      << r.dialogs.messages[0].text;
  EXPECT_TRUE(r.session.values.Connected);
  EXPECT_TRUE(r.session.buttons().btnDownload);
}
