#pragma once
// The 2-channel analog input page, F variant (page kind 7): scaling of two channels
// and their live values. No range list, no tabs, no module-wide settings.
#include <array>
#include <string_view>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class frmAIF2 : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 2;

  explicit frmAIF2(PageContext& ctx);

  std::string_view name() const override { return "frmAIF2"; }
  int pageKind() const override { return 7; }
  void records(RecordStream& io) override;

  bool Init() override;      // frmAIF2_Init
  void Download() override;  // frmAIF2_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;

  // Scaling boxes and labels: ChannelScaling (element i = channel i+1).
  std::array<TextBox, kChannels> txtParData;  // live value

 private:
  int channels() const;
};

}  // namespace q5::pages
