#pragma once
// The 2- or 4-channel voltage output page, F variant (page kind 12): per channel the
// scaling block, the output range, the clear value and valid/invalid; module-wide
// "Clear"/"Hold"; manual outputs set through "Change Value" while monitoring. Channels
// 2 and 3 are shown only on 4-channel units.
#include "pages/AnalogOutputPage.h"

namespace q5::pages {

class frmOVF4 : public AnalogOutputPage {
 public:
  explicit frmOVF4(PageContext& ctx);
  std::string_view name() const override { return "frmOVF4"; }
  int pageKind() const override { return 12; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;
  int manualOutputCount() const override { return values().channelCount == 4 ? 4 : 2; }
  void PrepareControls() override;

  // Shows or hides the controls of channels 2 and 3, and sets the range captions.
  void txt_3ch_4ch_visible(bool show);

 protected:
  int ProgressSteps() const override { return values().channelCount + 1; }
  const char* FixedSwitch() const override;
  // Zero base and full base are read, never written.
  int WrittenScalingPairs() const override { return 4; }
  bool WritesOutputHold() const override;
  std::string ClearValueShown(const std::string& read) const override;
  std::string ClearValueWritten(const std::string& text) const override;
  // The clear value in percent, -15.00 to 115.00 as its label shows.
  ControlInfo ClearValueInfo(int i) const override {
    return AnalogOutputPage::ClearValueInfo(i).range(-15, 115);
  }
  void BeforeChannels() override { txt_3ch_4ch_visible(values().channelCount == 4); }
};

}  // namespace q5::pages
