// The arrangement of the pulse input, PWM output and AC current input pages.
#include <map>
#include <string>

#include "PageLayout.h"

namespace q5::gui::layout {

namespace {

Channels::Row R(const char* array, const char* captionLabel = "") { return {array, "", "", captionLabel}; }

Fields TypeRow() { return Fields{{{"Type", "", "lblV_Unit"}}}; }

PageLayout PI2() {
  PageLayout p;
  p.top = {Fields{{{"Type", "", "lblV_Unit"}, {"", "", "Command9"}}}};
  p.fieldDigits = 13;
  p.tabs = {
      Tab{"frmSet1",
          {Channels{0, 2, "lblChannel(0) lblChannel(1)",
                    {R("txtCP"), R("txtCS"), R("txtLP"), R("txtLS"), R("txtRP"), R("txtDO"),
                     R("txtReset"), R("txtMin"), R("txtMax"), R("txtBias"), R("txtGain"), R("txtZS"),
                     R("txtFS")}}}},
      Tab{"frmSet2",
          {Channels{0, 2, "lblChannel(2) lblChannel(3)",
                    {R("CmbDataType"), R("CmbSpeedFreqRange"), R("CmbPositionCntMode"),
                     R("CmbPositionDataType")}},
           Fields{{{"", "", "lblModes"}}}}},
      Tab{"frmSet3",
          {Channels{0, 2, "lblChannel(4) lblChannel(5)",
                    {R("txtA1Type"), R("txtA1SM"), R("txtA1SH"), R("txtA1PM"), R("txtA1PH"),
                     R("txtA2Type"), R("txtA2SM"), R("txtA2SH"), R("txtA2PM"), R("txtA2PH"),
                     R("txtOP")}},
           Fields{{{"", "", "txtTM(0)"}, {"", "", "txtTM(1)"}, {"", "", "txtTM(2)"}}}}},
      Tab{"frmSet4",
          {Channels{0, 2, "lblChannel(6) lblChannel(7)",
                    {R("txtEL"), R("txtHL"), R("txtHLD"), R("txtER"), R("txtHR"), R("txtHRD"),
                     R("txtZR", "lblZR lblZRRange")}},
           Fields{{{"CH 0 Latch", "", "Command1"}, {"CH 1 Latch", "", "Command2"},
                   {"CH 0 Reset", "", "Command3"}, {"CH 1 Reset", "", "Command4"},
                   {"CH 0 Latch Data Clear", "", "Command5"}, {"CH 1 Latch Data Clear", "", "Command6"},
                   {"CH 0 Reset Data Clear", "", "Command7"}, {"CH 1 Reset Data Clear", "", "Command8"}}}}}};
  return p;
}

PageLayout PI8() {
  const std::vector<Channels::Row> rows = {R("txtPA"), R("txtFScale"), R("txtOver"),
                                           R("ChkOutputValid"), R("txtPreset"), R("cmdPreset")};
  PageLayout p;
  p.fieldDigits = 12;
  p.top = {TypeRow()};
  p.tabs = {Tab{"frmSet1", {Channels{0, 4, "", rows}, Channels{4, 4, "", rows}}},
            Tab{"frmSet2",
                {Fields{{{"", "", "CmbPulseEdge"}, {"", "", "CmbResetEdge"},
                         {"", "", "CmbResetInvalid"}, {"", "", "CmbOutputInvalid"}}}}}};
  return p;
}

PageLayout PI32() {
  const std::vector<Channels::Row> rows = {R("txtPA"), R("txtFScale"), R("txtOver"), R("txtPreset"),
                                           R("cmdPreset")};
  PageLayout p;
  p.fieldDigits = 12;
  p.top = {TypeRow(),
           Points{"fraValue",
                  16,
                  {Points::Row{"", "lblCData(0)", "", 0}, Points::Row{"", "", "txtCData", 0},
                   Points::Row{"", "lblCData(1)", "", 0}, Points::Row{"", "", "txtCData", 16}}}};
  for (int t = 0; t < 4; ++t)
    p.tabs.push_back(Tab{"frmSet" + std::to_string(t + 1),
                         {Channels{8 * t, 4, "", rows}, Channels{8 * t + 4, 4, "", rows}}});
  return p;
}

PageLayout EC4() {
  PageLayout p;
  p.top = {Fields{{{"Type", "", "lblV_Unit"}, {"", "", "cmbOutputHold"}}}};
  p.tabs = {Tab{"frmSet1",
                {Channels{0, 4, "",
                          {R("txtPhase"), R("cmbInvalid"), R("txtMaxDuty"), R("txtFreq"),
                           R("txtMaxCrnt")}}}},
            Tab{"frmSet2",
                {Channels{0, 4, "",
                          {R("txtDFreq"), R("txtDitherAmp"), R("cmbDitherInvalid"),
                           R("txtOutputClearValue")}}}}};
  p.bottom = {Channels{0, 4, "", {R("txtParData")}}};
  return p;
}

PageLayout AC32() {
  PageLayout p;
  p.top = {Fields{{{"Type", "", "lblV_Unit"}, {"", "", "cmbChGrp"}}}};
  Tab settings{"frmSet1", {}};
  for (int g = 0; g < 8; ++g) {
    Channels c{4 * g, 4, "",
               {R("txtZScale"), R("txtFScale"), R("txtBias"), R("txtGain"), R("cmbInvalid")}};
    c.frame = "fraChGrp(" + std::to_string(g) + ")";
    settings.blocks.push_back(c);
  }
  p.tabs = {settings, Tab{"frmSet2", {Fields{{{"", "", "cmbAverage"}, {"", "", "txtDropOut"}}}}}};
  for (int g = 0; g < 8; ++g) {
    Channels c{4 * g, 4, "", {R("txtParData")}};
    c.frame = "fraValue(" + std::to_string(g) + ")";
    p.bottom.push_back(c);
  }
  // The four channel labels of the group are the column headings of each group's table.
  p.omitted = {"lblCH(0)", "lblCH(1)", "lblCH(2)", "lblCH(3)", "lblAverage", "lblDropOut"};
  return p;
}

}  // namespace

void AddPulsePwmAcLayouts(std::map<std::string, PageLayout, std::less<>>& m) {
  m["frmPI2"] = PI2();
  m["frmPI8"] = PI8();
  m["frmPI32"] = PI32();
  m["frmEC4"] = EC4();
  m["frmAC32"] = AC32();
}

}  // namespace q5::gui::layout
