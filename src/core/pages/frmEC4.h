#pragma once
// The 4-channel PWM output page (page kind 15): per channel the PWM phase, maximum duty,
// PWM frequency, maximum current, dither (frequency, amplitude, on/off), output on/off and
// the value the output takes when cleared; the module's output hold/clear as the unit
// reports it; live output values, set by hand through "Change Value" while monitoring.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pages/ModulePage.h"

namespace q5::pages {

class frmEC4 : public ModulePage {
 public:
  static constexpr int kChannels = 4;

  explicit frmEC4(PageContext& ctx);

  std::string_view name() const override { return "frmEC4"; }
  int pageKind() const override { return 15; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmEC4_Init
  void Download() override;  // frmEC4_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;

  int manualOutputCount() const override { return kChannels; }
  std::string manualOutputValue(int i) const override;
  void WritingData(const std::vector<std::string>& values) override;

  // Per channel (element i = channel i+1).
  std::array<TextBox, kChannels> txtParData;           // live output value
  std::array<TextBox, kChannels> txtPhase;             // "Phase", 0 to 65535
  std::array<ComboBox, kChannels> cmbInvalid;          // "Output": "Valid", "Invalid"
  std::array<TextBox, kChannels> txtMaxDuty;           // "Max Duty" %
  std::array<TextBox, kChannels> txtFreq;              // "Frequency", 10 to 65000
  std::array<TextBox, kChannels> txtMaxCrnt;           // "Max Current", 1000 to 1300
  std::array<TextBox, kChannels> txtDFreq;             // "Dither Frequency", 1 to 310
  std::array<TextBox, kChannels> txtDitherAmp;         // "Dither Amplitude", 0 to 400
  std::array<ComboBox, kChannels> cmbDitherInvalid;    // "Dither": "Valid", "Invalid"
  std::array<TextBox, kChannels> txtOutputClearValue;  // "Output Clear Value" %
  ComboBox cmbOutputHold;                              // "Clear", "Hold"; display only

  // Output values queued by "Change Value" for the next monitoring pass.
  bool pendingWrite = false;
  std::array<std::string, kChannels> pendingValues{"0", "0", "0", "0"};

 private:
  int channels() const;
  bool CheckChannel(int i);
};

}  // namespace q5::pages
