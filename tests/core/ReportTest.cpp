// The commissioning report read back from its HTML: the unit's identity, every setting of
// every page kind with its caption, the changed settings after a Download with a backup,
// and a report of a file that equals the report of the unit it was saved from.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "SessionTestRig.h"
#include "config/Backups.h"
#include "config/Compare.h"
#include "config/ConfigFiles.h"
#include "pages/ChannelScaling.h"
#include "pages/ControlByName.h"
#include "pages/RecordStream.h"
#include "report/Report.h"

namespace {

namespace fs = std::filesystem;
using q5::report::BuildReport;
using q5::report::ReportHtml;

// One model per page kind, index = page kind.
const char* const kModels[] = {
    "Q5T3NML3-6-AI4",  "Q5T3NML3-6-TC4",  "Q5T3NML3-6-RT4",    "Q5T3NML3-6-OV2",
    "Q5T3NML3-6-OC2",  "Q5W3NEIP-BI16",   "Q5W3NEIP-BO16",     "Q5T3NML3-6-AIF2",
    "Q5W3NEIP-BI32",   "Q5W3NEIP-BO32",   "Q5T3NML3-6-OCF4",   "Q5T3NML3-6-PI1",
    "Q5T3NML3-6-OVF4", "Q5T3NML3-6-SG2",  "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
    "Q5V3UM-AC32",     "Q5T3NML-6-AIF8N", "Q5Z3UECT-1-BIO32C", "Q5Z3UECT-1-PI8A",
    "Q5W3NEIP-BIO16B", "Q5V3PM-BI32"};

struct Scratch {
  fs::path path;
  Scratch() {
    std::string t = (fs::temp_directory_path() / "q5cfg-report-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Scratch() { fs::remove_all(path); }
};

std::string Unescape(std::string s) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
      s.replace(at, std::string(from).size(), to);
  }
  return s;
}

// A table row of the HTML as a person reads it.
struct Row {
  std::string name;
  std::vector<std::string> cells;
};

// The rows of the settings tables (after <h2>Settings) or of the changes table.
std::vector<Row> Rows(const std::string& html, const std::string& from, const std::string& to) {
  const auto begin = html.find(from);
  const auto end = to.empty() ? std::string::npos : html.find(to, begin);
  const std::string part = begin == std::string::npos ? "" : html.substr(begin, end - begin);
  std::vector<Row> rows;
  static const std::regex row(R"re(<tr data-name="([^"]*)">(.*)</tr>)re");
  static const std::regex cell(R"re(<td[^>]*>([^<]*)</td>)re");
  for (std::sregex_iterator it(part.begin(), part.end(), row), e; it != e; ++it) {
    Row r{Unescape((*it)[1]), {}};
    const std::string cells = (*it)[2];
    for (std::sregex_iterator c(cells.begin(), cells.end(), cell); c != e; ++c)
      r.cells.push_back(Unescape((*c)[1]));
    rows.push_back(r);
  }
  return rows;
}

// "Model" -> value of the identity table.
std::map<std::string, std::string> Identity(const std::string& html) {
  std::map<std::string, std::string> m;
  static const std::regex row(R"re(<tr><th[^>]*>([^<]*)</th><td>([^<]*)</td></tr>)re");
  for (std::sregex_iterator it(html.begin(), html.end(), row), e; it != e; ++it)
    m[Unescape((*it)[1])] = Unescape((*it)[2]);
  return m;
}

// Every control the page declares a setting and the configuration records carry, walked
// here independently of the report: its declaration and the value the page shows.
struct Shown {
  q5::pages::ControlInfo info;
  std::string value;
};
std::map<std::string, Shown> ShownSettings(q5::pages::ModulePage& page, const std::string& model) {
  auto io = q5::pages::RecordStream::Writer(model);
  page.records(io);
  struct Walk : q5::pages::ControlVisitor {
    std::set<std::string> carried;
    std::map<std::string, Shown> shown;
    void put(const q5::pages::ControlInfo& i, std::string value) {
      if (i.role != q5::pages::Role::Setting) return;
      if (!carried.count(i.name) && !carried.count(i.name.substr(0, i.name.find('(')))) return;
      shown[i.name] = {i, std::move(value)};
    }
    void text(const q5::pages::ControlInfo& i, q5::pages::TextBox& c) override { put(i, c.text); }
    void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox& c) override {
      put(i, c.index >= 0 ? c.items[c.index] : "");
    }
    void check(const q5::pages::ControlInfo& i, q5::pages::CheckBox& c) override {
      put(i, c.value ? "on" : "off");
    }
    void option(const q5::pages::ControlInfo& i, q5::pages::OptionButton& c) override {
      put(i, c.value ? "on" : "off");
    }
  } walk;
  walk.carried.insert(io.fieldNames().begin(), io.fieldNames().end());
  page.visitControls(walk);
  return walk.shown;
}

std::string WithoutPortRow(std::string html) {
  static const std::regex port(R"re(<tr><th[^>]*>Port</th><td>[^<]*</td></tr>)re");
  return std::regex_replace(html, port, "");
}

TEST(Report, EveryPageKindFromUnitAndFromFile) {
  Scratch dir;
  for (int kind = 0; kind < 22; ++kind) {
    const std::string model = kModels[kind];
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    ASSERT_TRUE(rig.dialogs.messages.empty());
    q5::pages::ModulePage* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->pageKind(), kind);

    q5::report::ReportOptions o;
    o.port = "sim:" + model;
    o.preparedBy = "R. Example & Sons";
    o.when = 1765290000;
    const std::string html = ReportHtml(BuildReport(*page, rig.session.values, o));

    auto id = Identity(html);
    EXPECT_EQ(id["Model"], model);
    EXPECT_EQ(id["Firmware version"].size(), 4u) << id["Firmware version"];
    EXPECT_NE(rig.session.values.versionText.find(id["Firmware version"]), std::string::npos);
    EXPECT_EQ(id["Channels"], std::to_string(rig.session.values.channelCount));
    EXPECT_EQ(id["Network"],
              std::string(q5::catalogue::NetworkName(rig.session.values.networkType)));
    EXPECT_EQ(id["Port"], "sim:" + model);
    EXPECT_EQ(id["Prepared by"], "R. Example & Sons");
    EXPECT_EQ(id["Date and time"], q5::report::ReportDateTime(1765290000));

    // Every visible setting once, with its caption and the value as the page shows it.
    const auto shown = ShownSettings(*page, model);
    const auto rows = Rows(html, "<h2>Settings", "");
    EXPECT_FALSE(rows.empty());
    std::set<std::string> seen;
    for (const Row& r : rows) {
      ASSERT_EQ(r.cells.size(), 4u) << r.name;
      EXPECT_TRUE(seen.insert(r.name).second) << r.name << " twice";
      auto it = shown.find(r.name);
      ASSERT_NE(it, shown.end()) << r.name << " is not a setting shown on the page";
      const q5::pages::ControlInfo& info = it->second.info;
      EXPECT_EQ(r.cells[0], info.channel >= 0 ? info.channelHeading : "") << r.name;
      EXPECT_EQ(r.cells[1], info.caption.empty() ? r.name : info.caption) << r.name;
      EXPECT_EQ(r.cells[2], it->second.value) << r.name;
      EXPECT_EQ(r.cells[3], info.unit) << r.name;
    }
    EXPECT_EQ(seen.size(), shown.size());

    // The same values saved and reported from the file: the same report but the port.
    std::string text, error;
    ASSERT_TRUE(q5::config::ConfigFiles(rig.session).CurrentConfigText(text, error)) << error;
    const fs::path file = dir.path / (std::to_string(kind) + ".uJx");
    std::ofstream(file, std::ios::binary) << text;
    q5::config::ConfigSnapshot snapshot;
    ASSERT_TRUE(snapshot.open(file.string(), error)) << error;
    q5::report::ReportOptions fo = o;
    fo.port.clear();
    fo.source = "file " + file.filename().string();
    const std::string fromFile = ReportHtml(BuildReport(*snapshot.page(), snapshot.values(), fo));
    EXPECT_EQ(Identity(fromFile)["Port"], "none (settings from file " + file.filename().string() + ")");
    EXPECT_EQ(WithoutPortRow(fromFile), WithoutPortRow(html));
  }
}

TEST(Report, ChangedSettingsAfterADownloadAgainstItsBackup) {
  Scratch dir;
  SessionRig rig("Q5T3NML3-6-AI4");
  q5::config::Backups backups(rig.session, (dir.path / "backups").string());
  rig.connect();
  auto* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  // No backup yet: a report without the changes section.
  q5::report::Report plain = BuildReport(*page, rig.session.values, {});
  EXPECT_EQ(ReportHtml(plain).find("Changed settings"), std::string::npos);

  std::string rangeBefore, rangeAfter;
  struct Edit : q5::pages::ControlVisitor {
    std::string *before, *after;
    void text(const q5::pages::ControlInfo& i, q5::pages::TextBox& c) override {
      if (i.name == "txtFScale(1)") c.text = "9000";
    }
    void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox& c) override {
      if (i.name != "cmbUserRange(2)" || c.items.size() < 2) return;
      *before = c.text();
      c.index = (c.index + 1) % static_cast<int>(c.items.size());
      *after = c.text();
    }
  } edit;
  edit.before = &rangeBefore;
  edit.after = &rangeAfter;
  page->visitControls(edit);
  ASSERT_NE(rangeBefore, rangeAfter);
  rig.session.btnDownload_Click();
  ASSERT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  ASSERT_FALSE(backups.lastPath().empty());

  q5::config::ConfigSnapshot backup;
  std::string error;
  ASSERT_TRUE(backup.open(backups.lastPath(), error)) << error;
  page = rig.session.page();
  q5::report::Report r = BuildReport(*page, rig.session.values, {});
  q5::report::AddChanges(r, *backup.page(), backup.values(), *page, rig.session.values,
                         "the backup <b>");
  const std::string html = ReportHtml(r);
  EXPECT_NE(html.find("Compared with the backup &lt;b&gt;."), std::string::npos);
  const auto changes = Rows(html, "<h2>Changed settings", "");
  ASSERT_EQ(changes.size(), 2u) << html;
  std::map<std::string, Row> byName;
  for (const Row& c : changes) byName[c.name] = c;
  ASSERT_EQ(byName.count("txtFScale(1)"), 1u);
  EXPECT_EQ(byName["txtFScale(1)"].cells,
            (std::vector<std::string>{"CH 1", "Full scale", "10000", "9000", ""}));
  ASSERT_EQ(byName.count("cmbUserRange(2)"), 1u);
  EXPECT_EQ(byName["cmbUserRange(2)"].cells[2], rangeBefore);
  EXPECT_EQ(byName["cmbUserRange(2)"].cells[3], rangeAfter);

  // Against itself nothing changed; against another module the lists cannot be set side
  // by side.
  q5::report::AddChanges(r, *page, rig.session.values, *page, rig.session.values, "itself");
  EXPECT_NE(ReportHtml(r).find("No setting changed."), std::string::npos);
  SessionRig other("Q5W3NEIP-BO16");
  other.connect();
  q5::report::AddChanges(r, *other.session.page(), other.session.values, *page,
                         rig.session.values, "a BO16");
  EXPECT_TRUE(r.changes.empty());
  EXPECT_NE(ReportHtml(r).find("another module (Q5W3NEIP-BO16)"), std::string::npos);
}

// Every page kind: a page with tabs reports its settings tab by tab, each section headed
// by the caption of its tab (settings below the tabs under "General"), a page without tabs
// in one section; and a value whose caption or label shows a unit carries that unit, the
// unit label of a scaling base following the page's present label.
TEST(Report, SettingsSitOnTheirTabsAndCarryTheirUnits) {
  for (int kind = 0; kind < 22; ++kind) {
    const std::string model = kModels[kind];
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    q5::pages::ModulePage* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->pageKind(), kind);

    std::set<std::string> tabs;
    for (const auto& b : page->cmdSet)
      if (!b.caption.empty()) tabs.insert(b.caption);
    const q5::report::Report r = BuildReport(*page, rig.session.values, {});
    ASSERT_FALSE(r.sections.empty());
    if (tabs.empty()) {
      EXPECT_EQ(r.sections.size(), 1u);
      EXPECT_EQ(r.sections[0].title, "Settings");
    } else {
      int onTabs = 0;
      for (const auto& section : r.sections) {
        EXPECT_TRUE(tabs.count(section.title) || section.title == "General") << section.title;
        onTabs += tabs.count(section.title) ? 1 : 0;
        for (const auto& row : section.rows) EXPECT_EQ(row.group, section.title == "General" ? "" : section.title) << row.name;
      }
      EXPECT_GT(onTabs, 1) << "settings of a page with tabs on one tab only";
    }

    // Every declaration of the page, and the captions of its labels by name.
    struct Walk : q5::pages::ControlVisitor {
      std::vector<q5::pages::ControlInfo> values;
      std::map<std::string, std::string> labels;
      void text(const q5::pages::ControlInfo& i, q5::pages::TextBox&) override { values.push_back(i); }
      void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox&) override { values.push_back(i); }
      void label(const q5::pages::ControlInfo& i, q5::pages::Label& c) override { labels[i.name] = c.caption; }
    } walk;
    page->visitControls(walk);
    int withUnit = 0;
    for (const auto& info : walk.values) {
      const std::string& c = info.caption;
      if (c.find('%') != std::string::npos) {
        EXPECT_EQ(info.unit, "%") << info.name << " " << c;
      }
      if (c.find("[deg]") != std::string::npos) {
        EXPECT_EQ(info.unit, "deg") << info.name;
      }
      for (const char* base : {"txtZBase(", "txtFBase("}) {
        if (info.name.rfind(base, 0) != 0) continue;
        const std::string label = "lbl" + info.name.substr(3, 5) + "_Unit" + info.name.substr(8);
        if (walk.labels.count(label)) {
          EXPECT_EQ(info.unit, walk.labels[label]) << info.name;
        }
      }
      withUnit += info.unit.empty() ? 0 : 1;
    }
    // The pages that show units at all.
    if (model == "Q5T3NML3-6-AI4" || model == "Q5T3NML3-6-PI1" || model == "Q5V3UM-AC32" ||
        model == "Q5T3NML3-6-TC4" || model == "Q5W3NML3-E-EC4A" || model == "Q5T3NML3-6-LNRIO1") {
      EXPECT_GT(withUnit, 0);
    }
  }
}

// The two pages a person checks first: an input's scale bases carry the unit of its
// present input range and follow it, the pulse page's drop-out carries "%" on "Setting1".
TEST(Report, ScaleBasesFollowTheInputRangeAndDropOutIsInPercent) {
  {
    SessionRig rig("Q5T3NML3-6-AI4");
    rig.connect();
    auto* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    const auto zero = q5::pages::DeclarationOf(*page, "txtZBase(0)");
    const auto full = q5::pages::DeclarationOf(*page, "txtFBase(1)");
    ASSERT_TRUE(zero && full);
    EXPECT_FALSE(zero->unit.empty());
    EXPECT_FALSE(full->unit.empty());
    EXPECT_EQ(zero->group, "frmSet1");
    EXPECT_EQ(q5::pages::DeclarationOf(*page, "cmbUserRange(3)")->group, "frmSet2");
    EXPECT_EQ(q5::pages::DeclarationOf(*page, "CmbConvSpeed")->group, "");
    // Another unit label on the page: the declaration says the same at once.
    auto* scaling = dynamic_cast<q5::pages::ChannelScaling*>(page);
    ASSERT_NE(scaling, nullptr);
    scaling->lblZBase_Unit[0].caption = "mA";
    EXPECT_EQ(q5::pages::DeclarationOf(*page, "txtZBase(0)")->unit, "mA");
    scaling->lblZBase_Unit[0].caption = "V";
    EXPECT_EQ(q5::pages::DeclarationOf(*page, "txtZBase(0)")->unit, "V");
  }
  {
    SessionRig rig("Q5T3NML3-6-PI2");
    rig.connect();
    auto* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    const q5::report::Report r = BuildReport(*page, rig.session.values, {});
    int found = 0;
    for (const auto& section : r.sections)
      for (const auto& row : section.rows)
        if (row.name == "txtDO(0)" || row.name == "txtDO(1)") {
          ++found;
          EXPECT_EQ(row.unit, "%");
          EXPECT_EQ(section.title, "Setting1");
        } else if (row.name == "txtA1SM(0)") {
          EXPECT_EQ(section.title, "Alarm");
        } else if (row.name == "txtEL(1)") {
          EXPECT_EQ(section.title, "Latch/Reset");
        }
    EXPECT_EQ(found, 2);
  }
}

TEST(Report, TextsAreEscapedAndTheAc32PageIsFast) {
  SessionRig rig("Q5V3UM-AC32");
  rig.connect();
  auto* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  q5::report::ReportOptions o;
  o.preparedBy = "<script>alert('x')</script>";
  o.note = "first line\r\nsecond & \"third\"\x01";
  const auto start = std::chrono::steady_clock::now();
  const std::string html = ReportHtml(BuildReport(*page, rig.session.values, o));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(ms, 200);
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(html.find("first line<br>second &amp; &quot;third&quot;\\x01</p>"), std::string::npos);
  // Self-contained: nothing is fetched from elsewhere.
  EXPECT_EQ(html.find("src="), std::string::npos);
  EXPECT_EQ(html.find("href="), std::string::npos);
  EXPECT_EQ(html.find("<link"), std::string::npos);
}

}  // namespace
