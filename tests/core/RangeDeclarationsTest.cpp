// A declared range is the page's own check: over every page kind of the catalogue, each
// setting that declares a range is taken at both ends and refused one step outside them,
// and the refusal names that control and its channel. Range boxes raised by the pages'
// buttons and by "Change Value" carry the control they concern.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "PageKindModels.h"
#include "SessionTestRig.h"
#include "pages/ControlByName.h"
#include "pages/Controls.h"
#include "pages/frmChangeValue.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"
#include "pages/frmSG2.h"

namespace {

using q5::pages::ControlInfo;
using q5::pages::TextBox;

struct Box {
  ControlInfo info;
  TextBox* box = nullptr;
};

class Boxes : public q5::pages::ControlVisitor {
 public:
  std::vector<Box> all;
  void text(const ControlInfo& i, TextBox& c) override { all.push_back({i, &c}); }
};

// The smallest step the declaration speaks of: its places, or those its ends are written
// with when the check takes any number of places.
int StepPlaces(const ControlInfo& i) {
  if (i.decimals >= 0) return i.decimals;
  auto places = [](double v) {
    for (int p = 0; p < 6; ++p) {
      const double scaled = v * std::pow(10.0, p);
      if (std::fabs(scaled - std::round(scaled)) < 1e-6) return p;
    }
    return 6;
  };
  return std::max(places(i.min), places(i.max));
}

std::string Format(double v, int places) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", places, v);
  return text;
}

// A field at an end of its range, and the field a rule across fields may then stop at.
const std::set<std::pair<std::string, std::string>> kAcrossFields = {
    {"txtFreq", "txtDFreq"}, {"txtFreq", "txtFreq"}, {"txtDFreq", "txtDFreq"},
    {"txtMin", "txtMax"},    {"txtMax", "txtMax"},   {"txtMin", "txtReset"},
    {"txtMax", "txtReset"},  {"txtMin", "txtA1PM"},  {"txtMax", "txtA1PM"},
    {"txtMin", "txtA2PM"},   {"txtMax", "txtA2PM"},  {"txtMin", "txtA1PH"},
    {"txtMax", "txtA1PH"},   {"txtMin", "txtA2PH"},  {"txtMax", "txtA2PH"}};

struct Outcome {
  bool refused = false;
  std::string control;
  std::string why;
};

// The page's check of one value typed into the box: CheckData, or the button that checks
// the box's range (its "Data Range Error" box and the cause it carries).
Outcome Try(SessionRig& rig, q5::pages::ModulePage& page, const Box& b, const std::string& value) {
  b.box->text = value;
  if (b.info.checkedBy.empty()) {
    const bool ok = page.CheckData();
    return {!ok, page.lastCheckFailure().control, page.lastCheckFailure().why};
  }
  rig.dialogs.messages.clear();
  rig.dialogs.causes.clear();
  page.Press(b.info.checkedBy);
  for (std::size_t k = 0; k < rig.dialogs.messages.size(); ++k)
    if (rig.dialogs.messages[k].caption == "Data Range Error")
      // The reason, in the cause or (when the box's text gives it) in the text.
      return {true, rig.dialogs.causes[k].control,
              rig.dialogs.causes[k].why.empty() ? rig.dialogs.messages[k].text
                                                : rig.dialogs.causes[k].why};
  return {};
}

TEST(RangeDeclarations, EveryDeclaredRangeIsTakenAtItsEndsAndRefusedJustOutside) {
  std::set<int> kinds, kindsWithRanges;
  int swept = 0;
  for (const std::string& model : EveryPageKindModel()) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    if (!q5::session::IsPageKind(rig.session.values.pageKind)) continue;
    q5::pages::ModulePage* page = rig.session.page();
    ASSERT_NE(page, nullptr);
    kinds.insert(page->pageKind());

    Boxes boxes;
    page->visitControls(boxes);
    std::map<TextBox*, std::string> snapshot;
    for (const Box& b : boxes.all) snapshot[b.box] = b.box->text;
    auto restore = [&] {
      for (auto& [box, text] : snapshot) box->text = text;
    };
    // The page as the unit filled it passes its own check.
    ASSERT_TRUE(page->CheckData())
        << page->lastCheckFailure().control << ": " << page->lastCheckFailure().why;
    restore();

    for (const Box& b : boxes.all) {
      const ControlInfo& i = b.info;
      if (!i.ranged) continue;
      kindsWithRanges.insert(page->pageKind());
      if (!b.box->visible || !b.box->enabled || !i.editable()) continue;
      SCOPED_TRACE(i.name + " " + q5::pages::RangeText(i));
      ++swept;
      const int places = StepPlaces(i);
      const double step = std::pow(10.0, -places);
      for (double end : {i.min, i.max}) {
        restore();
        const Outcome o = Try(rig, *page, b, Format(end, places));
        // Taken; or stopped by one of the page's rules across fields (the dither against
        // the PWM frequency, the pulse counter's positions within its linear limits).
        if (!o.refused) continue;
        auto base = [](const std::string& n) { return n.substr(0, n.find('(')); };
        EXPECT_TRUE(kAcrossFields.count({base(i.name), base(o.control)}))
            << "end " << end << " refused: " << o.control << ": " << o.why;
        EXPECT_EQ(o.why.find("allowed " + q5::pages::RangeText(i)), std::string::npos) << o.why;
      }
      for (double outside : {i.min - step, i.max + step}) {
        restore();
        const Outcome o = Try(rig, *page, b, Format(outside, places));
        EXPECT_TRUE(o.refused) << Format(outside, places) << " taken";
        EXPECT_EQ(o.control, i.name) << o.why;
        if (i.channel >= 0) {
          EXPECT_NE(o.why.find(i.channelHeading), std::string::npos) << o.why;
        }
      }
      // The generic reading of the declaration agrees at the ends and outside them.
      EXPECT_TRUE(q5::pages::InDeclaredRange(i, Format(i.min, places)));
      EXPECT_TRUE(q5::pages::InDeclaredRange(i, Format(i.max, places)));
      EXPECT_FALSE(q5::pages::InDeclaredRange(i, Format(i.max + step, places)));
      EXPECT_FALSE(q5::pages::InDeclaredRange(i, Format(i.min - step, places)));
      restore();
    }
  }
  for (int k = 0; k <= 21; ++k) EXPECT_TRUE(kinds.count(k)) << "page kind " << k << " not swept";
  // Every page with numbers to check declares ranges; the discrete pages have none.
  EXPECT_EQ(kindsWithRanges,
            (std::set<int>{0, 1, 2, 3, 4, 7, 10, 11, 12, 13, 14, 15, 16, 17, 19, 21}));
  EXPECT_GT(swept, 300);
}

// The reading of a declaration: places as the value has them, ranges checked after
// rounding where the check rounds, and a text that is not a number refused.
TEST(RangeDeclarations, DeclaredRangeReadsPlacesAndRoundingAsTheChecksDo) {
  using q5::pages::Setting;
  const ControlInfo span = Setting("txtSpan", "Span [deg]").range(60, 360, 2);
  EXPECT_TRUE(q5::pages::InDeclaredRange(span, " 60.00 "));
  EXPECT_TRUE(q5::pages::InDeclaredRange(span, "359.990"));  // a trailing zero is no place
  EXPECT_FALSE(q5::pages::InDeclaredRange(span, "359.991"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(span, "360.01"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(span, ""));
  EXPECT_FALSE(q5::pages::InDeclaredRange(span, "270 deg"));
  EXPECT_EQ(q5::pages::RangeText(span), "60 to 360");
  EXPECT_EQ(q5::pages::OutOfRangeReason(span, "59"),
            "Span [deg] is \"59\"; allowed 60 to 360, at most 2 decimals.");

  // Whole after rounding, ties to even: 9000.5 rounds to 9000, 8999.5 to 9000 as well.
  const ControlInfo duty = Setting("txtMaxDuty(3)", "Max Duty").ch(3).roundedRange(0, 9000);
  EXPECT_TRUE(q5::pages::InDeclaredRange(duty, "9000.5"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(duty, "9000.51"));
  EXPECT_TRUE(q5::pages::InDeclaredRange(duty, "-0.5"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(duty, "-0.51"));
  EXPECT_EQ(q5::pages::OutOfRangeReason(duty, "9001"),
            "Max Duty of CH 3 is \"9001\"; allowed 0 to 9000.");

  // In hundredths: 115.004 passes, 115.006 does not.
  const ControlInfo clear = Setting("txtOutputClearValue(0)").roundedRange(-15, 115, 2);
  EXPECT_TRUE(q5::pages::InDeclaredRange(clear, "115.004"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(clear, "115.006"));
  EXPECT_TRUE(q5::pages::InDeclaredRange(clear, "-15.005"));  // ties to even: -1500

  // Whole numbers: "1.0" is the number 1, "1.5" is not whole.
  const ControlInfo flag = Setting("txtOP(1)", "Command").ch(1).range(0, 1, 0);
  EXPECT_TRUE(q5::pages::InDeclaredRange(flag, "1.0"));
  EXPECT_FALSE(q5::pages::InDeclaredRange(flag, "0.5"));
  EXPECT_EQ(q5::pages::OutOfRangeReason(flag, "2"),
            "Command of CH 1 is \"2\"; allowed 0 to 1, a whole number.");

  // Without a declared range every text is taken (the page's check decides alone).
  EXPECT_TRUE(q5::pages::InDeclaredRange(Setting("txtReset(0)"), "anything"));
  EXPECT_EQ(q5::pages::RangeText(Setting("txtReset(0)")), "");
}

// The Download's "Data Range Error" names the field the page's check stopped at, on pages
// with and without the shared scaling block; nothing is written.
TEST(RangeDeclarations, DownloadRangeBoxCarriesTheFieldOfEveryPage) {
  struct Case {
    const char* model;
    const char* control;
    const char* value;
    const char* heading;  // in the reason
  };
  for (const Case& c : {Case{"Q5T3NML3-6-AI4", "txtBias(2)", "320.01", "CH 2"},
                        Case{"Q5T3NML3-6-EC4", "txtMaxCrnt(1)", "999", "CH 1"},
                        Case{"Q5T3NML3-6-PI2", "txtEL(1)", "3", "CH 1"},
                        // Below the linear limits and below a ring's 0 alike.
                        Case{"Q5T3NML3-6-PI2", "txtReset(0)", "-2100000001", "CH 0"},
                        Case{"Q5Z3UECT-1-PI8A", "txtOver(0)", "2", "CH 0"},
                        Case{"Q5V3PM-BI32", "txtFScale(5)", "0", "CH 5"},
                        Case{"Q5V3UM-AC32", "txtGain(2)", "0.05", "CH 2"},
                        Case{"Q5T3NML3-6-SG2A", "txtZBase(1)", "9.9", "CH 1"},
                        Case{"Q5T3NML3-6-LNRIO1", "txtBiasIn", "-321", "input"},
                        Case{"Q5T3NML3-6-LNRIO1", "txtSpan", "59", "Span"},
                        Case{"Q5T3NML3-6-OCF4", "txtOutputClearValue(3)", "115.006", "CH 3"}}) {
    SCOPED_TRACE(std::string(c.model) + " " + c.control);
    SessionRig rig(c.model);
    rig.connect();
    ASSERT_NE(rig.session.page(), nullptr);
    ASSERT_EQ(q5::pages::SetPageControl(*rig.session.page(), c.control, c.value), "");
    rig.dialogs.clear();
    rig.takeWire();
    rig.session.btnDownload_Click();
    ASSERT_FALSE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.dialogs.messages[0],
              (TestDialogs::Message{"Data Error \r\nCheck data range.", "Data Range Error",
                                    q5::ui::Icon::Error}));
    EXPECT_EQ(rig.dialogs.causes[0].kind, q5::ui::FailureKind::DataRange);
    EXPECT_EQ(rig.dialogs.causes[0].control, c.control);
    EXPECT_NE(rig.dialogs.causes[0].why.find(c.heading), std::string::npos)
        << rig.dialogs.causes[0].why;
    EXPECT_NE(rig.dialogs.causes[0].why.find(c.value), std::string::npos);
    for (const std::string& line : rig.takeWire()) EXPECT_NE(line.rfind("D", 0), 0u) << line;
  }
}

// The boxes the pages raise themselves (a button's own check, a box left, a value typed)
// and the "Change Value" dialog keep their texts and carry the control they concern.
TEST(RangeDeclarations, PageRangeBoxesCarryTheirControl) {
  struct Expect {
    std::string text;
    std::string control;
  };
  auto only = [](SessionRig& rig, const Expect& e) {
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0],
              (TestDialogs::Message{e.text, "Data Range Error", q5::ui::Icon::Error}));
    EXPECT_EQ(rig.dialogs.causes[0].kind, q5::ui::FailureKind::DataRange);
    EXPECT_EQ(rig.dialogs.causes[0].control, e.control);
    rig.dialogs.clear();
  };
  {
    SessionRig rig("Q5T3NML3-6-SG2A");
    rig.connect();
    auto& page = dynamic_cast<q5::pages::frmSG2&>(*rig.session.page());
    rig.dialogs.clear();
    page.txtAdjGain[1].text = "-3.3";
    page.Press("cmdGainApplyCH1");
    only(rig, {"Data Error \r\nCheck data range.\r\nGain adjustment of CH 1 is \"-3.3\": enter a "
               "number from -3.2 to 3.2. Nothing was sent.",
               "txtAdjGain(1)"});
    page.txtAdjscale[0].text = "32001";
    page.Press("cmdApplyCH0");
    only(rig, {"Data Error \r\nCheck data range.\r\nMonitor Output of CH 0 is \"32001\": enter a "
               "number from 0 to 32000. Nothing was sent.",
               "txtAdjscale(0)"});
    page.txtAdjscale[1].text = "-32001";
    page.Press("cmdOutputCH1");
    only(rig, {"Data Error \r\nCheck data range.\r\nMonitor Output of CH 1 is \"-32001\": enter a "
               "number from -32000 to 32000. Nothing was sent.",
               "txtAdjscale(1)"});
  }
  {
    SessionRig rig("Q5Z3UECT-1-PI8A");
    rig.connect();
    auto& page = dynamic_cast<q5::pages::frmPI8&>(*rig.session.page());
    rig.dialogs.clear();
    page.txtPreset[3].text = "4294967296";
    page.Press("cmdPreset(3)");
    only(rig, {"Data Error \r\nCheck data range.", "txtPreset(3)"});
  }
  {
    SessionRig rig("Q5V3PM-BI32");
    rig.connect();
    auto& page = dynamic_cast<q5::pages::frmPI32&>(*rig.session.page());
    rig.dialogs.clear();
    page.txtPreset[30].text = "-1";
    page.Press("cmdPreset(30)");
    only(rig, {"Please enter 0 to 4294967295.\r\nCheck data range.", "txtPreset(30)"});
    page.txtOver[9].text = "2";
    page.LostFocus("txtOver(9)");
    only(rig, {"Please enter 0 to 1.\r\nCheck data range.", "txtOver(9)"});
  }
  {
    SessionRig rig("Q5T3NML3-6-PI2");
    rig.connect();
    auto& page = dynamic_cast<q5::pages::frmPI2&>(*rig.session.page());
    // A ring count (the second position data type) takes setpoints 1 to 4294967294 only.
    ASSERT_EQ(q5::pages::SetPageControl(page, "CmbPositionDataType(1)", "#1"), "");
    rig.dialogs.clear();
    ASSERT_EQ(q5::pages::SetPageControl(page, "txtA2PM(1)", "0"), "");
    only(rig, {"Data Error \r\nCheck data range.", "txtA2PM(1)"});
  }
  {
    SessionRig rig("Q5T3NML3-6-EC4");
    rig.connect();
    q5::pages::frmChangeValue dialog;
    dialog.Load(*rig.session.page(), 4);
    dialog.txtParData[2].text = "32000.1";
    rig.dialogs.clear();
    EXPECT_FALSE(dialog.cmdSet1_Click(rig.dialogs));
    only(rig, {"Data Error \r\nCheck data range.\r\nCH 2 is \"32000.1\": enter a number from "
               "-32000 to 32000. Nothing was sent.",
               "frmChangeValue.txtParData(2)"});
  }
}

}  // namespace
