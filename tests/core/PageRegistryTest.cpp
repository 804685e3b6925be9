// The page registry against the catalogue and the Model Select menu, and the
// configuration records of every page kind against checked-in golden files.
//
// Golden files (tests/data/golden/<model>.uJx) hold a distinct value in every field: each
// control of the page is filled through the page's own walk over its controls (not the
// record walk), text boxes with their own number, lists with an item chosen by their
// number, check boxes and options by a bit pattern. The record walk then writes the file,
// so a record layout that puts a control in another control's place writes other bytes
// than the golden file holds, and reading the golden file puts a value into the wrong
// control. To make them again after a deliberate change of the format:
//   Q5_WRITE_GOLDEN=1 build/tests/q5core_tests --gtest_filter='PageRegistry.Golden*'
// and review the difference before checking it in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "SessionTestRig.h"
#include "catalogue/Catalogue.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"
#include "pages/PageRegistry.h"
#include "pages/RecordStream.h"

namespace {

using q5::pages::PageKinds;

// Every model a page kind is built for, and the model-conditional record layouts.
struct Variant {
  const char* model;
  int kind;
  int channels;
};

const Variant kVariants[] = {
    {"Q5T3NML3-6-AI4", 0, 4},    // conversion speed, valid/invalid
    {"Q5T3NML3-6-AINF4", 0, 4},  // and the data types
    {"Q5T3NML-6-AI4", 0, 4},     // the hold options instead
    {"Q5T3NML3-6-TC4", 1, 4},    // conversion speed, valid/invalid
    {"Q5T3NML-6-TC4", 1, 4},     // the hold options instead
    {"Q5T3NML3-6-RT4", 2, 4},
    {"Q5T3NML3-6-OV2", 3, 2},
    {"Q5T3NML3-6-OC2", 4, 2},
    {"Q5W3NEIP-BI16", 5, 16},
    {"Q5W3NEIP-BO16", 6, 16},
    {"Q5V3PE-6-BO16", 6, 16},  // the header only
    {"Q5T3NML3-6-AIF2", 7, 2},
    {"Q5W3NEIP-BI32", 8, 32},
    {"Q5W3NEIP-BO32", 9, 32},
    {"Q5Z3UECT-1-BO32A", 9, 32},  // and the two output-valid masks
    {"Q5T3NML3-6-OCF4", 10, 4},
    {"Q5T3NML3-6-PI2", 11, 2},
    {"Q5T3NML3-6-PI1", 11, 1},  // both channels' records all the same
    {"Q5T3NML3-6-PI1/A", 11, 1},
    {"Q5T3NML3-6-OVF4", 12, 4},
    {"Q5T3NML3-6-SG2", 13, 2},
    {"Q5T3NML3-6-SG2A", 13, 2},     // the excitation caption is the page's
    {"Q5T3SECT-SG2-A/F2K", 13, 2},  // and the percent rows
    {"Q5T3SECT-SG2-A/F1", 13, 2},   // the 1Hz filter
    {"Q5T3NML3-6-LNRIO1", 14, 1},
    {"Q5W3NML3-E-EC4A", 15, 4},
    {"Q5V3UM-AC32", 16, 32},
    {"Q5Z3UECT-1-AIF8N", 17, 8},  // valid/invalid
    {"Q5T3NML3-6-AIF8", 17, 8},   // without
    {"Q5W3ND-BIO32", 18, 32},
    {"Q5Z3UECT-1-BIO32", 18, 32},  // and the output-valid mask
    {"Q5Z3UECT-1-PI8A", 19, 8},
    {"Q5W3NEIP-BIO16", 20, 16},
    {"Q5V3PM-BI32", 21, 32},
    {"Q5T3PM-BI16", 21, 16},  // 16 channel records
};

// Check boxes set by this pattern (bit n for the n-th check box), so the two 16-point
// masks of a page differ from each other and from their reverse.
constexpr std::uint32_t kCheckPattern = 0x3C96A5C3;

// Fills every control through the page's walk over its controls. The value depends on
// where the control stands in that walk, never on the record layout.
class DistinctFiller : public q5::pages::ControlVisitor {
 public:
  void text(const q5::pages::ControlInfo&, q5::pages::TextBox& c) override {
    c.text = std::to_string(1000 + texts_++);
  }
  void combo(const q5::pages::ControlInfo&, q5::pages::ComboBox& c) override {
    const int n = combos_++;
    if (!c.items.empty()) c.index = (n + 1) % static_cast<int>(c.items.size());
  }
  void check(const q5::pages::ControlInfo&, q5::pages::CheckBox& c) override {
    c.value = (kCheckPattern >> (checks_++ % 32)) & 1;
  }
  void option(const q5::pages::ControlInfo&, q5::pages::OptionButton& c) override {
    c.value = options_++ % 2 == 0;
  }
  void button(const q5::pages::ControlInfo& info, q5::pages::Button& c) override {
    const std::string& name = info.name;
    // The load cell's filter and excitation are carried by their buttons' captions:
    // filter on (1), excitation 2.5V (0).
    if (name == "cmdCRFilter" && c.caption == "2Hz") c.caption = "2KHz";
    if (name == "cmdExtvoltage" && !keepExcitation) c.caption = "2.5V";
  }
  // The model whose excitation is chosen on the unit: a file's excitation is not read
  // into the page, so the page keeps its own.
  bool keepExcitation = false;

 private:
  int texts_ = 0, combos_ = 0, checks_ = 0, options_ = 0;
};

// The value of every editable control by name.
class Snapshot : public q5::pages::ControlVisitor {
 public:
  std::map<std::string, std::string> values;
  void text(const q5::pages::ControlInfo& i, q5::pages::TextBox& c) override {
    put(i.name, c.text);
  }
  void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox& c) override {
    put(i.name, std::to_string(c.index));
  }
  void check(const q5::pages::ControlInfo& i, q5::pages::CheckBox& c) override {
    put(i.name, c.value ? "1" : "0");
  }
  void option(const q5::pages::ControlInfo& i, q5::pages::OptionButton& c) override {
    put(i.name, c.value ? "1" : "0");
  }
  // The load cell's filter and excitation as the file's flags.
  void button(const q5::pages::ControlInfo& i, q5::pages::Button& c) override {
    const std::string& n = i.name;
    if (n == "cmdCRFilter") put(n, c.caption == "2Hz" ? "0" : "1");
    if (n == "cmdExtvoltage") put(n, c.caption == "5V" ? "1" : "0");
  }

 private:
  void put(std::string_view n, std::string v) { values[std::string(n)] = std::move(v); }
};

// The controls a file carries: the names the record walk gives its fields; a field that
// stands for a whole array ("ChkOutputValid(0..15)") carries every element of it.
std::map<std::string, std::string> Carried(const std::map<std::string, std::string>& all,
                                           const std::vector<std::string>& fieldNames) {
  std::set<std::string> names(fieldNames.begin(), fieldNames.end());
  std::map<std::string, std::string> out;
  for (const auto& [name, value] : all) {
    const std::string base = name.substr(0, name.find('('));
    bool carried = names.count(name) > 0;
    for (const auto& f : names)
      carried = carried || (f.find("..") != std::string::npos && f.rfind(base + "(", 0) == 0);
    if (carried) out[name] = value;
  }
  return out;
}

std::string GoldenPath(const Variant& v) {
  std::string file = v.model;
  for (char& c : file)
    if (c == '/') c = '_';
  return std::string(Q5_TEST_DATA) + "/golden/" + file + ".uJx";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A session that has not met a unit, holding the identity of the variant.
struct GoldenRig : SessionRig {
  GoldenRig() : SessionRig("Q5T3NML3-6-AI4") {}
  q5::pages::ModulePage* identify(const Variant& v) {
    auto& id = session.values;
    id.model = v.model;
    id.flags.SetModelFlags(v.model);
    q5::catalogue::ModuleKindOf(q5::catalogue::ModulePartOf(v.model), id.moduleKind);
    q5::catalogue::PulseOverride(v.model, id.moduleKind);
    id.pageKind = id.moduleKind;
    id.channelCount = static_cast<std::int16_t>(v.channels);
    id.versionText = "Version : 1.23";
    q5::catalogue::NetworkTypeOf(v.model, id.networkType, id.networkButton);
    id.PageShown = true;
    return session.pageFor(id.pageKind);
  }
};

}  // namespace

// Every page kind the catalogue can give a model, and every kind a Model Select item
// creates, has its page in the registry; the registry's names and kinds are the pages'
// own; every other number has none (the placeholder page is shown).
TEST(PageRegistry, CoversEveryPageKindOfTheCatalogue) {
  GoldenRig rig;
  q5::pages::PageContext& ctx = rig.session.pageContext();
  ASSERT_EQ(PageKinds().size(), 22u);
  std::set<int> kinds;
  for (const auto& e : PageKinds()) {
    SCOPED_TRACE(e.name);
    EXPECT_TRUE(kinds.insert(e.kind).second) << "kind listed twice";
    auto page = e.create(ctx);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->name(), e.name);
    EXPECT_EQ(page->pageKind(), e.kind);
    EXPECT_EQ(q5::pages::PageName(e.kind), e.name);
  }
  for (int kind = 0; kind <= 21; ++kind) EXPECT_TRUE(kinds.count(kind)) << kind;
  for (int kind : {-1, 22, 98, 99, 100}) {
    EXPECT_FALSE(q5::pages::IsPageKind(kind)) << kind;
    EXPECT_EQ(q5::pages::CreatePage(kind, ctx), nullptr) << kind;
    EXPECT_EQ(q5::pages::PageName(kind), "frmNONE") << kind;
  }
  // The module kinds of every position rule of the classification.
  for (const char* part :
       {"BI32", "BO32", "AC32", "BIO32", "BIO16", "BI16", "BO16",   "AIF2", "OVF2",
        "AIF4", "OCF4", "OVF4", "AIF8",  "AIMF8", "PI8",  "OV2",    "OC2",  "PI2",
        "SG2",  "AI4",  "TC4",  "RT4",   "EC4",   "PI1",  "LNRIO1", "AINF4"}) {
    std::int16_t kind = q5::catalogue::kNotIdentified;
    q5::catalogue::ModuleKindOf(part, kind);
    EXPECT_TRUE(q5::pages::IsPageKind(kind)) << part << " gives " << kind;
  }
  for (const auto& group : q5::config::ModelSelectMenu())
    for (const auto& item : group.items) {
      EXPECT_TRUE(q5::pages::IsPageKind(item.moduleKind)) << group.caption << " " << item.caption;
      EXPECT_TRUE(q5::config::ModelSelectAvailable(item));
    }
  // The golden files below serve every kind.
  std::set<int> golden;
  for (const Variant& v : kVariants) golden.insert(v.kind);
  EXPECT_EQ(golden, kinds);
}

// Each variant: the page filled with distinct values writes exactly the golden file;
// reading the golden file into a fresh session puts every value back into its own
// control; and writing that again gives the golden file byte for byte.
TEST(PageRegistry, GoldenConfigurationFilesOfEveryPageKind) {
  const bool write = std::getenv("Q5_WRITE_GOLDEN") != nullptr;
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.model);
    GoldenRig made;
    q5::pages::ModulePage* page = made.identify(v);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->pageKind(), v.kind);
    page->PrepareControls();
    DistinctFiller filler;
    filler.keepExcitation = std::string(v.model) == "Q5T3NML3-6-SG2A";
    page->visitControls(filler);
    // What the page keeps in step with other values (the pulse page's second channel
    // lists follow the first) follows them, as after reading the unit.
    page->ValuesChanged();
    Snapshot filled;
    page->visitControls(filled);
    q5::config::ConfigFiles madeFiles{made.session};
    std::string text, error;
    ASSERT_TRUE(madeFiles.CurrentConfigText(text, error)) << error;
    q5::pages::RecordStream names = q5::pages::RecordStream::Writer(v.model);
    page->records(names);

    const std::string path = GoldenPath(v);
    if (write) {
      std::filesystem::create_directories(std::filesystem::path(path).parent_path());
      std::ofstream(path, std::ios::binary) << text;
    }
    const std::string golden = ReadFile(path);
    ASSERT_FALSE(golden.empty()) << path << " is missing";
    EXPECT_EQ(text, golden) << "the records written differ from " << path;

    GoldenRig read;
    q5::config::ConfigFiles readFiles{read.session};
    ASSERT_TRUE(readFiles.LoadText(path, golden)) << read.dialogs.messages.size();
    EXPECT_EQ(read.session.values.model, v.model);
    EXPECT_EQ(read.session.values.pageKind, v.kind);
    EXPECT_EQ(read.session.values.channelCount, v.channels);
    q5::pages::ModulePage* back = read.session.page();
    ASSERT_NE(back, nullptr);
    Snapshot restored;
    back->visitControls(restored);
    const auto expected = Carried(filled.values, names.fieldNames());
    EXPECT_EQ(Carried(restored.values, names.fieldNames()), expected);
    if (v.kind != 6 || std::string(v.model) != "Q5V3PE-6-BO16") {
      EXPECT_GT(expected.size(), 0u) << "the file carries no control of the page";
    }
    std::string again;
    ASSERT_TRUE(readFiles.CurrentConfigText(again, error)) << error;
    EXPECT_EQ(again, golden);
  }
}

// Each field a record walk writes carries the value of the control it is named for (the
// name a reading error and the comparison give it): with a distinct value in every control,
// a field named for one control but walking another shows.
TEST(PageRegistry, EveryFieldCarriesTheControlItIsNamedFor) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.model);
    GoldenRig made;
    q5::pages::ModulePage* page = made.identify(v);
    ASSERT_NE(page, nullptr);
    page->PrepareControls();
    DistinctFiller filler;
    page->visitControls(filler);
    page->ValuesChanged();
    Snapshot filled;
    page->visitControls(filled);
    q5::pages::RecordStream io = q5::pages::RecordStream::Writer(v.model);
    page->records(io);
    ASSERT_TRUE(io.ok()) << io.error();

    std::vector<std::string> fields;
    std::string field;
    for (char c : io.contents()) {
      if (c == ',' || c == '\n') {
        fields.push_back(field);
        field.clear();
      } else if (c != '\r') {
        field += c;
      }
    }
    const auto& names = io.fieldNames();
    ASSERT_EQ(fields.size(), names.size());
    int compared = 0;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      const auto control = filled.values.find(names[k]);
      if (control == filled.values.end()) continue;  // a mask or a table cell
      std::string value = fields[k];
      if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
      if (value == "#TRUE#") value = "1";
      if (value == "#FALSE#") value = "0";
      EXPECT_EQ(value, control->second) << "field " << k + 1 << " named " << names[k];
      ++compared;
    }
    if (!names.empty()) {
      EXPECT_GT(compared, 0) << "no field named for a control of the page";
    }
  }
}

// The golden files keep a distinct value in every text field of a record: a pair of
// swapped text fields cannot go unnoticed.
TEST(PageRegistry, GoldenFilesHoldNoTextTwice) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.model);
    const std::string golden = ReadFile(GoldenPath(v));
    std::set<std::string> seen;
    std::size_t at = golden.find('\n');  // after the header
    while (at != std::string::npos) {
      const std::size_t open = golden.find('"', at + 1);
      if (open == std::string::npos) break;
      const std::size_t close = golden.find('"', open + 1);
      ASSERT_NE(close, std::string::npos);
      const std::string field = golden.substr(open + 1, close - open - 1);
      EXPECT_TRUE(seen.insert(field).second) << "\"" << field << "\" appears twice";
      at = close;
    }
  }
}
