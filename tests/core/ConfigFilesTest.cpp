// Configuration files end to end against a simulated unit: new configurations from the
// Model Select menu (exact file texts), save / open / download round trips, the version
// check, and what a failing save or a damaged file must not do.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <tuple>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestDialogs.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "pages/frmAI4.h"
#include "pages/frmBO16.h"
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

void WriteFile(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "q5cfg-config-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
};

// A session on a simulated unit, with the program folder in a fresh temporary folder.
struct Rig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange ex;
  TestDialogs dialogs;
  q5::session::Session session;
  ConfigFiles files{session};
  TempDir dir;

  explicit Rig(const std::string& model = "Q5T3NML3-6-AI4", const std::string& version = "1.05")
      : port(MakePort(model, version, clock)), ex(*port, clock), session(ex, dialogs) {
    session.values.applicationFolder = dir.path.string();
    session.setPortName("unit");
  }
  static std::unique_ptr<q5::sim::SimPort> MakePort(const std::string& model,
                                                    const std::string& version,
                                                    q5::link::Clock& clock) {
    q5::sim::SimOptions o;
    o.unit.version = version;
    return q5::sim::MakeSimPort(model, clock, o);
  }
  q5::sim::SimulatedUnit& unit() { return port->unit(); }
  void connect() {
    dialogs.clear();
    session.btnConnect_Click();
    ASSERT_TRUE(session.values.Connected);
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0];
    dialogs.clear();
  }
  void select(const char* group, const char* caption) {
    const auto* item = FindModelSelectItem(group, caption);
    ASSERT_NE(item, nullptr) << group << " " << caption;
    files.ModelSelect_Click(*item);
  }
  std::string saved() {
    std::string text, error;
    EXPECT_TRUE(files.CurrentConfigText(text, error)) << error;
    return text;
  }
  fs::path file(const char* name) const { return dir.path / name; }
};

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

std::string Repeat(const char* line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::string(line) + "\r\n";
  return s;
}

std::string Body(const std::string& text) { return text.substr(text.find("\r\n") + 2); }

// A new "Q5T3NML3-6-AI4" configuration with another version and first zero scale.
std::string AI4File(const char* version, const char* zeroScale) {
  return "\"Q5T3NML3-6-AI4\",0,\"Version : " + std::string(version) + "\",4,99\r\n0,0,0,0\r\n0\r\n\"" +
         zeroScale + "\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"\r\n" +
         Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"", 3) + "0,0,0,0\r\n";
}

TEST(ConfigFiles, NewAI4ConfigurationIsTheDocumentedFileAndOpensOnItsPage) {
  Rig r;
  ASSERT_FALSE(fs::exists(r.dir.path / "tmp"));
  r.select("Q5T3NML3", "AI4");
  ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
  const std::string expected =
      Lines({"\"Q5T3NML3-6-AI4\",0,\"Version : 1.00\",4,99", "0,0,0,0", "0"}) +
      Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"", 4) + Lines({"0,0,0,0"});
  EXPECT_EQ(ReadFile(r.dir.path / "tmp" / "tmp.uJx"), expected);

  // Opened as if uploaded: the current values, the labels, the page and its controls.
  const auto& v = r.session.values;
  EXPECT_TRUE(v.CreatedConfig);
  EXPECT_TRUE(v.PageShown);
  EXPECT_EQ(v.model, "Q5T3NML3-6-AI4");
  EXPECT_EQ(v.pageKind, 0);
  EXPECT_EQ(v.channelCount, 4);
  EXPECT_EQ(v.versionText, "Version : 1.00");
  EXPECT_TRUE(v.flags["Q5T3NML3-6-AI4"]);
  EXPECT_EQ(r.session.labels().lblMastertype, "Q5T3NML3-6-AI4");
  EXPECT_EQ(r.session.labels().lblVersionNo, "Version : 1.00");
  auto* page = dynamic_cast<q5::pages::frmAI4*>(r.session.page());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->cmbUserRange[3].text(), "-10V to 10V");
  EXPECT_EQ(page->CmbConvSpeed.text(), "80ms\xEF\xBC\x8F\xC2\xB1" "0.1%");
  EXPECT_EQ(page->txtGain[2].text, "1.0000");
  EXPECT_EQ(page->cmbInvalid[0].text(), "Valid");
  EXPECT_FALSE(page->txtZBase[0].enabled);  // display-only, as after an Upload
  EXPECT_TRUE(page->txtZScale[0].enabled);
  // What Save would write now is what was created.
  EXPECT_EQ(r.saved(), expected);

  // Creating again asks first (the created page is in no file yet); cancelled, nothing
  // is written; discarded, the temporary file is overwritten.
  WriteFile(r.dir.path / "tmp" / "tmp.uJx", "damaged");
  r.dialogs.saveAnswers = {q5::ui::SaveAnswer::Cancel};
  r.select("Q5T3NML3", "AI4");
  EXPECT_EQ(ReadFile(r.dir.path / "tmp" / "tmp.uJx"), "damaged");
  r.dialogs.saveAnswers = {q5::ui::SaveAnswer::Discard};
  r.select("Q5T3NML3", "AI4");
  EXPECT_EQ(ReadFile(r.dir.path / "tmp" / "tmp.uJx"), expected);
  EXPECT_EQ(r.dialogs.questions.size(), 2u);
  EXPECT_TRUE(r.dialogs.messages.empty());
}

TEST(ConfigFiles, NewConfigurationOfEveryAvailableModelSelectItem) {
  const std::string ai8Channel = "\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"";
  // The four records of one pulse channel.
  const std::string kPI2Channel =
      "\"0.10\",\"0\",\"-2100000000\",\"2100000000\",\"0.00\",\"1.0000\",\"0\",\"10000\",\"0\"\r\n"
      "\"0\",\"80.00\",\"5.00\",\"100000000\",\"1000\",\"0\",\"20.00\",\"5.00\",\"1\",\"1\"\r\n"
      "\"2\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"\r\n"
      "1,1,3,1";
  struct Case {
    const char* group;
    const char* item;
    std::string text;
    int pageKind;
  };
  std::vector<Case> cases = {
      {"Q5T3NML3", "AINF4",
       Lines({"\"Q5T3NML3-6-AINF4\",0,\"Version : 1.00\",4,99", "0,0,0,0", "0", "0,0,0,0"}) +
           Repeat("\"-32768\",\"32767\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\"", 4) +
           Lines({"0,0,0,0"}),
       0},
      {"Q5T3NH", "AIF4",
       Lines({"\"Q5T3NH-A-AIF4\",0,\"Version : 1.00\",4,99", "0,0,0,0", "0"}) +
           Repeat(ai8Channel.c_str(), 4) + Lines({"0,0,0,0"}),
       0},
      {"Q5T3NML", "AIF8N",
       Lines({"\"Q5T3NML-6-AIF8N\",17,\"Version : 1.00\",8,99", "0,0,0,0,0,0,0,0", "0"}) +
           Repeat(ai8Channel.c_str(), 8) + Lines({"0,0,0,0,0,0,0,0"}),
       17},
      {"Q5Z3UECT", "AIMF8N",
       Lines({"\"Q5Z3UECT-1-AIMF8N\",17,\"Version : 1.00\",8,99", "0,0,0,0,0,0,0,0", "0"}) +
           Repeat(ai8Channel.c_str(), 4) +
           Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",\"4.00\",\"20.00\"", 4) +
           Lines({"0,0,0,0,0,0,0,0"}),
       17},
      {"Q5T3PML3", "BI16", Lines({"\"Q5T3PML3-6-BI16\",5,\"Version : 1.00\",2,99", "0"}), 5},
      {"Q5W3UD", "BI16", Lines({"\"Q5W3UD-BI16A-H\",5,\"Version : 1.00\",2,99", "0"}), 5},
      {"Q5T3PML3", "BO16", Lines({"\"Q5T3PML3-6-BO16A\",6,\"Version : 1.00\",2,99", "0"}), 6},
      {"Q5V3PE", "BO16", Lines({"\"Q5V3PE-6-BO16\",6,\"Version : 1.00\",2,99"}), 6},
      {"Q5W3NEIP", "BI32", Lines({"\"Q5W3NEIP-BI32A\",8,\"Version : 1.00\",2,99", "0"}), 8},
      {"Q5W3ND", "BO32", Lines({"\"Q5W3ND-BO32A-I\",9,\"Version : 1.00\",2,99", "0"}), 9},
      {"Q5Z3UECT", "BO32A",
       Lines({"\"Q5Z3UECT-1-BO32A\",9,\"Version : 1.00\",2,99", "0", "\"0000\"", "\"0000\""}), 9},
      {"Q5Z3UML3", "BIO32",
       Lines({"\"Q5Z3UML3-BIO32C-B\",18,\"Version : 1.00\",2,99", "0", "0", "\"0000\""}), 18},
      {"Q5W3ND", "BIO32", Lines({"\"Q5W3ND-BIO32C-I\",18,\"Version : 1.00\",2,99", "0", "0"}),
       18},
      // Field 2 says 8, but the model's own page is the combined 32-point page.
      {"Q5Z3UEIP", "BIO32",
       Lines({"\"Q5Z3UEIP-BIO32C\",8,\"Version : 1.00\",2,99", "0", "0", "\"0000\""}), 18},
      {"Q5W3UD", "BIO16", Lines({"\"Q5W3UD-BIO16C-H\",20,\"Version : 1.00\",2,99", "0", "0"}), 20},
      {"Q5W3NEIP", "BIO16", Lines({"\"Q5W3NEIP-BIO16B\",20,\"Version : 1.00\",8,99", "0", "0"}),
       20},
      {"Q5T3NML3", "PI1J",
       Lines({"\"Q5T3NML3-6-PI1\",11,\"Version : 1.00\",1,99"}) + Repeat(kPI2Channel.c_str(), 2) +
           Lines({"\"5.0\",\"0.1\",\"0.1\""}),
       11},
      {"Q5T3NML3", "PI1A/A",
       Lines({"\"Q5T3NML3-6-PI1/A\",11,\"Version : 1.00\",1,99"}) + Repeat(kPI2Channel.c_str(), 2) +
           Lines({"\"5.0\",\"0.1\",\"0.1\""}),
       11},
      {"Q5Z3UECT", "PI8A",
       Lines({"\"Q5Z3UECT-1-PI8A\",19,\"Version : 1.00\",8,99", "1,1,1,1"}) +
           Repeat("\"0\",\"4294967295\",0", 8),
       19},
      {"Q5V3PM", "BI32",
       Lines({"\"Q5V3PM-BI32\",21,\"Version : 1.00\",32,99"}) + Repeat("\"0\",\"4294967295\"", 32), 21},
      {"Q5T3PM", "BI16",
       Lines({"\"Q5T3PM-BI16\",21,\"Version : 1.00\",16,99"}) + Repeat("\"0\",\"4294967295\"", 16), 21},
      {"Q5T3NML3", "EC4",
       Lines({"\"Q5W3NML3-E-EC4A\",15,\"Version : 1.00\",4,99", "1"}) +
           Repeat("\"0\",\"5000\",\"10000\",\"1300\",\"300\",\"50\",\"0\",1,1", 4),
       15},
      {"Q5V3UM", "AC32",
       Lines({"\"Q5V3UM-AC32\",16,\"Version : 1.00\",32,99", "1,\"1.00\""}) +
           Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",0", 32),
       16},
      {"Q5T3NML3", "TC4",
       Lines({"\"Q5T3NML3-6-TC4\",1,\"Version : 1.00\",4,99", "0,0,0,0", "0,0,0,0", "0,0,0,0",
              "1"}) +
           Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",\"0.00\",\"0.00\"", 4) +
           Lines({"0,0,0,0"}),
       1},
      {"Q5T3NML3", "OCF4",
       Lines({"\"Q5T3NML3-6-OCF4\",10,\"Version : 1.00\",4,99", "0"}) +
           Repeat("\"0\",\"10000\",\"0.00\",\"1.0000\",\"4.00\",\"20.00\"", 4) +
           Lines({"\"-15.00\",\"-15.00\",\"-15.00\",\"-15.00\"", "0,0,0,0"}),
       10},
  };
  const std::string ovf4Channel =
      "\"0\",\"10000\",\"0.00\",\"1.0000\",\"-10.00\",\"10.00\",0,\"-15.00\",0";
  for (auto [group, item, model] : {std::tuple{"Q5T3NML3", "OVF4", "Q5T3NML3-6-OVF4"},
                                    std::tuple{"Q5T3NH", "OVF4", "Q5T3NH-A-OVF4"},
                                    std::tuple{"Q5Z3UECT", "OVF4", "Q5Z3UECT-1-OVF4"},
                                    std::tuple{"Q5T3NML", "OVF4", "Q5T3NML-6-OVF4"}}) {
    cases.push_back({group, item,
                     "\"" + std::string(model) + "\",12,\"Version : 1.00\",4,99\r\n1\r\n" +
                         Repeat(ovf4Channel.c_str(), 4),
                     12});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.group) + " " + c.item);
    Rig r;
    r.select(c.group, c.item);
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    EXPECT_EQ(ReadFile(r.dir.path / "tmp" / "tmp.uJx"), c.text);
    EXPECT_EQ(r.session.values.pageKind, c.pageKind);
    EXPECT_EQ(r.session.values.moduleKind, c.pageKind);
    ASSERT_NE(r.session.page(), nullptr);
    EXPECT_EQ(r.session.page()->pageKind(), c.pageKind);
    // Saving the opened configuration writes the same records again.
    EXPECT_EQ(Body(r.saved()), Body(c.text));
  }
  // The header-only file hides the hold setting and its label.
  Rig r;
  r.select("Q5V3PE", "BO16");
  auto* bo16 = dynamic_cast<q5::pages::frmBO16*>(r.session.page());
  ASSERT_NE(bo16, nullptr);
  EXPECT_FALSE(bo16->CmbOutputHold.visible);
  EXPECT_FALSE(bo16->lblConvSpeed2.visible);
}

TEST(ConfigFiles, ModelSelectMenuDataAndWhatIsAvailable) {
  int items = 0, available = 0;
  for (const auto& g : q5::config::ModelSelectMenu()) {
    for (std::size_t i = 0; i < g.items.size(); ++i) {
      EXPECT_EQ(g.items[i].index, static_cast<int>(i)) << g.caption << " " << g.items[i].caption;
      ++items;
      if (q5::config::ModelSelectAvailable(g.items[i])) ++available;
    }
  }
  EXPECT_EQ(items, 54);
  EXPECT_EQ(available, 54);
  const auto* sg2 = FindModelSelectItem("Q5T3NML3", "SG2/F1");
  ASSERT_NE(sg2, nullptr);
  EXPECT_EQ(sg2->moduleKind, 13);
  EXPECT_TRUE(q5::config::ModelSelectAvailable(*sg2));
  // An item of a kind not built yet does nothing at all.
  const q5::config::ModelSelectItem* unbuilt = nullptr;
  for (const auto& g : q5::config::ModelSelectMenu())
    for (const auto& item : g.items)
      if (!q5::config::ModelSelectAvailable(item)) unbuilt = &item;
  if (!unbuilt) return;  // every kind has its records
  Rig r;
  r.files.ModelSelect_Click(*unbuilt);
  EXPECT_FALSE(fs::exists(r.dir.path / "tmp"));
  EXPECT_TRUE(r.dialogs.events.empty());
  EXPECT_FALSE(r.session.values.PageShown);
}

TEST(ConfigFiles, CreateFailureSaysSoAndOpensNothing) {
  Rig r;
  WriteFile(r.dir.path / "tmp", "a file where the folder should be");
  r.select("Q5T3NML3", "AI4");
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Create Error");
  EXPECT_NE(r.dialogs.messages[0].text.find((r.dir.path / "tmp").string()), std::string::npos);
  EXPECT_FALSE(r.session.values.PageShown);
  EXPECT_EQ(r.session.values.model, "NONE");

  r.dialogs.clear();
  EXPECT_FALSE(r.files.ConfigFileCreate(22));
  EXPECT_EQ(r.dialogs.messages,
            (std::vector<TestDialogs::Message>{{"No Config Data", "Create Error", q5::ui::Icon::Error}}));
}

// Every settings control a person can change, changed to another value.
struct Perturb : q5::pages::ControlVisitor {
  void combo(const q5::pages::ControlInfo& info_, q5::pages::ComboBox& c) override {
      const std::string_view name = info_.name;
    if ((name.substr(0, 3) == "cmb" || name.substr(0, 3) == "Cmb") && c.visible &&
        c.items.size() > 1)
      c.index = (c.index + 1) % static_cast<int>(c.items.size());
  }
  void text(const q5::pages::ControlInfo& info_, q5::pages::TextBox& t) override {
      const std::string_view name = info_.name;
    if (name.substr(0, 9) == "txtZScale" && t.visible) t.text = "123";
  }
  void check(const q5::pages::ControlInfo& info_, q5::pages::CheckBox& c) override {
      const std::string_view name = info_.name;
    if (name.substr(0, 14) == "ChkOutputValid" && c.visible) c.value = !c.value;
  }
  void option(const q5::pages::ControlInfo&, q5::pages::OptionButton& o) override {
    if (o.visible) o.value = !o.value;
  }
};

TEST(ConfigFiles, UploadSaveOpenDownloadLeavesTheUnitAsItWas) {
  const char* models[] = {
      "Q5T3NML3-6-AI4",   "Q5T3NML3-6-AINF4", "Q5T3NH-A-AIF4",   "Q5T3NEIP-6-AI4",
      "Q5T3NML3-6-AIF2",  "Q5T3NML-6-AIF8N",  "Q5Z3UECT-1-AIMF8N", "Q5T3PML3-6-BI16",
      "Q5T3NEIP-6-BO16",  "Q5W3NEIP-BI32A",   "Q5Z3UECT-1-BO32A", "Q5Z3UECT-1-BIO32C",
      "Q5W3NEIP-BIO16B",  "Q5W3NML3-E-EC4A",  "Q5V3UM-AC32",
      "Q5T3NML3-6-PI1",   "Q5T3NML3-6-PI1/A", "Q5T3NML3-6-PI2",  "Q5Z3UECT-1-PI8A",
      "Q5T3NML3-6-TC4",   "Q5T3NH-A-TC4",    "Q5T3NML3-6-RT4",
      "Q5T3NML3-6-OV2",   "Q5T3NML3-6-OC2",   "Q5T3NML3-6-OCF4", "Q5T3NML3-6-OVF4",
      "Q5T3NH-A-OVF4",    "Q5Z3UECT-1-OVF4",  "Q5T3NML-6-OVF2",
  };
  for (const char* model : models) {
    SCOPED_TRACE(model);
    Rig r(model);
    r.connect();
    const fs::path file = r.file("unit.uJx");
    ASSERT_TRUE(r.files.SaveTo(file.string()));
    const std::string original = ReadFile(file);
    EXPECT_EQ(original, r.saved());

    // The settings are changed and downloaded: the unit now differs.
    Perturb perturb;
    r.session.page()->visitControls(perturb);
    r.session.btnDownload_Click();
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    ASSERT_NE(r.saved(), original);
    std::map<std::string, std::string> changed;
    for (const auto& w : r.unit().writeLog()) changed[w.substr(0, w.find('='))];
    EXPECT_GT(changed.size(), 1u);

    // Opening the file and downloading it brings every setting back.
    r.session.all_btn_control(false);
    r.dialogs.openFiles = {file.string()};
    r.files.mnuFilesOpen_Click();
    EXPECT_TRUE(r.session.buttons().btnDownload);  // connected: Download enabled
    r.session.btnDownload_Click();
    ASSERT_TRUE(r.dialogs.messages.empty()) << r.dialogs.messages[0];
    EXPECT_EQ(r.saved(), original);
    q5::sim::SimulatedUnit fresh(model);
    for (auto& [key, unused] : changed) {
      if (key == "00/01") continue;  // the "F" that starts every Download
      const std::string group = key.substr(0, key.find('/'));
      const std::string item = key.substr(key.find('/') + 1);
      EXPECT_EQ(r.unit().value(group, item), fresh.value(group, item)) << key;
    }
  }
}

TEST(ConfigFiles, VersionCheckAgainstAConnectedUnit) {
  Rig r("Q5T3NML3-6-AI4", "1.05");
  r.connect();
  const std::string unitText = r.saved();  // "Version : 1.05" from the unit
  WriteFile(r.file("v100.uJx"), AI4File("1.00", "0"));
  WriteFile(r.file("v200.uJx"), AI4File("2.00", "77"));

  // A 2.x file with a 1.x unit connected: refused, nothing changes.
  EXPECT_FALSE(r.files.OpenFrom(r.file("v200.uJx").string()));
  EXPECT_EQ(r.dialogs.messages,
            (std::vector<TestDialogs::Message>{
                {"Unit/Config_file version disagreement.", "Open error", q5::ui::Icon::Error}}));
  EXPECT_EQ(r.session.values.versionText, "Version : 1.05");
  EXPECT_EQ(r.saved(), unitText);

  // A 1.00 file with a 1.05 unit opens, and its version becomes the current one.
  r.dialogs.clear();
  EXPECT_TRUE(r.files.OpenFrom(r.file("v100.uJx").string()));
  EXPECT_TRUE(r.dialogs.messages.empty());
  EXPECT_EQ(r.session.values.versionText, "Version : 1.00");
  EXPECT_EQ(r.session.labels().lblVersionNo, "Version : 1.00");

  // Without a connection there is no check.
  r.session.btnDisconnect_Click();
  ASSERT_FALSE(r.session.values.Connected);
  EXPECT_TRUE(r.files.OpenFrom(r.file("v200.uJx").string()));
  EXPECT_TRUE(r.dialogs.messages.empty());
  EXPECT_EQ(r.session.values.versionText, "Version : 2.00");
  auto* page = dynamic_cast<q5::pages::frmAI4*>(r.session.page());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->txtZScale[0].text, "77");
}

TEST(ConfigFiles, TextsAreKeptExactlyAsTyped) {
  Rig r;
  r.select("Q5T3NML3", "AI4");
  auto* page = dynamic_cast<q5::pages::frmAI4*>(r.session.page());
  ASSERT_NE(page, nullptr);
  page->txtGain[1].text = "1.0000";
  page->txtBias[1].text = "-0.50";
  page->txtFScale[3].text = "4294967295";
  page->txtZScale[2].text = "1,5";  // a comma inside a text is harmless
  r.dialogs.saveFiles = {r.file("typed.uJx").string()};
  r.files.mnuFilesSave_Click();
  ASSERT_TRUE(r.dialogs.messages.empty());
  const std::string text = ReadFile(r.file("typed.uJx"));
  EXPECT_NE(text.find("\"0\",\"10000\",\"-0.50\",\"1.0000\",\"-10.00\",\"10.00\""),
            std::string::npos);
  page->txtGain[1].text = "2";
  page->txtFScale[3].text = "0";
  page->txtZScale[2].text = "0";
  EXPECT_TRUE(r.files.OpenFrom(r.file("typed.uJx").string()));
  EXPECT_EQ(page->txtGain[1].text, "1.0000");
  EXPECT_EQ(page->txtBias[1].text, "-0.50");
  EXPECT_EQ(page->txtFScale[3].text, "4294967295");
  EXPECT_EQ(page->txtZScale[2].text, "1,5");
}

TEST(ConfigFiles, SaveWithoutAPageOrCancelledSaysNothingOrNoConfigData) {
  Rig r;
  r.dialogs.saveFiles = {r.file("x.uJx").string()};
  r.files.mnuFilesSave_Click();
  EXPECT_EQ(r.dialogs.events, (std::vector<std::string>{"message No Config Data|Save Error|Error"}));
  EXPECT_FALSE(fs::exists(r.file("x.uJx")));

  r.connect();
  r.dialogs.saveFiles = {std::nullopt};
  r.files.mnuFilesSave_Click();
  r.dialogs.openFiles = {std::nullopt};
  const std::string before = r.saved();
  r.files.mnuFilesOpen_Click();
  EXPECT_TRUE(r.dialogs.messages.empty());
  EXPECT_EQ(r.dialogs.events.size(), 2u);  // the two dialogs, nothing else
  EXPECT_EQ(r.saved(), before);
}

TEST(ConfigFiles, AFailingSaveLeavesTheOldFileByteForByte) {
  Rig r;
  r.connect();
  const fs::path file = r.file("kept.uJx");
  const std::string old = "\"Q5T3NML3-6-AI4\",0,\"Version : 1.00\",4,99\r\nold contents\r\n";
  WriteFile(file, old);
  // The disk fills up half way through the new contents.
  r.files.setWriteFunction([](int fd, const char* data, std::size_t size) -> long {
    if (size > 20) return ::write(fd, data, 20);
    errno = ENOSPC;
    return -1;
  });
  r.dialogs.saveFiles = {file.string()};
  r.files.mnuFilesSave_Click();
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Open Error");
  EXPECT_NE(r.dialogs.messages[0].text.find(file.string()), std::string::npos);
  EXPECT_NE(r.dialogs.messages[0].text.find("No space left on device"), std::string::npos);
  EXPECT_EQ(ReadFile(file), old);
  int entries = 0;
  for (const auto& e : fs::directory_iterator(r.dir.path)) entries += e.path() != file;
  EXPECT_EQ(entries, 0) << "no temporary file is left behind";

  // With the disk working again the file is replaced whole.
  r.files.setWriteFunction({});
  r.dialogs.clear();
  r.dialogs.saveFiles = {file.string()};
  r.files.mnuFilesSave_Click();
  EXPECT_TRUE(r.dialogs.messages.empty());
  EXPECT_EQ(ReadFile(file), r.saved());
}

TEST(ConfigFiles, ATextWithADoubleQuoteIsRefusedBeforeAnythingIsWritten) {
  Rig r;
  r.connect();
  auto* page = dynamic_cast<q5::pages::frmAI4*>(r.session.page());
  ASSERT_NE(page, nullptr);
  page->txtBias[2].text = "1\"5";
  r.dialogs.saveFiles = {r.file("q.uJx").string()};
  r.files.mnuFilesSave_Click();
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Save Error");
  EXPECT_NE(r.dialogs.messages[0].text.find("txtBias(2)"), std::string::npos);
  EXPECT_EQ(r.dialogs.events.size(), 1u) << "no file name is asked for";
  EXPECT_FALSE(fs::exists(r.file("q.uJx")));
}

TEST(ConfigFiles, ADamagedFileChangesNothing) {
  Rig r;
  r.connect();
  auto* page = dynamic_cast<q5::pages::frmAI4*>(r.session.page());
  ASSERT_NE(page, nullptr);
  page->txtZScale[0].text = "5";
  const auto valuesBefore = r.session.values;
  const std::string pageBefore = r.saved();

  // A good file of another model, damaged in several ways.
  Rig other;
  other.select("Q5T3NML3", "AINF4");
  const std::string good = ReadFile(other.dir.path / "tmp" / "tmp.uJx");
  ASSERT_FALSE(good.empty());
  std::string missingLast = good.substr(0, good.rfind("0,0,0,0"));
  std::string shortRecord = good;
  shortRecord.replace(shortRecord.find(",\"10.00\""), 8, "");
  std::string badField = good;
  badField.replace(badField.find("0,0,0,0"), 7, "0,x,0,0");
  std::string badIndex = good;
  badIndex.replace(badIndex.rfind("0,0,0,0"), 7, "0,0,0,9");
  std::string badHeader = good;
  badHeader.replace(badHeader.find(",4,"), 3, ",four,");
  std::string extra = good + "1,2,3\r\n";
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {missingLast, "ends before cmbInvalid(0)"},
      {shortRecord, "ends before"},
      {badField, "cmbUserRange(1): expected an integer, found \"x\""},
      {badIndex, "cmbInvalid(3): the index 9 is not in its list of 2 items"},
      {badHeader, "the channel count"},
      {extra, "more data"},
      {"", "ends before the model string"},
  };
  // Version 1.00 in the file, 1.05 in the unit: the check passes, the body decides.
  for (const auto& [text, reason] : damaged) {
    SCOPED_TRACE(reason);
    const fs::path file = r.file("damaged.uJx");
    WriteFile(file, text);
    r.dialogs.clear();
    EXPECT_FALSE(r.files.OpenFrom(file.string()));
    ASSERT_EQ(r.dialogs.messages.size(), 1u);
    EXPECT_EQ(r.dialogs.messages[0].caption, "Q5CFG");
    EXPECT_NE(r.dialogs.messages[0].text.find(file.string()), std::string::npos);
    EXPECT_NE(r.dialogs.messages[0].text.find(reason), std::string::npos)
        << r.dialogs.messages[0].text;
    EXPECT_EQ(r.session.values.model, valuesBefore.model);
    EXPECT_EQ(r.session.values.flags, valuesBefore.flags);
    EXPECT_EQ(r.session.values.versionText, valuesBefore.versionText);
    EXPECT_EQ(r.session.values.pageKind, valuesBefore.pageKind);
    EXPECT_EQ(r.session.values.networkType, valuesBefore.networkType);
    EXPECT_EQ(r.session.labels().lblMastertype, valuesBefore.model);
    EXPECT_EQ(r.saved(), pageBefore);
  }
  // A file far too large to be a configuration (a wrong choice in the file dialog).
  WriteFile(r.file("huge.uJx"), std::string(5u << 20, '0'));
  r.dialogs.clear();
  EXPECT_FALSE(r.files.OpenFrom(r.file("huge.uJx").string()));
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_NE(r.dialogs.messages[0].text.find("far larger"), std::string::npos);
  // A file that is not there.
  r.dialogs.clear();
  EXPECT_FALSE(r.files.OpenFrom(r.file("absent.uJx").string()));
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
#ifdef _WIN32
  // The system's own words: "The system cannot find the file specified" ("File not found"
  // under Wine).
  const std::string& said = r.dialogs.messages[0].text;
  EXPECT_TRUE(said.find("cannot find the file") != std::string::npos ||
              said.find("File not found") != std::string::npos) << said;
#else
  EXPECT_NE(r.dialogs.messages[0].text.find("No such file or directory"), std::string::npos);
#endif
  EXPECT_EQ(r.saved(), pageBefore);
}

}  // namespace
