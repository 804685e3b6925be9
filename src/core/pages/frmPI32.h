#pragma once
// The 32-channel pulse counter page (page kind 21), also serving the 16-channel units
// that reach it through the pulse override: per channel the count (live), the largest
// count, carry on/off and a preset written with the channel's button; a status lamp per
// channel. Four tabs of eight channels. Every item is in group "00".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pages/ModulePage.h"

namespace q5::pages {

// A 32-bit mask as the unit exchanges it: eight hexadecimal digits, the first four for
// channels 17 to 32, the last four for channels 1 to 16; channel c is bit (c - 1) mod 16
// of its half.
struct ChannelMask {
  std::uint16_t low = 0;   // channels 1 to 16
  std::uint16_t high = 0;  // channels 17 to 32
  // From a reply value: left-padded with "0" to eight digits, split in halves; a
  // character that is not a hexadecimal digit counts as 0.
  static ChannelMask Parse(std::string_view value);
  bool bit(int channel) const;  // channel 1..32
  void set(int channel);
  std::string text() const;  // eight upper-case hexadecimal digits
};

class frmPI32 : public ModulePage {
 public:
  static constexpr int kChannels = 32;

  explicit frmPI32(PageContext& ctx);

  std::string_view name() const override { return "frmPI32"; }
  int pageKind() const override { return 21; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmPI32_Init
  void Download() override;  // frmPI32_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void visitControls(ControlVisitor& v) override;
  // "cmdPreset(i)" and the tab buttons (which remember the tab shown).
  bool Press(std::string_view name) override;
  // txtFScale_LostFocus / txtOver_LostFocus: the field's range check with its message.
  void LostFocus(std::string_view name) override;

  void cmdPreset_Click(int index);
  // Range check of one field against its declared range: numeric and minimum <= value
  // <= maximum. Otherwise the field is noted as where the check stopped and, when the
  // message switch is on, "Please enter <min> to <max>." / "Check data range." is shown.
  bool SetCheckData(const ControlInfo& field, const std::string& text);

  std::array<TextBox, kChannels> txtPA;      // "Count" (live)
  std::array<TextBox, kChannels> txtFScale;  // "Max(1-4294967295)"
  std::array<TextBox, kChannels> txtOver;    // "Carry(0or1)"
  std::array<TextBox, kChannels> txtPreset;  // "Preset(0 - 4294967295)"
  std::array<Button, kChannels> cmdPreset;   // "CH 0" ... "CH 31"
  std::array<Indicator, kChannels> txtCData;  // status: green when set
  // The channel numbers over the lamps: "0 1 ... 15" and "16 17 ... 31".
  std::array<Label, 2> lblCData;
  Frame fraValue;  // "Value"

  int tabShown = 1;            // the tab shown last, 1 to 4
  bool messagesOn = true;      // the message switch of SetCheckData

  // The channels served: the unit's (or the configuration's) count, at most 32.
  int channels() const;

 private:
  bool sixteenChannels() const;
  void ApplyModel();
};

}  // namespace q5::pages
