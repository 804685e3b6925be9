#include "pages/frmBIO16.h"

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
  const auto hold = ReadValue("01", "12");
  if (!hold) return false;
  SelectIndex(CmbOutputHold, *hold);
  FillConvSpeed(CmbConvSpeed);
  const auto rate = ReadValue("01", "11");
  if (!rate) return false;
  SelectIndex(CmbConvSpeed, *rate);
  txt_able(true);
  return true;
}

void frmBIO16::Download() {
  txt_able(false);
  if (!Model("Q5W3UD-BIO16")) Write("01", "12", IndexText(CmbOutputHold));
  Write("01", "11", IndexText(CmbConvSpeed));
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
  for (int i = 0; i < 2; ++i) v.label(Indexed("lblExtIndex", i), lblExtIndex[i]);
  for (int i = 0; i < 8; ++i) v.indicator(Indexed("txtCData", i), txtCData[i]);
  for (int i = 0; i < 8; ++i) v.indicator(Indexed("txtChData", i), txtChData[i]);
  v.label("lblConvSpeed", lblConvSpeed);
  v.combo("CmbConvSpeed", lblConvSpeed.caption, CmbConvSpeed);
  v.label("lblOutputHold", lblOutputHold);
  v.combo("CmbOutputHold", lblOutputHold.caption, CmbOutputHold);
}

}  // namespace q5::pages
