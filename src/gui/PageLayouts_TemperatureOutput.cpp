// The arrangement of the temperature input pages (frmTC4, frmRT4) and the analog output
// pages (frmOV2, frmOC2, frmOCF4, frmOVF4).
#include "PageLayout.h"

namespace q5::gui::layout {

namespace {

Fields TypeRow() { return Fields{{{"Type", "", "lblV_Unit"}}}; }

std::string Headers(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += (i ? " lblCh(" : "lblCh(") + std::to_string(i) + ")";
  return s;
}

// Scaling with the measuring range of the sensor type under the temperatures.
std::vector<Channels::Row> TemperatureScalingRows() {
  return {{"txtZScale", "lblZScale", "", ""}, {"txtFScale", "lblFScale", "", ""},
          {"txtBias", "", "", ""},            {"txtGain", "", "", ""},
          {"txtZBase", "lblZTemp", "lblZBase_Unit", ""},
          {"txtFBase", "lblFTemp", "lblFBase_Unit", ""}};
}

PageLayout Temperature(const std::string& typeLabel, bool thermocouple) {
  PageLayout p;
  p.top = {TypeRow()};
  std::vector<Channels::Row> settings = {{"cmbUserRange", typeLabel, "", ""},
                                         {"cmbUserUnit", "", "", ""}};
  if (thermocouple) {
    settings.push_back({"cmbUserBout", "", "", ""});
    settings.push_back({"cmbInvalid", "", "", ""});
  }
  std::vector<Block> tab2 = {Channels{0, 4, "", settings}};
  if (!thermocouple) tab2.push_back(Fields{{{"Burnout Direction", "", "txtUserBout"}}});
  tab2.push_back(Options{"Frame2", {"optKeepOn", "optKeepOff"}});
  p.tabs = {Tab{"frmSet1", {Channels{0, 4, "", TemperatureScalingRows()}}}, Tab{"frmSet2", tab2}};
  p.bottom = {Channels{0, 4, "", {{"txtParData", "", "", ""}, {"Text1", "", "", ""}}}};
  if (thermocouple) p.bottom.push_back(Fields{{{"", "lblConvSpeed1", "CmbConvSpeed"}}});
  if (!thermocouple) p.omitted = {"fraUserBout"};
  return p;
}

PageLayout Output(int channels, bool voltage, bool fVariant) {
  const std::string headers = Headers(channels);
  PageLayout p;
  p.top = {TypeRow()};
  std::vector<Channels::Row> scaling = {
      {"txtZScale", "lblZScale", "", ""},          {"txtFScale", "lblFScale", "", ""},
      {"txtBias", "lblBias", "", ""},              {"txtGain", "lblGain", "", ""},
      {"txtZBase", "lblZBase", "lblZBase_Unit", ""}, {"txtFBase", "lblFBase", "lblFBase_Unit", ""}};
  std::vector<Channels::Row> settings;
  if (voltage) settings.push_back({"cmbUserRange", "", "", ""});
  if (fVariant) {
    settings.push_back({"txtOutputClearValue", "", "", ""});
    settings.push_back({"cmbInvalid", "", "", ""});
  }
  std::vector<Block> tab2;
  if (!settings.empty()) tab2.push_back(Channels{0, channels, headers, settings});
  if (fVariant) {
    tab2.push_back(Fields{{{"Clear value range", "", "lblOClearValue"},
                           {"Output Clear/Hold", "", "CmbOutputHold"}}});
  } else {
    tab2.push_back(Options{"Frame2", {"optKeepOn", "optKeepOff"}});
  }
  p.tabs = {Tab{"frmSet1", {Channels{0, channels, headers, scaling}}}, Tab{"frmSet2", tab2}};
  p.bottom = {Channels{0, channels, "", {{"txtParData", "", "", ""}}}};
  return p;
}

}  // namespace

void AddTemperatureOutputLayouts(std::map<std::string, PageLayout, std::less<>>& m) {
  m["frmTC4"] = Temperature("lblTcType", true);
  m["frmRT4"] = Temperature("lblRtdType", false);
  m["frmOV2"] = Output(2, true, false);
  m["frmOC2"] = Output(2, false, false);
  m["frmOCF4"] = Output(4, false, true);
  m["frmOVF4"] = Output(4, true, true);
}

}  // namespace q5::gui::layout
