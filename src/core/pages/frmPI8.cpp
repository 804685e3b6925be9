#include "pages/frmPI8.h"

#include <algorithm>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/ChannelScaling.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr double kCountMax = 4294967295.0;
// The count's maximum, the carry flag and the preset the preset button sends.
constexpr RangedSetting kFScale{"txtFScale", "Max(1-4294967295)", 1, kCountMax};
constexpr RangedSetting kOver{"txtOver", "Carry(0or1)", 0, 1, 0};
constexpr RangedSetting kPreset{"txtPreset", "Preset(0 - 4294967295)", 0, kCountMax};
// The model that reports each of its channels twice.
constexpr std::string_view kHalvedModel = "Q5Z3UECT-1-PI8A";

}  // namespace

frmPI8::frmPI8(PageContext& ctx) : ModulePage(ctx) {
  MakeTabs({"Setting 1", "Setting 2"});
  for (int i = 0; i < kChannels; ++i) {
    cmdPreset[i].caption = "CH " + std::to_string(i);
    ChkOutputValid[i].caption = "Invalid Input";
  }
}

int frmPI8::channels() const { return std::clamp<int>(values().channelCount, 0, kChannels); }

void frmPI8::FillLists() {
  FillList(CmbPulseEdge, {"Up(DI-OFF)", "Down(DI-ON)"});
  FillList(CmbResetEdge, {"Up(DI-OFF)", "Down(DI-ON)"});
  FillList(CmbResetInvalid, {"Enable", "Disable"});
  FillList(CmbOutputInvalid, {"Enable", "Disable"});
}

void frmPI8::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  FillLists();
}

bool frmPI8::Init() {
  ResetTabs();
  if (values().model == kHalvedModel && ctx_.setChannelCount) {
    // Half the count the unit reported, to the nearest whole number, ties to even.
    ctx_.setChannelCount(static_cast<int>(RoundHalfEven(values().channelCount / 2.0)));
  }
  txt_able(false);
  ProgressOpen(9, "Initializing");
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  FillLists();

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    auto& entry = ChannelItems().entry[i];
    const auto over = GroupValue(link(), std::to_string(ch), "20");
    if (!over) return UploadFailure(), false;
    txtOver[i].text = entry.value[kZeroScale] = *over;
    const auto max = ItemValue(link(), "21");
    if (!max) return UploadFailure(), false;
    txtFScale[i].text = entry.value[kFullScale] = *max;
    const auto invalid = ItemValue(link(), "11");
    if (!invalid) return UploadFailure(), false;
    ChkOutputValid[i].value = *invalid == "1";
    ProgressStep();
  }

  const auto pulseEdge = GroupValue(link(), "00", "29");
  if (!pulseEdge) return EndInitQuietly();
  SelectLeadingIndex(CmbPulseEdge, *pulseEdge);
  for (auto [item, box] : {std::pair{"30", &CmbResetEdge}, {"31", &CmbResetInvalid},
                           {"32", &CmbOutputInvalid}}) {
    const auto v = ItemValue(link(), item);
    if (!v) return EndInitQuietly();
    SelectLeadingIndex(*box, *v);
  }
  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

void frmPI8::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(9, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    link().GroupItemWriteRetry(kRetry, std::to_string(ch), "20", txtOver[i].text);
    link().ItemWriteRetry(kRetry, "21", txtFScale[i].text);
    link().ItemWriteRetry(kRetry, "11", ChkOutputValid[i].value ? "1" : "0");
    ProgressStep();
  }
  link().GroupItemWriteRetry(kRetry, "00", "29", CmbPulseEdge.code());
  link().ItemWriteRetry(kRetry, "30", CmbResetEdge.code());
  link().ItemWriteRetry(kRetry, "31", CmbResetInvalid.code());
  link().ItemWriteRetry(kRetry, "32", CmbOutputInvalid.code());
  // The unit takes the new settings over on this pulse.
  link().ItemWriteRetry(kRetry, "78", "1");
  link().ItemWriteRetry(kRetry, "78", "0");
  ProgressClose();
}

void frmPI8::ReadingData() {
  // Selects group "00" with a single retry; what it answers is not used.
  link().GroupItemReadRetry(1, "00", "01");
  for (int ch = 1; ch <= channels(); ++ch) {
    const auto count = ItemValue(link(), std::to_string(20 + ch));
    if (count) txtPA[ch - 1].text = *count;
  }
}

bool frmPI8::CheckData() {
  BeginCheck();
  for (int i = 0; i < channels(); ++i) {
    for (auto [field, box] : {std::pair{&kFScale, &txtFScale[i]}, {&kOver, &txtOver[i]}})
      if (!IsNumeric(box->text))
        return Refuse(Indexed(field->name, i), std::string(field->caption) + " of CH " +
                                                   std::to_string(i) + " is \"" + box->text +
                                                   "\", not a number.");
    if (!CheckDeclared(kFScale.info(i), txtFScale[i].text)) return false;
    // The carry is a flag, as its caption "Carry(0or1)" says: a whole number as typed.
    const ControlInfo over = kOver.info(i);
    if (!WholeNumberWithin(txtOver[i].text, static_cast<long long>(over.min),
                           static_cast<long long>(over.max)))
      return Refuse(over.name, OutOfRangeReason(over, txtOver[i].text));
    txtFScale[i].text = PlainDecimal(txtFScale[i].text);
    txtOver[i].text = PlainDecimal(txtOver[i].text);
  }
  return true;
}

bool frmPI8::CheckData2(int index) {
  TextBox& preset = txtPreset[index];
  const ControlInfo info = kPreset.info(index);
  if (!InDeclaredRange(info, preset.text)) {
    RangeMessage("Data Error \r\nCheck data range.", info.name,
                 OutOfRangeReason(info, preset.text));
    return false;
  }
  preset.text = PlainDecimal(preset.text);
  return true;
}

void frmPI8::cmdPreset_Click(int index) {
  if (index < 0 || index >= kChannels || !CheckData2(index)) return;
  const std::string reply =
      link().GroupItemWriteRetry(kRetry, std::to_string(index + 1), "08", txtPreset[index].text);
  if (!reply.empty() && reply != "NG") ReadingData();
}

bool frmPI8::Press(std::string_view name) {
  for (int i = 0; i < kChannels; ++i) {
    if (name != Indexed("cmdPreset", i)) continue;
    if (cmdPreset[i].enabled) cmdPreset_Click(i);
    return true;
  }
  return ModulePage::Press(name);
}

void frmPI8::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    txtFScale[i].enabled = enable;
    txtPreset[i].enabled = enable;
    txtOver[i].enabled = enable;
    cmdPreset[i].enabled = enable;
    // The output check boxes and the module's lists are settings too: while monitoring
    // they are locked like the fields.
    ChkOutputValid[i].enabled = enable;
  }
  for (ComboBox* c : {&CmbPulseEdge, &CmbResetEdge, &CmbResetInvalid, &CmbOutputInvalid})
    c->enabled = enable;
}

void frmPI8::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int i = 0; i < kChannels; ++i) {
    set1.text(LiveValue(Indexed("txtPA", i), "Count").ch(i), txtPA[i]);
    set1.text(kFScale.info(i), txtFScale[i]);
    set1.text(kOver.info(i), txtOver[i]);
    set1.check(Indexed("ChkOutputValid", i), ChkOutputValid[i]);
    set1.text(kPreset.info(i).checkedOn(Indexed("cmdPreset", i)), txtPreset[i]);
    set1.button(Indexed("cmdPreset", i), cmdPreset[i]);
  }
  set2.combo(Setting("CmbPulseEdge", "Edge"), CmbPulseEdge);
  set2.combo(Setting("CmbResetEdge", "Edge of Reset Pulse"), CmbResetEdge);
  set2.combo(Setting("CmbResetInvalid", "Reset Pulse"), CmbResetInvalid);
  set2.combo(Setting("CmbOutputInvalid", "Reset/Preset by Master"), CmbOutputInvalid);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmPI8::records(RecordStream& io) {
  io.index(CmbPulseEdge, "CmbPulseEdge");
  io.index(CmbResetEdge, "CmbResetEdge");
  io.index(CmbResetInvalid, "CmbResetInvalid");
  io.index(CmbOutputInvalid, "CmbOutputInvalid");
  io.endRecord();
  for (int i = 0; i < kChannels; ++i) {
    io.text(txtOver[i], Indexed("txtOver", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    // The output-valid box as the integer 1 (checked) or 0.
    std::int16_t checked = ChkOutputValid[i].value ? 1 : 0;
    io.integer(checked, Indexed("ChkOutputValid", i));
    if (io.reading()) ChkOutputValid[i].value = checked == 1;
    io.endRecord();
  }
}

bool frmPI8::newDefaults(std::string_view) {
  for (auto* box : {&CmbPulseEdge, &CmbResetEdge, &CmbResetInvalid, &CmbOutputInvalid})
    box->index = 1;
  for (int i = 0; i < kChannels; ++i) {
    txtOver[i].text = "0";
    txtFScale[i].text = "4294967295";
    ChkOutputValid[i].value = false;
  }
  return true;
}

}  // namespace q5::pages
