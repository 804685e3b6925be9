#include "pages/frmBIO32.h"

#include "pages/RecordStream.h"

namespace q5::pages {

void frmBIO32::ShowMaskRow(bool on) {
  lblOutputValid.visible = on;
  lblExtIndex[2].visible = on;
  lblExtIndex[3].visible = on;
  for (auto& c : ChkOutputValid) c.visible = on;
}

void frmBIO32::PrepareControls() {
  ShowModulePart();
  ShowMaskRow(HasMask());
  FillOutputHold(CmbOutputHold);
  FillConvSpeed(CmbConvSpeed);
}

bool frmBIO32::Init() {
  // No txt_able(false) first on this page.
  ShowModulePart();
  ShowMaskRow(HasMask());
  FillOutputHold(CmbOutputHold);
  if (!ReadIndex(CmbOutputHold, "02", "12")) return false;
  FillConvSpeed(CmbConvSpeed);
  if (!ReadIndex(CmbConvSpeed, "01", "11")) return false;
  if (HasMask()) {
    const auto mask = ReadValue("02", "16");
    if (!mask) return false;
    MaskToChecks(*mask, ChkOutputValid.data());
  }
  txt_able(true);
  return true;
}

void frmBIO32::Download() {
  txt_able(false);
  if (!Model("Q5W3ND-BIO32")) WriteIndex("02", "12", CmbOutputHold);
  WriteIndex("01", "11", CmbConvSpeed);
  if (HasMask()) Write("02", "16", ChecksToMask(ChkOutputValid.data()));
}

void frmBIO32::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word, txtCData.data());
  if (values().moduleKind != 18) return;
  if (auto word = ReadWord("22")) ShowBits(*word, txtChData.data());
}

void frmBIO32::txt_able(bool enable) {
  const bool fixed = Model("Q5W3ND-BIO32");
  CmbOutputHold.enabled = enable && !fixed;
  CmbConvSpeed.enabled = enable && !fixed;
  for (auto& c : ChkOutputValid) c.enabled = enable;
}

void frmBIO32::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  v.label("lblInput", lblInput);
  v.label("Label1", Label1);
  VisitLabels(v, "lblExtIndex", lblExtIndex.data(), 4);
  VisitIndicators(v, "txtCData", txtCData.data(), 16);
  VisitIndicators(v, "txtChData", txtChData.data(), 16);
  VisitSetting(v, "lblConvSpeed", lblConvSpeed, "CmbConvSpeed", CmbConvSpeed);
  VisitSetting(v, "lblOutputHold", lblOutputHold, "CmbOutputHold", CmbOutputHold);
  v.label("lblOutputValid", lblOutputValid);
  for (int i = 0; i < 16; ++i) v.check(Indexed("ChkOutputValid", i), ChkOutputValid[i]);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBIO32::records(RecordStream& io) {
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
  if (io.modelBeginsWith("Q5Z3UECT-1-BIO32") || io.modelBeginsWith("Q5Z3UML3-BIO32") ||
      io.modelBeginsWith("Q5Z3UEIP-BIO32")) {
    io.mask(std::span(ChkOutputValid), "ChkOutputValid(0..15)");
    io.endRecord();
  }
}

bool frmBIO32::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  CmbOutputHold.index = 0;
  for (auto& c : ChkOutputValid) c.value = false;
  return true;
}

}  // namespace q5::pages
