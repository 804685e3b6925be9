// Configuration records of the pulse input pages: frmPI2 (kind 11), frmPI8 (kind 19),
// frmPI32 (kind 21).
#include "config/PageRecords.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"

namespace q5::config {

using pages::Indexed;

namespace {

template <std::size_t N>
void Texts(RecordStream& io, const char* const (&names)[N],
           std::array<pages::TextBox, pages::frmPI2::kChannels>* const (&boxes)[N], int i) {
  for (std::size_t k = 0; k < N; ++k) io.text((*boxes[k])[i], Indexed(names[k], i));
  io.endRecord();
}

}  // namespace

void records(RecordStream& io, pages::frmPI2& p) {
  // Both channels, also on the one-channel models.
  for (int i = 0; i < pages::frmPI2::kChannels; ++i) {
    Texts(io, {"txtDO", "txtReset", "txtMin", "txtMax", "txtBias", "txtGain", "txtZS", "txtFS", "txtOP"},
          {&p.txtDO, &p.txtReset, &p.txtMin, &p.txtMax, &p.txtBias, &p.txtGain, &p.txtZS, &p.txtFS,
           &p.txtOP},
          i);
    Texts(io, {"txtA1Type", "txtA1SM", "txtA1SH", "txtA1PM", "txtA1PH", "txtA2Type", "txtA2SM",
               "txtA2SH", "txtA2PM", "txtA2PH"},
          {&p.txtA1Type, &p.txtA1SM, &p.txtA1SH, &p.txtA1PM, &p.txtA1PH, &p.txtA2Type, &p.txtA2SM,
           &p.txtA2SH, &p.txtA2PM, &p.txtA2PH},
          i);
    Texts(io, {"txtEL", "txtHL", "txtER", "txtHR", "txtZR", "txtHLD", "txtHRD"},
          {&p.txtEL, &p.txtHL, &p.txtER, &p.txtHR, &p.txtZR, &p.txtHLD, &p.txtHRD}, i);
    io.index(p.CmbDataType[i], Indexed("CmbDataType", i));
    io.index(p.CmbSpeedFreqRange[i], Indexed("CmbSpeedFreqRange", i));
    io.index(p.CmbPositionCntMode[i], Indexed("CmbPositionCntMode", i));
    io.index(p.CmbPositionDataType[i], Indexed("CmbPositionDataType", i));
    io.endRecord();
  }
  for (int t = 0; t < 3; ++t) io.text(p.txtTM[t], Indexed("txtTM", t));
  io.endRecord();
}

void newDefaults(pages::frmPI2& p, std::string_view) {
  for (int i = 0; i < pages::frmPI2::kChannels; ++i) {
    const std::pair<pages::TextBox*, const char*> values[] = {
        {&p.txtDO[i], "0.10"},   {&p.txtReset[i], "0"},     {&p.txtMin[i], "-2100000000"},
        {&p.txtMax[i], "2100000000"}, {&p.txtBias[i], "0.00"}, {&p.txtGain[i], "1.0000"},
        {&p.txtZS[i], "0"},      {&p.txtFS[i], "10000"},    {&p.txtOP[i], "0"},
        {&p.txtA1Type[i], "0"},  {&p.txtA1SM[i], "80.00"},  {&p.txtA1SH[i], "5.00"},
        {&p.txtA1PM[i], "100000000"}, {&p.txtA1PH[i], "1000"}, {&p.txtA2Type[i], "0"},
        {&p.txtA2SM[i], "20.00"}, {&p.txtA2SH[i], "5.00"},  {&p.txtA2PM[i], "1"},
        {&p.txtA2PH[i], "1"},    {&p.txtEL[i], "2"},        {&p.txtHL[i], "1"},
        {&p.txtER[i], "1"},      {&p.txtHR[i], "1"},        {&p.txtZR[i], "1"},
        {&p.txtHLD[i], "1"},     {&p.txtHRD[i], "1"}};
    for (auto [box, text] : values) box->text = text;
    p.CmbDataType[i].index = 1;
    p.CmbSpeedFreqRange[i].index = 1;
    p.CmbPositionCntMode[i].index = 3;
    p.CmbPositionDataType[i].index = 1;
  }
  p.txtTM[0].text = "5.0";
  p.txtTM[1].text = "0.1";
  p.txtTM[2].text = "0.1";
}

void records(RecordStream& io, pages::frmPI8& p) {
  io.index(p.CmbPulseEdge, "CmbPulseEdge");
  io.index(p.CmbResetEdge, "CmbResetEdge");
  io.index(p.CmbResetInvalid, "CmbResetInvalid");
  io.index(p.CmbOutputInvalid, "CmbOutputInvalid");
  io.endRecord();
  for (int i = 0; i < pages::frmPI8::kChannels; ++i) {
    io.text(p.txtOver[i], Indexed("txtOver", i));
    io.text(p.txtFScale[i], Indexed("txtFScale", i));
    std::int16_t checked = p.ChkOutputValid[i].value ? 1 : 0;
    io.integer(checked, Indexed("ChkOutputValid", i));
    if (io.reading()) p.ChkOutputValid[i].value = checked == 1;
    io.endRecord();
  }
}

void newDefaults(pages::frmPI8& p, std::string_view) {
  for (auto* box : {&p.CmbPulseEdge, &p.CmbResetEdge, &p.CmbResetInvalid, &p.CmbOutputInvalid})
    box->index = 1;
  for (int i = 0; i < pages::frmPI8::kChannels; ++i) {
    p.txtOver[i].text = "0";
    p.txtFScale[i].text = "4294967295";
    p.ChkOutputValid[i].value = false;
  }
}

void records(RecordStream& io, pages::frmPI32& p) {
  const int channels = p.channels();
  // As many channels as the header's channel count.
  for (int i = 0; i < channels && i < pages::frmPI32::kChannels; ++i) {
    io.text(p.txtOver[i], Indexed("txtOver", i));
    io.text(p.txtFScale[i], Indexed("txtFScale", i));
    io.endRecord();
  }
}

void newDefaults(pages::frmPI32& p, std::string_view) {
  for (int i = 0; i < pages::frmPI32::kChannels; ++i) {
    p.txtOver[i].text = "0";
    p.txtFScale[i].text = "4294967295";
  }
}

}  // namespace q5::config
