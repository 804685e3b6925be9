#include "pages/frmOC2.h"

#include "pages/RecordStream.h"

// The 2-channel current output page: its configuration records. Its transactions are those
// of every analog output page (AnalogOutputPage.cpp).
namespace q5::pages {

void frmOC2::records(RecordStream& io) {
  io.option(optKeepOn, "optKeepOn");
  io.option(optKeepOff, "optKeepOff");
  io.endRecord();
  scalingRecords(io, 2);
}

}  // namespace q5::pages
