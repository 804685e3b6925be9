// Configuration records of the analog input pages: frmAI4 (kind 0), frmAIF2 (kind 7),
// frmAI8 (kind 17).
#include "pages/RecordStream.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"
#include "pages/frmAIF2.h"

namespace q5::pages {

namespace {

// The six scaling texts of one channel, one record.
void ScalingRecord(RecordStream& io, ChannelScaling& s, int i) {
  io.text(s.txtZScale[i], Indexed("txtZScale", i));
  io.text(s.txtFScale[i], Indexed("txtFScale", i));
  io.text(s.txtBias[i], Indexed("txtBias", i));
  io.text(s.txtGain[i], Indexed("txtGain", i));
  io.text(s.txtZBase[i], Indexed("txtZBase", i));
  io.text(s.txtFBase[i], Indexed("txtFBase", i));
  io.endRecord();
}

template <std::size_t N>
void IndexRecord(RecordStream& io, std::array<ComboBox, N>& boxes, std::string_view name,
                 int count) {
  for (int i = 0; i < count; ++i) io.index(boxes[i], Indexed(name, i));
  io.endRecord();
}

void SetScaling(ChannelScaling& s, int i, std::string_view zs, std::string_view fs,
                std::string_view zb, std::string_view fb) {
  s.txtZScale[i].text = zs;
  s.txtFScale[i].text = fs;
  s.txtBias[i].text = "0.00";
  s.txtGain[i].text = "1.0000";
  s.txtZBase[i].text = zb;
  s.txtFBase[i].text = fb;
}

// The five models of the 4-channel page with valid/invalid and a conversion setting.
bool AI4Listed(const RecordStream& io) {
  return io.modelIs("Q5T3NML3-6-AI4") || io.modelIs("Q5T3NML3-6-AIF4") ||
         io.modelIs("Q5T3NML-6-AIF4") || io.modelIs("Q5T3NH-A-AIF4") ||
         io.modelBeginsWith("Q5T3NML3-6-AINF4");
}

// The 8-channel models with valid/invalid.
bool AI8Listed(const RecordStream& io) {
  return io.modelIs("Q5T3NML-6-AIF8N") || io.modelIs("Q5Z3UECT-1-AIF8N") ||
         io.modelIs("Q5Z3UECT-1-AIMF8N");
}

}  // namespace

void frmAI4::records(RecordStream& io) {
  IndexRecord(io, cmbUserRange, "cmbUserRange", 4);
  if (AI4Listed(io)) {
    io.index(CmbConvSpeed, "CmbConvSpeed");
  } else {
    io.option(optKeepOn, "optKeepOn");
    io.option(optKeepOff, "optKeepOff");
  }
  io.endRecord();
  if (io.modelBeginsWith("Q5T3NML3-6-AINF4")) IndexRecord(io, CmbDataType, "CmbDataType", 4);
  for (int i = 0; i < 4; ++i) ScalingRecord(io, *this, i);
  if (AI4Listed(io)) IndexRecord(io, cmbInvalid, "cmbInvalid", 4);
}

bool frmAI4::newDefaults(std::string_view model) {
  const bool dataType = model.substr(0, 16) == "Q5T3NML3-6-AINF4";
  for (int i = 0; i < 4; ++i) {
    cmbUserRange[i].index = 0;
    CmbDataType[i].index = 0;
    cmbInvalid[i].index = 0;
    SetScaling(*this, i, dataType ? "-32768" : "0", dataType ? "32767" : "10000", "-10.00",
               "10.00");
  }
  CmbConvSpeed.index = 0;
  return true;
}

void frmAIF2::records(RecordStream& io) {
  for (int i = 0; i < 2; ++i) ScalingRecord(io, *this, i);
}

void frmAI8::records(RecordStream& io) {
  IndexRecord(io, cmbUserRange, "cmbUserRange", 8);
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
  for (int i = 0; i < 8; ++i) ScalingRecord(io, *this, i);
  if (AI8Listed(io)) IndexRecord(io, cmbInvalid, "cmbInvalid", 8);
}

bool frmAI8::newDefaults(std::string_view model) {
  // The mixed model's channels 5 to 8 are fixed current inputs.
  const bool mixed = model == "Q5Z3UECT-1-AIMF8N";
  for (int i = 0; i < 8; ++i) {
    cmbUserRange[i].index = 0;
    cmbInvalid[i].index = 0;
    if (mixed && i >= 4)
      SetScaling(*this, i, "0", "10000", "4.00", "20.00");
    else
      SetScaling(*this, i, "0", "10000", "-10.00", "10.00");
  }
  CmbConvSpeed.index = 0;
  return true;
}

}  // namespace q5::pages
