#pragma once
// The 8-channel pulse counter page (page kind 19): per channel the count (live), the
// largest count, carry on/off, input invalid, a preset written with the channel's button;
// module-wide the pulse and reset edges and what may reset or preset the counters.
#include <array>
#include <string_view>

#include "pages/ModulePage.h"

namespace q5::pages {

class frmPI8 : public ModulePage {
 public:
  static constexpr int kChannels = 8;

  explicit frmPI8(PageContext& ctx);

  std::string_view name() const override { return "frmPI8"; }
  int pageKind() const override { return 19; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmPI8_Init
  void Download() override;  // frmPI8_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;
  // "cmdPreset(i)": writes the preset of channel index i.
  bool Press(std::string_view name) override;

  void cmdPreset_Click(int index);
  // The preset of channel index i is a number within 0 to 4294967295 (written back as a
  // plain number); otherwise "Data Range Error".
  bool CheckData2(int index);

  std::array<TextBox, kChannels> txtPA;         // "Count" (live)
  std::array<TextBox, kChannels> txtFScale;     // "Max(1-4294967295)"
  std::array<TextBox, kChannels> txtOver;       // "Carry(0or1)"
  std::array<CheckBox, kChannels> ChkOutputValid;  // "Invalid Input"
  std::array<TextBox, kChannels> txtPreset;     // "Preset(0 - 4294967295)"
  std::array<Button, kChannels> cmdPreset;      // "CH 0" ... "CH 7"
  ComboBox CmbPulseEdge;      // "Edge"
  ComboBox CmbResetEdge;      // "Edge of Reset Pulse"
  ComboBox CmbResetInvalid;   // "Reset Pulse"
  ComboBox CmbOutputInvalid;  // "Reset/Preset by Master"

 private:
  int channels() const;
  void FillLists();
};

}  // namespace q5::pages
