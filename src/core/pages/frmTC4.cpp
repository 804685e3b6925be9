#include "pages/frmTC4.h"

#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

frmTC4::frmTC4(PageContext& ctx) : TemperaturePage(ctx, catalogue::SensorFamily::Thermocouple) {
  lblConvSpeed1.caption = "Averaging";
}

void frmTC4::FillChannelLists(int i) {
  TemperaturePage::FillChannelLists(i);
  cmbUserBout[i].clear();
  cmbUserBout[i].add("DOWN");
  cmbUserBout[i].add("UP");
  cmbInvalid[i].clear();
  if (isTC4Model()) {
    cmbInvalid[i].add("Valid");
    cmbInvalid[i].add("Invalid");
  }
  cmbInvalid[i].visible = isTC4Model();
}

void frmTC4::PrepareControls() {
  TemperaturePage::PrepareControls();
  CmbConvSpeed.clear();
  if (isTC4Model()) {
    CmbConvSpeed.add("Invalid");
    CmbConvSpeed.add("Valid");
  }
  CmbConvSpeed.visible = isTC4Model();
  lblConvSpeed1.visible = isTC4Model();
}

bool frmTC4::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(5, "Initializing");
  PrepareControls();
  // Each channel's thermocouple type decides its range.
  switchCode_ = 15;
  if (!ReadOutputHold()) return EndInitQuietly();

  int unit = 0;
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch);

    // The unit: a letter other than C, F, K keeps the previous channel's.
    const std::string u =
        link::ValueAfterColon(link().GroupItemReadRetry(kRetry, std::to_string(ch), "04"));
    if (u.empty()) return EndInitQuietly();
    unit = UnitCodeOf(u, unit);
    SelectCode(cmbUserUnit[i], unit);

    const auto type = ReadItemValue(link(), "09");
    if (!type) return EndInitQuietly();
    SelectCode(cmbUserRange[i], CodeOf(*type));

    const auto bout = ReadItemValue(link(), "08");
    if (!bout) return EndInitQuietly();
    if (bout->substr(0, 2) == "UP") cmbUserBout[i].index = 1;
    if (bout->substr(0, 2) == "DO") cmbUserBout[i].index = 0;

    const auto named = ReadItemValue(link(), "03");
    if (!named) return EndInitQuietly();
    lblType[i].caption = *named;
    ShowChannelLabels(i);

    if (isTC4Model()) {
      const auto valid = ReadItemValue(link(), "15");
      if (!valid) return EndInitQuietly();
      SelectCode(cmbInvalid[i], DecimalValue(valid->substr(0, 2)).value_or(-1));
    }
    ProgressStep();
  }

  if (isTC4Model()) {
    const std::string reply = link().GroupItemReadRetry(kRetry, "01", "61");
    if (reply.empty()) return EndInitQuietly();
    const auto on = DigitAt(reply, 7);
    if (on && *on <= 1) CmbConvSpeed.index = *on;
  }

  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

void frmTC4::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(5, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    LoadAndWriteScaling(link(), ch, values().moduleKind, kScalingItems);
    link().ItemWriteRetry(kRetry, "09", IndexText(cmbUserRange[i]));
    link().ItemWriteRetry(kRetry, "04", IndexText(cmbUserUnit[i]));
    link().ItemWriteRetry(kRetry, "08", IndexText(cmbUserBout[i]));
    // Models without valid/invalid have the list empty: nothing selected would go out
    // as "-1", which the unit refuses, so the item is not written.
    if (!cmbInvalid[i].items.empty() || !cmbInvalid[i].unlistedCode.empty())
      link().ItemWriteRetry(kRetry, "15", IndexText(cmbInvalid[i]));
    ProgressStep();
  }
  WriteOutputHold();
  if (isTC4Model())
    link().GroupItemWriteRetry(kRetry, "01", "61", CmbConvSpeed.index == 0 ? "0" : "1");
  ProgressClose();
}

void frmTC4::txt_able(bool enable) {
  EnableCommonSettings(enable);
  for (int i = 0; i < kChannels; ++i) {
    cmbUserBout[i].enabled = enable;
    cmbInvalid[i].enabled = enable;
  }
  // The averaging switch is a setting like the others: not changed while monitoring.
  CmbConvSpeed.enabled = enable;
}

void frmTC4::visitControls(ControlVisitor& v) {
  TemperaturePage::visitControls(v);
  InTab set2(v, "frmSet2");
  for (int i = 0; i < kChannels; ++i) {
    set2.combo(Setting(Indexed("cmbUserBout", i), "Burnout").ch(i), cmbUserBout[i]);
    set2.combo(Setting(Indexed("cmbInvalid", i), "Valid/Invalid").ch(i), cmbInvalid[i]);
  }
  for (int i = 0; i < kChannels; ++i) {
    v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
    v.indicator(Indexed("Text1", i), Text1[i]);
  }
  v.combo(Setting("CmbConvSpeed", "Averaging"), CmbConvSpeed);
  v.label("lblConvSpeed1", lblConvSpeed1);
  set2.frame("Frame2", Frame2);
  set2.option("optKeepOn", optKeepOn);
  set2.option("optKeepOff", optKeepOff);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmTC4::records(RecordStream& io) {
  const bool tc4 = io.modelIs("Q5T3NML3-6-TC4");
  io.indexes(cmbUserRange, "cmbUserRange");
  io.endRecord();
  io.indexes(cmbUserUnit, "cmbUserUnit");
  io.endRecord();
  io.indexes(cmbUserBout, "cmbUserBout");
  io.endRecord();
  if (tc4) {
    io.index(CmbConvSpeed, "CmbConvSpeed");
  } else {
    io.option(optKeepOn, "optKeepOn");
    io.option(optKeepOff, "optKeepOff");
  }
  io.endRecord();
  scalingRecords(io, kChannels);
  if (tc4) {
    io.indexes(cmbInvalid, "cmbInvalid");
    io.endRecord();
  }
}

bool frmTC4::newDefaults(std::string_view) {
  for (int i = 0; i < kChannels; ++i) {
    cmbUserRange[i].index = 0;
    cmbUserUnit[i].index = 0;
    cmbUserBout[i].index = 0;
    cmbInvalid[i].index = cmbInvalid[i].items.empty() ? -1 : 0;
    SetScalingDefaults(i, "0", "10000", "0.00", "0.00");
  }
  CmbConvSpeed.index = CmbConvSpeed.items.empty() ? -1 : 1;
  return true;
}

}  // namespace q5::pages
