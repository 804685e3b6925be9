#pragma once
// The 2-channel voltage output page (page kind 3): per channel the scaling block and the
// output range; the output hold/clear of a unit behind a network module.
#include "pages/AnalogOutputPage.h"

namespace q5::pages {

class frmOV2 : public AnalogOutputPage {
 public:
  explicit frmOV2(PageContext& ctx) : AnalogOutputPage(ctx, {2, true, false, 2}) {}
  std::string_view name() const override { return "frmOV2"; }
  int pageKind() const override { return 3; }
  void records(RecordStream& io) override;

 protected:
  int ProgressSteps() const override { return 3; }
};

}  // namespace q5::pages
