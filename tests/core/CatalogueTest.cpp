#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnalogInputTestRig.h"
#include "catalogue/Catalogue.h"
#include "pages/ModulePage.h"
#include "pages/PageRegistry.h"

using namespace q5::catalogue;
using q5::pages::PageName;

namespace {

struct Known {
  const char* model;
  const char* part;
  int moduleKind;
  int pageKind;
  int network;
};

// Every model string the tool names, with its classification.
const std::vector<Known> kKnownModels = {
    {"Q5W3UD-BI16", "BI16", 5, 5, 1},
    {"Q5W3UD-BI16A-H", "BI16", 5, 5, 1},
    {"Q5W3UD-BO16", "BO16", 6, 6, 1},
    {"Q5W3UD-BO16A-H", "BO16", 6, 6, 1},
    {"Q5W3UD-BIO16", "BIO16", 20, 20, 1},
    {"Q5W3UD-BIO16C-H", "BIO16", 20, 20, 1},
    {"Q5W3ND-BI32", "BI32", 8, 8, 1},
    {"Q5W3ND-BI32A-I", "BI32", 8, 8, 1},
    {"Q5W3ND-BO32", "BO32", 9, 9, 1},
    {"Q5W3ND-BO32A-I", "BO32", 9, 9, 1},
    {"Q5W3ND-BIO32", "BIO32", 18, 18, 1},
    {"Q5W3ND-BIO32C-I", "BIO32", 18, 18, 1},
    {"Q5W3NEIP-BI16", "BI16", 5, 5, 4},
    {"Q5W3NEIP-BI16A", "BI16A", 5, 5, 4},
    {"Q5W3NEIP-BO16", "BO16", 6, 6, 4},
    {"Q5W3NEIP-BO16A", "BO16A", 6, 6, 4},
    {"Q5W3NEIP-BIO16", "BIO16", 20, 20, 4},
    {"Q5W3NEIP-BIO16B", "BIO16B", 20, 20, 4},
    {"Q5W3NEIP-BI32", "BI32", 8, 8, 4},
    {"Q5W3NEIP-BI32A", "BI32A", 8, 8, 4},
    {"Q5W3NEIP-BO32", "BO32", 9, 9, 4},
    {"Q5W3NEIP-BO32A", "BO32A", 9, 9, 4},
    {"Q5W3NML3-D-BIO32A", "D-BIO32A", 99, 99, 99},
    {"Q5W3NML3-D-BIO32B", "D-BIO32B", 99, 99, 99},
    {"Q5W3NML3-E-EC4A", "EC4A", 15, 15, 99},
    {"Q5T3PM-BI16", "BI16", 21, 21, 7},
    {"Q5T3PML3-6-BI16", "BI16", 5, 5, 99},
    {"Q5T3PML3-B-BI16", "BI16", 5, 5, 99},
    {"Q5T3PML3-6-BO16A", "BO16A", 6, 6, 99},
    {"Q5T3NEIP-6-BI16", "BI16", 5, 5, 4},
    {"Q5T3NEIP-6-BO16", "BO16", 6, 6, 4},
    {"Q5T3NH-A-AIF4", "AIF4", 0, 0, 99},
    {"Q5T3NML-6-AIF4", "AIF4", 0, 0, 99},
    {"Q5T3NML3-6-AIF4", "AIF4", 0, 0, 99},
    {"Q5T3NML3-6-AI4", "AI4", 0, 0, 99},
    {"Q5T3NML3-6-AINF4", "AINF4", 0, 0, 99},
    {"Q5T3NH-A-OVF4", "OVF4", 12, 12, 99},
    {"Q5T3NML-6-OVF4", "OVF4", 12, 12, 99},
    {"Q5T3NML3-6-OVF4", "OVF4", 12, 12, 99},
    {"Q5T3NML-6-AIF8N", "AIF8N", 17, 17, 99},
    {"Q5T3NML3-6-SG2", "SG2", 13, 13, 99},
    {"Q5T3NML3-6-SG2A", "SG2A", 13, 13, 99},
    {"Q5T3NML3-6-PI1", "PI1", 11, 11, 99},
    {"Q5T3NML3-6-PI1/A", "PI1/A", 11, 11, 99},
    {"Q5T3NML3-6-LNRIO1", "LNRIO1", 14, 14, 99},
    {"Q5T3NML3-6-TC4", "TC4", 1, 1, 99},
    {"Q5T3NML3-6-OCF4", "OCF4", 10, 10, 99},
    {"Q5T3SECT-SG2-A/F1", "SG2", 13, 13, 99},
    {"Q5T3SECT-SG2-A/F2K", "SG2", 13, 13, 99},
    {"Q5Z3UCIE-SG2-9/F1", "SG2", 13, 13, 6},
    {"Q5Z3UCIE-SG2-9/F2K", "SG2", 13, 13, 6},
    {"Q5Z3UECT-1-BI32A", "BI32A", 8, 8, 99},
    {"Q5Z3UECT-1-BO32A", "BO32A", 9, 9, 99},
    {"Q5Z3UECT-1-BIO32", "BIO32", 18, 18, 99},
    {"Q5Z3UECT-1-BIO32C", "BIO32C", 18, 18, 99},
    {"Q5Z3UECT-1-PI8A", "PI8A", 19, 19, 99},
    {"Q5Z3UECT-1-AIF8N", "AIF8N", 17, 17, 99},
    {"Q5Z3UECT-1-AIMF8N", "AIMF8N", 17, 17, 99},
    {"Q5Z3UECT-1-OVF4", "OVF4", 12, 12, 99},
    {"Q5Z3UEIP-BIO32", "BIO32", 18, 18, 4},
    {"Q5Z3UEIP-BIO32C", "BIO32C", 18, 18, 4},
    {"Q5Z3UML3-BI32", "BI32", 8, 8, 99},
    {"Q5Z3UML3-BI32A-B", "BI32", 8, 8, 99},
    {"Q5Z3UML3-BO32", "BO32", 9, 9, 99},
    {"Q5Z3UML3-BO32A-B", "BO32", 9, 9, 99},
    {"Q5Z3UML3-BIO32", "BIO32", 18, 18, 99},
    {"Q5Z3UML3-BIO32C-B", "BIO32", 18, 18, 99},
    {"Q5V3UM-AC32", "AC32", 16, 16, 7},
    {"Q5V3PE-6-BO16", "BO16", 6, 6, 4},
    {"Q5V3PM-BI32", "BI32", 21, 21, 7},
    {"Q5V3PML3-6-BI32", "BI32", 8, 99, 99},
    {"Q5V3PML3-6-BO32A", "BO32A", 9, 99, 99},
    {"Q5V3PML3-6-BO32B", "BO32B", 9, 99, 99},
    {"Q5V3PML3-6-BIO32A", "BIO32A", 18, 99, 99},
    {"Q5V3PML3-6-BIO32B", "BIO32B", 18, 99, 99},
    {"Q5V3SML3-E-BIOF64A", "BIOF64A", 99, 99, 99},
    {"Q5V3SML3-E-BIOF64B", "BIOF64B", 99, 99, 99},
};

}  // namespace

// Classifies each model the way Upload does: module part, module kind with the pulse
// override, page kind, network type.
TEST(Catalogue, EveryKnownModelIsClassified) {
  for (const Known& k : kKnownModels) {
    SCOPED_TRACE(k.model);
    EXPECT_EQ(ModulePartOf(k.model), k.part);
    std::int16_t kind = -1;
    ModuleKindOf(ModulePartOf(k.model), kind);
    PulseOverride(k.model, kind);
    EXPECT_EQ(kind, k.moduleKind);
    EXPECT_EQ(PageKindOf(k.model, kind), k.pageKind);
    std::int16_t net = -1;
    NetworkButton button;
    NetworkTypeOf(k.model, net, button);
    EXPECT_EQ(net, k.network);
    EXPECT_EQ(button.visible, k.network != 99);
    EXPECT_TRUE(IsSupportedSeries(k.model));
  }
}

TEST(Catalogue, NetworkButtonCaptionsAndFonts) {
  std::int16_t net = -1;
  NetworkButton button;
  NetworkTypeOf("Q5Z3UCIE-SG2-9/F1", net, button);
  EXPECT_EQ(button.caption, "CC-Link IE Field");
  EXPECT_EQ(button.fontSize, 8);
  NetworkTypeOf("Q5W3UD-BO16A-H", net, button);
  EXPECT_EQ(net, 1);
  EXPECT_EQ(button.caption, "DeviceNet");
  EXPECT_EQ(button.fontSize, 10);
  NetworkTypeOf("Q5V3PE-6-BO16", net, button);
  EXPECT_EQ(button.caption, "Ethernet");
  EXPECT_EQ(button.fontSize, 9);
  NetworkTypeOf("Q5T3PM-BI16", net, button);
  EXPECT_EQ(button.caption, "Modbus");
  // Outside the table: hidden, empty caption, font size left as it was.
  NetworkTypeOf("Q5T3NML3-6-AI4", net, button);
  EXPECT_EQ(net, 99);
  EXPECT_FALSE(button.visible);
  EXPECT_EQ(button.caption, "");
  EXPECT_EQ(button.fontSize, 10);
  NetworkTypeOf("", net, button);
  EXPECT_EQ(net, 99);
}

TEST(Catalogue, ModuleKindKeepsPreviousWhenLettersMatchNoRule) {
  std::int16_t kind = -1;
  ModuleKindOf(ModulePartOf("Q5T3NML3-6-AI4"), kind);
  ASSERT_EQ(kind, 0);
  ModuleKindOf("XX4", kind);  // position 3 is "4", letters in no rule
  EXPECT_EQ(kind, 0);
  ModuleKindOf("ZZ32", kind);  // first test holds, letters in no rule
  EXPECT_EQ(kind, 0);
  ModuleKindOf("QQ", kind);  // no position test holds
  EXPECT_EQ(kind, 99);
  ModuleKindOf("", kind);
  EXPECT_EQ(kind, 99);
}

TEST(Catalogue, ModulePartEdgeCases) {
  EXPECT_EQ(ModulePartOf(""), "");
  EXPECT_EQ(ModulePartOf("Q5W3NEIP-BO16A"), "BO16A");
  // "-B-" right after the first dash wins over the "-B" ending.
  EXPECT_EQ(ModulePartOf("Q5T3PML3-B-BI16"), "BI16");
  // Too short to drop three characters after the dash: nothing, and no crash.
  EXPECT_EQ(ModulePartOf("Q5-H"), "");
  EXPECT_EQ(ModulePartOf("NONE"), "NONE");
}

TEST(Catalogue, PulseOverrideOnlyForDiscreteInputKinds) {
  std::int16_t kind = 6;
  PulseOverride("Q5T3PM-BO16", kind);
  EXPECT_EQ(kind, 6);
  kind = 8;
  PulseOverride("Q5V3PM-BI32", kind);
  EXPECT_EQ(kind, 21);
  kind = 5;
  PulseOverride("Q5T3PML3-6-BI16", kind);  // "Q5T3PML" is not "Q5T3PM-"
  EXPECT_EQ(kind, 5);
  kind = 5;
  PulseOverride("Q5", kind);
  EXPECT_EQ(kind, 5);
}

TEST(Catalogue, SupportedSeries) {
  EXPECT_TRUE(IsSupportedSeries("Q5Z3UECT-1-OVF4"));
  EXPECT_FALSE(IsSupportedSeries("Q5X3UECT-1-OVF4"));
  EXPECT_FALSE(IsSupportedSeries("Q5T"));
  EXPECT_FALSE(IsSupportedSeries("NONE"));
}

TEST(ModelFlags, FirstMatchWinsAndOnlyItsFlagIsSet) {
  ModelFlags f;
  f.SetModelFlags("Q5T3NML3-6-AI4");
  for (int n = 1; n <= kFlagCount; ++n) EXPECT_EQ(f.get(n), n == 1) << n;
  EXPECT_TRUE(f["Q5T3NML3-6-AI4"]);

  // Prefix entries: "Q5W3NEIP-BI16A" begins with "Q5W3NEIP-BI16" (flag 16) before
  // "Q5W3NEIP-BIO16" could be tested; "Q5W3NEIP-BIO16B" does not begin with "...-BI16".
  f.SetModelFlags("Q5W3NEIP-BI16A");
  EXPECT_TRUE(f.get(16));
  EXPECT_FALSE(f.get(18));
  f.SetModelFlags("Q5W3NEIP-BIO16B");
  EXPECT_FALSE(f.get(16));
  EXPECT_TRUE(f.get(18));

  // Exact entries do not match longer models.
  f.SetModelFlags("Q5T3NML3-6-AI4X");
  for (int n = 1; n <= kFlagCount; ++n) EXPECT_FALSE(f.get(n)) << n;

  // "Q5T3NML3-6-AINF4" is tested last, as a prefix.
  f.SetModelFlags("Q5T3NML3-6-AINF4");
  EXPECT_TRUE(f.get(44));
  EXPECT_TRUE(f["Q5T3NML3-6-AINF4"]);
}

TEST(ModelFlags, PI1AVariantSetsBothFlags) {
  ModelFlags f;
  f.SetModelFlags("Q5T3NML3-6-PI1/A");
  EXPECT_TRUE(f["Q5T3NML3-6-PI1"]);
  EXPECT_TRUE(f["Q5T3NML3-6-PI1/A"]);
  f.SetModelFlags("Q5T3NML3-6-PI1");
  EXPECT_TRUE(f.get(6));
  EXPECT_FALSE(f.get(7));
}

TEST(ModelFlags, SG2F1FlagSurvivesSetButNotClear) {
  ModelFlags f;
  f.set(kSG2F1Flag, true);
  EXPECT_EQ(FlagNumber("SG2/F1"), 45);
  f.SetModelFlags("Q5T3NML3-6-SG2");
  EXPECT_TRUE(f["SG2/F1"]);
  f.SetModelFlags("Q5T3NML3-6-SG2A");
  EXPECT_TRUE(f.get(8));
  EXPECT_TRUE(f.get(45));
  // A model string equal to the flag's name is not a model entry.
  f.set(45, false);
  f.SetModelFlags("SG2/F1");
  EXPECT_FALSE(f.get(45));
  f.set(45, true);
  f.ClearModelFlags();
  EXPECT_EQ(f, ModelFlags{});
}

TEST(ModelFlags, AddressingByNumberAndString) {
  EXPECT_EQ(FlagModel(1), "Q5T3NML3-6-AI4");
  EXPECT_EQ(FlagModel(44), "Q5T3NML3-6-AINF4");
  EXPECT_EQ(FlagModel(45), "SG2/F1");
  EXPECT_EQ(FlagModel(0), "");
  EXPECT_EQ(FlagModel(46), "");
  EXPECT_EQ(FlagNumber("Q5Z3UCIE-SG2-9/F1"), 39);
  EXPECT_EQ(FlagNumber("nothing"), 0);
  EXPECT_EQ(FlagNumber(""), 0);
  ModelFlags f;
  f.set("nothing", true);  // ignored
  f.set(0, true);
  f.set(46, true);
  EXPECT_EQ(f, ModelFlags{});
  EXPECT_FALSE(f["nothing"]);
}

TEST(Catalogue, PageAndNetworkNames) {
  EXPECT_EQ(PageName(0), "frmAI4");
  EXPECT_EQ(PageName(11), "frmPI2");
  EXPECT_EQ(PageName(17), "frmAI8");
  EXPECT_EQ(PageName(21), "frmPI32");
  EXPECT_EQ(PageName(22), "frmNONE");
  EXPECT_EQ(PageName(99), "frmNONE");
  EXPECT_EQ(PageName(-1), "frmNONE");
  EXPECT_EQ(NetworkName(1), "DeviceNet");
  EXPECT_EQ(NetworkName(6), "CC-Link IE Field");
  EXPECT_EQ(NetworkName(99), "none");
}

// The page factory and the catalogue agree: every kind the catalogue names a page for gets
// that page, every other number (99 and the unknown ones) the placeholder; and every known
// model with a page kind other than 99 has its page.
TEST(Catalogue, EveryPageKindHasItsPageAndOnlyTheOthersGetThePlaceholder) {
  AnalogRig rig("Q5T3NML3-6-AI4");
  int pages = 0;
  for (int kind = -2; kind <= 120; ++kind) {
    SCOPED_TRACE(kind);
    const auto page = q5::pages::CreatePage(kind, rig.ctx);
    if (PageName(kind) == "frmNONE") {
      EXPECT_EQ(page, nullptr) << page->name();
      continue;
    }
    ++pages;
    ASSERT_NE(page, nullptr) << PageName(kind) << " is shown as the placeholder";
    EXPECT_EQ(page->name(), PageName(kind));
    EXPECT_EQ(page->pageKind(), kind);
  }
  EXPECT_EQ(pages, 22);
  EXPECT_EQ(q5::pages::CreatePage(kNoPage, rig.ctx), nullptr);
  EXPECT_EQ(q5::pages::CreatePage(kNotIdentified, rig.ctx), nullptr);

  for (const Known& k : kKnownModels) {
    SCOPED_TRACE(k.model);
    const auto page = q5::pages::CreatePage(k.pageKind, rig.ctx);
    EXPECT_EQ(page != nullptr, k.pageKind != kNoPage);
  }
}
