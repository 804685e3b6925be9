#include "pages/frmRT4.h"

#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

frmRT4::frmRT4(PageContext& ctx)
    : TemperaturePage(ctx, catalogue::SensorFamily::ResistanceThermometer) {
  fraUserBout.caption = "Burnout Direction ";
  // Shown only: the page never writes it.
  txtUserBout.enabled = false;
}

bool frmRT4::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(5, "Initializing");
  PrepareControls();

  // The range switch: 15 ("F") lets each channel's type decide.
  const std::string sw = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "09"));
  if (sw.empty()) {
    UploadFailure();
    return false;
  }
  switchCode_ = link::HexDigitValue(std::string_view(sw).substr(0, 1));
  if (!ReadOutputHold()) return EndInitQuietly();

  const std::string bout = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "01", "05"));
  if (bout.empty()) {
    UploadFailure();
    return false;
  }
  txtUserBout.text = bout;

  int unit = 0;
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch);
    const auto u = ReadItemValue(link(), "04");
    if (!u) return EndInitQuietly();
    unit = UnitCodeOf(*u, unit);
    SelectCode(cmbUserUnit[i], unit);
    const auto type = ReadItemValue(link(), "09");
    if (!type) return EndInitQuietly();
    SelectCode(cmbUserRange[i], CodeOf(*type));
    const auto named = ReadItemValue(link(), "03");
    if (!named) return EndInitQuietly();
    lblType[i].caption = *named;
    ShowChannelLabels(i);
    ProgressStep();
  }

  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

void frmRT4::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(5, "Downloading");
  WriteOutputHold();
  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    LoadAndWriteScaling(link(), ch, values().moduleKind, kScalingItems);
    link().ItemWriteRetry(kRetry, "09", IndexText(cmbUserRange[i]));
    link().ItemWriteRetry(kRetry, "04", IndexText(cmbUserUnit[i]));
    ProgressStep();
  }
  ProgressClose();
}

void frmRT4::txt_able(bool enable) { EnableCommonSettings(enable); }

void frmRT4::visitControls(ControlVisitor& v) {
  TemperaturePage::visitControls(v);
  for (int i = 0; i < kChannels; ++i) {
    v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
    v.indicator(Indexed("Text1", i), Text1[i]);
  }
  InTab set2(v, "frmSet2");
  set2.frame("fraUserBout", fraUserBout);
  set2.text(ShownValue("txtUserBout", fraUserBout.caption), txtUserBout);
  set2.frame("Frame2", Frame2);
  set2.option("optKeepOn", optKeepOn);
  set2.option("optKeepOff", optKeepOff);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmRT4::records(RecordStream& io) {
  io.indexes(cmbUserRange, "cmbUserRange");
  io.endRecord();
  io.indexes(cmbUserUnit, "cmbUserUnit");
  io.endRecord();
  io.option(optKeepOn, "optKeepOn");
  io.option(optKeepOff, "optKeepOff");
  io.endRecord();
  scalingRecords(io, kChannels);
}

}  // namespace q5::pages
