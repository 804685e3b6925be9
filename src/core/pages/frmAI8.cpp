#include "pages/frmAI8.h"

#include "catalogue/StartupTables.h"
#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr std::string_view kRanges[] = {"-10V to 10V", "-5V to 5V",  "-------------",
                                        "0V to 10V",   "0V to 5V",   "1V to 5V"};
constexpr std::string_view kMixedCurrentRange = "4mA to 20mA";
constexpr std::string_view kAveraging[] = {"1", "2", "4", "8", "16", "32", "64", "128"};

// Item "29": the averaging index is character 13 of the reply on the fixed-range
// models, character 8 otherwise.
constexpr std::size_t kAveragingPos = 8;
constexpr std::size_t kAveragingPosFixedRange = 13;

constexpr int kUnitList = 1;
constexpr int kSwitchByRange = 15;
constexpr int kMilliampereCode = 10;  // "4mA to 20mA" in the unit table

}  // namespace

frmAI8::frmAI8(PageContext& ctx) : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_) {
  MakeTabs({"CH 0 to CH 3", "CH 4 to CH 7"});
  lblConvSpeed1.caption = "Conversion rate / ";
  lblConvSpeed2.caption = "Averaging";
  SetChannelLabels();
}

bool frmAI8::isListed() const {
  const auto& f = values().flags;
  return f["Q5T3NML-6-AIF8N"] || f["Q5Z3UECT-1-AIF8N"] || f["Q5Z3UECT-1-AIMF8N"];
}
bool frmAI8::isFixedRange() const {
  const auto& f = values().flags;
  return f["Q5Z3UECT-1-AIF8N"] || f["Q5Z3UECT-1-AIMF8N"];
}
bool frmAI8::isMixed() const { return values().flags["Q5Z3UECT-1-AIMF8N"]; }
bool frmAI8::isFixedCurrent(int i) const { return isMixed() && i >= 4; }

int frmAI8::channels() const { return ServedChannels(values().channelCount); }

// ---- Tabs -------------------------------------------------------------------------------

void frmAI8::SetChannelLabels() {
  for (int k = 0; k < 4; ++k) lblChannel[k].caption = "CH " + std::to_string(k);
}

void frmAI8::cmdSet1_Click() {
  cmdSet_Click(1);
  SetChannelLabels();
}

void frmAI8::cmdSet2_Click() {
  cmdSet_Click(2);
  SetChannelLabels();
}

bool frmAI8::Press(std::string_view name) {
  // The tab buttons also switch the channel headers between CH0..3 and CH4..7.
  if (name == "cmdSet1") return cmdSet1_Click(), true;
  if (name == "cmdSet2") return cmdSet2_Click(), true;
  return ModulePage::Press(name);
}

void frmAI8::VScroll1_Change() { frameTop = -VScroll1.value; }

// ---- Lists, labels ------------------------------------------------------------------------

void frmAI8::FillRangeList(int i) {
  auto& box = cmbUserRange[i];
  box.clear();
  if (isFixedCurrent(i)) {
    box.add(std::string(kMixedCurrentRange));
    return;
  }
  for (auto r : kRanges) box.add(std::string(r));
}

void frmAI8::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  const bool listed = isListed();
  for (int i = 0; i < kChannels; ++i) {
    FillRangeList(i);
    cmbInvalid[i].clear();
    if (listed) {
      cmbInvalid[i].add("Valid");
      cmbInvalid[i].add("Invalid");
    }
    cmbInvalid[i].visible = listed;
    SetScaleCaptions(i, "-32000 to 32000");
  }
  CmbConvSpeed.clear();
  for (auto a : kAveraging) CmbConvSpeed.add(std::string(a));
  lblConvSpeed1.visible = false;
  lblConvSpeed2.visible = true;
  CmbConvSpeed.visible = true;
}

void frmAI8::UpdateUnitLabels(int i, int rangeCode) {
  if (isFixedCurrent(i)) {
    // The mixed model's current inputs have fixed ends, whatever the unit reports.
    SetUnitLabels(i, catalogue::RangeUnitLabel(kUnitList, kMilliampereCode));
    txtZBase[i].text = "4.00";
    txtFBase[i].text = "20.00";
    return;
  }
  const bool byRange = switchCode == kSwitchByRange || values().flags["Q5T3NML-6-AIF8N"];
  SetUnitLabels(i, catalogue::RangeUnitLabel(kUnitList, byRange ? rangeCode : switchCode));
}

void frmAI8::ValuesChanged() {
  for (int i = 0; i < kChannels; ++i) UpdateUnitLabels(i, cmbUserRange[i].index);
}

// ---- Upload -------------------------------------------------------------------------------

bool frmAI8::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(9, "Initializing");
  PrepareControls();

  // Range switch: "RANGE01:" + switch code; fixed on the fixed-range models.
  const auto sw = ReadRangeSwitch(link(), isFixedRange() ? "RANGE01:0" : nullptr);
  if (!sw) return EndInitQuietly();
  switchCode = *sw;

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch);

    const auto range = ReadItemValue(link(), "09");
    if (!range) return EndInitQuietly();
    // The mixed model's current inputs have a one-item list; their reported code is not
    // a position in it.
    const int code = isFixedCurrent(i) ? 0 : CodeOf(*range);
    SelectCode(cmbUserRange[i], code);
    UpdateUnitLabels(i, code);

    if (isListed() && !ReadValidInvalid(link(), cmbInvalid[i])) return EndInitQuietly();
    ProgressStep();
  }

  if (!ReadAveraging(link(), CmbConvSpeed,
                     isFixedRange() ? kAveragingPosFixedRange : kAveragingPos))
    return EndInitQuietly();

  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void frmAI8::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(9, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    LoadAndWriteScaling(link(), ch, values().moduleKind, 4);
    WriteRangeAndValid(link(), cmbUserRange[i], cmbInvalid[i]);
    ProgressStep();
  }
  WriteAveraging(link(), CmbConvSpeed);
  ProgressClose();
}

// ---- Live values, check, enable -----------------------------------------------------------

void frmAI8::ReadingData() {
  // Items "21" up to "20" + channel count.
  for (int i = 0; i < channels(); ++i)
    ReadLiveValue(link(), std::to_string(21 + i), txtParData[i]);
}

bool frmAI8::CheckData() {
  return CheckScalingChannels(channels(), [](int) { return kScaleLimits; });
}

void frmAI8::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    EnableScaling(i, enable);
    cmbUserRange[i].enabled = enable;
    cmbInvalid[i].enabled = enable;
  }
  CmbConvSpeed.enabled = enable;
}

void frmAI8::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int k = 0; k < 4; ++k) set1.label("lblChannel" + std::to_string(k), lblChannel[k]);
  for (int i = 0; i < kChannels; ++i) {
    // Channels 0 to 3 on the first tab, 4 to 7 on the second.
    InTab& tab = i < 4 ? set1 : set2;
    visitScaling(tab, i);
    tab.combo(Setting(Indexed("cmbUserRange", i), "Input range").ch(i), cmbUserRange[i]);
    tab.combo(Setting(Indexed("cmbInvalid", i), "Valid/Invalid").ch(i), cmbInvalid[i]);
    tab.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
  }
  v.combo(Setting("CmbConvSpeed", lblConvSpeed2.caption), CmbConvSpeed);
  v.label("lblConvSpeed1", lblConvSpeed1);
  v.label("lblConvSpeed2", lblConvSpeed2);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

namespace {

// The 8-channel models with valid/invalid.
bool AI8Listed(const RecordStream& io) {
  return io.modelIs("Q5T3NML-6-AIF8N") || io.modelIs("Q5Z3UECT-1-AIF8N") ||
         io.modelIs("Q5Z3UECT-1-AIMF8N");
}

}  // namespace

void frmAI8::records(RecordStream& io) {
  io.indexes(cmbUserRange, "cmbUserRange");
  io.endRecord();
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
  scalingRecords(io, kChannels);
  if (AI8Listed(io)) {
    io.indexes(cmbInvalid, "cmbInvalid");
    io.endRecord();
  }
}

bool frmAI8::newDefaults(std::string_view model) {
  // The mixed model's channels 5 to 8 are fixed current inputs.
  const bool mixed = model == "Q5Z3UECT-1-AIMF8N";
  for (int i = 0; i < kChannels; ++i) {
    cmbUserRange[i].index = 0;
    cmbInvalid[i].index = 0;
    if (mixed && i >= 4)
      SetScalingDefaults(i, "0", "10000", "4.00", "20.00");
    else
      SetScalingDefaults(i, "0", "10000", "-10.00", "10.00");
  }
  CmbConvSpeed.index = 0;
  return true;
}

}  // namespace q5::pages
