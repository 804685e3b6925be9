#include "pages/frmBIO16.h"

#include "pages/RecordStream.h"

namespace q5::pages {

void frmBIO16::PrepareControls() {
  ShowModulePart();
  FillOutputHold(CmbOutputHold);
  FillConvSpeed(CmbConvSpeed);
}

bool frmBIO16::Init() {
  // No txt_able(false) first on this page.
  ShowModulePart();
  FillOutputHold(CmbOutputHold);
  if (!ReadIndex(CmbOutputHold, "01", "12")) return false;
  FillConvSpeed(CmbConvSpeed);
  if (!ReadIndex(CmbConvSpeed, "01", "11")) return false;
  txt_able(true);
  return true;
}

void frmBIO16::Download() {
  txt_able(false);
  if (!Model("Q5W3UD-BIO16")) WriteIndex("01", "12", CmbOutputHold);
  WriteIndex("01", "11", CmbConvSpeed);
}

void frmBIO16::ShowBits(std::string_view word) {
  // Low byte: inputs 0-7, high byte: outputs 0-7; bit n of each byte is point n.
  std::array<Indicator*, 16> boxes{};
  for (int i = 0; i < 8; ++i) {
    boxes[i] = &txtCData[i];
    boxes[8 + i] = &txtChData[i];
  }
  pages::ShowBits(word, boxes);
}

void frmBIO16::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word);
}

void frmBIO16::txt_able(bool enable) {
  const bool fixed = Model("Q5W3UD-BIO16");
  CmbOutputHold.enabled = enable && !fixed;
  CmbConvSpeed.enabled = enable && !fixed;
}

void frmBIO16::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  v.label("lblInput", lblInput);
  v.label("Label1", Label1);
  VisitLabels(v, "lblExtIndex", lblExtIndex.data(), 2);
  VisitIndicators(v, "txtCData", txtCData.data(), 8);
  VisitIndicators(v, "txtChData", txtChData.data(), 8);
  VisitSetting(v, "lblConvSpeed", lblConvSpeed, "CmbConvSpeed", CmbConvSpeed);
  VisitSetting(v, "lblOutputHold", lblOutputHold, "CmbOutputHold", CmbOutputHold);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBIO16::records(RecordStream& io) {
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
}

bool frmBIO16::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  CmbOutputHold.index = 0;
  return true;
}

}  // namespace q5::pages
