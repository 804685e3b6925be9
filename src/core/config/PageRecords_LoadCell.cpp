// Configuration records of the load-cell page frmSG2 (kind 13) and the linearizer page
// frmLNRIO1 (kind 14).
#include <tuple>

#include "config/PageRecords.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmSG2.h"

namespace q5::config {

namespace {

using pages::Indexed;

// The four models with the filter mode; they get a full scale and averaging of their own
// in a new configuration.
bool FilterModelName(std::string_view model) {
  for (std::string_view m : {"Q5Z3UCIE-SG2-9/F2K", "Q5Z3UCIE-SG2-9/F1", "Q5T3SECT-SG2-A/F2K",
                             "Q5T3SECT-SG2-A/F1"})
    if (model.substr(0, m.size()) == m) return true;
  return false;
}

bool PercentModel(const RecordStream& io) {
  return io.modelBeginsWith("Q5T3SECT-SG2-A/F2K") || io.modelBeginsWith("Q5T3SECT-SG2-A/F1");
}

}  // namespace

void records(RecordStream& io, pages::frmSG2& p) {
  // The CR filter and the excitation as 0/1 flags of their buttons' captions.
  std::int16_t filter = p.cmdCRFilter.caption == "2Hz" ? 0 : 1;
  std::int16_t excitation = p.cmdExtvoltage.caption == "5V" ? 1 : 0;
  io.integer(filter, "cmdCRFilter");
  io.integer(excitation, "cmdExtvoltage");
  io.endRecord();
  if (io.reading()) {
    p.cmdCRFilter.caption = p.FilterCaption(filter != 0);
    // The model that lets the excitation be chosen keeps the caption the page has.
    if (!io.modelIs("Q5T3NML3-6-SG2A")) p.cmdExtvoltage.caption = excitation ? "5V" : "2.5V";
  }
  for (int i = 0; i < pages::frmSG2::kChannels; ++i) {
    io.text(p.txtZScale[i], Indexed("txtZScale", i));
    io.text(p.txtFScale[i], Indexed("txtFScale", i));
    io.text(p.txtBias[i], Indexed("txtBias", i));
    io.text(p.txtGain[i], Indexed("txtGain", i));
    io.text(p.txtZBase[i], Indexed("txtZBase", i));
    io.endRecord();
  }
  for (int i = 0; i < pages::frmSG2::kChannels; ++i) {
    io.index(p.CmbAveType[i], Indexed("CmbAveType", i));
    io.endRecord();
  }
  if (PercentModel(io)) {
    for (int i = 0; i < pages::frmSG2::kChannels; ++i) {
      io.text(p.txtZPercent[i], Indexed("txtZPercent", i));
      io.text(p.txtSPercent[i], Indexed("txtSPercent", i));
      io.text(p.txtOPercent[i], Indexed("txtOPercent", i));
      io.endRecord();
    }
  }
}

void newDefaults(pages::frmSG2& p, std::string_view model) {
  const bool filterModel = FilterModelName(model);
  p.cmdCRFilter.caption = p.FilterCaption(true);
  p.cmdExtvoltage.caption = "5V";
  for (int i = 0; i < pages::frmSG2::kChannels; ++i) {
    p.txtZScale[i].text = "0";
    p.txtFScale[i].text = filterModel ? "10000" : "-1";
    p.txtBias[i].text = "0.00";
    p.txtGain[i].text = "1.0000";
    p.txtZBase[i].text = "100.00";
    p.CmbAveType[i].index = filterModel ? 3 : 0;
    p.txtZPercent[i].text = "0";
    p.txtSPercent[i].text = "10000";
    p.txtOPercent[i].text = "0";
  }
}

void records(RecordStream& io, pages::frmLNRIO1& p) {
  io.index(p.CmbAveType, "CmbAveType");
  io.index(p.CmbRatating, "CmbRatating");
  io.index(p.CmbLinearizationPoint, "CmbLinearizationPoint");
  io.index(p.CmbRange, "CmbRange");
  io.endRecord();
  io.index(p.CmbOutput, "CmbOutput");
  io.index(p.CmbHoldClear, "CmbHoldClear");
  io.endRecord();
  io.text(p.txtOffset, "txtOffset");
  io.text(p.txtSpan, "txtSpan");
  io.text(p.txtOutputClearValue, "txtOutputClearValue");
  io.endRecord();
  io.text(p.txtGainIn, "txtGainIn");
  io.text(p.txtBiasIn, "txtBiasIn");
  io.text(p.txtZScaleIn, "txtZScaleIn");
  io.text(p.txtFScaleIn, "txtFScaleIn");
  io.endRecord();
  io.text(p.txtGainOut, "txtGainOut");
  io.text(p.txtBiasOut, "txtBiasOut");
  io.text(p.txtZScaleOut, "txtZScaleOut");
  io.text(p.txtFScaleOut, "txtFScaleOut");
  io.endRecord();
  // The table, two points a line; what the grid holds goes into the table first.
  if (io.writing()) p.dgd_download();
  for (int m = 1; m <= pages::frmLNRIO1::kPoints / 2; ++m) {
    for (int point : {2 * m - 1, 2 * m}) {
      std::int16_t x = static_cast<std::int16_t>(*p.LinearTable_get(point, 0));
      std::int16_t y = static_cast<std::int16_t>(*p.LinearTable_get(point, 1));
      io.integer(x, pages::frmLNRIO1::CellName(point, 0));
      io.integer(y, pages::frmLNRIO1::CellName(point, 1));
      if (io.reading()) p.LinearTable_set(point, x, y);
    }
    io.endRecord();
  }
  if (io.reading()) p.dgd_open();
}

void newDefaults(pages::frmLNRIO1& p, std::string_view) {
  for (auto* box : {&p.CmbAveType, &p.CmbRatating, &p.CmbLinearizationPoint, &p.CmbRange,
                    &p.CmbOutput, &p.CmbHoldClear})
    box->index = 0;
  p.txtOffset.text = "0.0";
  p.txtSpan.text = "270.00";
  p.txtOutputClearValue.text = "-15.00";
  for (auto [gain, bias, zero, full] :
       {std::tuple{&p.txtGainIn, &p.txtBiasIn, &p.txtZScaleIn, &p.txtFScaleIn},
        std::tuple{&p.txtGainOut, &p.txtBiasOut, &p.txtZScaleOut, &p.txtFScaleOut}}) {
    gain->text = "1.0000";
    bias->text = "0.00";
    zero->text = "0";
    full->text = "10000";
  }
  for (int point = 1; point <= pages::frmLNRIO1::kPoints; ++point) p.LinearTable_set(point, 0, 0);
  p.dgd_open();
}

bool LoadCellRecords(RecordStream& io, pages::ModulePage& page, int pageKind) {
  switch (pageKind) {
    case 13:
      if (auto* p = dynamic_cast<pages::frmSG2*>(&page)) return records(io, *p), true;
      return false;
    case 14:
      if (auto* p = dynamic_cast<pages::frmLNRIO1*>(&page)) return records(io, *p), true;
      return false;
    default:
      return false;
  }
}

bool LoadCellDefaults(pages::ModulePage& page, int pageKind, std::string_view model) {
  switch (pageKind) {
    case 13:
      if (auto* p = dynamic_cast<pages::frmSG2*>(&page)) return newDefaults(*p, model), true;
      return false;
    case 14:
      if (auto* p = dynamic_cast<pages::frmLNRIO1*>(&page)) return newDefaults(*p, model), true;
      return false;
    default:
      return false;
  }
}

}  // namespace q5::config
