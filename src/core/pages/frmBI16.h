#pragma once
// 16-point discrete input page (page kind 5).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBI16 : public DiscretePage {
 public:
  using DiscretePage::DiscretePage;
  std::string_view name() const override { return "frmBI16"; }
  int pageKind() const override { return 5; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;  // frmBI16_Init
  void Download() override;  // frmBI16_Download
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<Indicator, 16> txtCData;
  ComboBox CmbConvSpeed;
  Label lblConvSpeed2{{}, "Conversion rate"};
  Label lblExtIndex{{}, PointDigits(16)};
  Frame fraValue{{}, "Value"};
};

}  // namespace q5::pages
