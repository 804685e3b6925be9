#include "pages/frmOVF4.h"

#include <cmath>
#include <cstdio>

#include "pages/RecordStream.h"

namespace q5::pages {

frmOVF4::frmOVF4(PageContext& ctx) : AnalogOutputPage(ctx, {4, true, true, 3}) {
  // Zero and full base are read and shown, never written on this page.
  for (int i = 0; i < kMaxChannels; ++i) txtZBase[i].shownOnly = txtFBase[i].shownOnly = true;
}

void frmOVF4::PrepareControls() {
  AnalogOutputPage::PrepareControls();
  txt_3ch_4ch_visible(values().channelCount == 4);
}

void frmOVF4::txt_3ch_4ch_visible(bool show) {
  for (int i = 0; i < kMaxChannels; ++i) {
    const bool shown = i < 2 || show;
    for (Control* c : std::initializer_list<Control*>{
             &lblCh[i], &txtZScale[i], &txtFScale[i], &txtBias[i], &txtGain[i], &txtZBase[i],
             &txtFBase[i], &lblZScale[i], &lblFScale[i], &lblZBase_Unit[i], &lblFBase_Unit[i],
             &lblBias[i], &lblGain[i], &lblZBase[i], &lblFBase[i], &cmbUserRange[i],
             &txtOutputClearValue[i], &cmbInvalid[i], &txtParData[i]})
      c->visible = shown;
    SetScaleCaptions(i, "-32000 to 32000");
    lblZBase[i].caption = "-15.00 to 115.00";
    lblFBase[i].caption = "-15.00 to 115.00";
    lblBias[i].caption = "-320.00 to 320.00";
    lblGain[i].caption = "-3.2000 to 3.2000";
    SetUnitLabels(i, "V");
  }
}

const char* frmOVF4::FixedSwitch() const {
  // The switch-less model has its range set in software.
  return values().flags["Q5T3NH-A-OVF4"] ? "SW1:0" : nullptr;
}

bool frmOVF4::WritesOutputHold() const {
  return values().flags["Q5T3NML3-6-OVF4"] || isHundredthsModel();
}

std::string frmOVF4::ClearValueShown(const std::string& read) const {
  if (!isHundredthsModel() || !IsNumeric(read)) return read;
  // Hundredths, shown with two decimals: -1500 shows as "-15.00".
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", NumericValue(read) / 100);
  return buf;
}

std::string frmOVF4::ClearValueWritten(const std::string& text) const {
  if (!isHundredthsModel() || !IsNumeric(text)) return text;
  // An integer in hundredths, rounded half away from zero; zero goes out as "0" (an
  // empty data line would not set the value).
  const double v = std::round(NumericValue(text) * 100);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", v == 0 ? 0.0 : v);
  return buf;
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmOVF4::records(RecordStream& io) {
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < 4; ++i) {
    scalingFields(io, i);
    io.index(cmbUserRange[i], Indexed("cmbUserRange", i));
    io.text(txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
    io.index(cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

bool frmOVF4::newDefaults(std::string_view) {
  CmbOutputHold.index = 1;
  for (int i = 0; i < 4; ++i) {
    SetScalingDefaults(i, "0", "10000", "-10.00", "10.00");
    cmbUserRange[i].index = 0;
    txtOutputClearValue[i].text = "-15.00";
    cmbInvalid[i].index = 0;
  }
  return true;
}

}  // namespace q5::pages
