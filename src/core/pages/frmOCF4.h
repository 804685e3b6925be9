#pragma once
// The 4-channel current output page, F variant (page kind 10): per channel the scaling
// block, the clear value and valid/invalid; module-wide "Clear"/"Hold"; four manual
// outputs set through "Change Value" while monitoring.
#include "pages/AnalogOutputPage.h"

namespace q5::pages {

class frmOCF4 : public AnalogOutputPage {
 public:
  explicit frmOCF4(PageContext& ctx) : AnalogOutputPage(ctx, {4, false, true, 0}) {}
  std::string_view name() const override { return "frmOCF4"; }
  int pageKind() const override { return 10; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;
  int manualOutputCount() const override { return 4; }

 protected:
  int ProgressSteps() const override { return 5; }
  // The clear value in hundredths, rounded to an integer (ties to even), within
  // -1500 to 11500: 115.004 passes, 115.006 does not.
  ControlInfo ClearValueInfo(int i) const override {
    return AnalogOutputPage::ClearValueInfo(i).roundedRange(-15, 115, 2);
  }
};

}  // namespace q5::pages
