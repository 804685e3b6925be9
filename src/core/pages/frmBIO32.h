#pragma once
// 16-point input / 16-point output page (page kind 18).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBIO32 : public DiscretePage {
 public:
  using DiscretePage::DiscretePage;
  std::string_view name() const override { return "frmBIO32"; }
  int pageKind() const override { return 18; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<Indicator, 16> txtCData;   // inputs 0-15
  std::array<Indicator, 16> txtChData;  // outputs 0-15
  ComboBox CmbConvSpeed;
  Label lblConvSpeed{{}, "Conversion rate"};
  ComboBox CmbOutputHold;
  Label lblOutputHold{{}, "Output Hold/Clear"};
  Label lblInput{{}, "Input"};
  Label Label1{{}, "Output"};
  Label lblOutputValid{{}, "Invalid Output"};
  // Point numbers: items 0 and 1 above the input and output rows, items 2 and 3 above
  // the check-box row.
  std::array<Label, 4> lblExtIndex{Label{{}, PointDigits(16)}, Label{{}, PointDigits(16)},
                                   Label{{}, PointDigits(16)}, Label{{}, ""}};
  std::array<CheckBox, 16> ChkOutputValid;  // checked: the output point is invalid
  Frame fraValue{{}, "Value"};

 private:
  bool HasMask() const {
    return Model("Q5Z3UECT-1-BIO32") || Model("Q5Z3UML3-BIO32") || Model("Q5Z3UEIP-BIO32");
  }
  void ShowMaskRow(bool on);
};

}  // namespace q5::pages
