#pragma once
// The 2-channel load-cell page (page kind 13): per channel the scaling with its load
// ratio, the averaging count and, on the percent models, the percent data; module-wide
// the CR filter, the excitation voltage and the output hold/clear; the live values of
// both channels and their total. Its calibration buttons act on the unit at once, apart
// from Download.
#include <array>
#include <string>
#include <string_view>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class frmSG2 : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 2;

  explicit frmSG2(PageContext& ctx);

  std::string_view name() const override { return "frmSG2"; }
  int pageKind() const override { return 13; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmSG2_Init
  void Download() override;  // frmSG2_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  // The buttons and boxes of "Setting 2".
  virtual void txt_able2(bool enable);
  // Start, Stop and Disconnect switch both groups of settings.
  void AllowEditing(bool allow) override {
    txt_able(allow);
    txt_able2(allow);
  }
  // The percent fields of "Setting 3".
  void txt_able3(bool enable);
  // Shows (or hides) the controls of "Setting 2" the model has.
  void txt_visible2(bool show);
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;
  bool Press(std::string_view name) override;

  void cmdSet1_Click() { cmdSet_Click(1); }
  void cmdSet2_Click() { cmdSet_Click(2); }
  void cmdSet3_Click() { cmdSet_Click(3); }

  // Calibration buttons; ch is the channel index 0 or 1.
  void cmdAutoZero_Click(int ch);
  void cmdZero_Click(int ch);
  void cmdSpan_Click(int ch);
  void cmdOffset_Click(int ch);
  void cmdGainUP_Click(int ch);
  void cmdGainDOWN_Click(int ch);
  void cmdGainApply_Click(int ch);
  void cmdApply_Click(int ch);  // "Auto Scale"
  void cmdOutput_Click(int ch);
  void cmdCancel_Click(int ch);
  void cmdAveApply_Click(int ch);
  void cmdCRFilter_Click();
  void cmdExtvoltage_Click();

  // The model variants, by the model flags.
  bool hasExtVoltage() const;  // "Ext.Voltage" selectable
  bool hasFilterMode() const;  // the four models that report their filter mode
  bool isF1() const;           // the second CR filter setting is "1Hz"
  bool isPercent() const;      // percent data on "Setting 3"

  // Caption of the CR filter button for a setting read from the unit (0 = "2Hz").
  std::string FilterCaption(bool second) const;

  // Per channel (element i = channel i+1). Scaling boxes: ChannelScaling; txtZBase is the
  // load ratio, txtFBase is not used.
  std::array<ComboBox, kChannels> CmbAveType;   // "2" ... "1024"
  std::array<TextBox, kChannels> txtAdjscale;   // value for "Auto Scale" and "Output"
  std::array<TextBox, kChannels> txtAdjGain;    // gain adjustment
  std::array<TextBox, kChannels> txtParData;    // live value
  std::array<TextBox, kChannels> txtParData2;   // value after a calibration
  std::array<TextBox, kChannels> txtZPercent;   // "Zero Percent Data"
  std::array<TextBox, kChannels> txtSPercent;   // "Span Percent Data"
  std::array<TextBox, kChannels> txtOPercent;   // "Offset"

  // Calibration buttons of channel 0 and 1.
  std::array<Button, kChannels> cmdAutoZero, cmdZero, cmdSpan, cmdOffset;
  std::array<Button, kChannels> cmdGainUPCH, cmdGainDOWNCH, cmdGainApplyCH;
  std::array<Button, kChannels> cmdApplyCH, cmdOutputCH, cmdCancelCH, cmdAveApplyCH;

  // Module-wide.
  TextBox txtTotalData;  // "Total"
  Button cmdCRFilter;    // caption: the CR filter setting
  Button cmdExtvoltage;  // caption: "5V" or "2.5V"
  Label lblExtvoltage;   // "Ext.Voltage"
  Label lblMode;         // filter mode
  Label lblAverage, lblMonitorOutput, lblGainAdjust, lblChannels;
  // "CH 0", "CH 1" in front of each channel's calibration buttons.
  std::array<Label, kChannels> lblCalibrate;
  Frame Frame2;             // "Output Hold/Clear"
  OptionButton optKeepOn;   // "Output Hold"
  OptionButton optKeepOff;  // "Output Clear"

 private:
  bool behindNetwork() const;
  int channels() const;
  // The channel group of the buttons: "01" for channel 0, "02" for channel 1.
  static std::string ButtonGroup(int ch);
  // Every button starts with "F" to item "01" of its group; false when it got no reply.
  bool Prepare(const std::string& group);
  // A value outside its range: "Data Range Error", nothing is sent.
  // "Data Error / Check data range." naming the field, its text and the allowed range.
  void RangeError(const std::string& control, const std::string& field, const std::string& text,
                  double low, double high);
  // A percent field against its declared range (after rounding); a passing value is
  // written back as the integer.
  bool CheckPercent(const RangedSetting& field, int i, TextBox& box);
  // Auto Zero, Zero, Span, Offset Clear: the write, then the channel's live value into
  // txtParData2.
  void Calibrate(int ch, const char* item, const char* data);
  // Gain UP / DOWN / APPLY: item "40", the reply into txtAdjGain.
  void AdjustGain(int ch, const std::string& data);
};

}  // namespace q5::pages
