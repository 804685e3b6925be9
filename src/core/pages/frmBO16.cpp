#include "pages/frmBO16.h"

#include "pages/RecordStream.h"

namespace q5::pages {

void frmBO16::PrepareControls() {
  ShowModulePart();
  if (NoHoldSetting()) {
    ShowHold(false);
  } else {
    FillOutputHold(CmbOutputHold);
    ShowHold(true);
  }
}

bool frmBO16::Init() {
  txt_able(false);
  ShowModulePart();
  if (NoHoldSetting()) {
    ShowHold(false);
  } else {
    FillOutputHold(CmbOutputHold);
    const auto value = ReadValue("01", "12");
    if (!value) return false;
    if (Model("Q5T3NEIP-6-BO16") || Model("Q5W3NEIP-BO16") || Model("Q5W3UD-BO16")) {
      SelectIndex(CmbOutputHold, *value);
    } else {
      // The other units answer "ON" for Hold.
      CmbOutputHold.index = *value == "ON" ? 1 : 0;
    }
    ShowHold(true);
  }
  txt_able(true);
  return true;
}

void frmBO16::Download() {
  txt_able(false);
  if (NoHoldSetting() || Model("Q5W3UD-BO16")) return;
  WriteIndex("01", "12", CmbOutputHold);
}

void frmBO16::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word, txtCData.data());
}

void frmBO16::txt_able(bool enable) {
  CmbOutputHold.enabled = enable && !Model("Q5W3UD-BO16");
}

void frmBO16::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  VisitLabels(v, "lblExtIndex", &lblExtIndex, 1);
  VisitIndicators(v, "txtCData", txtCData.data(), 16);
  VisitSetting(v, "lblConvSpeed2", lblConvSpeed2, "CmbOutputHold", CmbOutputHold);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBO16::records(RecordStream& io) {
  // This model has no hold setting: its file holds the header only.
  if (io.modelIs("Q5V3PE-6-BO16")) return;
  io.index(CmbOutputHold, "CmbOutputHold");
  io.endRecord();
}

bool frmBO16::newDefaults(std::string_view) {
  CmbOutputHold.index = 0;
  return true;
}

}  // namespace q5::pages
