// Configuration records of the discrete pages: frmBI16 (5), frmBO16 (6), frmBI32 (8),
// frmBO32 (9), frmBIO32 (18), frmBIO16 (20).
#include <span>

#include "pages/RecordStream.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmBIO16.h"
#include "pages/frmBIO32.h"
#include "pages/frmBO16.h"
#include "pages/frmBO32.h"

namespace q5::pages {

namespace {

void OneIndex(RecordStream& io, ComboBox& box, std::string_view name) {
  io.index(box, name);
  io.endRecord();
}

}  // namespace

void frmBI16::records(RecordStream& io) {
  OneIndex(io, CmbConvSpeed, "CmbConvSpeed");
}

void frmBO16::records(RecordStream& io) {
  // This model has no hold setting: its file holds the header only.
  if (io.modelIs("Q5V3PE-6-BO16")) return;
  OneIndex(io, CmbOutputHold, "CmbOutputHold");
}

void frmBI32::records(RecordStream& io) {
  OneIndex(io, CmbConvSpeed, "CmbConvSpeed");
}

void frmBO32::records(RecordStream& io) {
  OneIndex(io, CmbOutputHold, "CmbOutputHold");
  if (io.modelBeginsWith("Q5Z3UECT-1-BO32A") || io.modelBeginsWith("Q5Z3UML3-BO32")) {
    io.mask(std::span(ChkOutputValid).subspan(0, 16), "ChkOutputValid(0..15)");
    io.endRecord();
    io.mask(std::span(ChkOutputValid).subspan(16, 16), "ChkOutputValid(16..31)");
    io.endRecord();
  }
}

void frmBIO32::records(RecordStream& io) {
  OneIndex(io, CmbConvSpeed, "CmbConvSpeed");
  OneIndex(io, CmbOutputHold, "CmbOutputHold");
  if (io.modelBeginsWith("Q5Z3UECT-1-BIO32") || io.modelBeginsWith("Q5Z3UML3-BIO32") ||
      io.modelBeginsWith("Q5Z3UEIP-BIO32")) {
    io.mask(std::span(ChkOutputValid), "ChkOutputValid(0..15)");
    io.endRecord();
  }
}

void frmBIO16::records(RecordStream& io) {
  OneIndex(io, CmbConvSpeed, "CmbConvSpeed");
  OneIndex(io, CmbOutputHold, "CmbOutputHold");
}

bool frmBI16::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  return true;
}
bool frmBO16::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  return true;
}
bool frmBI32::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  return true;
}
bool frmBO32::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  for (auto& c : ChkOutputValid) c.value = false;
  return true;
}
bool frmBIO32::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  CmbOutputHold.index = 0;
  for (auto& c : ChkOutputValid) c.value = false;
  return true;
}
bool frmBIO16::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  CmbOutputHold.index = 0;
  return true;
}

}  // namespace q5::pages
