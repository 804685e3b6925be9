// Configuration records of the discrete pages: frmBI16 (5), frmBO16 (6), frmBI32 (8),
// frmBO32 (9), frmBIO32 (18), frmBIO16 (20).
#include <span>

#include "config/PageRecords.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmBIO16.h"
#include "pages/frmBIO32.h"
#include "pages/frmBO16.h"
#include "pages/frmBO32.h"

namespace q5::config {

namespace {

void OneIndex(RecordStream& io, pages::ComboBox& box, std::string_view name) {
  io.index(box, name);
  io.endRecord();
}

template <typename Page>
Page* As(pages::ModulePage& page) {
  return dynamic_cast<Page*>(&page);
}

}  // namespace

void records(RecordStream& io, pages::frmBI16& p) { OneIndex(io, p.CmbConvSpeed, "CmbConvSpeed"); }

void records(RecordStream& io, pages::frmBO16& p) {
  // This model has no hold setting: its file holds the header only.
  if (io.modelIs("Q5V3PE-6-BO16")) return;
  OneIndex(io, p.CmbOutputHold, "CmbOutputHold");
}

void records(RecordStream& io, pages::frmBI32& p) { OneIndex(io, p.CmbConvSpeed, "CmbConvSpeed"); }

void records(RecordStream& io, pages::frmBO32& p) {
  OneIndex(io, p.CmbOutputHold, "CmbOutputHold");
  if (io.modelBeginsWith("Q5Z3UECT-1-BO32A") || io.modelBeginsWith("Q5Z3UML3-BO32")) {
    io.mask(std::span(p.ChkOutputValid).subspan(0, 16), "ChkOutputValid(0..15)");
    io.endRecord();
    io.mask(std::span(p.ChkOutputValid).subspan(16, 16), "ChkOutputValid(16..31)");
    io.endRecord();
  }
}

void records(RecordStream& io, pages::frmBIO32& p) {
  OneIndex(io, p.CmbConvSpeed, "CmbConvSpeed");
  OneIndex(io, p.CmbOutputHold, "CmbOutputHold");
  if (io.modelBeginsWith("Q5Z3UECT-1-BIO32") || io.modelBeginsWith("Q5Z3UML3-BIO32") ||
      io.modelBeginsWith("Q5Z3UEIP-BIO32")) {
    io.mask(std::span(p.ChkOutputValid), "ChkOutputValid(0..15)");
    io.endRecord();
  }
}

void records(RecordStream& io, pages::frmBIO16& p) {
  OneIndex(io, p.CmbConvSpeed, "CmbConvSpeed");
  OneIndex(io, p.CmbOutputHold, "CmbOutputHold");
}

void newDefaults(pages::frmBI16& p, std::string_view) { p.CmbConvSpeed.index = 0; }
void newDefaults(pages::frmBO16& p, std::string_view) { p.CmbOutputHold.index = 0; }
void newDefaults(pages::frmBI32& p, std::string_view) { p.CmbConvSpeed.index = 0; }
void newDefaults(pages::frmBO32& p, std::string_view) {
  p.CmbOutputHold.index = 0;
  for (auto& c : p.ChkOutputValid) c.value = false;
}
void newDefaults(pages::frmBIO32& p, std::string_view) {
  p.CmbConvSpeed.index = 0;
  p.CmbOutputHold.index = 0;
  for (auto& c : p.ChkOutputValid) c.value = false;
}
void newDefaults(pages::frmBIO16& p, std::string_view) {
  p.CmbConvSpeed.index = 0;
  p.CmbOutputHold.index = 0;
}

bool DiscreteRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  switch (pageKind) {
    case 5:
      if (auto* p = As<pages::frmBI16>(page)) return records(io, *p), true;
      return false;
    case 6:
      if (auto* p = As<pages::frmBO16>(page)) return records(io, *p), true;
      return false;
    case 8:
      if (auto* p = As<pages::frmBI32>(page)) return records(io, *p), true;
      return false;
    case 9:
      if (auto* p = As<pages::frmBO32>(page)) return records(io, *p), true;
      return false;
    case 18:
      if (auto* p = As<pages::frmBIO32>(page)) return records(io, *p), true;
      return false;
    case 20:
      if (auto* p = As<pages::frmBIO16>(page)) return records(io, *p), true;
      return false;
    default:
      return false;
  }
}

bool DiscreteDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  switch (pageKind) {
    case 5:
      if (auto* p = As<pages::frmBI16>(page)) return newDefaults(*p, model), true;
      return false;
    case 6:
      if (auto* p = As<pages::frmBO16>(page)) return newDefaults(*p, model), true;
      return false;
    case 8:
      if (auto* p = As<pages::frmBI32>(page)) return newDefaults(*p, model), true;
      return false;
    case 9:
      if (auto* p = As<pages::frmBO32>(page)) return newDefaults(*p, model), true;
      return false;
    case 18:
      if (auto* p = As<pages::frmBIO32>(page)) return newDefaults(*p, model), true;
      return false;
    case 20:
      if (auto* p = As<pages::frmBIO16>(page)) return newDefaults(*p, model), true;
      return false;
    default:
      return false;
  }
}

}  // namespace q5::config
