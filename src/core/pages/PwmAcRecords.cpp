// Configuration records of the PWM output page frmEC4 (kind 15) and the AC current input
// page frmAC32 (kind 16).
#include "pages/RecordStream.h"
#include "pages/frmAC32.h"
#include "pages/frmEC4.h"

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

void frmAC32::records(RecordStream& io) {
  io.index(cmbAverage, "cmbAverage");
  io.text(txtDropOut, "txtDropOut");
  io.endRecord();
  for (int i = 0; i < frmAC32::kChannels; ++i) {
    io.text(txtZScale[i], Indexed("txtZScale", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    io.text(txtBias[i], Indexed("txtBias", i));
    io.text(txtGain[i], Indexed("txtGain", i));
    io.index(cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

bool frmAC32::newDefaults(std::string_view) {
  cmbAverage.index = 1;
  txtDropOut.text = "1.00";
  for (int i = 0; i < frmAC32::kChannels; ++i) {
    txtZScale[i].text = "0";
    txtFScale[i].text = "10000";
    txtBias[i].text = "0.00";
    txtGain[i].text = "1.0000";
    cmbInvalid[i].index = 0;
  }
  return true;
}

}  // namespace q5::pages
