// Configuration records of the PWM output page frmEC4 (kind 15) and the AC current input
// page frmAC32 (kind 16), and the dispatch of the pulse, PWM and AC current pages.
#include "config/PageRecords.h"
#include "pages/frmAC32.h"
#include "pages/frmEC4.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"

namespace q5::config {

using pages::Indexed;

void records(RecordStream& io, pages::frmEC4& p) {
  io.index(p.cmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < pages::frmEC4::kChannels; ++i) {
    io.text(p.txtPhase[i], Indexed("txtPhase", i));
    io.text(p.txtMaxDuty[i], Indexed("txtMaxDuty", i));
    io.text(p.txtFreq[i], Indexed("txtFreq", i));
    io.text(p.txtMaxCrnt[i], Indexed("txtMaxCrnt", i));
    io.text(p.txtDFreq[i], Indexed("txtDFreq", i));
    io.text(p.txtDitherAmp[i], Indexed("txtDitherAmp", i));
    io.text(p.txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
    io.index(p.cmbInvalid[i], Indexed("cmbInvalid", i));
    io.index(p.cmbDitherInvalid[i], Indexed("cmbDitherInvalid", i));
    io.endRecord();
  }
}

void newDefaults(pages::frmEC4& p, std::string_view) {
  p.cmbOutputHold.index = 1;
  for (int i = 0; i < pages::frmEC4::kChannels; ++i) {
    p.txtPhase[i].text = "0";
    p.txtMaxDuty[i].text = "5000";
    p.txtFreq[i].text = "10000";
    p.txtMaxCrnt[i].text = "1300";
    p.txtDFreq[i].text = "300";
    p.txtDitherAmp[i].text = "50";
    p.txtOutputClearValue[i].text = "0";
    p.cmbInvalid[i].index = 1;
    p.cmbDitherInvalid[i].index = 1;
  }
}

void records(RecordStream& io, pages::frmAC32& p) {
  io.index(p.cmbAverage, "cmbAverage");
  io.text(p.txtDropOut, "txtDropOut");
  io.endRecord();
  for (int i = 0; i < pages::frmAC32::kChannels; ++i) {
    io.text(p.txtZScale[i], Indexed("txtZScale", i));
    io.text(p.txtFScale[i], Indexed("txtFScale", i));
    io.text(p.txtBias[i], Indexed("txtBias", i));
    io.text(p.txtGain[i], Indexed("txtGain", i));
    io.index(p.cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

void newDefaults(pages::frmAC32& p, std::string_view) {
  p.cmbAverage.index = 1;
  p.txtDropOut.text = "1.00";
  for (int i = 0; i < pages::frmAC32::kChannels; ++i) {
    p.txtZScale[i].text = "0";
    p.txtFScale[i].text = "10000";
    p.txtBias[i].text = "0.00";
    p.txtGain[i].text = "1.0000";
    p.cmbInvalid[i].index = 0;
  }
}

namespace {

template <typename Page, typename Walk>
bool Dispatch(pages::ModulePage& page, Walk walk) {
  auto* p = dynamic_cast<Page*>(&page);
  if (!p) return false;
  walk(*p);
  return true;
}

}  // namespace

bool PulsePwmAcRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  auto walk = [&io](auto& p) { records(io, p); };
  switch (pageKind) {
    case 11: return Dispatch<pages::frmPI2>(page, walk);
    case 15: return Dispatch<pages::frmEC4>(page, walk);
    case 16: return Dispatch<pages::frmAC32>(page, walk);
    case 19: return Dispatch<pages::frmPI8>(page, walk);
    case 21: return Dispatch<pages::frmPI32>(page, walk);
    default: return false;
  }
}

bool PulsePwmAcDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  auto fill = [model](auto& p) { newDefaults(p, model); };
  switch (pageKind) {
    case 11: return Dispatch<pages::frmPI2>(page, fill);
    case 15: return Dispatch<pages::frmEC4>(page, fill);
    case 16: return Dispatch<pages::frmAC32>(page, fill);
    case 19: return Dispatch<pages::frmPI8>(page, fill);
    case 21: return Dispatch<pages::frmPI32>(page, fill);
    default: return false;
  }
}

}  // namespace q5::config
