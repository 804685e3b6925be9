// Configuration records of the load-cell page frmSG2 (kind 13) and the linearizer page
// frmLNRIO1 (kind 14).
#include <tuple>

#include "pages/RecordStream.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmSG2.h"

namespace q5::pages {

namespace {

// The four models with the filter mode; they get a full scale and averaging of their own
// in a new configuration.
bool FilterModelName(std::string_view model) {
  for (std::string_view m :
       {"Q5Z3UCIE-SG2-9/F2K", "Q5Z3UCIE-SG2-9/F1", "Q5T3SECT-SG2-A/F2K", "Q5T3SECT-SG2-A/F1"})
    if (model.substr(0, m.size()) == m) return true;
  return false;
}

bool PercentModel(const RecordStream& io) {
  return io.modelBeginsWith("Q5T3SECT-SG2-A/F2K") || io.modelBeginsWith("Q5T3SECT-SG2-A/F1");
}

}  // namespace

void frmSG2::records(RecordStream& io) {
  // The CR filter and the excitation as 0/1 flags of their buttons' captions.
  std::int16_t filter = cmdCRFilter.caption == "2Hz" ? 0 : 1;
  std::int16_t excitation = cmdExtvoltage.caption == "5V" ? 1 : 0;
  io.integer(filter, "cmdCRFilter");
  io.integer(excitation, "cmdExtvoltage");
  io.endRecord();
  if (io.reading()) {
    cmdCRFilter.caption = FilterCaption(filter != 0);
    // The model that lets the excitation be chosen keeps the caption the page has.
    if (!io.modelIs("Q5T3NML3-6-SG2A")) cmdExtvoltage.caption = excitation ? "5V" : "2.5V";
  }
  for (int i = 0; i < frmSG2::kChannels; ++i) {
    io.text(txtZScale[i], Indexed("txtZScale", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    io.text(txtBias[i], Indexed("txtBias", i));
    io.text(txtGain[i], Indexed("txtGain", i));
    io.text(txtZBase[i], Indexed("txtZBase", i));
    io.endRecord();
  }
  for (int i = 0; i < frmSG2::kChannels; ++i) {
    io.index(CmbAveType[i], Indexed("CmbAveType", i));
    io.endRecord();
  }
  if (PercentModel(io)) {
    for (int i = 0; i < frmSG2::kChannels; ++i) {
      io.text(txtZPercent[i], Indexed("txtZPercent", i));
      io.text(txtSPercent[i], Indexed("txtSPercent", i));
      io.text(txtOPercent[i], Indexed("txtOPercent", i));
      io.endRecord();
    }
  }
}

bool frmSG2::newDefaults(std::string_view model) {
  const bool filterModel = FilterModelName(model);
  cmdCRFilter.caption = FilterCaption(true);
  cmdExtvoltage.caption = "5V";
  for (int i = 0; i < frmSG2::kChannels; ++i) {
    txtZScale[i].text = "0";
    txtFScale[i].text = filterModel ? "10000" : "-1";
    txtBias[i].text = "0.00";
    txtGain[i].text = "1.0000";
    txtZBase[i].text = "100.00";
    CmbAveType[i].index = filterModel ? 3 : 0;
    txtZPercent[i].text = "0";
    txtSPercent[i].text = "10000";
    txtOPercent[i].text = "0";
  }
  return true;
}

void frmLNRIO1::records(RecordStream& io) {
  io.index(CmbAveType, "CmbAveType");
  io.index(CmbRatating, "CmbRatating");
  io.index(CmbLinearizationPoint, "CmbLinearizationPoint");
  io.index(CmbRange, "CmbRange");
  io.endRecord();
  io.index(CmbOutput, "CmbOutput");
  io.index(CmbHoldClear, "CmbHoldClear");
  io.endRecord();
  io.text(txtOffset, "txtOffset");
  io.text(txtSpan, "txtSpan");
  io.text(txtOutputClearValue, "txtOutputClearValue");
  io.endRecord();
  io.text(txtGainIn, "txtGainIn");
  io.text(txtBiasIn, "txtBiasIn");
  io.text(txtZScaleIn, "txtZScaleIn");
  io.text(txtFScaleIn, "txtFScaleIn");
  io.endRecord();
  io.text(txtGainOut, "txtGainOut");
  io.text(txtBiasOut, "txtBiasOut");
  io.text(txtZScaleOut, "txtZScaleOut");
  io.text(txtFScaleOut, "txtFScaleOut");
  io.endRecord();
  // The table, two points a line; what the grid holds goes into the table first.
  if (io.writing()) dgd_download();
  for (int m = 1; m <= frmLNRIO1::kPoints / 2; ++m) {
    for (int point : {2 * m - 1, 2 * m}) {
      std::int16_t x = static_cast<std::int16_t>(*LinearTable_get(point, 0));
      std::int16_t y = static_cast<std::int16_t>(*LinearTable_get(point, 1));
      io.integer(x, frmLNRIO1::CellName(point, 0));
      io.integer(y, frmLNRIO1::CellName(point, 1));
      if (io.reading()) LinearTable_set(point, x, y);
    }
    io.endRecord();
  }
  if (io.reading()) dgd_open();
}

bool frmLNRIO1::newDefaults(std::string_view) {
  for (auto* box :
       {&CmbAveType, &CmbRatating, &CmbLinearizationPoint, &CmbRange, &CmbOutput, &CmbHoldClear})
    box->index = 0;
  txtOffset.text = "0.0";
  txtSpan.text = "270.00";
  txtOutputClearValue.text = "-15.00";
  for (auto [gain, bias, zero, full] :
       {std::tuple{&txtGainIn, &txtBiasIn, &txtZScaleIn, &txtFScaleIn},
        std::tuple{&txtGainOut, &txtBiasOut, &txtZScaleOut, &txtFScaleOut}}) {
    gain->text = "1.0000";
    bias->text = "0.00";
    zero->text = "0";
    full->text = "10000";
  }
  for (int point = 1; point <= frmLNRIO1::kPoints; ++point) LinearTable_set(point, 0, 0);
  dgd_open();
  return true;
}

}  // namespace q5::pages
