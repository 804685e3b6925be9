#include "pages/TemperaturePage.h"

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"

namespace q5::pages {

namespace {
constexpr int kSwitchByType = 15;
constexpr std::string_view kUnits[] = {"C", "F", "K"};
}  // namespace

TemperaturePage::TemperaturePage(PageContext& ctx, catalogue::SensorFamily family)
    : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_), family_(family) {
  MakeTabs({"Setting 1", "Setting 2"});
  Frame2.caption = "Output Hold/Clear";
  optKeepOn.caption = "Output Hold";
  optKeepOff.caption = "Output Clear";
  for (int i = 0; i < kChannels; ++i) {
    Text1[i].colour = kInfoBackground;
    Text1[i].litColour = kRed;
    // Zero and full temperature are settings here, typed and written like the scales.
    txtZBase[i].enabled = true;
    txtFBase[i].enabled = true;
    txtZBase[i].shownOnly = false;
    txtFBase[i].shownOnly = false;
  }
}

void TemperaturePage::FillChannelLists(int i) {
  cmbUserRange[i].clear();
  for (int t = 0; t < catalogue::TempTypeNameCount(family_); ++t)
    cmbUserRange[i].add(std::string(catalogue::TempTypeName(family_, t)));
  cmbUserUnit[i].clear();
  for (auto u : kUnits) cmbUserUnit[i].add(std::string(u));
}

void TemperaturePage::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  Frame2.visible = behindNetwork();
  for (int i = 0; i < kChannels; ++i) {
    FillChannelLists(i);
    SetScaleCaptions(i, "-32000 to 32000");
  }
}

int TemperaturePage::UnitCodeOf(std::string_view value, int previous) {
  if (value.empty()) return previous;
  for (int u = 0; u < 3; ++u)
    if (value.front() == kUnits[u][0]) return u;
  return previous;
}

void TemperaturePage::ShowChannelLabels(int i) {
  const int unit = cmbUserUnit[i].index;
  SetUnitLabels(i, catalogue::TempUnitText(unit));
  const int type = switchCode_ == kSwitchByType ? cmbUserRange[i].index : switchCode_;
  const std::string range = catalogue::TempRangeText(family_, unit, type);
  lblZTemp[i].caption = range;
  lblFTemp[i].caption = range;
  Text1[i].caption = BurnoutCaption(i);
}

void TemperaturePage::ValuesChanged() {
  for (int i = 0; i < kChannels; ++i) ShowChannelLabels(i);
}

bool TemperaturePage::ReadOutputHold() {
  Frame2.visible = behindNetwork();
  if (!behindNetwork()) return true;
  const std::string hold = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "14"));
  if (hold.empty()) return false;
  optKeepOn.value = hold == "ON";
  optKeepOff.value = !optKeepOn.value;
  return true;
}

void TemperaturePage::EnableCommonSettings(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    txtZScale[i].enabled = enable;
    txtFScale[i].enabled = enable;
    txtBias[i].enabled = enable;
    txtGain[i].enabled = enable;
    txtZBase[i].enabled = enable;
    txtFBase[i].enabled = enable;
    cmbUserRange[i].enabled = enable;
    cmbUserUnit[i].enabled = enable;
  }
  optKeepOn.enabled = enable;
  optKeepOff.enabled = enable;
}

void TemperaturePage::WriteOutputHold() {
  if (behindNetwork())
    link().GroupItemWriteRetry(kRetry, "00", "14", optKeepOn.value ? "0" : "1");
}

void TemperaturePage::ReadingData() {
  for (int i = 0; i < kChannels; ++i)
    ReadLiveValue(link(), std::to_string(21 + i), txtParData[i]);
  ShowBurnout();
}

void TemperaturePage::ShowBurnout() {
  const std::string value = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "04"));
  if (value.size() < 6) return;
  const char c = value[5];
  int bits = 0;
  if (c >= '0' && c <= '9')
    bits = c - '0';
  else if (c >= 'A' && c <= 'F')
    bits = c - 'A' + 10;
  else
    return;
  for (int n = 0; n < kChannels; ++n) Text1[n].colour = (bits >> n) & 1 ? kRed : kInfoBackground;
}

bool TemperaturePage::CheckData() {
  // Zero and full temperature need only be numbers; they are not held against the
  // measuring range.
  return CheckScalingChannels(channels(), [](int) { return kScaleLimits; }, true);
}

void TemperaturePage::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int i = 0; i < kChannels; ++i) {
    // The base fields hold temperatures in the unit the channel's unit list chose.
    visitScaling(set1, i, kScaleLimits, "temp");
    set1.label(Indexed("lblZTemp", i), lblZTemp[i]);
    set1.label(Indexed("lblFTemp", i), lblFTemp[i]);
    set2.label(Indexed(typeLabelName(), i), lblType[i]);
    set2.combo(Setting(Indexed("cmbUserRange", i), "Sensor type").ch(i), cmbUserRange[i]);
    set2.combo(Setting(Indexed("cmbUserUnit", i), "Unit").ch(i), cmbUserUnit[i]);
  }
}

}  // namespace q5::pages
