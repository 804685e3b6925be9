// Configuration records of the temperature input pages frmTC4 (kind 1), frmRT4 (kind 2)
// and the analog output pages frmOV2 (3), frmOC2 (4), frmOCF4 (10), frmOVF4 (12).
#include <vector>

#include "config/PageRecords.h"
#include "pages/frmOC2.h"
#include "pages/frmOCF4.h"
#include "pages/frmOV2.h"
#include "pages/frmOVF4.h"
#include "pages/frmRT4.h"
#include "pages/frmTC4.h"

namespace q5::config {

namespace {

using pages::Indexed;

// The six scaling texts of one channel, without ending the record.
void ScalingFields(RecordStream& io, pages::ChannelScaling& s, int i) {
  io.text(s.txtZScale[i], Indexed("txtZScale", i));
  io.text(s.txtFScale[i], Indexed("txtFScale", i));
  io.text(s.txtBias[i], Indexed("txtBias", i));
  io.text(s.txtGain[i], Indexed("txtGain", i));
  io.text(s.txtZBase[i], Indexed("txtZBase", i));
  io.text(s.txtFBase[i], Indexed("txtFBase", i));
}

template <typename Boxes>
void IndexRecord(RecordStream& io, Boxes& boxes, std::string_view name, int count) {
  for (int i = 0; i < count; ++i) io.index(boxes[i], Indexed(name, i));
  io.endRecord();
}

void HoldOptionsRecord(RecordStream& io, pages::OptionButton& on, pages::OptionButton& off) {
  io.option(on, "optKeepOn");
  io.option(off, "optKeepOff");
  io.endRecord();
}

void SetScaling(pages::ChannelScaling& s, int i, std::string_view zb, std::string_view fb) {
  s.txtZScale[i].text = "0";
  s.txtFScale[i].text = "10000";
  s.txtBias[i].text = "0.00";
  s.txtGain[i].text = "1.0000";
  s.txtZBase[i].text = zb;
  s.txtFBase[i].text = fb;
}

}  // namespace

void records(RecordStream& io, pages::frmTC4& p) {
  const bool tc4 = io.modelIs("Q5T3NML3-6-TC4");
  IndexRecord(io, p.cmbUserRange, "cmbUserRange", 4);
  IndexRecord(io, p.cmbUserUnit, "cmbUserUnit", 4);
  IndexRecord(io, p.cmbUserBout, "cmbUserBout", 4);
  if (tc4) {
    io.index(p.CmbConvSpeed, "CmbConvSpeed");
    io.endRecord();
  } else {
    HoldOptionsRecord(io, p.optKeepOn, p.optKeepOff);
  }
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, p, i);
    io.endRecord();
  }
  if (tc4) IndexRecord(io, p.cmbInvalid, "cmbInvalid", 4);
}

void newDefaults(pages::frmTC4& p, std::string_view) {
  for (int i = 0; i < 4; ++i) {
    p.cmbUserRange[i].index = 0;
    p.cmbUserUnit[i].index = 0;
    p.cmbUserBout[i].index = 0;
    p.cmbInvalid[i].index = p.cmbInvalid[i].items.empty() ? -1 : 0;
    SetScaling(p, i, "0.00", "0.00");
  }
  p.CmbConvSpeed.index = p.CmbConvSpeed.items.empty() ? -1 : 1;
}

void records(RecordStream& io, pages::frmRT4& p) {
  IndexRecord(io, p.cmbUserRange, "cmbUserRange", 4);
  IndexRecord(io, p.cmbUserUnit, "cmbUserUnit", 4);
  HoldOptionsRecord(io, p.optKeepOn, p.optKeepOff);
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, p, i);
    io.endRecord();
  }
}

void records(RecordStream& io, pages::frmOV2& p) {
  IndexRecord(io, p.cmbUserRange, "cmbUserRange", 2);
  HoldOptionsRecord(io, p.optKeepOn, p.optKeepOff);
  for (int i = 0; i < 2; ++i) {
    ScalingFields(io, p, i);
    io.endRecord();
  }
}

void records(RecordStream& io, pages::frmOC2& p) {
  HoldOptionsRecord(io, p.optKeepOn, p.optKeepOff);
  for (int i = 0; i < 2; ++i) {
    ScalingFields(io, p, i);
    io.endRecord();
  }
}

void records(RecordStream& io, pages::frmOCF4& p) {
  io.index(p.CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, p, i);
    io.endRecord();
  }
  for (int i = 0; i < 4; ++i) io.text(p.txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
  io.endRecord();
  IndexRecord(io, p.cmbInvalid, "cmbInvalid", 4);
}

void newDefaults(pages::frmOCF4& p, std::string_view) {
  p.CmbOutputHold.index = 0;
  for (int i = 0; i < 4; ++i) {
    SetScaling(p, i, "4.00", "20.00");
    p.txtOutputClearValue[i].text = "-15.00";
    p.cmbInvalid[i].index = 0;
  }
}

void records(RecordStream& io, pages::frmOVF4& p) {
  io.index(p.CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, p, i);
    io.index(p.cmbUserRange[i], Indexed("cmbUserRange", i));
    io.text(p.txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
    io.index(p.cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

void newDefaults(pages::frmOVF4& p, std::string_view) {
  p.CmbOutputHold.index = 1;
  for (int i = 0; i < 4; ++i) {
    SetScaling(p, i, "-10.00", "10.00");
    p.cmbUserRange[i].index = 0;
    p.txtOutputClearValue[i].text = "-15.00";
    p.cmbInvalid[i].index = 0;
  }
}

namespace {

template <typename Page>
bool Walk(RecordStream& io, pages::ModulePage& page) {
  auto* p = dynamic_cast<Page*>(&page);
  if (!p) return false;
  records(io, *p);
  return true;
}

template <typename Page>
bool Defaults(pages::ModulePage& page, std::string_view model) {
  auto* p = dynamic_cast<Page*>(&page);
  if (!p) return false;
  newDefaults(*p, model);
  return true;
}

}  // namespace

bool TemperatureOutputRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  switch (pageKind) {
    case 1: return Walk<pages::frmTC4>(io, page);
    case 2: return Walk<pages::frmRT4>(io, page);
    case 3: return Walk<pages::frmOV2>(io, page);
    case 4: return Walk<pages::frmOC2>(io, page);
    case 10: return Walk<pages::frmOCF4>(io, page);
    case 12: return Walk<pages::frmOVF4>(io, page);
    default: return false;
  }
}

bool TemperatureOutputDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  switch (pageKind) {
    case 1: return Defaults<pages::frmTC4>(page, model);
    case 10: return Defaults<pages::frmOCF4>(page, model);
    case 12: return Defaults<pages::frmOVF4>(page, model);
    default: return false;  // frmRT4, frmOV2, frmOC2 cannot be created offline
  }
}

}  // namespace q5::config
