#pragma once
// 32-point discrete input page (page kind 8).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBI32 : public DiscretePage {
 public:
  using DiscretePage::DiscretePage;
  std::string_view name() const override { return "frmBI32"; }
  int pageKind() const override { return 8; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<Indicator, 16> txtCData;   // points 0-15
  std::array<Indicator, 16> txtChData;  // points 16-31
  ComboBox CmbConvSpeed;
  Label lblConvSpeed{{}, "Conversion rate"};
  // Point numbers: the digit rows of both blocks and the leading 1 of 10 to 1F.
  std::array<Label, 3> lblExtIndex{Label{{}, PointDigits(16)}, Label{{}, PointDigits(16)},
                                   Label{{}, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"}};
  Frame fraValue{{}, "Value"};
};

}  // namespace q5::pages
