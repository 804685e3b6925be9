#include "pages/frmBI32.h"

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
  const auto value = ReadValue("01", "11");
  if (!value) return false;
  SelectIndex(CmbConvSpeed, *value);
  CmbConvSpeed.visible = true;
  lblConvSpeed.visible = true;
  txt_able(true);
  return true;
}

void frmBI32::Download() {
  txt_able(false);
  Write("01", "11", IndexText(CmbConvSpeed));
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
  for (int i = 0; i < 3; ++i) v.label(Indexed("lblExtIndex", i), lblExtIndex[i]);
  for (int i = 0; i < 16; ++i) v.indicator(Indexed("txtCData", i), txtCData[i]);
  for (int i = 0; i < 16; ++i) v.indicator(Indexed("txtChData", i), txtChData[i]);
  v.label("lblConvSpeed", lblConvSpeed);
  v.combo("CmbConvSpeed", lblConvSpeed.caption, CmbConvSpeed);
}

}  // namespace q5::pages
