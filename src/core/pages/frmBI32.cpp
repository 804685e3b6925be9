#include "pages/frmBI32.h"

#include "pages/RecordStream.h"

namespace q5::pages {

void frmBI32::PrepareControls() {
  ShowModulePart();
  FillConvSpeed(CmbConvSpeed);
  CmbConvSpeed.visible = true;
  lblConvSpeed.visible = true;
}

bool frmBI32::Init() {
  txt_able(false);
  ShowModulePart();
  CmbConvSpeed.visible = false;
  lblConvSpeed.visible = false;
  FillConvSpeed(CmbConvSpeed);
  if (!ReadIndex(CmbConvSpeed, "01", "11")) return false;
  CmbConvSpeed.visible = true;
  lblConvSpeed.visible = true;
  txt_able(true);
  return true;
}

void frmBI32::Download() {
  txt_able(false);
  WriteIndex("01", "11", CmbConvSpeed);
  txt_able(true);
}

void frmBI32::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word, txtCData.data());
  if (values().moduleKind != 8) return;  // the second word only for a 32-point input module
  if (auto word = ReadWord("22")) ShowBits(*word, txtChData.data());
}

void frmBI32::txt_able(bool enable) {
  CmbConvSpeed.enabled = enable && !Model("Q5W3ND-BI32");
}

void frmBI32::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  VisitLabels(v, "lblExtIndex", lblExtIndex.data(), 3);
  VisitIndicators(v, "txtCData", txtCData.data(), 16);
  VisitIndicators(v, "txtChData", txtChData.data(), 16);
  VisitSetting(v, "lblConvSpeed", lblConvSpeed, "CmbConvSpeed", CmbConvSpeed);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBI32::records(RecordStream& io) {
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
}

bool frmBI32::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  return true;
}

}  // namespace q5::pages
