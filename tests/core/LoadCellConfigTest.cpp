// Configuration files of the load-cell and linearizer pages: new configurations from the
// Model Select menu (exact file texts), and a full linearization table through a file
// and back to the unit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "TestDialogs.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmSG2.h"
#include "session/Session.h"
#include "sim/SimPort.h"

namespace {

namespace fs = std::filesystem;
using q5::config::ConfigFiles;
using q5::config::FindModelSelectItem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "q5cfg-loadcell-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
};

struct Rig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange ex;
  TestDialogs dialogs;
  q5::session::Session session;
  ConfigFiles files{session};
  TempDir dir;

  explicit Rig(const std::string& model)
      : port(q5::sim::MakeSimPort(model, clock)), ex(*port, clock), session(ex, dialogs) {
    session.values.applicationFolder = dir.path.string();
    session.setPortName("unit");
  }
  q5::sim::SimulatedUnit& unit() { return port->unit(); }
  void select(const char* group, const char* caption) {
    const auto* item = FindModelSelectItem(group, caption);
    ASSERT_NE(item, nullptr) << group << " " << caption;
    ASSERT_TRUE(q5::config::ModelSelectAvailable(*item));
    files.ModelSelect_Click(*item);
  }
  std::string saved() {
    std::string text, error;
    EXPECT_TRUE(files.CurrentConfigText(text, error)) << error;
    return text;
  }
  std::string created() { return ReadFile(dir.path / "tmp" / "tmp.uJx"); }
};

std::string Lines(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::string Repeat(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\r\n";
  return s;
}

std::string Body(const std::string& text) { return text.substr(text.find("\r\n") + 2); }

}  // namespace

TEST(LoadCellConfig, NewLoadCellConfigurationsPerModelSelectItem) {
  const std::string plain = "\"0\",\"-1\",\"0.00\",\"1.0000\",\"100.00\"";
  const std::string filter = "\"0\",\"10000\",\"0.00\",\"1.0000\",\"100.00\"";
  struct Case {
    const char* group;
    const char* item;
    std::string text;
    const char* filterCaption;
  };
  const Case cases[] = {
      {"Q5T3NML3", "SG2A",
       Lines({"\"Q5T3NML3-6-SG2A\",13,\"Version : 1.02\",2,99", "1,1"}) + Repeat(plain, 2) +
           Lines({"0", "0"}),
       "2KHz"},
      {"Q5T3NML3", "SG2",
       Lines({"\"Q5T3NML3-6-SG2\",13,\"Version : 1.02\",2,99", "1,1"}) + Repeat(plain, 2) +
           Lines({"0", "0"}),
       "2KHz"},
      // The menu's F1 entry writes the same model; its own flag gives "1Hz".
      {"Q5T3NML3", "SG2/F1",
       Lines({"\"Q5T3NML3-6-SG2\",13,\"Version : 1.02\",2,99", "1,1"}) + Repeat(plain, 2) +
           Lines({"0", "0"}),
       "1Hz"},
      {"Q5Z3UCIE", "SG2/F2K",
       Lines({"\"Q5Z3UCIE-SG2-9/F2K\",13,\"Version : 1.00\",2,99", "1,1"}) + Repeat(filter, 2) +
           Lines({"3", "3"}),
       "2KHz"},
      {"Q5T3SECT", "SG2/F1",
       Lines({"\"Q5T3SECT-SG2-A/F1\",13,\"Version : 1.00\",2,99", "1,1"}) + Repeat(filter, 2) +
           Lines({"3", "3"}) + Repeat("\"0\",\"10000\",\"0\"", 2),
       "1Hz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.group) + " " + c.item);
    Rig r("Q5T3NML3-6-SG2A");
    r.select(c.group, c.item);
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    EXPECT_EQ(r.created(), c.text);
    auto* page = dynamic_cast<q5::pages::frmSG2*>(r.session.page());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->cmdCRFilter.caption, c.filterCaption);
    EXPECT_EQ(page->CmbAveType[1].items.size(), 10u);
    EXPECT_TRUE(page->txtZScale[0].enabled);
    EXPECT_EQ(Body(r.saved()), Body(c.text));
  }
}

TEST(LoadCellConfig, NewLinearizerConfiguration) {
  Rig r("Q5T3NML3-6-LNRIO1");
  r.select("Q5T3NML3", "LNRIO1");
  ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
  const std::string expected =
      Lines({"\"Q5T3NML3-6-LNRIO1\",14,\"Version : 1.00\",1,99", "0,0,0,0", "0,0",
             "\"0.0\",\"270.00\",\"-15.00\""}) +
      Repeat("\"1.0000\",\"0.00\",\"0\",\"10000\"", 2) + Repeat("0,0,0,0", 16);
  EXPECT_EQ(r.created(), expected);
  auto* page = dynamic_cast<q5::pages::frmLNRIO1*>(r.session.page());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->CmbLinearizationPoint.text(), "Disable");
  EXPECT_EQ(page->dgdDataGrid1[31].y.text, "0");
  EXPECT_EQ(Body(r.saved()), Body(expected));
}

TEST(LoadCellConfig, FullLinearizationTableThroughAFileAndBackToTheUnit) {
  Rig r("Q5T3NML3-6-LNRIO1");
  r.session.btnConnect_Click();
  ASSERT_TRUE(r.session.values.Connected);
  auto* page = dynamic_cast<q5::pages::frmLNRIO1*>(r.session.page());
  ASSERT_NE(page, nullptr);

  // Every point different, typed into the grid; 31 points in use.
  for (int p = 1; p <= 32; ++p) {
    page->dgdDataGrid1[p - 1].x.text = std::to_string(-1500 + 400 * p);
    page->dgdDataGrid1[p - 1].y.text = std::to_string(11500 - 300 * p);
  }
  page->CmbLinearizationPoint.index = 29;
  page->txtSpan.text = "180.00";
  const fs::path file = r.dir.path / "table.uJx";
  ASSERT_TRUE(r.files.SaveTo(file.string()));
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("\r\n0,0,29,0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n-1100,11200,-700,10900\r\n"), std::string::npos);  // points 1, 2
  EXPECT_NE(text.find("\r\n10900,2200,11300,1900\r\n"), std::string::npos);   // points 31, 32

  // The grid is emptied; opening the file brings every cell back.
  for (auto& row : page->dgdDataGrid1) row.x.text = row.y.text = "";
  page->CmbLinearizationPoint.index = 0;
  r.dialogs.openFiles = {file.string()};
  r.files.mnuFilesOpen_Click();
  ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
  page = dynamic_cast<q5::pages::frmLNRIO1*>(r.session.page());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->dgdDataGrid1[0].x.text, "-1100");
  EXPECT_EQ(page->dgdDataGrid1[31].y.text, "1900");
  EXPECT_EQ(page->CmbLinearizationPoint.text(), "31");
  EXPECT_EQ(r.saved(), text);

  // Downloaded: the unit holds points 1 to 31, point 32 as it was.
  const std::string unitPoint32 = r.unit().value("02", "74");
  r.session.btnDownload_Click();
  ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
  EXPECT_EQ(r.unit().value("02", "10"), "31");
  EXPECT_EQ(r.unit().value("02", "11"), "-1100");
  EXPECT_EQ(r.unit().value("02", "72"), "2200");  // Y of point 31
  EXPECT_EQ(r.unit().value("02", "74"), unitPoint32);
  EXPECT_EQ(r.unit().value("01", "14"), "180.00");
  // The re-Upload shows what the unit holds.
  EXPECT_EQ(page->dgdDataGrid1[30].x.text, "10900");
  EXPECT_EQ(page->dgdDataGrid1[31].y.text, unitPoint32);
}

TEST(LoadCellConfig, LoadCellSettingsThroughAFileAndBack) {
  for (const char* model : {"Q5T3NML3-6-SG2A", "Q5T3SECT-SG2-A/F1"}) {
    SCOPED_TRACE(model);
    Rig r(model);
    r.session.btnConnect_Click();
    ASSERT_TRUE(r.session.values.Connected);
    auto* page = dynamic_cast<q5::pages::frmSG2*>(r.session.page());
    ASSERT_NE(page, nullptr);
    page->txtZBase[1].text = "55.5";
    page->CmbAveType[0].index = 9;
    page->txtOPercent[1].text = "-25";
    const fs::path file = r.dir.path / "sg2.uJx";
    ASSERT_TRUE(r.files.SaveTo(file.string()));
    const std::string text = ReadFile(file);
    page->txtZBase[1].text = "10";
    page->CmbAveType[0].index = 0;
    r.dialogs.openFiles = {file.string()};
    r.files.mnuFilesOpen_Click();
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    page = dynamic_cast<q5::pages::frmSG2*>(r.session.page());
    EXPECT_EQ(page->txtZBase[1].text, "55.5");
    EXPECT_EQ(page->CmbAveType[0].text(), "1024");
    EXPECT_EQ(r.saved(), text);
    r.session.btnDownload_Click();
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    EXPECT_EQ(r.unit().value("2", "28"), "55.50");
    EXPECT_EQ(r.unit().value("1", "11"), "9");
  }
}
