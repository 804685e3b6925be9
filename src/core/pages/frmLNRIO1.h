#pragma once
// The linearizing converter page (page kind 14): an angle input with its scaling, span,
// rotating direction and averaging ("Setting 1"); a linearization table of up to 31
// points edited in a grid ("Setting 2"); a voltage output with its scaling, range, clear
// value and hold/clear ("Setting 3"). While monitoring it shows the input and the output
// value, and "Change Value" sets the output by hand.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class frmLNRIO1 : public ModulePage, public ChannelScaling {
 public:
  // Points of the table (numbered 1 to 32) and the range of their X and Y.
  static constexpr int kPoints = 32;
  static constexpr int kTableLow = -1500;
  static constexpr int kTableHigh = 11500;

  explicit frmLNRIO1(PageContext& ctx);

  std::string_view name() const override { return "frmLNRIO1"; }
  int pageKind() const override { return 14; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmLNRIO1_Init
  void Download() override;  // frmLNRIO1_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void txt_visible2(bool show);
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;
  bool Press(std::string_view name) override;

  // Manual output: one value, written to the output by the next monitoring pass.
  int manualOutputCount() const override { return 1; }
  std::string manualOutputValue(int i) const override;
  void WritingData(const std::vector<std::string>& values) override;
  // A click on the output value: "Change Value" while monitoring.
  bool txtParDataOut_Click() { return txtParData_Click(0); }

  // "Offset [deg]": the unit takes the present angle as the offset.
  void cmdOffset_Click();

  // The table. A point number outside 1..32 or a column other than 0 (X) or 1 (Y) is
  // refused: false / nothing.
  bool LinearTable_set(int point, int x, int y);
  std::optional<int> LinearTable_get(int point, int column) const;
  // Grid <- table.
  void dgd_open();
  void dgd_upload() { dgd_open(); }
  // Table <- grid: every cell that holds an integer goes into the table; a cell that
  // does not is remembered as invalid, so CheckData refuses it when its point is in use.
  virtual void dgd_download();
  // Download takes the table grid into the table before CheckData.
  void TakeEdits() override { dgd_download(); }
  // The number of points in use: 0 for "Disable", else the list index + 2.
  int PointsInUse() const;

  void cmdSet1_Click() { cmdSet_Click(1); }
  void cmdSet2_Click() { cmdSet_Click(2); }
  void cmdSet3_Click() { cmdSet_Click(3); }

  // Input (group "01") and output (group "03") scaling; ChannelScaling channel 0 and 1.
  TextBox& txtZScaleIn;
  TextBox& txtFScaleIn;
  TextBox& txtBiasIn;
  TextBox& txtGainIn;
  TextBox& txtZScaleOut;
  TextBox& txtFScaleOut;
  TextBox& txtBiasOut;
  TextBox& txtGainOut;

  TextBox txtOffset;          // "Offset [deg]"
  Button cmdOffset;
  TextBox txtSpan;            // "Span [deg]"
  Label lblSpan;              // "60.00 to 360.00"
  ComboBox CmbRatating;       // "CW", "CCW"
  ComboBox CmbAveType;        // "1" ... "256"
  ComboBox CmbLinearizationPoint;  // "Disable", "3" ... "31"

  // The grid dgdDataGrid1: one row per point, columns "No.", "X[%]", "Y[%]".
  struct GridRow {
    TextBox x, y;
  };
  std::array<GridRow, kPoints> dgdDataGrid1;
  Label lblTable;             // "Linearization table (-1500 to 11500)"

  ComboBox CmbRange;          // "-10～+10V", "-5～+5V"
  ComboBox CmbHoldClear;      // "Hold", "Clear"
  TextBox txtOutputClearValue;
  Label lblOClearValue;       // "-15.00 to 115.00"
  ComboBox CmbOutput;         // "Valid", "Invalid"

  TextBox txtParData;         // input value
  TextBox txtParDataOut;      // output value
  Label lblV_UnitIn;          // "input"
  Label lblV_UnitOut;         // "output"

  // Grid cell names as views and the command line address them: "dgdX(1)" .. "dgdY(32)".
  static std::string CellName(int point, int column);

 private:
  bool ReadScalingBlock(const char* group, int block);
  void WriteScalingBlock(const char* group, int block);

  std::array<std::int16_t, kPoints> x_{};
  std::array<std::int16_t, kPoints> y_{};
  std::array<bool, kPoints> cellInvalid_{};
  bool pending_ = false;
  std::string pendingValue_ = "-1500";
};

}  // namespace q5::pages
