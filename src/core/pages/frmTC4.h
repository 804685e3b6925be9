#pragma once
// The 4-channel thermocouple input page (page kind 1): per channel the thermocouple type,
// the temperature unit, the burnout direction and (TC4 model) valid/invalid; the
// scaling block; module-wide the averaging switch (TC4 model) and the output hold/clear
// of a unit behind a network module; live values and burnout alarms.
#include <array>

#include "pages/TemperaturePage.h"

namespace q5::pages {

class frmTC4 : public TemperaturePage {
 public:
  explicit frmTC4(PageContext& ctx);

  std::string_view name() const override { return "frmTC4"; }
  int pageKind() const override { return 1; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmTC4_Init
  void Download() override;  // frmTC4_Download
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  std::array<ComboBox, kChannels> cmbUserBout;  // burnout direction "DOWN", "UP"
  std::array<ComboBox, kChannels> cmbInvalid;   // "Valid", "Invalid" (TC4 model)
  ComboBox CmbConvSpeed;                        // averaging "Invalid", "Valid" (TC4 model)
  Label lblConvSpeed1;                          // "Averaging"

 protected:
  std::string_view typeLabelName() const override { return "lblTcType"; }
  void FillChannelLists(int i) override;
  std::string BurnoutCaption(int i) const override { return cmbUserBout[i].text(); }

 private:
  // The model with valid/invalid and averaging.
  bool isTC4Model() const { return values().flags["Q5T3NML3-6-TC4"]; }
};

}  // namespace q5::pages
