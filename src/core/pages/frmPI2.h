#pragma once
// The 2-channel pulse / encoder input page (page kind 11), also the one-channel models
// "Q5T3NML3-6-PI1" and "Q5T3NML3-6-PI1/A": position counting with latch and reset, speed
// measurement, two alarms per channel, Z-phase reset (and Z latch on the "/A" model),
// commands from the fieldbus side, and eight one-shot request buttons. Four tabs; the
// page shows either the position or the speed fields.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pages/ModulePage.h"

namespace q5::pages {

class frmPI2 : public ModulePage {
 public:
  static constexpr int kChannels = 2;
  static constexpr int kRequests = 8;

  explicit frmPI2(PageContext& ctx);

  std::string_view name() const override { return "frmPI2"; }
  int pageKind() const override { return 11; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmPI2_Init
  void Download() override;  // frmPI2_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  virtual void comdis();
  virtual void comena();
  // Monitoring locks the page's own command buttons and frees them again.
  void MonitoringChanged(bool running) override {
    if (running)
      comdis();
    else
      comena();
  }
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;
  // "Command1" ... "Command8" (requests), "Command9" (position / speed view).
  bool Press(std::string_view name) override;
  // The lists of the two channels, and the position setpoints' input rules.
  void Edited(std::string_view name) override;
  void LostFocus(std::string_view name) override;

  // Applies the view flag (fields, labels, Command9's caption) and the Z field's caption
  // and label for the model.
  void dtype_change();
  // Clears and fills the four lists of channel c (1 or 2).
  void CmbBoxCreate(int c);
  // Request n (1..8): item "78" + n - 1 of group "01" written "1", then a 500 ms pause.
  void Command_Click(int n);
  void Command9_Click();
  // Input rules of the position setpoints (field 1 = txtA1PM, 2 = txtA2PM).
  void txtPM_Change(int field, int i);
  void txtPM_LostFocus(int field, int i);

  // Tab "Setting1": live values, then settings (element i = channel i+1, "CH i").
  std::array<TextBox, kChannels> txtCP, txtCS, txtLP, txtLS, txtRP;
  std::array<TextBox, kChannels> txtDO, txtReset, txtMin, txtMax, txtBias, txtGain, txtZS, txtFS;
  // Tab "Setting2".
  std::array<ComboBox, kChannels> CmbDataType, CmbSpeedFreqRange, CmbPositionCntMode,
      CmbPositionDataType;
  // Tab "Alarm": alarm A (txtA1...) and B (txtA2...), the fieldbus command switch, timers.
  std::array<TextBox, kChannels> txtA1Type, txtA1SM, txtA1SH, txtA1PM, txtA1PH;
  std::array<TextBox, kChannels> txtA2Type, txtA2SM, txtA2SH, txtA2PM, txtA2PH;
  std::array<TextBox, kChannels> txtOP;
  std::array<TextBox, 3> txtTM;
  // Tab "Latch/Reset".
  std::array<TextBox, kChannels> txtEL, txtHL, txtHLD, txtER, txtHR, txtHRD, txtZR;
  Label lblZR;       // "Z Reset" or "Z Reset / Z Latch"
  Label lblZRRange;  // what the Z field's values mean
  Label lblModes;    // what the count modes multiply
  // "CH 0", "CH 1" over the channel columns of each of the four tabs (2 per tab).
  std::array<Label, 4 * kChannels> lblChannel;
  std::array<Button, kRequests + 1> Command;  // Command1 ... Command9 (element n-1)

  int viewFlag = 0;  // 0 position view, 1 speed view

 private:
  void ListsInStep();
  // Every control of channel index i, live values included.
  std::vector<Control*> ChannelControls(int i);
  int channels() const;
  bool oneChannel() const;
  bool zLatchModel() const;
  bool ring(int i) const { return CmbPositionDataType[i].index == 1; }
  void ReadChannel(int c);
  // Writes channel index i from Drop Out to Reset Data Clear (items offset by i).
  void WriteChannel(int i);
  bool CheckChannel(int i);
  // The declarations whose range the model decides (the Z field) or that are module-wide.
  ControlInfo ZRInfo(int i) const;
  ControlInfo TimerInfo(int t) const;
};

}  // namespace q5::pages
