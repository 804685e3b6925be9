// Configuration records of the temperature input pages frmTC4 (kind 1), frmRT4 (kind 2)
// and the analog output pages frmOV2 (3), frmOC2 (4), frmOCF4 (10), frmOVF4 (12).
#include <vector>

#include "pages/RecordStream.h"
#include "pages/frmOC2.h"
#include "pages/frmOCF4.h"
#include "pages/frmOV2.h"
#include "pages/frmOVF4.h"
#include "pages/frmRT4.h"
#include "pages/frmTC4.h"

namespace q5::pages {

namespace {

// The six scaling texts of one channel, without ending the record.
void ScalingFields(RecordStream& io, ChannelScaling& s, int i) {
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

void HoldOptionsRecord(RecordStream& io, OptionButton& on, OptionButton& off) {
  io.option(on, "optKeepOn");
  io.option(off, "optKeepOff");
  io.endRecord();
}

void SetScaling(ChannelScaling& s, int i, std::string_view zb, std::string_view fb) {
  s.txtZScale[i].text = "0";
  s.txtFScale[i].text = "10000";
  s.txtBias[i].text = "0.00";
  s.txtGain[i].text = "1.0000";
  s.txtZBase[i].text = zb;
  s.txtFBase[i].text = fb;
}

}  // namespace

void frmTC4::records(RecordStream& io) {
  const bool tc4 = io.modelIs("Q5T3NML3-6-TC4");
  IndexRecord(io, cmbUserRange, "cmbUserRange", 4);
  IndexRecord(io, cmbUserUnit, "cmbUserUnit", 4);
  IndexRecord(io, cmbUserBout, "cmbUserBout", 4);
  if (tc4) {
    io.index(CmbConvSpeed, "CmbConvSpeed");
    io.endRecord();
  } else {
    HoldOptionsRecord(io, optKeepOn, optKeepOff);
  }
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, *this, i);
    io.endRecord();
  }
  if (tc4) IndexRecord(io, cmbInvalid, "cmbInvalid", 4);
}

bool frmTC4::newDefaults(std::string_view) {
  for (int i = 0; i < 4; ++i) {
    cmbUserRange[i].index = 0;
    cmbUserUnit[i].index = 0;
    cmbUserBout[i].index = 0;
    cmbInvalid[i].index = cmbInvalid[i].items.empty() ? -1 : 0;
    SetScaling(*this, i, "0.00", "0.00");
  }
  CmbConvSpeed.index = CmbConvSpeed.items.empty() ? -1 : 1;
  return true;
}

void frmRT4::records(RecordStream& io) {
  IndexRecord(io, cmbUserRange, "cmbUserRange", 4);
  IndexRecord(io, cmbUserUnit, "cmbUserUnit", 4);
  HoldOptionsRecord(io, optKeepOn, optKeepOff);
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, *this, i);
    io.endRecord();
  }
}

void frmOV2::records(RecordStream& io) {
  IndexRecord(io, cmbUserRange, "cmbUserRange", 2);
  HoldOptionsRecord(io, optKeepOn, optKeepOff);
  for (int i = 0; i < 2; ++i) {
    ScalingFields(io, *this, i);
    io.endRecord();
  }
}

void frmOC2::records(RecordStream& io) {
  HoldOptionsRecord(io, optKeepOn, optKeepOff);
  for (int i = 0; i < 2; ++i) {
    ScalingFields(io, *this, i);
    io.endRecord();
  }
}

void frmOCF4::records(RecordStream& io) {
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, *this, i);
    io.endRecord();
  }
  for (int i = 0; i < 4; ++i) io.text(txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
  io.endRecord();
  IndexRecord(io, cmbInvalid, "cmbInvalid", 4);
}

bool frmOCF4::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  for (int i = 0; i < 4; ++i) {
    SetScaling(*this, i, "4.00", "20.00");
    txtOutputClearValue[i].text = "-15.00";
    cmbInvalid[i].index = 0;
  }
  return true;
}

void frmOVF4::records(RecordStream& io) {
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  for (int i = 0; i < 4; ++i) {
    ScalingFields(io, *this, i);
    io.index(cmbUserRange[i], Indexed("cmbUserRange", i));
    io.text(txtOutputClearValue[i], Indexed("txtOutputClearValue", i));
    io.index(cmbInvalid[i], Indexed("cmbInvalid", i));
    io.endRecord();
  }
}

bool frmOVF4::newDefaults(std::string_view) {
  CmbOutputHold.index = 1;
  for (int i = 0; i < 4; ++i) {
    SetScaling(*this, i, "-10.00", "10.00");
    cmbUserRange[i].index = 0;
    txtOutputClearValue[i].text = "-15.00";
    cmbInvalid[i].index = 0;
  }
  return true;
}

}  // namespace q5::pages
