#include "pages/frmSG2.h"

#include <cmath>
#include <cstdio>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr std::string_view kAveraging[] = {"2",  "4",   "8",   "16",  "32",
                                           "64", "128", "256", "512", "1024"};

// Load ratio in percent, both ends allowed.
constexpr RangedSetting kLoadRatio{"txtZBase", "Load ratio", 10, 100};
// Percent data (hundredths of a percent), after rounding to integers.
constexpr RangedSetting kZPercent{"txtZPercent", "Zero Percent Data", -11500, 11500, 0, true};
constexpr RangedSetting kSPercent{"txtSPercent", "Span Percent Data", -11500, 11500, 0, true};
constexpr RangedSetting kOPercent{"txtOPercent", "Offset", -10000, 10000, 0, true};
// The gain adjustment "cmdGainApplyCH" sends. (The monitor output box has no range of its
// own: the button pressed decides it.)
constexpr RangedSetting kAdjGain{"txtAdjGain", "Gain adjustment", -kGainLimit, kGainLimit};
// Values the buttons send.
constexpr double kAutoScaleHigh = 32000;
constexpr double kOutputLimit = 32000;

// A limit as a person reads it: "3.2", "-32000".
std::string FormatLimit(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// A setting the unit reports as a number: "0" is off, any other number on. A text that
// is not a number counts as 0, as the unit never sends one here.
bool NonZero(std::string_view value) { return IsNumeric(value) && NumericValue(value) != 0; }

bool NumericWithin(std::string_view text, double low, double high) {
  if (!IsNumeric(text)) return false;
  const double v = NumericValue(text);
  return v >= low && v <= high;
}

}  // namespace

frmSG2::frmSG2(PageContext& ctx) : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_) {
  MakeTabs({"Setting 1", "Setting 2", "Setting 3"});
  for (int i = 0; i < kChannels; ++i) {
    cmdAutoZero[i].caption = i == 0 ? "Auto Zero" : "AutoZero";
    lblCalibrate[i].caption = "CH " + std::to_string(i);
    cmdZero[i].caption = "Zero";
    cmdSpan[i].caption = "Span";
    cmdOffset[i].caption = "Offset Clear";
    cmdGainUPCH[i].caption = "UP";
    cmdGainDOWNCH[i].caption = "DOWN";
    cmdGainApplyCH[i].caption = "APPLY";
    cmdApplyCH[i].caption = "Auto Scale";
    cmdOutputCH[i].caption = "Output";
    cmdCancelCH[i].caption = "Cancel";
    cmdAveApplyCH[i].caption = "APPLY";
    // The load ratio is a setting of this page; the full base is not used (item "50").
    txtZBase[i].shownOnly = false;
    txtFBase[i].visible = false;
    lblFBase_Unit[i].visible = false;
    lblZBase_Unit[i].caption = "%";
    SetScaleCaptions(i, "-32000 to 32000");
  }
  cmdCRFilter.caption = "2Hz";
  cmdExtvoltage.caption = "5V";
  lblExtvoltage.caption = "Ext.Voltage";
  lblAverage.caption = "Average";
  lblMonitorOutput.caption = "Monitor Output";
  lblGainAdjust.caption = "Gain adjustment";
  lblChannels.caption = "CH 0           CH 1";
  Frame2.caption = "Output Hold/Clear";
  optKeepOn.caption = "Output Hold";
  optKeepOff.caption = "Output Clear";
}

// ---- Model variants ---------------------------------------------------------------------

bool frmSG2::hasExtVoltage() const { return values().flags["Q5T3NML3-6-SG2A"]; }
bool frmSG2::hasFilterMode() const {
  const auto& f = values().flags;
  return f["Q5Z3UCIE-SG2-9/F2K"] || f["Q5Z3UCIE-SG2-9/F1"] || f["Q5T3SECT-SG2-A/F2K"] ||
         f["Q5T3SECT-SG2-A/F1"];
}
bool frmSG2::isF1() const {
  const auto& f = values().flags;
  return f["Q5Z3UCIE-SG2-9/F1"] || f["Q5T3SECT-SG2-A/F1"] || f[catalogue::kSG2F1Flag];
}
bool frmSG2::isPercent() const {
  const auto& f = values().flags;
  return f["Q5T3SECT-SG2-A/F2K"] || f["Q5T3SECT-SG2-A/F1"];
}
bool frmSG2::behindNetwork() const {
  return values().networkType >= 0 && values().networkType <= 5;
}
int frmSG2::channels() const { return ServedChannels(values().channelCount); }

std::string frmSG2::FilterCaption(bool second) const {
  if (!second) return "2Hz";
  return isF1() ? "1Hz" : "2KHz";
}

std::string frmSG2::ButtonGroup(int ch) { return ch == 0 ? "01" : "02"; }

// ---- Controls -----------------------------------------------------------------------------

void frmSG2::txt_visible2(bool show) {
  for (int i = 0; i < kChannels; ++i) {
    for (Control* c : {static_cast<Control*>(&CmbAveType[i]), static_cast<Control*>(&txtAdjscale[i]),
                       static_cast<Control*>(&txtAdjGain[i]), static_cast<Control*>(&cmdGainUPCH[i]),
                       static_cast<Control*>(&cmdGainDOWNCH[i]),
                       static_cast<Control*>(&cmdGainApplyCH[i]),
                       static_cast<Control*>(&cmdApplyCH[i]), static_cast<Control*>(&cmdOutputCH[i]),
                       static_cast<Control*>(&cmdCancelCH[i]),
                       static_cast<Control*>(&cmdAveApplyCH[i])})
      c->visible = show;
  }
  lblAverage.visible = show;
  lblMonitorOutput.visible = show;
  lblGainAdjust.visible = show;
  lblChannels.visible = show;
  lblMode.visible = show;
  cmdCRFilter.visible = show;
  // Only one model lets the excitation voltage be chosen.
  lblExtvoltage.visible = show && hasExtVoltage();
  cmdExtvoltage.visible = show && hasExtVoltage();
}

void frmSG2::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  Frame2.visible = behindNetwork();
  txt_visible2(true);
  const bool percent = isPercent();
  for (int i = 0; i < kChannels; ++i) {
    CmbAveType[i].clear();
    for (auto a : kAveraging) CmbAveType[i].add(std::string(a));
    txtZPercent[i].visible = percent;
    txtSPercent[i].visible = percent;
    txtOPercent[i].visible = percent;
  }
  if (!hasFilterMode()) lblMode.caption.clear();
}

void frmSG2::txt_able(bool enable) {
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    txtZScale[i].enabled = enable;
    txtFScale[i].enabled = enable;
    txtBias[i].enabled = enable;
    txtGain[i].enabled = enable;
    txtZBase[i].enabled = enable;  // load ratio
  }
  for (int i = 0; i < kChannels; ++i) {
    cmdAutoZero[i].enabled = enable;
    cmdSpan[i].enabled = enable;
    cmdZero[i].enabled = enable;
    cmdOffset[i].enabled = enable;
  }
  optKeepOn.enabled = enable;
  optKeepOff.enabled = enable;
  for (auto& box : txtParData2) box.text.clear();
}

void frmSG2::txt_able2(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    CmbAveType[i].enabled = enable;
    txtAdjscale[i].enabled = enable;
    txtAdjGain[i].enabled = enable;
    cmdGainUPCH[i].enabled = enable;
    cmdGainDOWNCH[i].enabled = enable;
    cmdGainApplyCH[i].enabled = enable;
    cmdApplyCH[i].enabled = enable;
    cmdOutputCH[i].enabled = enable;
    cmdCancelCH[i].enabled = enable;
    cmdAveApplyCH[i].enabled = enable;
  }
  cmdCRFilter.enabled = enable;
  cmdExtvoltage.enabled = enable;
}

void frmSG2::txt_able3(bool enable) {
  for (int ch = 1; ch <= channels(); ++ch) {
    txtZPercent[ch - 1].enabled = enable;
    txtSPercent[ch - 1].enabled = enable;
    txtOPercent[ch - 1].enabled = enable;
  }
}

// ---- Upload -------------------------------------------------------------------------------

bool frmSG2::Init() {
  ResetTabs();
  txt_able(false);
  txt_able2(false);
  txt_able3(false);
  ProgressOpen(3, "Initializing");
  PrepareControls();

  if (behindNetwork()) {
    const std::string hold = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "14"));
    if (hold.empty()) return EndInitQuietly();
    optKeepOn.value = hold == "ON";
    optKeepOff.value = !optKeepOn.value;
  }

  if (hasExtVoltage()) {
    const std::string v = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "53"));
    if (v.empty()) return EndInitQuietly();
    cmdExtvoltage.caption = NonZero(v) ? "5V" : "2.5V";
  }

  const std::string filter = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "52"));
  if (filter.empty()) return EndInitQuietly();
  cmdCRFilter.caption = FilterCaption(NonZero(filter));

  // Zero scale, full scale, bias, gain, load ratio: the first five codes of the kind.
  constexpr int kScaling = 5;
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    LoadChannelItems(ch, values().moduleKind);
    const std::string average =
        link::ValueAfterColon(link().GroupItemReadRetry(kRetry, std::to_string(ch), "11"));
    if (average.empty()) return EndInitQuietly();
    SelectCode(CmbAveType[i], DecimalValue(average).value_or(-1));

    auto& entry = ChannelItems().entry[i];
    for (int p = 0; p < kScaling; ++p) {
      const auto value = ReadItemValue(link(), entry.item[p]);
      if (!value) {
        UploadFailure();
        return false;
      }
      entry.value[p] = *value;
    }
    ShowScaling(ch, kScaling);

    const auto adjscale = ReadItemValue(link(), "42");
    if (!adjscale) return EndInitQuietly();
    txtAdjscale[i].text = *adjscale;
    if (hasFilterMode()) {
      const std::string mode = link::ValueAfterColon(link().ItemReadRetry(kRetry, "09"));
      lblMode.caption = mode == "1" ? "Mode : First order lag filter Mode"
                                    : "Mode : Moving average filter Mode";
    }
    const auto gain = ReadItemValue(link(), "40");
    if (!gain) return EndInitQuietly();
    txtAdjGain[i].text = *gain;
    if (isPercent()) {
      for (auto [item, box] : {std::pair{"24", &txtZPercent[i]}, std::pair{"25", &txtSPercent[i]},
                               std::pair{"26", &txtOPercent[i]}}) {
        const auto v = ReadItemValue(link(), item);
        if (!v) return EndInitQuietly();
        box->text = *v;
      }
    }
    ProgressStep();
  }

  ProgressClose();
  cmdSet[1].enabled = true;
  cmdSet[2].enabled = isPercent();
  txt_able(true);
  txt_able2(true);
  txt_able3(isPercent());
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void frmSG2::Download() {
  txt_able(false);
  txt_able2(false);
  txt_able3(false);
  DisableTabs();
  ProgressOpen(3, "Downloading");
  if (behindNetwork())
    link().GroupItemWriteRetry(kRetry, "00", "14", optKeepOn.value ? "0" : "1");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    // "20" with the group, then "21", "22", "23" and the load ratio "28".
    LoadAndWriteScaling(link(), ch, values().moduleKind, 5);
    link().ItemWriteRetry(kRetry, "11", IndexText(CmbAveType[i]));
    if (isPercent()) {
      link().ItemWriteRetry(kRetry, "24", txtZPercent[i].text);
      link().ItemWriteRetry(kRetry, "25", txtSPercent[i].text);
      link().ItemWriteRetry(kRetry, "26", txtOPercent[i].text);
    }
    ProgressStep();
  }
  ProgressClose();
}

// ---- Live values, check -------------------------------------------------------------------

void frmSG2::ReadingData() {
  ReadLiveValue(link(), "21", txtParData[0]);
  ReadLiveValue(link(), "22", txtParData[1]);
  ReadLiveValue(link(), "20", txtTotalData);
}

bool frmSG2::CheckPercent(const RangedSetting& field, int i, TextBox& box) {
  if (!CheckDeclared(field.info(i), box.text)) return false;
  // A passing value is written back as the integer it was rounded to.
  box.text = std::to_string(static_cast<long long>(RoundHalfEven(NumericValue(box.text))));
  return true;
}

bool frmSG2::CheckData() {
  BeginCheck();
  const int n = channels();
  const bool percent = isPercent();
  auto notNumber = [this](const RangedSetting& field, int i, const TextBox& box) {
    return Refuse(Indexed(field.name, i), std::string(field.caption) + " of CH " +
                                              std::to_string(i) + " is \"" + box.text +
                                              "\", not a number.");
  };
  for (int i = 0; i < n; ++i) {
    if (!ScalingNumeric(i)) return false;
    if (!IsNumeric(txtZBase[i].text)) return notNumber(kLoadRatio, i, txtZBase[i]);
    if (!percent) continue;
    for (auto [field, box] : {std::pair{&kZPercent, &txtZPercent[i]},
                              {&kSPercent, &txtSPercent[i]},
                              {&kOPercent, &txtOPercent[i]}})
      if (!IsNumeric(box->text)) return notNumber(*field, i, *box);
  }
  for (int i = 0; i < n; ++i) {
    if (!CheckDeclared(kLoadRatio.info(i), txtZBase[i].text)) return false;
    if (!CheckScalingChannel(i, kScaleLimits)) return false;
    if (percent &&
        !(CheckPercent(kZPercent, i, txtZPercent[i]) &&
          CheckPercent(kSPercent, i, txtSPercent[i]) && CheckPercent(kOPercent, i, txtOPercent[i])))
      return false;
  }
  return true;
}

// ---- Calibration buttons ------------------------------------------------------------------

bool frmSG2::Prepare(const std::string& group) {
  return !link().GroupItemWriteRetry(kRetry, group, "01", "F").empty();
}

void frmSG2::RangeError(const std::string& control, const std::string& field,
                        const std::string& text, double low, double high) {
  // The field as the page heads it, so the value can be found and corrected; the text
  // says why, the cause which box.
  RangeMessage("Data Error \r\nCheck data range.\r\n" + field + " is \"" + text +
                   "\": enter a number from " + FormatLimit(low) + " to " + FormatLimit(high) +
                   ". Nothing was sent.",
               control);
}

void frmSG2::Calibrate(int ch, const char* item, const char* data) {
  if (!Prepare(ButtonGroup(ch))) return;
  // A write transaction in the channel's group: the group line goes out again before
  // the calibration item (the gain, scale and averaging buttons write the item alone).
  link().GroupItemWriteRetry(kRetry, ButtonGroup(ch), item, data);
  txtParData2[ch].text =
      link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", ch == 0 ? "21" : "22"));
}

void frmSG2::cmdAutoZero_Click(int ch) { Calibrate(ch, "32", ""); }
void frmSG2::cmdZero_Click(int ch) { Calibrate(ch, "30", ""); }
void frmSG2::cmdSpan_Click(int ch) { Calibrate(ch, "31", ""); }
void frmSG2::cmdOffset_Click(int ch) { Calibrate(ch, "33", "0"); }

void frmSG2::AdjustGain(int ch, const std::string& data) {
  if (!Prepare(ButtonGroup(ch))) return;
  txtAdjGain[ch].text = link::ValueAfterColon(link().ItemWriteRetry(kRetry, "40", data));
}

void frmSG2::cmdGainUP_Click(int ch) { AdjustGain(ch, "U"); }
void frmSG2::cmdGainDOWN_Click(int ch) { AdjustGain(ch, "D"); }

void frmSG2::cmdGainApply_Click(int ch) {
  const ControlInfo gain = kAdjGain.info(ch);
  if (!InDeclaredRange(gain, txtAdjGain[ch].text))
    return RangeError(gain.name, "Gain adjustment of CH " + std::to_string(ch), txtAdjGain[ch].text,
                      gain.min, gain.max);
  AdjustGain(ch, txtAdjGain[ch].text);
}

void frmSG2::cmdApply_Click(int ch) {
  if (!NumericWithin(txtAdjscale[ch].text, 0, kAutoScaleHigh))
    return RangeError(Indexed("txtAdjscale", ch), "Monitor Output of CH " + std::to_string(ch),
                      txtAdjscale[ch].text, 0, kAutoScaleHigh);
  if (!Prepare(ButtonGroup(ch))) return;
  txt_able2(false);
  link().ItemWriteRetry(kRetry, "38", txtAdjscale[ch].text);
  link().ItemWriteRetry(kRetry, "39", "");
  // The full scale the unit worked out; an unanswered read leaves the box as it was.
  const auto full = ReadItemValue(link(), "21");
  if (full) txtFScale[ch].text = *full;
  txt_able2(true);
  ReadingData();
}

void frmSG2::cmdOutput_Click(int ch) {
  if (!NumericWithin(txtAdjscale[ch].text, -kOutputLimit, kOutputLimit))
    return RangeError(Indexed("txtAdjscale", ch), "Monitor Output of CH " + std::to_string(ch),
                      txtAdjscale[ch].text, -kOutputLimit, kOutputLimit);
  if (!Prepare(ButtonGroup(ch))) return;
  txt_able2(false);
  const std::string reply = link().ItemWriteRetry(kRetry, "42", txtAdjscale[ch].text);
  if (!reply.empty()) ReadingData();
  txt_able2(true);
}

void frmSG2::cmdCancel_Click(int ch) {
  if (!Prepare(ButtonGroup(ch))) return;
  link().ItemWriteRetry(kRetry, "43", "1");
}

void frmSG2::cmdAveApply_Click(int ch) {
  if (!Prepare(ButtonGroup(ch))) return;
  txt_able2(false);
  const std::string reply =
      link::ValueAfterColon(link().ItemWriteRetry(kRetry, "11", IndexText(CmbAveType[ch])));
  SelectCode(CmbAveType[ch], DecimalValue(reply).value_or(-1));
  txt_able2(true);
}

void frmSG2::cmdCRFilter_Click() {
  if (!Prepare("00")) return;
  const std::string reply = link::ValueAfterColon(
      link().ItemWriteRetry(kRetry, "52", cmdCRFilter.caption == "2Hz" ? "1" : "0"));
  cmdCRFilter.caption = FilterCaption(NonZero(reply));
}

void frmSG2::cmdExtvoltage_Click() {
  if (!Prepare("00")) return;
  // Toggles: 2.5V (0) goes to 5V (-1), 5V goes to 2.5V.
  const std::string reply = link::ValueAfterColon(
      link().ItemWriteRetry(kRetry, "53", cmdExtvoltage.caption == "2.5V" ? "-1" : "0"));
  cmdExtvoltage.caption = NonZero(reply) ? "5V" : "2.5V";
}

bool frmSG2::Press(std::string_view name) {
  using Buttons = std::array<Button, kChannels> frmSG2::*;
  struct Action {
    std::string_view base;
    Buttons buttons;
    void (frmSG2::*click)(int);
  };
  static constexpr Action kActions[] = {
      {"cmdAutoZero", &frmSG2::cmdAutoZero, &frmSG2::cmdAutoZero_Click},
      {"cmdZero", &frmSG2::cmdZero, &frmSG2::cmdZero_Click},
      {"cmdSpan", &frmSG2::cmdSpan, &frmSG2::cmdSpan_Click},
      {"cmdOffset", &frmSG2::cmdOffset, &frmSG2::cmdOffset_Click},
      {"cmdGainUPCH", &frmSG2::cmdGainUPCH, &frmSG2::cmdGainUP_Click},
      {"cmdGainDOWNCH", &frmSG2::cmdGainDOWNCH, &frmSG2::cmdGainDOWN_Click},
      {"cmdGainApplyCH", &frmSG2::cmdGainApplyCH, &frmSG2::cmdGainApply_Click},
      {"cmdApplyCH", &frmSG2::cmdApplyCH, &frmSG2::cmdApply_Click},
      {"cmdOutputCH", &frmSG2::cmdOutputCH, &frmSG2::cmdOutput_Click},
      {"cmdCancelCH", &frmSG2::cmdCancelCH, &frmSG2::cmdCancel_Click},
      {"cmdAveApplyCH", &frmSG2::cmdAveApplyCH, &frmSG2::cmdAveApply_Click},
  };
  // A button a person cannot reach (disabled while a sequence runs, or not on this
  // model) does nothing.
  auto usable = [](const Button& b) { return b.enabled && b.visible; };
  for (const Action& a : kActions) {
    if (name.size() != a.base.size() + 1 || name.substr(0, a.base.size()) != a.base) continue;
    const int ch = name.back() - '0';
    if (ch < 0 || ch >= kChannels) return false;
    if (!usable((this->*a.buttons)[ch])) return false;
    (this->*a.click)(ch);
    return true;
  }
  if (name == "cmdCRFilter") {
    if (!usable(cmdCRFilter)) return false;
    return cmdCRFilter_Click(), true;
  }
  if (name == "cmdExtvoltage") {
    if (!usable(cmdExtvoltage)) return false;
    return cmdExtvoltage_Click(), true;
  }
  if (name.rfind("cmdSet", 0) == 0) {
    // "Setting 3" holds the percent data, which only the percent models have: switching
    // the other tabs leaves its button unusable.
    if (name == "cmdSet3" && !isPercent()) return false;
    const bool pressed = ModulePage::Press(name);
    if (!isPercent()) cmdSet[2].enabled = false;
    return pressed;
  }
  return ModulePage::Press(name);
}

void frmSG2::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2"), set3(v, "frmSet3");
  for (int i = 0; i < kChannels; ++i) {
    set1.text(ZeroScaleInfo(i), txtZScale[i]);
    set1.text(FullScaleInfo(i), txtFScale[i]);
    set1.text(BiasInfo(i), txtBias[i]);
    set1.text(GainInfo(i), txtGain[i]);
    set1.text(kLoadRatio.info(i)
                  .in_unit(lblZBase_Unit[i].caption)
                  .as(txtZBase[i].shownOnly ? Role::ShownOnly : Role::Setting),
              txtZBase[i]);
    set1.label(Indexed("lblZScale", i), lblZScale[i]);
    set1.label(Indexed("lblFScale", i), lblFScale[i]);
    set1.label(Indexed("lblZBase_Unit", i), lblZBase_Unit[i]);
  }
  for (int i = 0; i < kChannels; ++i) {
    const std::string n = std::to_string(i);
    set1.label("lblCalibrate" + n, lblCalibrate[i]);
    set1.button("cmdAutoZero" + n, cmdAutoZero[i]);
    set1.button("cmdZero" + n, cmdZero[i]);
    set1.button("cmdSpan" + n, cmdSpan[i]);
    set1.button("cmdOffset" + n, cmdOffset[i]);
    set1.text(ShownValue(Indexed("txtParData2", i), "Calibrated").ch(i), txtParData2[i]);
  }
  set2.frame("Frame2", Frame2);
  set2.option("optKeepOn", optKeepOn);
  set2.option("optKeepOff", optKeepOff);

  set2.label("lblChannels", lblChannels);
  set2.label("lblAverage", lblAverage);
  for (int i = 0; i < kChannels; ++i) {
    set2.combo(Setting(Indexed("CmbAveType", i), "Average").ch(i), CmbAveType[i]);
    set2.button("cmdAveApplyCH" + std::to_string(i), cmdAveApplyCH[i]);
  }
  set2.label("lblMonitorOutput", lblMonitorOutput);
  for (int i = 0; i < kChannels; ++i) {
    const std::string n = std::to_string(i);
    set2.text(Setting(Indexed("txtAdjscale", i), "Monitor Output").ch(i), txtAdjscale[i]);
    set2.button("cmdApplyCH" + n, cmdApplyCH[i]);
    set2.button("cmdOutputCH" + n, cmdOutputCH[i]);
    set2.button("cmdCancelCH" + n, cmdCancelCH[i]);
  }
  set2.label("lblGainAdjust", lblGainAdjust);
  for (int i = 0; i < kChannels; ++i) {
    const std::string n = std::to_string(i);
    set2.text(kAdjGain.info(i).checkedOn("cmdGainApplyCH" + n), txtAdjGain[i]);
    set2.button("cmdGainUPCH" + n, cmdGainUPCH[i]);
    set2.button("cmdGainDOWNCH" + n, cmdGainDOWNCH[i]);
    set2.button("cmdGainApplyCH" + n, cmdGainApplyCH[i]);
  }
  set2.label("lblMode", lblMode);
  set2.button(CaptionStateInfo("cmdCRFilter", "CR Filter"), cmdCRFilter);
  set2.label("lblExtvoltage", lblExtvoltage);
  set2.button(CaptionStateInfo("cmdExtvoltage", lblExtvoltage.caption), cmdExtvoltage);

  for (int i = 0; i < kChannels; ++i) {
    set3.text(kZPercent.info(i), txtZPercent[i]);
    set3.text(kSPercent.info(i), txtSPercent[i]);
    set3.text(kOPercent.info(i), txtOPercent[i]);
  }
  for (int i = 0; i < kChannels; ++i) v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
  v.text(LiveValue("txtTotalData", "Total"), txtTotalData);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

namespace {

// The four models with the filter mode; they get a full scale and averaging of their own
// in a new configuration.
bool FilterModelName(std::string_view model) {
  for (std::string_view m :
       {"Q5Z3UCIE-SG2-9/F2K", "Q5Z3UCIE-SG2-9/F1", "Q5T3SECT-SG2-A/F2K", "Q5T3SECT-SG2-A/F1"})
    if (model.substr(0, m.size()) == m) return true;
  return false;
}

bool PercentModel(const RecordStream& io) {
  return io.modelBeginsWith("Q5T3SECT-SG2-A/F2K") || io.modelBeginsWith("Q5T3SECT-SG2-A/F1");
}

}  // namespace

void frmSG2::records(RecordStream& io) {
  // The CR filter and the excitation as 0/1 flags of their buttons' captions.
  std::int16_t filter = cmdCRFilter.caption == "2Hz" ? 0 : 1;
  std::int16_t excitation = cmdExtvoltage.caption == "5V" ? 1 : 0;
  io.integer(filter, "cmdCRFilter");
  io.integer(excitation, "cmdExtvoltage");
  io.endRecord();
  if (io.reading()) {
    cmdCRFilter.caption = FilterCaption(filter != 0);
    // The model that lets the excitation be chosen keeps the caption the page has.
    if (!io.modelIs("Q5T3NML3-6-SG2A")) cmdExtvoltage.caption = excitation ? "5V" : "2.5V";
  }
  // The scaling block without the full base.
  for (int i = 0; i < kChannels; ++i) {
    scalingFields(io, i, kScalingItems - 1);
    io.endRecord();
  }
  for (int i = 0; i < kChannels; ++i) {
    io.index(CmbAveType[i], Indexed("CmbAveType", i));
    io.endRecord();
  }
  if (PercentModel(io)) {
    for (int i = 0; i < kChannels; ++i) {
      io.text(txtZPercent[i], Indexed("txtZPercent", i));
      io.text(txtSPercent[i], Indexed("txtSPercent", i));
      io.text(txtOPercent[i], Indexed("txtOPercent", i));
      io.endRecord();
    }
  }
}

bool frmSG2::newDefaults(std::string_view model) {
  const bool filterModel = FilterModelName(model);
  cmdCRFilter.caption = FilterCaption(true);
  cmdExtvoltage.caption = "5V";
  for (int i = 0; i < kChannels; ++i) {
    txtZScale[i].text = "0";
    txtFScale[i].text = filterModel ? "10000" : "-1";
    txtBias[i].text = "0.00";
    txtGain[i].text = "1.0000";
    txtZBase[i].text = "100.00";
    CmbAveType[i].index = filterModel ? 3 : 0;
    txtZPercent[i].text = "0";
    txtSPercent[i].text = "10000";
    txtOPercent[i].text = "0";
  }
  return true;
}

}  // namespace q5::pages
