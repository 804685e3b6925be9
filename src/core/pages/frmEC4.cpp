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

bool frmEC4::CheckChannel(int i) const {
  // Whole numbers, rounded half to even; the texts themselves stay as typed.
  auto whole = [](const TextBox& b) { return RoundHalfEven(NumericValue(b.text)); };
  auto within = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
  const double freq = whole(txtFreq[i]);
  const double dfreq = whole(txtDFreq[i]);
  if (!within(whole(txtPhase[i]), 0, 65535)) return false;
  if (!within(whole(txtMaxDuty[i]), 0, 9000)) return false;
  if (!within(freq, 10, 65000)) return false;
  if (!within(whole(txtMaxCrnt[i]), 1000, 1300)) return false;
  if (!within(dfreq, 1, 310)) return false;
  if (!within(whole(txtDitherAmp[i]), 0, 400)) return false;
  if (!within(whole(txtOutputClearValue[i]), 0, 9000)) return false;
  // The dither needs at least eight PWM periods per dither period, and is not available
  // above 10000 Hz.
  if (freq / 8 < dfreq) return false;
  if (freq >= 10001 && cmbDitherInvalid[i].index == 0) return false;
  return true;
}

bool frmEC4::CheckData() {
  for (int i = 0; i < channels(); ++i)
    for (const TextBox* b : {&txtPhase[i], &txtMaxDuty[i], &txtFreq[i], &txtMaxCrnt[i],
                             &txtDFreq[i], &txtDitherAmp[i], &txtOutputClearValue[i]})
      if (!IsNumeric(b->text)) return false;
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
    set1.text(Setting(Indexed("txtPhase", i), "Phase (0 to 65535)").ch(i), txtPhase[i]);
    set1.combo(Setting(Indexed("cmbInvalid", i), "Output").ch(i), cmbInvalid[i]);
    set1.text(Setting(Indexed("txtMaxDuty", i), "Max Duty % (0 to 90.00)").ch(i).in_unit("%"), txtMaxDuty[i]);
    set1.text(Setting(Indexed("txtFreq", i), "Frequency (10 to 65000)").ch(i), txtFreq[i]);
    set1.text(Setting(Indexed("txtMaxCrnt", i), "Max Current (1000 to 1300)").ch(i), txtMaxCrnt[i]);
    set2.text(Setting(Indexed("txtDFreq", i), "Dither Frequency (1 to 310)").ch(i), txtDFreq[i]);
    set2.text(Setting(Indexed("txtDitherAmp", i), "Dither Amplitude (0 to 400)").ch(i), txtDitherAmp[i]);
    set2.combo(Setting(Indexed("cmbDitherInvalid", i), "Dither").ch(i), cmbDitherInvalid[i]);
    set2.text(Setting(Indexed("txtOutputClearValue", i), "Output Clear Value % (0.00 to 90.00)").ch(i).in_unit("%"), txtOutputClearValue[i]);
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
