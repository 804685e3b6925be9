#include "pages/frmEC4.h"

#include <algorithm>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/ChannelScaling.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

// The output hold/clear of item "29": the list index is the 10th character of the reply
// ("HOLD_CLR:1").
constexpr std::size_t kHoldPos = 10;

void FillValidList(ComboBox& box) { FillList(box, {"Valid", "Invalid"}); }

// A channel's numbers: whole numbers after rounding (ties to even) within these ranges.
// Max duty and clear value are in hundredths of a percent, whatever their labels say.
constexpr RangedSetting kPhase{"txtPhase", "Phase (0 to 65535)", 0, 65535, 0, true};
constexpr RangedSetting kMaxDuty{"txtMaxDuty", "Max Duty % (0 to 90.00)", 0, 9000, 0, true, "%"};
constexpr RangedSetting kFreq{"txtFreq", "Frequency (10 to 65000)", 10, 65000, 0, true};
constexpr RangedSetting kMaxCrnt{"txtMaxCrnt", "Max Current (1000 to 1300)", 1000, 1300, 0, true};
constexpr RangedSetting kDFreq{"txtDFreq", "Dither Frequency (1 to 310)", 1, 310, 0, true};
constexpr RangedSetting kDitherAmp{"txtDitherAmp", "Dither Amplitude (0 to 400)", 0, 400, 0, true};
constexpr RangedSetting kClearValue{
    "txtOutputClearValue", "Output Clear Value % (0.00 to 90.00)", 0, 9000, 0, true, "%"};
// Above this PWM frequency the dither is not available.
constexpr double kDitherFreqLimit = 10000;

}  // namespace

frmEC4::frmEC4(PageContext& ctx) : ModulePage(ctx) {
  MakeTabs({"Setting 1", "Setting 2"});
  cmbOutputHold.enabled = false;
}

int frmEC4::channels() const { return std::clamp<int>(values().channelCount, 0, kChannels); }

void frmEC4::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  for (int i = 0; i < kChannels; ++i) {
    FillValidList(cmbInvalid[i]);
    FillValidList(cmbDitherInvalid[i]);
  }
  FillList(cmbOutputHold, {"Clear", "Hold"});
}

bool frmEC4::Init() {
  pendingWrite = false;
  pendingValues.fill("0");
  ResetTabs();
  txt_able(false);
  ProgressOpen(channels() + 1, "Initializing");
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    const auto phase = GroupValue(link(), std::to_string(ch), "15");
    if (!phase) return UploadFailure(), false;
    txtPhase[i].text = *phase;
    for (auto [item, box] : {std::pair{"30", &txtMaxDuty[i]}, {"13", &txtFreq[i]},
                             {"19", &txtMaxCrnt[i]}, {"14", &txtDFreq[i]},
                             {"16", &txtDitherAmp[i]}, {"17", &txtOutputClearValue[i]}}) {
      const auto v = ItemValue(link(), item);
      if (!v) return UploadFailure(), false;
      box->text = *v;
    }
    FillValidList(cmbInvalid[i]);
    const auto output = ItemValue(link(), "11");
    if (!output) return UploadFailure(), false;
    SelectLeadingIndex(cmbInvalid[i], *output);
    FillValidList(cmbDitherInvalid[i]);
    const auto dither = ItemValue(link(), "12");
    if (!dither) return UploadFailure(), false;
    SelectLeadingIndex(cmbDitherInvalid[i], *dither);
    ProgressStep();
  }

  FillList(cmbOutputHold, {"Clear", "Hold"});
  const std::string hold = link().GroupItemReadRetry(kRetry, "00", "29");
  if (hold.empty()) return EndInitQuietly();
  SelectCode(cmbOutputHold, DigitAt(hold, kHoldPos).value_or(-1));
  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

void frmEC4::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(channels() + 1, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    link().GroupItemWriteRetry(kRetry, std::to_string(ch), "11", cmbInvalid[i].code());
    link().ItemWriteRetry(kRetry, "12", cmbDitherInvalid[i].code());
    // The texts go out as typed; the unit keeps its own format.
    link().ItemWriteRetry(kRetry, "30", txtMaxDuty[i].text);
    link().ItemWriteRetry(kRetry, "19", txtMaxCrnt[i].text);
    link().ItemWriteRetry(kRetry, "17", txtOutputClearValue[i].text);
    link().ItemWriteRetry(kRetry, "13", txtFreq[i].text);
    link().ItemWriteRetry(kRetry, "15", txtPhase[i].text);
    link().ItemWriteRetry(kRetry, "14", txtDFreq[i].text);
    link().ItemWriteRetry(kRetry, "16", txtDitherAmp[i].text);
    ProgressStep();
  }
  ProgressClose();
}

void frmEC4::ReadingData() {
  for (int n = 1; n <= channels(); ++n)
    ReadLiveValue(link(), std::to_string(20 + n), txtParData[n - 1]);
  if (pendingWrite) {
    pendingWrite = false;
    // Manual mode first, then all four outputs whatever the channel count.
    link().GroupItemWriteRetry(kRetry, "00", "78", "1");
    for (int n = 1; n <= kChannels; ++n)
      link().ItemWriteRetry(kRetry, std::to_string(20 + n), pendingValues[n - 1]);
  }
}

bool frmEC4::CheckChannel(int i) {
  const struct {
    const RangedSetting& field;
    const TextBox& box;
  } ranged[] = {{kPhase, txtPhase[i]},
                {kMaxDuty, txtMaxDuty[i]},
                {kFreq, txtFreq[i]},
                {kMaxCrnt, txtMaxCrnt[i]},
                {kDFreq, txtDFreq[i]},
                {kDitherAmp, txtDitherAmp[i]},
                {kClearValue, txtOutputClearValue[i]}};
  for (const auto& r : ranged)
    if (!CheckDeclared(r.field.info(i), r.box.text)) return false;
  // Whole numbers, rounded half to even; the texts themselves stay as typed.
  const double freq = RoundHalfEven(NumericValue(txtFreq[i].text));
  const double dfreq = RoundHalfEven(NumericValue(txtDFreq[i].text));
  const std::string ch = " of CH " + std::to_string(i);
  // The dither needs at least eight PWM periods per dither period, and is not available
  // above 10000 Hz.
  if (freq / 8 < dfreq)
    return Refuse(Indexed(kDFreq.name, i), "Dither Frequency" + ch + " is " + txtDFreq[i].text +
                                               "; at most an eighth of the frequency " +
                                               txtFreq[i].text + ".");
  if (freq > kDitherFreqLimit && cmbDitherInvalid[i].index == 0)
    return Refuse(Indexed(kFreq.name, i), "Frequency" + ch + " is " + txtFreq[i].text +
                                              "; with the dither valid, at most 10000.");
  return true;
}

bool frmEC4::CheckData() {
  BeginCheck();
  for (int i = 0; i < channels(); ++i)
    for (const auto& [field, box] : {std::pair{&kPhase, &txtPhase[i]},
                                    {&kMaxDuty, &txtMaxDuty[i]},
                                    {&kFreq, &txtFreq[i]},
                                    {&kMaxCrnt, &txtMaxCrnt[i]},
                                    {&kDFreq, &txtDFreq[i]},
                                    {&kDitherAmp, &txtDitherAmp[i]},
                                    {&kClearValue, &txtOutputClearValue[i]}})
      if (!IsNumeric(box->text))
        return Refuse(Indexed(field->name, i), std::string(field->caption) + " of CH " +
                                                   std::to_string(i) + " is \"" + box->text +
                                                   "\", not a number.");
  for (int i = 0; i < channels(); ++i)
    if (!CheckChannel(i)) return false;
  return true;
}

void frmEC4::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    for (TextBox* b : {&txtPhase[i], &txtMaxDuty[i], &txtFreq[i], &txtMaxCrnt[i], &txtDFreq[i],
                       &txtDitherAmp[i], &txtOutputClearValue[i]})
      b->enabled = enable;
    cmbInvalid[i].enabled = enable;
    cmbDitherInvalid[i].enabled = enable;
  }
  cmbOutputHold.enabled = false;
}

std::string frmEC4::manualOutputValue(int i) const {
  return i >= 0 && i < kChannels ? txtParData[i].text : std::string();
}

void frmEC4::WritingData(const std::vector<std::string>& v) {
  for (int i = 0; i < kChannels; ++i)
    pendingValues[i] = i < static_cast<int>(v.size()) ? v[i] : std::string("0");
  pendingWrite = true;
}

void frmEC4::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int i = 0; i < kChannels; ++i) {
    v.text(LiveValue(Indexed("txtParData", i), "Value").ch(i), txtParData[i]);
    set1.text(kPhase.info(i), txtPhase[i]);
    set1.combo(Setting(Indexed("cmbInvalid", i), "Output").ch(i), cmbInvalid[i]);
    set1.text(kMaxDuty.info(i), txtMaxDuty[i]);
    set1.text(kFreq.info(i), txtFreq[i]);
    set1.text(kMaxCrnt.info(i), txtMaxCrnt[i]);
    set2.text(kDFreq.info(i), txtDFreq[i]);
    set2.text(kDitherAmp.info(i), txtDitherAmp[i]);
    set2.combo(Setting(Indexed("cmbDitherInvalid", i), "Dither").ch(i), cmbDitherInvalid[i]);
    set2.text(kClearValue.info(i), txtOutputClearValue[i]);
  }
  v.combo(Setting("cmbOutputHold", "Output Hold/Clear"), cmbOutputHold);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmEC4::records(RecordStream& io) {
  io.index(cmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < frmEC4::kChannels; ++i) {
    io.text(txtPhase[i], Indexed("txtPhase", i));
    io.text(txtMaxDuty[i], Indexed("txtMaxDuty", i));
    io.text(txtFreq[i], Indexed("txtFreq", i));
    io.text(txtMaxCrnt[i], Indexed("txtMaxCrnt", i));
    io.text(txtDFreq[i], Indexed("txtDFreq", i));
    io.text(txtDitherAmp[i], Indexed("txtDitherAmp", i));
    io.text(txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
    io.index(cmbInvalid[i], Indexed("cmbInvalid", i));
    io.index(cmbDitherInvalid[i], Indexed("cmbDitherInvalid", i));
    io.endRecord();
  }
}

bool frmEC4::newDefaults(std::string_view) {
  cmbOutputHold.index = 1;
  for (int i = 0; i < frmEC4::kChannels; ++i) {
    txtPhase[i].text = "0";
    txtMaxDuty[i].text = "5000";
    txtFreq[i].text = "10000";
    txtMaxCrnt[i].text = "1300";
    txtDFreq[i].text = "300";
    txtDitherAmp[i].text = "50";
    txtOutputClearValue[i].text = "0";
    cmbInvalid[i].index = 1;
    cmbDitherInvalid[i].index = 1;
  }
  return true;
}

}  // namespace q5::pages
