#include "pages/frmAC32.h"

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

// Zero scale, full scale, bias, gain: the first four pairs of the channel's item table.
constexpr int kPairs = 4;
// Item "19": the averaging index is the 9th character of the reply ("AVERAGE:2"); item
// "15": the drop-out is characters 9 to 12 ("DROPOUT:1.00").
constexpr std::size_t kAveragePos = 9;
constexpr std::size_t kDropOutPos = 9;
constexpr std::size_t kDropOutLength = 4;

// The channel's scaling and the module's drop-out, as their labels show them.
constexpr RangedSetting kZScaleAC{"txtZScale", "Zero scale (0 to 65535)", 0, 65535};
constexpr RangedSetting kFScaleAC{"txtFScale", "Full scale (0 to 65535)", 0, 65535};
constexpr RangedSetting kBiasAC{"txtBias", "Bias (0.00 to 10.00)", 0, 10};
constexpr RangedSetting kGainAC{"txtGain", "Gain (0.1000 to 3.2000)", 0.1, 3.2};
constexpr RangedSetting kDropOut{
    "txtDropOut", "Drop Out ( 0.50% to 5.00%)", 0.5, 5, kAnyPlaces, false, "%"};

}  // namespace

frmAC32::frmAC32(PageContext& ctx) : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_) {
  MakeTabs({"Setting 1", "Setting 2"});
  lblAverage.caption = "Averaging Number";
  lblDropOut.caption = "Drop Out";
  // Shown once the unit's settings were read.
  lblAverage.visible = cmbAverage.visible = lblDropOut.visible = txtDropOut.visible = false;
  for (int k = 0; k < kShown; ++k) lblCH[k].caption = "CH " + std::to_string(k);
  for (int g = 0; g < static_cast<int>(fraValue.size()); ++g) fraValue[g].caption = "Value";
  cmbChGrp_Click();
}

void frmAC32::FillLists() {
  FillList(cmbChGrp, {"CH 0 to 3", "CH 4 to 7", "CH 8 to 11", "CH 12 to 15", "CH 16 to 19",
                      "CH 20 to 23", "CH 24 to 27", "CH 28 to 31"});
  cmbChGrp.index = 0;
  for (auto& box : cmbInvalid) FillList(box, {"Valid", "Invalid"});
  FillList(cmbAverage, {"0", "4", "8", "16", "32"});
}

void frmAC32::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  FillLists();
  lblAverage.visible = cmbAverage.visible = lblDropOut.visible = txtDropOut.visible = true;
  cmbChGrp_Click();
}

void frmAC32::cmbChGrp_Click() {
  const int g = cmbChGrp.index < 0 ? 0 : cmbChGrp.index;
  for (int i = 0; i < kChannels; ++i) {
    // Channels the unit does not have are never shown.
    const bool shown = i < channels() && i >= kShown * g && i < kShown * (g + 1);
    for (Control* c : std::initializer_list<Control*>{&txtZScale[i], &txtFScale[i], &txtBias[i],
                                                      &txtGain[i], &cmbInvalid[i], &txtParData[i]})
      c->visible = shown;
    if (shown) lblCH[i - kShown * g].caption = "CH " + std::to_string(i);
  }
  for (int k = 0; k < kShown; ++k) lblCH[k].visible = kShown * g + k < channels();
  for (int k = 0; k < static_cast<int>(fraChGrp.size()); ++k) {
    const bool shown = k == g && kShown * k < channels();
    fraChGrp[k].visible = shown;
    fraValue[k].visible = shown;
  }
}

bool frmAC32::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(33, "Initializing");
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  // The module answers item "09"; what it says is not used.
  if (link().GroupItemReadRetry(kRetry, "00", "09").empty()) return EndInitQuietly();

  FillList(cmbChGrp, {"CH 0 to 3", "CH 4 to 7", "CH 8 to 11", "CH 12 to 15", "CH 16 to 19",
                      "CH 20 to 23", "CH 24 to 27", "CH 28 to 31"});
  cmbChGrp.index = 0;
  cmbChGrp.visible = true;
  cmbChGrp_Click();

  for (int ch = 1; ch <= channels(); ++ch) {
    if (!LoadAndReadScaling(link(), ch, values().moduleKind, kPairs)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch, kPairs);
    FillList(cmbInvalid[ch - 1], {"Valid", "Invalid"});
    const auto valid = ItemValue(link(), "08");
    if (!valid) return EndInitQuietly();
    SelectLeadingIndex(cmbInvalid[ch - 1], *valid);
    ProgressStep();
  }

  FillList(cmbAverage, {"0", "4", "8", "16", "32"});
  const std::string average = link().GroupItemReadRetry(kRetry, "00", "19");
  if (average.empty()) return EndInitQuietly();
  const std::string averageDigit =
      link::ValueAfterColon(average.size() >= kAveragePos ? average.substr(kAveragePos - 1, 1) : "");
  SelectCode(cmbAverage, DecimalValue(averageDigit).value_or(-1));

  const std::string dropOut = link().GroupItemReadRetry(kRetry, "00", "15");
  if (dropOut.empty()) return EndInitQuietly();
  txtDropOut.text = link::ValueAfterColon(
      dropOut.size() >= kDropOutPos ? dropOut.substr(kDropOutPos - 1, kDropOutLength) : "");

  lblAverage.visible = cmbAverage.visible = lblDropOut.visible = txtDropOut.visible = true;
  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

void frmAC32::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(33, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    LoadAndWriteScaling(link(), ch, values().moduleKind, kPairs);
    link().ItemWriteRetry(kRetry, "08", cmbInvalid[ch - 1].code());
    ProgressStep();
  }
  link().GroupItemWriteRetry(kRetry, "00", "19", cmbAverage.code());
  link().GroupItemWriteRetry(kRetry, "00", "15", txtDropOut.text);
  ProgressClose();
}

void frmAC32::ReadingData() {
  // Every channel, shown or not, so a group chosen while monitoring shows fresh values.
  for (int ch = 1; ch <= channels(); ++ch) {
    const std::string value =
        link::ValueAfterColon(link().GroupItemReadRetry(kRetry, std::to_string(ch), "10"));
    if (IsNumeric(value)) txtParData[ch - 1].text = value;
  }
}

bool frmAC32::CheckData() {
  BeginCheck();
  // Every number must be one, and every range must hold: a single failed field refuses
  // the Download.
  for (int i = 0; i < channels(); ++i)
    if (!ScalingNumeric(i)) return false;
  if (!IsNumeric(txtDropOut.text))
    return Refuse("txtDropOut", "Drop Out is \"" + txtDropOut.text + "\", not a number.");
  for (int i = 0; i < channels(); ++i) {
    if (!CheckDeclared(kZScaleAC.info(i), txtZScale[i].text) ||
        !CheckDeclared(kFScaleAC.info(i), txtFScale[i].text) ||
        !CheckDeclared(kBiasAC.info(i), txtBias[i].text) ||
        !CheckDeclared(kGainAC.info(i), txtGain[i].text))
      return false;
    // The scales go out as whole numbers (ties to even), which must still be in range.
    const double zero = RoundHalfEven(NumericValue(txtZScale[i].text));
    const double full = RoundHalfEven(NumericValue(txtFScale[i].text));
    if (zero < kZScaleAC.min || zero > kZScaleAC.max)
      return Refuse(Indexed(kZScaleAC.name, i),
                    OutOfRangeReason(kZScaleAC.info(i), txtZScale[i].text));
    if (full < kFScaleAC.min || full > kFScaleAC.max)
      return Refuse(Indexed(kFScaleAC.name, i),
                    OutOfRangeReason(kFScaleAC.info(i), txtFScale[i].text));
    txtZScale[i].text = std::to_string(static_cast<long long>(zero));
    txtFScale[i].text = std::to_string(static_cast<long long>(full));
  }
  return CheckDeclared(kDropOut.info(), txtDropOut.text);
}

void frmAC32::txt_able2(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    EnableScaling(i, enable);
    cmbInvalid[i].enabled = enable;
  }
  cmbAverage.enabled = enable;
  txtDropOut.enabled = enable;
}

void frmAC32::txt_able(bool enable) {
  txt_able2(enable);
  cmbChGrp.enabled = enable;
}

void frmAC32::Edited(std::string_view name) {
  if (name == "cmbChGrp") cmbChGrp_Click();
}

void frmAC32::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  v.combo(Setting("cmbChGrp", "Channel group"), cmbChGrp);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int k = 0; k < kShown; ++k) set1.label(Indexed("lblCH", k), lblCH[k]);
  for (int g = 0; g < static_cast<int>(fraChGrp.size()); ++g) {
    set1.frame(Indexed("fraChGrp", g), fraChGrp[g]);
    v.frame(Indexed("fraValue", g), fraValue[g]);
  }
  for (int i = 0; i < kChannels; ++i) {
    v.text(LiveValue(Indexed("txtParData", i), "Value").ch(i), txtParData[i]);
    set1.text(kZScaleAC.info(i), txtZScale[i]);
    set1.text(kFScaleAC.info(i), txtFScale[i]);
    set1.text(kBiasAC.info(i), txtBias[i]);
    set1.text(kGainAC.info(i), txtGain[i]);
    set1.combo(Setting(Indexed("cmbInvalid", i), "Input").ch(i), cmbInvalid[i]);
  }
  set2.label("lblAverage", lblAverage);
  set2.combo(Setting("cmbAverage", "Averaging Number"), cmbAverage);
  set2.label("lblDropOut", lblDropOut);
  set2.text(kDropOut.info(), txtDropOut);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmAC32::records(RecordStream& io) {
  io.index(cmbAverage, "cmbAverage");
  io.text(txtDropOut, "txtDropOut");
  io.endRecord();
  for (int i = 0; i < frmAC32::kChannels; ++i) {
    scalingFields(io, i, 4);  // zero scale, full scale, bias, gain
    io.index(cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

bool frmAC32::newDefaults(std::string_view) {
  cmbAverage.index = 1;
  txtDropOut.text = "1.00";
  for (int i = 0; i < frmAC32::kChannels; ++i) {
    txtZScale[i].text = "0";
    txtFScale[i].text = "10000";
    txtBias[i].text = "0.00";
    txtGain[i].text = "1.0000";
    cmbInvalid[i].index = 0;
  }
  return true;
}

}  // namespace q5::pages
