// The six discrete pages against the simulated unit: the wire lines of Init, Download
// and ReadingData per model variant, and what each control shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestRig.h"
#include "pages/BitWord.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmBIO16.h"
#include "pages/frmBIO32.h"
#include "pages/frmBO16.h"
#include "pages/frmBO32.h"

using Lines = std::vector<std::string>;
using namespace q5::pages;

namespace {

// A unit connected and uploaded; the page of its kind.
template <class Page>
struct PageRig : SessionRig {
  explicit PageRig(const std::string& model) : SessionRig(model) {
    connect();
    page = dynamic_cast<Page*>(session.page());
    takeWire();
  }
  // Fixes a live word (no movement).
  void word(const std::string& item, const std::string& text) {
    unit().item("00", item).live({}).set(text);
  }
  Page* page = nullptr;
};

// Colours of n boxes, point 0 first: G green, R red.
template <class Array>
std::string Colours(const Array& boxes, int from = 0, int n = -1) {
  if (n < 0) n = static_cast<int>(boxes.size()) - from;
  std::string s;
  for (int i = from; i < from + n; ++i) s += boxes[i].colour == kGreen ? 'G' : 'R';
  return s;
}

template <class Array>
std::string Checked(const Array& boxes) {
  std::string s;
  for (const auto& b : boxes) s += b.value ? '1' : '0';
  return s;
}

const Lines kRates{"10ms", "1ms", "5ms", "20ms", "50ms", "70ms", "100ms", "200ms"};
const Lines kHold{"Clear", "Hold"};

}  // namespace

TEST(DiscreteBitWord, ShowBitsPaintsByDigitAndKeepsOthers) {
  std::array<Indicator, 16> boxes;
  ShowBits("8001", boxes.data());
  EXPECT_EQ(Colours(boxes), "GRRRRRRRRRRRRRRG");
  // Three digits: the first still belongs to points 12-15; points 0-3 keep their colour.
  for (auto& b : boxes) b.colour = kGreen;
  ShowBits("ABC", boxes.data());
  EXPECT_EQ(Colours(boxes), "GGGGRRGGGGRGRGRG");
  // Lower case, blanks and other characters leave their four boxes alone.
  for (auto& b : boxes) b.colour = kGreen;
  ShowBits("f 0z", boxes.data());
  EXPECT_EQ(Colours(boxes), "GGGGRRRRGGGGGGGG");
  ShowBits("", boxes.data());
  EXPECT_EQ(Colours(boxes), "GGGGRRRRGGGGGGGG");
}

TEST(DiscreteBitWord, MasksTravelAsUpperCaseHexWithoutLeadingZeros) {
  std::array<CheckBox, 16> boxes;
  EXPECT_EQ(ChecksToMask(boxes.data()), "0");
  boxes[0].value = boxes[1].value = boxes[15].value = true;
  EXPECT_EQ(ChecksToMask(boxes.data()), "8003");
  for (auto& b : boxes) b.value = false;
  boxes[4].value = boxes[7].value = true;
  EXPECT_EQ(ChecksToMask(boxes.data()), "90");

  MaskToChecks("8003", boxes.data());
  EXPECT_EQ(Checked(boxes), "1100000000000001");
  // A character that is not a hexadecimal digit counts as 0; the digits are positional.
  MaskToChecks("F0g1", boxes.data());
  EXPECT_EQ(Checked(boxes), "1000000000001111");
  MaskToChecks("", boxes.data());
  EXPECT_EQ(Checked(boxes), "0000000000000000");
}

TEST(DiscreteBI16, IndexModelsAndReadingData) {
  PageRig<frmBI16> rig("Q5W3NEIP-BI16");
  auto* p = rig.page;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->lblV_Unit.caption, "BI16");
  EXPECT_EQ(p->CmbConvSpeed.items, kRates);
  EXPECT_EQ(p->CmbConvSpeed.index, 3);
  EXPECT_TRUE(p->CmbConvSpeed.enabled);
  EXPECT_FALSE(p->hasCheckData());

  rig.unit().item("01", "11").set("6");
  EXPECT_TRUE(p->Init());
  EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11"}));
  EXPECT_EQ(p->CmbConvSpeed.text(), "100ms");

  p->CmbConvSpeed.index = 1;
  p->Download();
  EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11", "D1"}));
  EXPECT_FALSE(p->CmbConvSpeed.enabled);  // the re-Upload enables it again
  EXPECT_EQ(rig.unit().value("01", "11"), "1");

  rig.word("21", "0x8001");
  p->ReadingData();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21"}));
  EXPECT_EQ(Colours(p->txtCData), "GRRRRRRRRRRRRRRG");
  // An empty live read leaves the boxes as they are.
  rig.port->fault("noreply:00/21*4");
  p->ReadingData();
  EXPECT_EQ(Colours(p->txtCData), "GRRRRRRRRRRRRRRG");
}

TEST(DiscreteBI16, MillisecondModelsAndFixedCombo) {
  PageRig<frmBI16> rig("Q5T3PML3-6-BI16");
  auto* p = rig.page;
  ASSERT_NE(p, nullptr);
  rig.unit().item("01", "11").set("5");  // the unit answers "70"
  EXPECT_TRUE(p->Init());
  EXPECT_EQ(p->CmbConvSpeed.text(), "70ms");
  p->Download();
  EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11", "G01", "I11", "D5"}));
  // A time outside the list leaves nothing selected.
  rig.port->fault("reply:01/11:C7*1");
  EXPECT_TRUE(p->Init());
  EXPECT_EQ(p->CmbConvSpeed.index, -1);

  // An empty read ends Init silently with the combo disabled.
  rig.port->fault("noreply:01/11*4");
  EXPECT_FALSE(p->Init());
  EXPECT_FALSE(p->CmbConvSpeed.enabled);
  EXPECT_TRUE(rig.dialogs.messages.empty());

  PageRig<frmBI16> ud("Q5W3UD-BI16A-H");
  ASSERT_NE(ud.page, nullptr);
  EXPECT_EQ(ud.page->CmbConvSpeed.text(), "20ms");
  EXPECT_FALSE(ud.page->CmbConvSpeed.enabled);
  ud.page->txt_able(true);
  EXPECT_FALSE(ud.page->CmbConvSpeed.enabled);
}

TEST(DiscreteBO16, HoldVariants) {
  {
    // Exactly this model has no hold setting: nothing is read or written.
    PageRig<frmBO16> rig("Q5V3PE-6-BO16");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Init());
    EXPECT_TRUE(rig.takeWire().empty());
    EXPECT_FALSE(p->CmbOutputHold.visible);
    EXPECT_FALSE(p->lblConvSpeed2.visible);
    p->Download();
    EXPECT_TRUE(rig.takeWire().empty());
  }
  {
    // A longer model string that begins with it has the setting, answered "ON"/"OFF".
    PageRig<frmBO16> rig("Q5V3PE-6-BO16A");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->CmbOutputHold.visible);
    EXPECT_TRUE(p->lblConvSpeed2.visible);
    EXPECT_EQ(p->lblConvSpeed2.caption, "Output Hold/Clear");
    EXPECT_EQ(p->CmbOutputHold.items, kHold);
    EXPECT_EQ(p->CmbOutputHold.text(), "Hold");
    p->CmbOutputHold.index = 0;
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I12", "D0"}));
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(p->CmbOutputHold.text(), "Clear");  // "OFF"
    rig.port->fault("reply:01/12:Con*1");
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(p->CmbOutputHold.text(), "Clear");  // only "ON" is Hold
  }
  {
    PageRig<frmBO16> rig("Q5W3NEIP-BO16");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    rig.unit().item("01", "12").set("0");
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I12"}));
    EXPECT_EQ(p->CmbOutputHold.text(), "Clear");
    EXPECT_TRUE(p->CmbOutputHold.enabled);
    p->CmbOutputHold.index = 1;
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I12", "D1"}));
    rig.word("21", "0x00F0");
    p->ReadingData();
    EXPECT_EQ(Colours(p->txtCData), "RRRRGGGGRRRRRRRR");
  }
  {
    PageRig<frmBO16> rig("Q5W3UD-BO16A-H");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->CmbOutputHold.text(), "Hold");
    EXPECT_FALSE(p->CmbOutputHold.enabled);
    p->Download();
    EXPECT_TRUE(rig.takeWire().empty());
  }
}

TEST(DiscreteBI32, ConversionRateAndTwoWords) {
  PageRig<frmBI32> rig("Q5W3NEIP-BI32");
  auto* p = rig.page;
  ASSERT_NE(p, nullptr);
  // Its setting is locked while monitoring, like every page's.
  p->AllowEditing(false);
  EXPECT_FALSE(p->CmbConvSpeed.enabled);
  p->AllowEditing(true);
  EXPECT_TRUE(p->CmbConvSpeed.enabled);
  EXPECT_TRUE(p->CmbConvSpeed.visible);
  EXPECT_TRUE(p->lblConvSpeed.visible);
  EXPECT_EQ(p->CmbConvSpeed.text(), "20ms");
  p->CmbConvSpeed.index = 7;
  p->Download();
  EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11", "D7"}));
  EXPECT_TRUE(p->CmbConvSpeed.enabled);  // this page enables itself after Download

  rig.word("21", "0x0001");
  rig.word("22", "0x8000");
  p->ReadingData();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I22"}));
  EXPECT_EQ(Colours(p->txtCData), "GRRRRRRRRRRRRRRR");
  EXPECT_EQ(Colours(p->txtChData), "RRRRRRRRRRRRRRRG");
  // The second word only for module kind 8.
  rig.session.values.moduleKind = 21;
  p->ReadingData();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21"}));

  // An empty read leaves the combo hidden and disabled.
  rig.port->fault("noreply:01/11*4");
  EXPECT_FALSE(p->Init());
  EXPECT_FALSE(p->CmbConvSpeed.visible);
  EXPECT_FALSE(p->lblConvSpeed.visible);
  EXPECT_FALSE(p->CmbConvSpeed.enabled);

  PageRig<frmBI32> nd("Q5W3ND-BI32A-I");
  ASSERT_NE(nd.page, nullptr);
  EXPECT_FALSE(nd.page->CmbConvSpeed.enabled);
}

TEST(DiscreteBO32, MaskModels) {
  PageRig<frmBO32> rig("Q5Z3UECT-1-BO32A");
  auto* p = rig.page;
  ASSERT_NE(p, nullptr);
  rig.unit().item("01", "16").set("8003");
  rig.unit().item("02", "16").set("0010");
  rig.unit().item("02", "12").set("0");
  EXPECT_TRUE(p->Init());
  EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "G01", "I16", "G02", "I16"}));
  EXPECT_EQ(Checked(p->ChkOutputValid), "11000000000000010000100000000000");
  EXPECT_EQ(p->CmbOutputHold.text(), "Clear");
  EXPECT_TRUE(p->CmbOutputHold.visible);
  EXPECT_TRUE(p->lblOutputHold.visible);
  EXPECT_TRUE(p->lblOutputValid.visible);
  EXPECT_TRUE(p->lblExtIndex[4].visible);
  EXPECT_TRUE(p->ChkOutputValid[31].visible);
  EXPECT_TRUE(p->ChkOutputValid[31].enabled);

  p->CmbOutputHold.index = 1;
  p->ChkOutputValid[20].value = false;
  p->ChkOutputValid[31].value = true;
  p->Download();
  EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "D1", "G01", "I16", "D8003", "G02", "I16", "D8000"}));
  for (auto& c : p->ChkOutputValid) c.value = false;
  p->Download();
  EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "D1", "G01", "I16", "D0", "G02", "I16", "D0"}));
  EXPECT_FALSE(p->ChkOutputValid[0].enabled);

  rig.word("21", "0x0003");
  rig.word("22", "0xC000");
  p->ReadingData();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I22"}));
  EXPECT_EQ(Colours(p->txtCData), "GGRRRRRRRRRRRRRRRRRRRRRRRRRRRRGG");
}

TEST(DiscreteBO32, ModelsWithoutMask) {
  {
    PageRig<frmBO32> rig("Q5W3NEIP-BO32");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12"}));
    EXPECT_TRUE(p->lblOutputHold.visible);
    EXPECT_FALSE(p->lblOutputValid.visible);
    EXPECT_FALSE(p->ChkOutputValid[0].visible);
    EXPECT_FALSE(p->lblExtIndex[7].visible);
    EXPECT_TRUE(p->lblExtIndex[0].visible);
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "D1"}));
  }
  {
    // The hold setting is shown without its label, always disabled and never written.
    PageRig<frmBO32> rig("Q5W3ND-BO32A-I");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->CmbOutputHold.visible);
    EXPECT_FALSE(p->lblOutputHold.visible);
    EXPECT_FALSE(p->CmbOutputHold.enabled);
    p->Download();
    EXPECT_TRUE(rig.takeWire().empty());
  }
}

TEST(DiscreteBIO32, MaskRowByModel) {
  {
    PageRig<frmBIO32> rig("Q5Z3UECT-1-BIO32");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    rig.unit().item("02", "16").set("00A0");
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "G01", "I11", "G02", "I16"}));
    EXPECT_EQ(Checked(p->ChkOutputValid), "0000010100000000");
    EXPECT_TRUE(p->lblOutputValid.visible);
    EXPECT_TRUE(p->lblExtIndex[2].visible);
    EXPECT_EQ(p->CmbOutputHold.text(), "Hold");
    EXPECT_EQ(p->CmbConvSpeed.text(), "20ms");
    EXPECT_TRUE(p->CmbOutputHold.enabled);
    EXPECT_TRUE(p->CmbConvSpeed.enabled);
    p->CmbConvSpeed.index = 0;
    p->ChkOutputValid[15].value = true;
    p->Download();
    EXPECT_EQ(rig.takeWire(),
              (Lines{"G02", "I12", "D1", "G01", "I11", "D0", "G02", "I16", "D80A0"}));

    rig.word("21", "0x0100");
    rig.word("22", "0x0002");
    p->ReadingData();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I22"}));
    EXPECT_EQ(Colours(p->txtCData), "RRRRRRRRGRRRRRRR");
    EXPECT_EQ(Colours(p->txtChData), "RGRRRRRRRRRRRRRR");
  }
  {
    PageRig<frmBIO32> rig("Q5W3ND-BIO32C-I");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I12", "G01", "I11"}));
    EXPECT_FALSE(p->lblOutputValid.visible);
    EXPECT_FALSE(p->ChkOutputValid[0].visible);
    EXPECT_FALSE(p->CmbOutputHold.enabled);
    EXPECT_FALSE(p->CmbConvSpeed.enabled);
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11", "D3"}));
  }
}

TEST(DiscreteBIO16, OneWordTwoBlocks) {
  {
    PageRig<frmBIO16> rig("Q5W3NEIP-BIO16");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Init());
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I12", "G01", "I11"}));
    EXPECT_EQ(p->CmbOutputHold.items, kHold);
    EXPECT_EQ(p->CmbConvSpeed.items, kRates);
    p->CmbOutputHold.index = 0;
    p->CmbConvSpeed.index = 4;
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I12", "D0", "G01", "I11", "D4"}));

    rig.word("21", "0x00FF");
    p->ReadingData();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21"}));
    EXPECT_EQ(Colours(p->txtCData), "GGGGGGGG");
    EXPECT_EQ(Colours(p->txtChData), "RRRRRRRR");
    rig.word("21", "0x8102");
    p->ReadingData();
    EXPECT_EQ(Colours(p->txtCData), "RGRRRRRR");
    EXPECT_EQ(Colours(p->txtChData), "GRRRRRRG");
  }
  {
    PageRig<frmBIO16> rig("Q5W3UD-BIO16C-H");
    auto* p = rig.page;
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->CmbOutputHold.enabled);
    EXPECT_FALSE(p->CmbConvSpeed.enabled);
    p->Download();
    EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I11", "D3"}));
  }
}

TEST(DiscretePages, ControlNamesAndLiveWordsMove) {
  // Every page names its controls as the views and the command line know them.
  struct Names : ControlVisitor {
    Lines names;
    void combo(const q5::pages::ControlInfo& info_, ComboBox&) override {
      const std::string_view n = info_.name; names.emplace_back(n); }
    void check(const q5::pages::ControlInfo& info_, CheckBox&) override {
      const std::string_view n = info_.name; names.emplace_back(n); }
    void indicator(const q5::pages::ControlInfo& info_, Indicator&) override {
      const std::string_view n = info_.name; names.emplace_back(n); }
    void label(const q5::pages::ControlInfo& info_, Label&) override {
      const std::string_view n = info_.name; names.emplace_back(n); }
    bool has(std::string_view n) const { return std::find(names.begin(), names.end(), n) != names.end(); }
  };
  PageRig<frmBO32> bo32("Q5Z3UML3-BO32A-B");
  ASSERT_NE(bo32.page, nullptr);
  Names n;
  bo32.page->visitControls(n);
  for (const char* name : {"lblV_Unit", "CmbOutputHold", "ChkOutputValid(31)", "txtCData(31)",
                           "lblOutputValid", "lblExtIndex(7)"})
    EXPECT_TRUE(n.has(name)) << name;
  EXPECT_EQ(bo32.page->name(), "frmBO32");

  PageRig<frmBIO16> bio16("Q5W3NEIP-BIO16");
  ASSERT_NE(bio16.page, nullptr);
  Names m;
  bio16.page->visitControls(m);
  for (const char* name : {"txtCData(7)", "txtChData(7)", "CmbConvSpeed", "CmbOutputHold",
                           "lblInput", "Label1"})
    EXPECT_TRUE(m.has(name)) << name;

  // The simulated unit's live words change over time.
  PageRig<frmBI16> bi16("Q5W3NEIP-BI16");
  ASSERT_NE(bi16.page, nullptr);
  bi16.page->ReadingData();
  const std::string first = Colours(bi16.page->txtCData);
  bi16.clock.sleepUs(1'000'000);
  bi16.page->ReadingData();
  EXPECT_NE(Colours(bi16.page->txtCData), first);
}
