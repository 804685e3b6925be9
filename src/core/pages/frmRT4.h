#pragma once
// The 4-channel resistance thermometer input page (page kind 2): per channel the sensor
// type and the temperature unit; the scaling block; the module's range switch and
// burnout direction (shown only); the output hold/clear of a unit behind a network
// module; live values and burnout alarms.
#include "pages/TemperaturePage.h"

namespace q5::pages {

class frmRT4 : public TemperaturePage {
 public:
  explicit frmRT4(PageContext& ctx);

  std::string_view name() const override { return "frmRT4"; }
  int pageKind() const override { return 2; }
  void records(RecordStream& io) override;

  bool Init() override;      // frmRT4_Init
  void Download() override;  // frmRT4_Download
  void txt_able(bool enable) override;
  void visitControls(ControlVisitor& v) override;

  TextBox txtUserBout;  // the burnout direction the unit reports (group "01" item "05")
  Frame fraUserBout;    // "Burnout Direction "

 protected:
  std::string_view typeLabelName() const override { return "lblRtdType"; }
  // The burnout lamp under each live value says what it is (red on a burnout).
  std::string BurnoutCaption(int) const override { return "Burnout"; }
};

}  // namespace q5::pages
