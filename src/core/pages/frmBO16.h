#pragma once
// 16-point discrete output page (page kind 6).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBO16 : public DiscretePage {
 public:
  using DiscretePage::DiscretePage;
  std::string_view name() const override { return "frmBO16"; }
  int pageKind() const override { return 6; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<Indicator, 16> txtCData;  // output states
  ComboBox CmbOutputHold;
  Label lblConvSpeed2{{}, "Output Hold/Clear"};  // the hold setting's label on this page
  Label lblExtIndex{{}, PointDigits(16)};
  Frame fraValue{{}, "Value"};

 private:
  // This model has no hold setting (exact model string only).
  bool NoHoldSetting() const { return Model("Q5V3PE-6-BO16"); }
  void ShowHold(bool on) {
    CmbOutputHold.visible = on;
    lblConvSpeed2.visible = on;
  }
};

}  // namespace q5::pages
