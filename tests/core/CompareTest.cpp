// Comparing configurations setting by setting: two files, and the unit's page (after an
// Upload, with live values on it) against a file. Only what the files carry counts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SessionTestRig.h"
#include "config/Compare.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"

namespace {

namespace fs = std::filesystem;
using q5::config::CompareSettings;
using q5::config::ConfigSnapshot;

struct Scratch {
  fs::path path;
  Scratch() {
    std::string t = (fs::temp_directory_path() / "q5cfg-compare-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Scratch() { fs::remove_all(path); }
  std::string write(const char* name, const std::string& text) const {
    std::ofstream(path / name, std::ios::binary) << text;
    return (path / name).string();
  }
};

// The new configuration of a Model Select item, as "q5cfg-cli new" writes it.
std::string NewConfig(const char* group, const char* caption) {
  SessionRig rig("Q5T3NML3-6-AI4");
  const auto* item = q5::config::FindModelSelectItem(group, caption);
  EXPECT_NE(item, nullptr);
  auto& flags = rig.session.values.flags;
  flags.ClearModelFlags();
  for (const auto& f : item->flags) flags.set(f.flag, f.on);
  std::string text;
  EXPECT_TRUE(q5::config::ConfigFiles(rig.session).NewConfigText(item->moduleKind, text));
  return text;
}

// Replaces field `field` (0-based) of line `line` (0-based) of a file text.
std::string WithField(const std::string& text, int line, int field, const std::string& value) {
  std::size_t start = 0;
  for (int l = 0; l < line; ++l) start = text.find("\r\n", start) + 2;
  for (int f = 0; f < field; ++f) start = text.find(',', start) + 1;
  std::size_t end = start;
  while (end < text.size() && text[end] != ',' && text[end] != '\r') ++end;
  return text.substr(0, start) + value + text.substr(end);
}

TEST(Compare, TwoFilesEqualOneDifferenceAndAnotherModel) {
  Scratch dir;
  const std::string ai4 = NewConfig("Q5T3NML3", "AI4");
  const std::string a = dir.write("a.uJx", ai4);
  const std::string same = dir.write("same.uJx", ai4);
  // Line 4 holds channel 1's scaling texts: zero scale first, then full scale.
  const std::string b = dir.write("b.uJx", WithField(ai4, 3, 1, "\"9000\""));
  const std::string bo16 = dir.write("bo16.uJx", NewConfig("Q5W3NEIP", "BO16"));

  ConfigSnapshot fa, fsame, fb, fbo;
  std::string error;
  ASSERT_TRUE(fa.open(a, error)) << error;
  ASSERT_TRUE(fsame.open(same, error)) << error;
  ASSERT_TRUE(fb.open(b, error)) << error;
  ASSERT_TRUE(fbo.open(bo16, error)) << error;

  auto equal = CompareSettings(*fa.page(), fa.values(), *fsame.page(), fsame.values());
  EXPECT_TRUE(equal.same());

  auto one = CompareSettings(*fa.page(), fa.values(), *fb.page(), fb.values());
  ASSERT_EQ(one.differences.size(), 1u);
  EXPECT_EQ(one.differences[0].name, "txtFScale(0)");
  EXPECT_EQ(one.differences[0].first, "10000");
  EXPECT_EQ(one.differences[0].second, "9000");
  EXPECT_FALSE(one.same());

  // Another module: only the models are set side by side.
  auto other = CompareSettings(*fa.page(), fa.values(), *fbo.page(), fbo.values());
  EXPECT_TRUE(other.pagesDiffer);
  ASSERT_EQ(other.differences.size(), 1u);
  EXPECT_EQ(other.differences[0].name, "model");
  EXPECT_EQ(other.differences[0].first, "Q5T3NML3-6-AI4");
  EXPECT_FALSE(other.same());

  // A damaged file is refused with the reason File/Open gives, and compares nothing.
  ConfigSnapshot bad;
  EXPECT_FALSE(bad.open(dir.write("bad.uJx", ai4.substr(0, ai4.size() / 2)), error));
  EXPECT_NE(error.find("Nothing was changed"), std::string::npos) << error;
  EXPECT_EQ(bad.page(), nullptr);
}

TEST(Compare, UnitPageAgainstAFileSeesSettingsNotLiveValuesAndLeavesThePage) {
  Scratch dir;
  SessionRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  q5::pages::ModulePage* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  std::string text, error;
  ASSERT_TRUE(q5::config::ConfigFiles(rig.session).CurrentConfigText(text, error)) << error;

  // The unit's own settings: the live values the Upload read do not count.
  ConfigSnapshot own;
  ASSERT_TRUE(own.open(dir.write("own.uJx", text), error)) << error;
  EXPECT_TRUE(CompareSettings(*page, rig.session.values, *own.page(), own.values()).same());
  for (const auto& s : q5::config::PageSettings(*page, rig.session.values))
    EXPECT_EQ(s.name.rfind("txtParData", 0), std::string::npos) << s.name;

  // One range changed in the file: one difference, with the list texts and indexes.
  const std::size_t first = text.find("\r\n") + 2;
  const std::string changed = WithField(text, 1, 0, text[first] == '3' ? "2" : "3");
  const std::string expectedIndex = text[first] == '3' ? "[2]" : "[3]";
  ConfigSnapshot file;
  ASSERT_TRUE(file.open(dir.write("changed.uJx", changed), error)) << error;
  const auto c = CompareSettings(*page, rig.session.values, *file.page(), file.values());
  ASSERT_EQ(c.differences.size(), 1u);
  EXPECT_EQ(c.differences[0].name, "cmbUserRange(0)");
  EXPECT_EQ(c.differences[0].caption, "Input range");
  EXPECT_NE(c.differences[0].second.find(expectedIndex), std::string::npos) << c.differences[0].second;

  // Reading the file for the comparison sent nothing and left the page as it was.
  rig.takeWire();
  ConfigSnapshot again;
  ASSERT_TRUE(again.open(dir.write("again.uJx", changed), error));
  EXPECT_TRUE(rig.takeWire().empty());
  EXPECT_TRUE(CompareSettings(*page, rig.session.values, *own.page(), own.values()).same());
}

}  // namespace
