#include "pages/AnalogOutputPage.h"

#include "catalogue/Catalogue.h"
#include "catalogue/StartupTables.h"
#include "link/TextRoutines.h"

namespace q5::pages {

namespace {

// The output ranges; the index is the range code sent to the unit.
constexpr std::string_view kVoltageRanges[] = {
    "-10V to 10V", "-5V to 5V", "-1V to 1V", "0V to 10V",
    "0V to 5V",    "1V to 5V",  "0V to 1V",  "-0.5V to 0.5V"};

constexpr int kSwitchByRange = 15;  // switch "F": each channel's range decides

// Group "00" item "29": the hold choice is the digit at this position of the reply.
constexpr std::size_t kHoldPos = 10;

}  // namespace

AnalogOutputPage::AnalogOutputPage(PageContext& ctx, Shape shape)
    : ModulePage(ctx),
      ChannelScaling(shape.channels, checkFailure_),
      cmbUserRange(shape.channels),
      txtOutputClearValue(shape.channels),
      cmbInvalid(shape.channels),
      txtParData(shape.channels),
      lblCh(shape.channels),
      lblBias(shape.channels),
      lblGain(shape.channels),
      lblZBase(shape.channels),
      lblFBase(shape.channels),
      shape_(shape) {
  MakeTabs({"Setting 1", "Setting 2"});
  Frame2.caption = "Output Hold/Clear";
  optKeepOn.caption = "Output Hold";
  optKeepOff.caption = "Output Clear";
  Frame2.visible = false;
  pendingValues.fill(std::string(kNoPendingValue));
  for (int i = 0; i < shape.channels; ++i) {
    lblCh[i].caption = "CH " + std::to_string(i);
    SetScaleCaptions(i, "-32000 to 32000");
    // The output values at the range ends are written back by these pages.
    txtZBase[i].enabled = true;
    txtFBase[i].enabled = true;
    txtZBase[i].shownOnly = false;
    txtFBase[i].shownOnly = false;
    // Only frmOVF4 shows the ranges of these fields.
    lblBias[i].visible = lblGain[i].visible = lblZBase[i].visible = lblFBase[i].visible = false;
  }
  lblOClearValue.caption = "-15.00 to 115.00";
}

// ---- Lists and labels -----------------------------------------------------------------------

void AnalogOutputPage::ShowTabsInUse() {
  // The 2-channel current output of a unit without a network module has nothing for
  // "Setting 2" (no range list, no hold/clear): the page shows no tabs then, rather than
  // a tab with an empty frame.
  const bool second = shape_.voltage || shape_.fVariant || Frame2.visible;
  for (auto& tab : cmdSet) tab.visible = second;
}

void AnalogOutputPage::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  if (!shape_.fVariant) Frame2.visible = behindNetwork();
  ShowTabsInUse();
  for (int i = 0; i < shape_.channels; ++i) {
    cmbUserRange[i].clear();
    if (shape_.voltage)
      for (auto r : kVoltageRanges) cmbUserRange[i].add(std::string(r));
    cmbInvalid[i].clear();
    if (shape_.fVariant) {
      cmbInvalid[i].add("Valid");
      cmbInvalid[i].add("Invalid");
    }
    if (!shape_.voltage) SetUnitLabels(i, "mA");
  }
  CmbOutputHold.clear();
  if (shape_.fVariant) {
    CmbOutputHold.add("Clear");
    CmbOutputHold.add("Hold");
  }
}

void AnalogOutputPage::UpdateUnitLabels(int i) {
  if (!shape_.voltage) {
    SetUnitLabels(i, "mA");
    return;
  }
  const int code = switchCode_ == kSwitchByRange ? cmbUserRange[i].index : switchCode_;
  SetUnitLabels(i, catalogue::RangeUnitLabel(shape_.unitList, code));
}

void AnalogOutputPage::ValuesChanged() {
  for (int i = 0; i < shape_.channels; ++i) UpdateUnitLabels(i);
}

// ---- Upload -------------------------------------------------------------------------------

bool AnalogOutputPage::Init() {
  // Nothing typed into "Change Value" survives an Upload.
  pendingWrite = false;
  pendingValues.fill(std::string(kNoPendingValue));
  ResetTabs();
  txt_able(false);
  ProgressOpen(ProgressSteps(), "Initializing");
  PrepareControls();

  if (shape_.voltage) {
    const auto sw = ReadRangeSwitch(link(), FixedSwitch());
    if (!sw) return EndInitQuietly();
    switchCode_ = *sw;
  }
  if (behindNetwork() && !shape_.voltage && shape_.fVariant) {
    // Read as on the other pages; this page has no hold/clear option of its own.
    const std::string hold = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "14"));
    if (hold.empty()) return EndInitQuietly();
  } else if (!shape_.fVariant) {
    Frame2.visible = behindNetwork();
    ShowTabsInUse();
    if (behindNetwork()) {
      const std::string hold =
          link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "14"));
      if (hold.empty()) return EndInitQuietly();
      optKeepOn.value = hold == "ON";
      optKeepOff.value = !optKeepOn.value;
    }
  }
  BeforeChannels();

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch);
    if (shape_.fVariant) {
      const auto clear = ReadItemValue(link(), "12");
      if (!clear) {
        UploadFailure();
        return false;
      }
      txtOutputClearValue[i].text = ClearValueShown(*clear);
    }
    UpdateUnitLabels(i);
    if (shape_.fVariant && !ReadValidInvalid(link(), cmbInvalid[i])) return EndInitQuietly();
    if (shape_.voltage) {
      const auto range = ReadItemValue(link(), "09");
      if (!range) return EndInitQuietly();
      SelectCode(cmbUserRange[i], CodeOf(*range));
      UpdateUnitLabels(i);
    }
    ProgressStep();
  }

  if (shape_.fVariant) {
    const std::string reply = link().GroupItemReadRetry(kRetry, "00", "29");
    if (reply.empty()) return EndInitQuietly();
    if (isHundredthsModel()) {
      // Character 14: "0" is "Hold", anything else "Clear".
      CmbOutputHold.index = reply.size() >= 14 && reply[13] == '0' ? 1 : 0;
    } else {
      SelectCode(CmbOutputHold, DigitAt(reply, kHoldPos).value_or(-1));
    }
  }

  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void AnalogOutputPage::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(ProgressSteps(), "Downloading");
  if (!shape_.fVariant && behindNetwork())
    link().GroupItemWriteRetry(kRetry, "00", "14", optKeepOn.value ? "0" : "1");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    LoadAndWriteScaling(link(), ch, values().moduleKind, WrittenScalingPairs());
    if (shape_.voltage) link().ItemWriteRetry(kRetry, "09", IndexText(cmbUserRange[i]));
    if (shape_.fVariant) {
      link().ItemWriteRetry(kRetry, "12", ClearValueWritten(txtOutputClearValue[i].text));
      link().ItemWriteRetry(kRetry, "11", IndexText(cmbInvalid[i]));
    }
    ProgressStep();
  }
  if (WritesOutputHold()) {
    std::string hold = IndexText(CmbOutputHold);
    // The hundredths model takes the flag the other way round: "0" holds.
    if (isHundredthsModel()) hold = CmbOutputHold.index == 1 ? "0" : "1";
    link().GroupItemWriteRetry(kRetry, "00", "29", hold);
  }
  ProgressClose();
}

// ---- Live values and manual outputs -------------------------------------------------------

void AnalogOutputPage::ReadingData() {
  const int live = shape_.fVariant ? channels() : 2;
  for (int i = 0; i < live; ++i) ReadLiveValue(link(), std::to_string(21 + i), txtParData[i]);
  if (!shape_.fVariant || !pendingWrite) return;
  // The flag goes first: a write that fails is not tried again by the next pass.
  pendingWrite = false;
  for (int i = 0; i < kMaxChannels; ++i)
    link().GroupItemWriteRetry(kRetry, "00", std::to_string(21 + i), pendingValues[i]);
}

std::string AnalogOutputPage::manualOutputValue(int i) const {
  return i >= 0 && i < shape_.channels ? txtParData[i].text : std::string();
}

void AnalogOutputPage::WritingData(const std::vector<std::string>& v) {
  for (int i = 0; i < kMaxChannels; ++i)
    if (i < static_cast<int>(v.size())) pendingValues[i] = v[i];
  pendingWrite = true;
}

// ---- Check, enable, controls --------------------------------------------------------------

bool AnalogOutputPage::CheckData() {
  if (!CheckScalingChannels(channels(), [](int) { return kScaleLimits; }, true)) return false;
  if (!shape_.fVariant) return true;
  for (int i = 0; i < channels(); ++i) {
    const ControlInfo clear = ClearValueInfo(i);
    const std::string& t = txtOutputClearValue[i].text;
    if (!IsNumeric(t)) return Refuse(clear.name, OutOfRangeReason(clear, t));
    if (!CheckDeclared(clear, t)) return false;
  }
  return true;
}

void AnalogOutputPage::txt_able(bool enable) {
  const bool basesWritten = WrittenScalingPairs() == kScalingItems;
  for (int i = 0; i < shape_.channels; ++i) {
    EnableScaling(i, enable);
    txtZBase[i].enabled = basesWritten && enable;
    txtFBase[i].enabled = basesWritten && enable;
    cmbUserRange[i].enabled = enable;
    cmbInvalid[i].enabled = enable;
    txtOutputClearValue[i].enabled = enable;
  }
  optKeepOn.enabled = enable;
  optKeepOff.enabled = enable;
  CmbOutputHold.enabled = enable;
}

void AnalogOutputPage::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int i = 0; i < shape_.channels; ++i) {
    set1.label(Indexed("lblCh", i), lblCh[i]);
    visitScaling(set1, i);
    set1.label(Indexed("lblBias", i), lblBias[i]);
    set1.label(Indexed("lblGain", i), lblGain[i]);
    set1.label(Indexed("lblZBase", i), lblZBase[i]);
    set1.label(Indexed("lblFBase", i), lblFBase[i]);
    if (shape_.voltage) set2.combo(Setting(Indexed("cmbUserRange", i), "Output range").ch(i), cmbUserRange[i]);
    if (shape_.fVariant) {
      set2.text(ClearValueInfo(i), txtOutputClearValue[i]);
      set2.combo(Setting(Indexed("cmbInvalid", i), "Valid/Invalid").ch(i), cmbInvalid[i]);
    }
  }
  for (int i = 0; i < shape_.channels; ++i)
    v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
  if (shape_.fVariant) {
    set2.label("lblOClearValue", lblOClearValue);
    set2.combo(Setting("CmbOutputHold", "Output Clear/Hold"), CmbOutputHold);
  } else {
    set2.frame("Frame2", Frame2);
    set2.option("optKeepOn", optKeepOn);
    set2.option("optKeepOff", optKeepOff);
  }
}

}  // namespace q5::pages
