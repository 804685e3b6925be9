#include "pages/frmOCF4.h"

#include "pages/RecordStream.h"

// The 4-channel current output page, F variant: its configuration records. Its transactions are
// those of every analog output page (AnalogOutputPage.cpp).
namespace q5::pages {

void frmOCF4::records(RecordStream& io) {
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  scalingRecords(io, 4);
  io.texts(txtOutputClearValue, "txtOutputClearValue");
  io.endRecord();
  io.indexes(cmbInvalid, "cmbInvalid");
  io.endRecord();
}

bool frmOCF4::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  for (int i = 0; i < 4; ++i) {
    SetScalingDefaults(i, "0", "10000", "4.00", "20.00");
    txtOutputClearValue[i].text = "-15.00";
    cmbInvalid[i].index = 0;
  }
  return true;
}

}  // namespace q5::pages
