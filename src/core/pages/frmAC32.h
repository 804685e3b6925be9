#pragma once
// The 32-channel AC current input page (page kind 16): per channel zero scale, full
// scale, bias, gain and valid/invalid; the module's averaging number and drop-out level;
// live values. The channels are shown four at a time, chosen with the channel-group
// list, which stays usable while monitoring.
#include <array>
#include <string_view>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class frmAC32 : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 32;
  static constexpr int kShown = 4;

  explicit frmAC32(PageContext& ctx);

  std::string_view name() const override { return "frmAC32"; }
  int pageKind() const override { return 16; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmAC32_Init
  void Download() override;  // frmAC32_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  // As txt_able but the channel-group list stays as it is (Start / Stop).
  virtual void txt_able2(bool enable);
  // Start, Stop and Disconnect switch the settings txt_able2 covers.
  void AllowEditing(bool allow) override { txt_able2(allow); }
  void PrepareControls() override;
  void ValuesChanged() override { cmbChGrp_Click(); }
  void visitControls(ControlVisitor& v) override;
  void Edited(std::string_view name) override;

  // Shows the four channels of the selected group and hides the others.
  void cmbChGrp_Click();

  // Per channel (element i = channel i+1); scaling boxes: ChannelScaling (zero scale,
  // full scale, bias, gain; the base boxes are not used here).
  std::array<TextBox, kChannels> txtParData;  // live value
  std::array<ComboBox, kChannels> cmbInvalid;  // "Valid", "Invalid"
  std::array<Label, kShown> lblCH;             // "CH 8" ... over the shown channels
  ComboBox cmbChGrp;                           // "CH 0 to 3" ... "CH 28 to 31"
  ComboBox cmbAverage;                         // "0", "4", "8", "16", "32"
  TextBox txtDropOut;                          // 0.50 to 5.00 %
  Label lblAverage;                            // "Averaging Number"
  Label lblDropOut;                            // "Drop Out"
  // The settings and the live values of channel group g; shown while g is chosen.
  std::array<Frame, kChannels / kShown> fraChGrp, fraValue;

 private:
  int channels() const { return ServedChannels(values().channelCount); }
  void FillLists();
};

}  // namespace q5::pages
