#include "pages/frmBI16.h"

#include "pages/RecordStream.h"

namespace q5::pages {

void frmBI16::PrepareControls() {
  ShowModulePart();
  FillConvSpeed(CmbConvSpeed);
}

bool frmBI16::Init() {
  txt_able(false);
  PrepareControls();
  const auto value = ReadValue("01", "11");
  if (!value) return false;  // the page stays disabled, no message
  if (Model("Q5T3NEIP-6-BI16") || Model("Q5W3NEIP-BI16") || Model("Q5W3UD-BI16")) {
    SelectIndex(CmbConvSpeed, *value);
  } else {
    // The other units answer with the conversion time in milliseconds.
    static const char* const kMs[] = {"10", "1", "5", "20", "50", "70", "100", "200"};
    for (int i = 0; i < 8; ++i)
      if (*value == kMs[i]) CmbConvSpeed.index = i;
  }
  txt_able(true);
  return true;
}

void frmBI16::Download() {
  txt_able(false);
  // The index is written for every model, also for those that answer in milliseconds.
  WriteIndex("01", "11", CmbConvSpeed);
}

void frmBI16::ReadingData() {
  if (auto word = ReadWord("21")) ShowBits(*word, txtCData.data());
}

void frmBI16::txt_able(bool enable) {
  CmbConvSpeed.enabled = enable && !Model("Q5W3UD-BI16");
}

void frmBI16::visitControls(ControlVisitor& v) {
  DiscretePage::visitControls(v);
  v.frame("fraValue", fraValue);
  VisitLabels(v, "lblExtIndex", &lblExtIndex, 1);
  VisitIndicators(v, "txtCData", txtCData.data(), 16);
  VisitSetting(v, "lblConvSpeed2", lblConvSpeed2, "CmbConvSpeed", CmbConvSpeed);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmBI16::records(RecordStream& io) {
  io.index(CmbConvSpeed, "CmbConvSpeed");
  io.endRecord();
}

bool frmBI16::newDefaults(std::string_view) {
  CmbConvSpeed.index = 0;
  return true;
}

}  // namespace q5::pages
