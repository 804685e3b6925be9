// Configuration records of the analog input pages: frmAI4 (kind 0), frmAIF2 (kind 7),
// frmAI8 (kind 17).
#include "config/PageRecords.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"
#include "pages/frmAIF2.h"

namespace q5::config {

namespace {

using pages::Indexed;

// The six scaling texts of one channel, one record.
void ScalingRecord(RecordStream& io, pages::ChannelScaling& s, int i) {
  io.text(s.txtZScale[i], Indexed("txtZScale", i));
  io.text(s.txtFScale[i], Indexed("txtFScale", i));
  io.text(s.txtBias[i], Indexed("txtBias", i));
  io.text(s.txtGain[i], Indexed("txtGain", i));
  io.text(s.txtZBase[i], Indexed("txtZBase", i));
  io.text(s.txtFBase[i], Indexed("txtFBase", i));
  io.endRecord();
}

template <std::size_t N>
void IndexRecord(RecordStream& io, std::array<pages::ComboBox, N>& boxes, std::string_view name,
                 int count) {
  for (int i = 0; i < count; ++i) io.index(boxes[i], Indexed(name, i));
  io.endRecord();
}

void SetScaling(pages::ChannelScaling& s, int i, std::string_view zs, std::string_view fs,
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

}  // namespace

void records(RecordStream& io, pages::frmAI4& p) {
  IndexRecord(io, p.cmbUserRange, "cmbUserRange", 4);
  if (AI4Listed(io)) {
    io.index(p.CmbConvSpeed, "CmbConvSpeed");
  } else {
    io.option(p.optKeepOn, "optKeepOn");
    io.option(p.optKeepOff, "optKeepOff");
  }
  io.endRecord();
  if (io.modelBeginsWith("Q5T3NML3-6-AINF4")) IndexRecord(io, p.CmbDataType, "CmbDataType", 4);
  for (int i = 0; i < 4; ++i) ScalingRecord(io, p, i);
  if (AI4Listed(io)) IndexRecord(io, p.cmbInvalid, "cmbInvalid", 4);
}

void newDefaults(pages::frmAI4& p, std::string_view model) {
  const bool dataType = model.substr(0, 16) == "Q5T3NML3-6-AINF4";
  for (int i = 0; i < 4; ++i) {
    p.cmbUserRange[i].index = 0;
    p.CmbDataType[i].index = 0;
    p.cmbInvalid[i].index = 0;
    SetScaling(p, i, dataType ? "-32768" : "0", dataType ? "32767" : "10000", "-10.00", "10.00");
  }
  p.CmbConvSpeed.index = 0;
}

void records(RecordStream& io, pages::frmAIF2& p) {
  for (int i = 0; i < 2; ++i) ScalingRecord(io, p, i);
}

// The 8-channel models with valid/invalid.
bool AI8Listed(const RecordStream& io) {
  return io.modelIs("Q5T3NML-6-AIF8N") || io.modelIs("Q5Z3UECT-1-AIF8N") ||
         io.modelIs("Q5Z3UECT-1-AIMF8N");
}

void records(RecordStream& io, pages::frmAI8& p) {
  IndexRecord(io, p.cmbUserRange, "cmbUserRange", 8);
  io.index(p.CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
  for (int i = 0; i < 8; ++i) ScalingRecord(io, p, i);
  if (AI8Listed(io)) IndexRecord(io, p.cmbInvalid, "cmbInvalid", 8);
}

void newDefaults(pages::frmAI8& p, std::string_view model) {
  // The mixed model's channels 5 to 8 are fixed current inputs.
  const bool mixed = model == "Q5Z3UECT-1-AIMF8N";
  for (int i = 0; i < 8; ++i) {
    p.cmbUserRange[i].index = 0;
    p.cmbInvalid[i].index = 0;
    if (mixed && i >= 4)
      SetScaling(p, i, "0", "10000", "4.00", "20.00");
    else
      SetScaling(p, i, "0", "10000", "-10.00", "10.00");
  }
  p.CmbConvSpeed.index = 0;
}

bool AnalogInputRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  switch (pageKind) {
    case 0:
      if (auto* p = dynamic_cast<pages::frmAI4*>(&page)) return records(io, *p), true;
      return false;
    case 7:
      if (auto* p = dynamic_cast<pages::frmAIF2*>(&page)) return records(io, *p), true;
      return false;
    case 17:
      if (auto* p = dynamic_cast<pages::frmAI8*>(&page)) return records(io, *p), true;
      return false;
    default:
      return false;
  }
}

bool AnalogInputDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  switch (pageKind) {
    case 0:
      if (auto* p = dynamic_cast<pages::frmAI4*>(&page)) return newDefaults(*p, model), true;
      return false;
    case 17:
      if (auto* p = dynamic_cast<pages::frmAI8*>(&page)) return newDefaults(*p, model), true;
      return false;
    default:
      return false;  // frmAIF2 cannot be created offline
  }
}

}  // namespace q5::config
