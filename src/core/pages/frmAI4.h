#pragma once
// The 4-channel analog input page (page kind 0): per channel the input range, scaling,
// valid/invalid and data type; module-wide the conversion rate or averaging count and
// the output hold/clear of a unit behind a network module; live values of four channels.
#include <array>
#include <string_view>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class frmAI4 : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 4;

  explicit frmAI4(PageContext& ctx);

  std::string_view name() const override { return "frmAI4"; }
  int pageKind() const override { return 0; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;  // frmAI4_Init
  void Download() override;  // frmAI4_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;

  void cmdSet1_Click() { cmdSet_Click(1); }
  void cmdSet2_Click() { cmdSet_Click(2); }
  // The data type of channel index `index` was chosen: resets its scale fields to the
  // ends of the new range. Does nothing except on the data-type model.
  void CmbDataType_Click(int index);
  void Edited(std::string_view name) override;

  // Per channel (element i = channel i+1). Scaling boxes and labels: ChannelScaling.
  std::array<ComboBox, kChannels> cmbUserRange;  // input range; index = range code
  std::array<ComboBox, kChannels> cmbInvalid;    // "Valid", "Invalid"
  std::array<ComboBox, kChannels> CmbDataType;   // "Signed", "Unsigned"
  std::array<TextBox, kChannels> txtParData;     // live value
  Label LabDatatype;                             // "Data type"

  // Module-wide.
  ComboBox CmbConvSpeed;  // conversion rate (AI4 model) or averaging count
  Label lblConvSpeed1;    // "Conversion rate / "
  Label lblConvSpeed2;    // "conversion accuracy" or "Averaging"
  Frame Frame2;           // "Output Hold/Clear"
  OptionButton optKeepOn;   // "Output Hold"
  OptionButton optKeepOff;  // "Output Clear"

  // The range switch code the unit reported (15 = each channel's range decides), per
  // channel because the switch-less model reports one with every channel's range.
  std::array<int, kChannels> switchCode{15, 15, 15, 15};

 private:
  // The model variants, by the model flags.
  bool isAI4Model() const;
  bool isSwitchLess() const;
  bool isDataType() const;
  bool isAveraging() const;
  bool isListed() const;
  bool behindNetwork() const;

  int channels() const;
  void FillRangeList(int i);
  void UpdateScaleCaptions(int i);
  // The unit of the base fields from the channel's range code or the switch.
  void UpdateUnitLabels(int i, int rangeCode);
  ScaleLimits LimitsOf(int i) const;
};

}  // namespace q5::pages
