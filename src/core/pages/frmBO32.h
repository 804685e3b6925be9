#pragma once
// 32-point discrete output page (page kind 9).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBO32 : public DiscretePage {
 public:
  std::string_view name() const override { return "frmBO32"; }
  int pageKind() const override { return 9; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<Indicator, 32> txtCData;  // output states 0-31
  ComboBox CmbOutputHold;
  Label lblOutputHold{{}, "Output Hold/Clear"};
  Label lblOutputValid{{}, "Invalid Output"};
  // Point numbers: items 0-3 above the indicator rows, items 4-7 above the check boxes
  // (digit row and leading-1 row of each block of 16).
  std::array<Label, 8> lblExtIndex;
  std::array<CheckBox, 32> ChkOutputValid;  // checked: the output point is invalid
  Frame fraValue{{}, "Value"};

  frmBO32(PageContext& ctx);

 private:
  // The models with the per-point invalid-output mask.
  bool HasMask() const { return Model("Q5Z3UECT-1-BO32A") || Model("Q5Z3UML3-BO32"); }
  void ShowMaskRows(bool on);
};

}  // namespace q5::pages
