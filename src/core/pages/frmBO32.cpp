#include "pages/frmBO32.h"

#include "pages/RecordStream.h"

namespace q5::pages {

frmBO32::frmBO32(PageContext& ctx) : DiscretePage(ctx) {
  for (int block = 0; block < 2; ++block) {
    lblExtIndex[block * 4 + 0].caption = PointDigits(16);
    lblExtIndex[block * 4 + 1].caption = PointDigits(16);
    lblExtIndex[block * 4 + 3].caption = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
  }
}

void frmBO32::ShowMaskRows(bool on) {
  lblOutputValid.visible = on;
  for (int i = 4; i < 8; ++i) lblExtIndex[i].visible = on;
  for (auto& c : ChkOutputValid) c.visible = on;
}

void frmBO32::PrepareControls() {
  ShowModulePart();
  FillOutputHold(CmbOutputHold);
  CmbOutputHold.visible = true;
  lblOutputHold.visible = HasMask() || Model("Q5W3NEIP-BO32");
  ShowMaskRows(HasMask());
}

bool frmBO32::Init() {
  txt_able(false);
  ShowModulePart();
  CmbOutputHold.visible = false;
  lblOutputHold.visible = false;
  ShowMaskRows(false);

  FillOutputHold(CmbOutputHold);
  if (!ReadIndex(CmbOutputHold, "02", "12")) return false;
  CmbOutputHold.visible = true;

  if (HasMask()) {
    lblOutputHold.visible = true;
    ShowMaskRows(true);
    const auto low = ReadValue("01", "16");
    if (!low) return false;
    MaskToChecks(*low, &ChkOutputValid[0]);
    const auto high = ReadValue("02", "16");
    if (!high) return false;
    MaskToChecks(*high, &ChkOutputValid[16]);
  } else if (Model("Q5W3NEIP-BO32")) {
    lblOutputHold.visible = true;
  }
  // Other models: the hold setting is shown without its label and never written.
  txt_able(true);
  return true;
}

void frmBO32::Download() {
  txt_able(false);
  if (HasMask()) {
    WriteIndex("02", "12", CmbOutputHold);
    Write("01", "16", ChecksToMask(&ChkOutputValid[0]));
    Write("02", "16", ChecksToMask(&ChkOutputValid[16]));
  } else if (Model("Q5W3NEIP-BO32")) {
    WriteIndex("02", "12", CmbOutputHold);
  }
}

void frmBO32::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word, &txtCData[0]);
  if (values().moduleKind != 9) return;
  if (auto word = ReadWord("22")) ShowBits(*word, &txtCData[16]);
}

void frmBO32::txt_able(bool enable) {
  CmbOutputHold.enabled = enable && !Model("Q5W3ND-BO32");
  for (auto& c : ChkOutputValid) c.enabled = enable;
}

void frmBO32::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  VisitLabels(v, "lblExtIndex", lblExtIndex.data(), 8);
  VisitIndicators(v, "txtCData", txtCData.data(), 32);
  VisitSetting(v, "lblOutputHold", lblOutputHold, "CmbOutputHold", CmbOutputHold);
  v.label("lblOutputValid", lblOutputValid);
  for (int i = 0; i < 32; ++i) v.check(Indexed("ChkOutputValid", i), ChkOutputValid[i]);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBO32::records(RecordStream& io) {
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  if (io.modelBeginsWith("Q5Z3UECT-1-BO32A") || io.modelBeginsWith("Q5Z3UML3-BO32")) {
    io.mask(std::span(ChkOutputValid).subspan(0, 16), "ChkOutputValid(0..15)");
    io.endRecord();
    io.mask(std::span(ChkOutputValid).subspan(16, 16), "ChkOutputValid(16..31)");
    io.endRecord();
  }
}

bool frmBO32::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  for (auto& c : ChkOutputValid) c.value = false;
  return true;
}

}  // namespace q5::pages
