#pragma once
// The 2-channel current output page (page kind 4): per channel the scaling block; the
// output hold/clear of a unit behind a network module.
#include "pages/AnalogOutputPage.h"

namespace q5::pages {

class frmOC2 : public AnalogOutputPage {
 public:
  explicit frmOC2(PageContext& ctx) : AnalogOutputPage(ctx, {2, false, false, 0}) {}
  std::string_view name() const override { return "frmOC2"; }
  int pageKind() const override { return 4; }
  void records(RecordStream& io) override;

 protected:
  int ProgressSteps() const override { return 3; }
};

}  // namespace q5::pages
