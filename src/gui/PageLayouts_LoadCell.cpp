// The arrangement of the load-cell page and the linearizer page.
#include <map>

#include "LinearTableGrid.h"
#include "PageLayout.h"
#include "pages/frmLNRIO1.h"

namespace q5::gui::layout {

namespace {

Fields TypeRow() { return Fields{{{"Type", "", "lblV_Unit"}}}; }

PageLayout LoadCellLayout() {
  PageLayout sg2;
  sg2.top = {TypeRow()};
  const std::vector<Channels::Row> scaling = {
      {"txtZScale", "lblZScale", "", ""}, {"txtFScale", "lblFScale", "", ""},
      {"txtBias", "", "", ""},            {"txtGain", "", "", ""},
      {"txtZBase", "", "lblZBase_Unit", ""}, {"txtParData2", "", "", ""}};
  sg2.tabs = {
      Tab{"frmSet1",
          {Channels{0, 2, "", scaling},
           Options{"", {"lblCalibrate0", "cmdAutoZero0", "cmdZero0", "cmdSpan0", "cmdOffset0"}},
           Options{"", {"lblCalibrate1", "cmdAutoZero1", "cmdZero1", "cmdSpan1", "cmdOffset1"}}}},
      Tab{"frmSet2",
          {Options{"", {"lblAverage"}},
           Options{"", {"CmbAveType(0)", "cmdAveApplyCH0"}, "CH 0"},
           Options{"", {"CmbAveType(1)", "cmdAveApplyCH1"}, "CH 1"},
           Options{"", {"lblMonitorOutput"}},
           Options{"", {"txtAdjscale(0)", "cmdApplyCH0", "cmdOutputCH0", "cmdCancelCH0"}, "CH 0"},
           Options{"", {"txtAdjscale(1)", "cmdApplyCH1", "cmdOutputCH1", "cmdCancelCH1"}, "CH 1"},
           Options{"", {"lblGainAdjust"}},
           Options{"", {"txtAdjGain(0)", "cmdGainUPCH0", "cmdGainDOWNCH0", "cmdGainApplyCH0"}, "CH 0"},
           Options{"", {"txtAdjGain(1)", "cmdGainUPCH1", "cmdGainDOWNCH1", "cmdGainApplyCH1"}, "CH 1"},
           Options{"", {"lblMode"}},
           // The filter button shows only its setting ("2Hz"): the row says what it is.
           Options{"", {"cmdCRFilter", "lblExtvoltage", "cmdExtvoltage"}, "CR Filter"},
           Options{"Frame2", {"optKeepOn", "optKeepOff"}}}},
      Tab{"frmSet3",
          {Channels{0, 2, "", {{"txtZPercent", "", "", ""}, {"txtSPercent", "", "", ""},
                               {"txtOPercent", "", "", ""}}}}}};
  sg2.bottom = {Channels{0, 2, "", {{"txtParData", "", "", ""}}},
                Fields{{{"", "", "txtTotalData"}}}};
  // Each channel heads its own rows of "Setting 2", so the page's "CH 0    CH 1" header
  // over two columns is not needed.
  sg2.omitted = {"lblChannels"};
  // The load ratio sits in the zero-base box and is typed (10 to 100 %): the page's
  // state says so, the view draws it as a field.
  return sg2;
}

PageLayout LinearizerLayout() {
  PageLayout lnr;
  lnr.top = {TypeRow()};
  std::vector<std::string> cells = {"lblTable"};
  for (int p = 1; p <= pages::frmLNRIO1::kPoints; ++p) {
    cells.push_back(pages::frmLNRIO1::CellName(p, 0));
    cells.push_back(pages::frmLNRIO1::CellName(p, 1));
  }
  // A range note stands under its field, without a caption of its own.
  lnr.tabs = {
      Tab{"frmSet1",
          {Fields{{{"", "", "txtZScaleIn"},
                   {"", "", "txtFScaleIn"},
                   {" ", "", "lblZScaleIn"},
                   {"", "", "txtBiasIn"},
                   {"", "", "txtGainIn"},
                   {"", "", "txtSpan"},
                   {" ", "", "lblSpan"},
                   {"", "", "CmbRatating"},
                   {"", "", "CmbAveType"}}},
           Options{"", {"cmdOffset", "txtOffset"}}}},
      Tab{"frmSet2",
          {Fields{{{"", "", "CmbLinearizationPoint"}}},
           Custom{[](const pages::ControlWalk& walk, QWidget* parent) -> PageWidget* {
                    return new LinearTableGrid(walk, parent);
                  },
                  cells}}},
      Tab{"frmSet3",
          {Fields{{{"", "", "txtZScaleOut"},
                   {"", "", "txtFScaleOut"},
                   {" ", "", "lblZScaleOut"},
                   {"", "", "txtBiasOut"},
                   {"", "", "txtGainOut"},
                   {"", "", "CmbRange"},
                   {"", "", "CmbHoldClear"},
                   {"", "", "txtOutputClearValue"},
                   {" ", "", "lblOClearValue"},
                   {"", "", "CmbOutput"}}}}}};
  lnr.bottom = {Fields{{{"", "lblV_UnitIn", "txtParData"}, {"", "lblV_UnitOut", "txtParDataOut"}}}};
  lnr.omitted = {"lblFScaleIn", "lblFScaleOut"};
  return lnr;
}

}  // namespace

void AddLoadCellLayouts(std::map<std::string, PageLayout, std::less<>>& m) {
  m["frmSG2"] = LoadCellLayout();
  m["frmLNRIO1"] = LinearizerLayout();
}

}  // namespace q5::gui::layout
