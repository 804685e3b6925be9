// The range check of the scaling block as the analog input pages apply it, and the
// number rules beneath it.
#include <gtest/gtest.h>

#include "AnalogInputTestRig.h"
#include "pages/ChannelScaling.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"

using q5::pages::frmAI4;

namespace {

// An AI4 page with every channel at sane values.
struct CheckRig {
  AnalogRig rig;
  frmAI4 page;
  explicit CheckRig(const std::string& model = "Q5T3NML3-6-AI4") : rig(model), page(rig.ctx) {
    page.PrepareControls();
    for (int i = 0; i < 4; ++i) {
      page.txtZScale[i].text = "0";
      page.txtFScale[i].text = "10000";
      page.txtBias[i].text = "0.00";
      page.txtGain[i].text = "1.0000";
      page.txtZBase[i].text = "-10.00";
      page.txtFBase[i].text = "10.00";
    }
  }
};

}  // namespace

TEST(AnalogInputCheck, ScalesRoundHalfToEvenAndAreWrittenBack) {
  CheckRig c;
  c.page.txtZScale[0].text = "12.5";
  c.page.txtFScale[0].text = "13.5";
  c.page.txtZScale[1].text = "-2.5";
  c.page.txtFScale[1].text = "9999.51";
  c.page.txtBias[2].text = "1.5";
  c.page.txtGain[2].text = "0.33333";
  EXPECT_TRUE(c.page.CheckData());
  EXPECT_EQ(c.page.txtZScale[0].text, "12");
  EXPECT_EQ(c.page.txtFScale[0].text, "14");
  EXPECT_EQ(c.page.txtZScale[1].text, "-2");
  EXPECT_EQ(c.page.txtFScale[1].text, "10000");
  // Bias and gain stay as typed.
  EXPECT_EQ(c.page.txtBias[2].text, "1.5");
  EXPECT_EQ(c.page.txtGain[2].text, "0.33333");
  EXPECT_TRUE(c.rig.take().empty());  // a check sends nothing
}

TEST(AnalogInputCheck, BiasGainAndScaleEnds) {
  struct Case {
    const char* field;
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"bias", "320", true},      {"bias", "-320", true},    {"bias", "320.01", false},
      {"bias", "-320.01", false}, {"gain", "3.2", true},     {"gain", "-3.2", true},
      {"gain", "3.21", false},    {"gain", "-3.2001", false}, {"zero", "32000", true},
      {"zero", "-32000", true},   {"zero", "32000.4", false}, {"full", "-32000.5", false},
      {"full", "32001", false},   {"zero", "1e3", false},    {"full", "1e999", false},
      {"zero", "abc", false},     {"zero", "", false},       {"gain", "1,5", false},
      {"bias", "-", false},       {"full", " 10 ", true},    {"zero", ".5", true},
      // The whole text is the number: a TAB, a byte above 0x7F, a word after it, or a
      // number longer than any the unit takes is none.
      {"bias", "5\t", false},     {"gain", "1\xC2\xA0", false}, {"full", "270 hello", false},
      {"zero", "00000000000000000000001", false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.field) + " = '" + k.text + "'");
    CheckRig c;
    auto& box = std::string(k.field) == "bias"   ? c.page.txtBias[1]
                : std::string(k.field) == "gain" ? c.page.txtGain[1]
                : std::string(k.field) == "zero" ? c.page.txtZScale[1]
                                                 : c.page.txtFScale[1];
    box.text = k.text;
    EXPECT_EQ(c.page.CheckData(), k.valid);
  }
}

TEST(AnalogInputCheck, NonNumericStopsBeforeAnyRewriteAndFailingChannelStopsTheWalk) {
  CheckRig c;
  c.page.txtZScale[0].text = "12.5";
  c.page.txtGain[3].text = "x";
  EXPECT_FALSE(c.page.CheckData());
  EXPECT_EQ(c.page.txtZScale[0].text, "12.5");  // nothing rewritten

  CheckRig d;
  d.page.txtZScale[0].text = "12.5";
  d.page.txtBias[1].text = "400";
  d.page.txtZScale[2].text = "7.5";
  EXPECT_FALSE(d.page.CheckData());
  EXPECT_EQ(d.page.txtZScale[0].text, "12");   // passed before the failing channel
  EXPECT_EQ(d.page.txtZScale[2].text, "7.5");  // after it: untouched
}

TEST(AnalogInputCheck, OnlyTheReportedChannelsAreChecked) {
  CheckRig c;
  c.rig.values.channelCount = 2;
  c.page.txtZScale[2].text = "";  // a channel the unit does not have
  EXPECT_TRUE(c.page.CheckData());
}

TEST(AnalogInputCheck, DataTypeLimitsPerChannel) {
  CheckRig c("Q5T3NML3-6-AINF4");
  c.page.CmbDataType[0].index = 0;  // Signed
  c.page.CmbDataType[1].index = 1;  // Unsigned
  c.page.txtZScale[0].text = "-32768";
  c.page.txtFScale[0].text = "32767";
  c.page.txtZScale[1].text = "0";
  c.page.txtFScale[1].text = "65535";
  EXPECT_TRUE(c.page.CheckData());
  c.page.txtFScale[0].text = "32767.5";  // rounds to 32768: outside after rounding
  EXPECT_FALSE(c.page.CheckData());
  c.page.txtFScale[0].text = "32767";
  c.page.txtZScale[1].text = "-1";
  EXPECT_FALSE(c.page.CheckData());
  c.page.txtZScale[1].text = "-0.4";  // -0.4 < 0: outside before rounding
  EXPECT_FALSE(c.page.CheckData());
  c.page.txtZScale[1].text = "65535.5";
  EXPECT_FALSE(c.page.CheckData());
}

TEST(AnalogInputCheck, NumberRules) {
  using q5::pages::IsNumeric;
  using q5::pages::RoundHalfEven;
  EXPECT_TRUE(IsNumeric("-12.50"));
  EXPECT_TRUE(IsNumeric("+3"));
  EXPECT_TRUE(IsNumeric("5."));
  EXPECT_FALSE(IsNumeric("2E-3"));  // an exponent is not a number as a person types it
  EXPECT_FALSE(IsNumeric("5e0"));
  EXPECT_TRUE(IsNumeric("  7 "));
  EXPECT_FALSE(IsNumeric("\t7"));
  EXPECT_FALSE(IsNumeric("7\n"));
  EXPECT_FALSE(IsNumeric(std::string(3000, '9')));
  EXPECT_FALSE(IsNumeric("."));
  EXPECT_FALSE(IsNumeric("1.2.3"));
  EXPECT_FALSE(IsNumeric("12a"));
  EXPECT_FALSE(IsNumeric("1e"));
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(q5::pages::NumericValue(" 1.25 "), 1.25);
}

TEST(AnalogInputCheck, ChannelItemTableFollowsTheModuleKind) {
  using q5::pages::ChannelItems;
  using q5::pages::LoadChannelItems;
  LoadChannelItems(3, 0);
  EXPECT_EQ(ChannelItems().entry[2].item,
            (std::array<std::string, 6>{"20", "21", "22", "23", "24", "25"}));
  LoadChannelItems(3, 16);  // the AC current module has bias and gain first
  EXPECT_EQ(ChannelItems().entry[2].item,
            (std::array<std::string, 6>{"22", "23", "20", "21", "-1", "-1"}));
  LoadChannelItems(3, 99);  // no page: left as it was
  EXPECT_EQ(ChannelItems().entry[2].item[0], "22");
  LoadChannelItems(33, 0);  // outside the table: nothing happens
  LoadChannelItems(32, 13);
  EXPECT_EQ(ChannelItems().entry[31].item[4], "28");
  EXPECT_EQ(ChannelItems().entry[31].item[5], "50");
}
