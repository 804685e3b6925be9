// Configuration records of the pulse input pages: frmPI2 (kind 11), frmPI8 (kind 19),
// frmPI32 (kind 21).
#include "pages/RecordStream.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"

namespace q5::pages {

namespace {

template <std::size_t N>
void Texts(RecordStream& io, const char* const (&names)[N],
           std::array<TextBox, frmPI2::kChannels>* const (&boxes)[N], int i) {
  for (std::size_t k = 0; k < N; ++k) io.text((*boxes[k])[i], Indexed(names[k], i));
  io.endRecord();
}

}  // namespace

void frmPI2::records(RecordStream& io) {
  // Both channels, also on the one-channel models.
  for (int i = 0; i < frmPI2::kChannels; ++i) {
    Texts(
        io,
        {"txtDO", "txtReset", "txtMin", "txtMax", "txtBias", "txtGain", "txtZS", "txtFS", "txtOP"},
        {&txtDO, &txtReset, &txtMin, &txtMax, &txtBias, &txtGain, &txtZS, &txtFS, &txtOP}, i);
    Texts(io,
          {"txtA1Type", "txtA1SM", "txtA1SH", "txtA1PM", "txtA1PH", "txtA2Type", "txtA2SM",
           "txtA2SH", "txtA2PM", "txtA2PH"},
          {&txtA1Type, &txtA1SM, &txtA1SH, &txtA1PM, &txtA1PH, &txtA2Type, &txtA2SM, &txtA2SH,
           &txtA2PM, &txtA2PH},
          i);
    Texts(io, {"txtEL", "txtHL", "txtER", "txtHR", "txtZR", "txtHLD", "txtHRD"},
          {&txtEL, &txtHL, &txtER, &txtHR, &txtZR, &txtHLD, &txtHRD}, i);
    io.index(CmbDataType[i], Indexed("CmbDataType", i));
    io.index(CmbSpeedFreqRange[i], Indexed("CmbSpeedFreqRange", i));
    io.index(CmbPositionCntMode[i], Indexed("CmbPositionCntMode", i));
    io.index(CmbPositionDataType[i], Indexed("CmbPositionDataType", i));
    io.endRecord();
  }
  for (int t = 0; t < 3; ++t) io.text(txtTM[t], Indexed("txtTM", t));
  io.endRecord();
}

bool frmPI2::newDefaults(std::string_view) {
  for (int i = 0; i < frmPI2::kChannels; ++i) {
    const std::pair<TextBox*, const char*> values[] = {
        {&txtDO[i], "0.10"},        {&txtReset[i], "0"},    {&txtMin[i], "-2100000000"},
        {&txtMax[i], "2100000000"}, {&txtBias[i], "0.00"},  {&txtGain[i], "1.0000"},
        {&txtZS[i], "0"},           {&txtFS[i], "10000"},   {&txtOP[i], "0"},
        {&txtA1Type[i], "0"},       {&txtA1SM[i], "80.00"}, {&txtA1SH[i], "5.00"},
        {&txtA1PM[i], "100000000"}, {&txtA1PH[i], "1000"},  {&txtA2Type[i], "0"},
        {&txtA2SM[i], "20.00"},     {&txtA2SH[i], "5.00"},  {&txtA2PM[i], "1"},
        {&txtA2PH[i], "1"},         {&txtEL[i], "2"},       {&txtHL[i], "1"},
        {&txtER[i], "1"},           {&txtHR[i], "1"},       {&txtZR[i], "1"},
        {&txtHLD[i], "1"},          {&txtHRD[i], "1"}};
    for (auto [box, text] : values) box->text = text;
    CmbDataType[i].index = 1;
    CmbSpeedFreqRange[i].index = 1;
    CmbPositionCntMode[i].index = 3;
    CmbPositionDataType[i].index = 1;
  }
  txtTM[0].text = "5.0";
  txtTM[1].text = "0.1";
  txtTM[2].text = "0.1";
  return true;
}

void frmPI8::records(RecordStream& io) {
  io.index(CmbPulseEdge, "CmbPulseEdge");
  io.index(CmbResetEdge, "CmbResetEdge");
  io.index(CmbResetInvalid, "CmbResetInvalid");
  io.index(CmbOutputInvalid, "CmbOutputInvalid");
  io.endRecord();
  for (int i = 0; i < frmPI8::kChannels; ++i) {
    io.text(txtOver[i], Indexed("txtOver", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    std::int16_t checked = ChkOutputValid[i].value ? 1 : 0;
    io.integer(checked, Indexed("ChkOutputValid", i));
    if (io.reading()) ChkOutputValid[i].value = checked == 1;
    io.endRecord();
  }
}

bool frmPI8::newDefaults(std::string_view) {
  for (auto* box : {&CmbPulseEdge, &CmbResetEdge, &CmbResetInvalid, &CmbOutputInvalid})
    box->index = 1;
  for (int i = 0; i < frmPI8::kChannels; ++i) {
    txtOver[i].text = "0";
    txtFScale[i].text = "4294967295";
    ChkOutputValid[i].value = false;
  }
  return true;
}

void frmPI32::records(RecordStream& io) {
  // As many channels as the header's channel count.
  const int count = channels();
  for (int i = 0; i < count && i < frmPI32::kChannels; ++i) {
    io.text(txtOver[i], Indexed("txtOver", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    io.endRecord();
  }
}

bool frmPI32::newDefaults(std::string_view) {
  for (int i = 0; i < frmPI32::kChannels; ++i) {
    txtOver[i].text = "0";
    txtFScale[i].text = "4294967295";
  }
  return true;
}

}  // namespace q5::pages
