#pragma once
// 8-point input / 8-point output page (page kind 20).
#include <array>

#include "pages/DiscretePage.h"

namespace q5::pages {

class frmBIO16 : public DiscretePage {
 public:
  using DiscretePage::DiscretePage;
  std::string_view name() const override { return "frmBIO16"; }
  int pageKind() const override { return 20; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  // Both blocks come from one live word: its last two digits are the inputs, its first
  // two digits the outputs.
  void ShowBits(std::string_view word);

  std::array<Indicator, 8> txtCData;   // inputs 0-7
  std::array<Indicator, 8> txtChData;  // outputs 0-7
  ComboBox CmbConvSpeed;
  Label lblConvSpeed{{}, "Conversion rate"};
  ComboBox CmbOutputHold;
  Label lblOutputHold{{}, "Output Hold/Clear"};
  Label lblInput{{}, "Input"};
  Label Label1{{}, "Output"};
  std::array<Label, 2> lblExtIndex{Label{{}, PointDigits(8)}, Label{{}, PointDigits(8)}};
  Frame fraValue{{}, "Value"};
};

}  // namespace q5::pages
