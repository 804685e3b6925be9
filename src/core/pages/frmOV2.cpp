#include "pages/frmOV2.h"

#include "pages/RecordStream.h"

// The 2-channel voltage output page: its configuration records. Its transactions are those
// of every analog output page (AnalogOutputPage.cpp).
namespace q5::pages {

void frmOV2::records(RecordStream& io) {
  io.indexes(cmbUserRange, "cmbUserRange");
  io.endRecord();
  io.option(optKeepOn, "optKeepOn");
  io.option(optKeepOff, "optKeepOff");
  io.endRecord();
  scalingRecords(io, 2);
}

}  // namespace q5::pages
