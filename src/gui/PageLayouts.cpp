// The arrangement of each module page; the network windows' are in PageLayouts_Network.cpp.
#include <map>

#include "PageLayout.h"

namespace q5::gui::layout {

// The pulse input, PWM output and AC current input pages (PageLayouts_PulsePwmAc.cpp).
void AddPulsePwmAcLayouts(std::map<std::string, PageLayout, std::less<>>& m);

// PageLayouts_LoadCell.cpp
void AddLoadCellLayouts(std::map<std::string, PageLayout, std::less<>>& m);

namespace {

using Row = Points::Row;

Fields TypeRow() { return Fields{{{"Type", "", "lblV_Unit"}}}; }

std::vector<Channels::Row> ScalingRows() {
  return {{"txtZScale", "lblZScale", "", ""}, {"txtFScale", "lblFScale", "", ""},
          {"txtBias", "", "", ""},            {"txtGain", "", "", ""},
          {"txtZBase", "", "lblZBase_Unit", ""}, {"txtFBase", "", "lblFBase_Unit", ""}};
}

std::map<std::string, PageLayout, std::less<>> Build() {
  std::map<std::string, PageLayout, std::less<>> m;
  AddLoadCellLayouts(m);

  m["frmBI16"] = PageLayout{
      {TypeRow(), Points{"fraValue", 16, {Row{"", "lblExtIndex(0)", "", 0}, Row{"", "", "txtCData", 0}}},
       Fields{{{"", "lblConvSpeed2", "CmbConvSpeed"}}}},
      {}, {}};

  m["frmBO16"] = PageLayout{
      {TypeRow(), Points{"fraValue", 16, {Row{"", "lblExtIndex(0)", "", 0}, Row{"", "", "txtCData", 0}}},
       Fields{{{"", "lblConvSpeed2", "CmbOutputHold"}}}},
      {}, {}};

  m["frmBI32"] = PageLayout{
      {TypeRow(),
       Points{"fraValue",
              16,
              {Row{"", "lblExtIndex(0)", "", 0}, Row{"", "", "txtCData", 0},
               Row{"", "lblExtIndex(1)", "", 0, "lblExtIndex(2)"}, Row{"", "", "txtChData", 0}}},
       Fields{{{"", "lblConvSpeed", "CmbConvSpeed"}}}},
      {}, {}};

  m["frmBO32"] = PageLayout{
      {TypeRow(),
       Points{"fraValue",
              16,
              {Row{"", "lblExtIndex(0)", "", 0}, Row{"", "", "txtCData", 0},
               Row{"", "lblExtIndex(1)", "", 0, "lblExtIndex(3)"}, Row{"", "", "txtCData", 16}}},
       Fields{{{"", "lblOutputHold", "CmbOutputHold"}}},
       Points{"",
              16,
              {Row{"lblOutputValid", "", "", 0}, Row{"", "lblExtIndex(4)", "", 0},
               Row{"", "", "ChkOutputValid", 0}, Row{"", "lblExtIndex(5)", "", 0, "lblExtIndex(7)"},
               Row{"", "", "ChkOutputValid", 16}}}},
      {}, {}, {"lblExtIndex(2)", "lblExtIndex(6)"}};

  m["frmBIO32"] = PageLayout{
      {TypeRow(),
       Points{"fraValue",
              16,
              {Row{"lblInput", "", "", 0}, Row{"", "lblExtIndex(0)", "", 0},
               Row{"", "", "txtCData", 0}, Row{"Label1", "", "", 0},
               Row{"", "lblExtIndex(1)", "", 0}, Row{"", "", "txtChData", 0}}},
       Fields{{{"", "lblConvSpeed", "CmbConvSpeed"}, {"", "lblOutputHold", "CmbOutputHold"}}},
       Points{"",
              16,
              {Row{"lblOutputValid", "", "", 0}, Row{"", "lblExtIndex(2)", "", 0},
               Row{"", "", "ChkOutputValid", 0}}}},
      {}, {}, {"lblExtIndex(3)"}};

  m["frmBIO16"] = PageLayout{
      {TypeRow(),
       Points{"fraValue",
              8,
              {Row{"lblInput", "", "", 0}, Row{"", "lblExtIndex(0)", "", 0},
               Row{"", "", "txtCData", 0}, Row{"Label1", "", "", 0},
               Row{"", "lblExtIndex(1)", "", 0}, Row{"", "", "txtChData", 0}}},
       Fields{{{"", "lblConvSpeed", "CmbConvSpeed"}, {"", "lblOutputHold", "CmbOutputHold"}}}},
      {}, {}};

  {
    PageLayout ai4;
    ai4.top = {TypeRow()};
    ai4.tabs = {Tab{"frmSet1", {Channels{0, 4, "", ScalingRows()}}},
                Tab{"frmSet2",
                    {Channels{0,
                              4,
                              "",
                              {{"CmbDataType", "", "", "LabDatatype"},
                               {"cmbUserRange", "", "", ""},
                               {"cmbInvalid", "", "", ""}}},
                     Options{"Frame2", {"optKeepOn", "optKeepOff"}}}}};
    ai4.bottom = {Channels{0, 4, "", {{"txtParData", "", "", ""}}},
                  Fields{{{"", "lblConvSpeed1 lblConvSpeed2", "CmbConvSpeed"}}}};
    m["frmAI4"] = ai4;
  }
  {
    PageLayout aif2;
    aif2.top = {TypeRow(), Channels{0, 2, "", ScalingRows()},
                Channels{0, 2, "", {{"txtParData", "", "", ""}}}};
    m["frmAIF2"] = aif2;
  }
  {
    PageLayout ai8;
    std::vector<Channels::Row> rows = ScalingRows();
    rows.push_back({"cmbUserRange", "", "", ""});
    rows.push_back({"cmbInvalid", "", "", ""});
    rows.push_back({"txtParData", "", "", ""});
    const std::string headers = "lblChannel0 lblChannel1 lblChannel2 lblChannel3";
    ai8.top = {TypeRow()};
    ai8.tabs = {Tab{"frmSet1", {Channels{0, 4, headers, rows}}},
                Tab{"frmSet2", {Channels{4, 4, "", rows}}}};
    ai8.bottom = {Fields{{{"", "lblConvSpeed1 lblConvSpeed2", "CmbConvSpeed"}}}};
    m["frmAI8"] = ai8;
  }
  AddPulsePwmAcLayouts(m);
  AddTemperatureOutputLayouts(m);
  AddNetworkLayouts(m);
  return m;
}

}  // namespace

const PageLayout* LayoutFor(std::string_view pageName) {
  static const auto layouts = Build();
  auto it = layouts.find(pageName);
  return it == layouts.end() ? nullptr : &it->second;
}

}  // namespace q5::gui::layout
