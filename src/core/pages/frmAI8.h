#pragma once
// The 8-channel analog input page (page kind 17): per channel the input range, scaling
// and valid/invalid, the module's averaging count, live values of the channels. Two
// tabs of four channels each and a vertical scroll bar.
#include <array>
#include <string_view>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

// A vertical scroll bar: the position moves the tab frames up.
struct ScrollBar : Control {
  int value = 0;
  int min = 0;
  int max = 0;
};

class frmAI8 : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 8;

  explicit frmAI8(PageContext& ctx);

  std::string_view name() const override { return "frmAI8"; }
  int pageKind() const override { return 17; }
  void records(RecordStream& io) override;
  bool newDefaults(std::string_view model) override;

  bool Init() override;      // frmAI8_Init
  void Download() override;  // frmAI8_Download
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;

  // "CH 0 to CH 3" / "CH 4 to CH 7"; both set the channel labels to "CH 0" ... "CH 3".
  void cmdSet1_Click();
  void cmdSet2_Click();
  bool Press(std::string_view name) override;
  // The scroll bar moved: the frames follow its value.
  void VScroll1_Change();
  void VScroll1_Scroll() { VScroll1_Change(); }

  // Per channel (element i = channel i+1). Scaling boxes and labels: ChannelScaling.
  std::array<ComboBox, kChannels> cmbUserRange;  // input range; index = range code
  std::array<ComboBox, kChannels> cmbInvalid;    // "Valid", "Invalid"
  std::array<TextBox, kChannels> txtParData;     // live value
  std::array<Label, 4> lblChannel;               // lblChannel0 .. lblChannel3

  // Module-wide.
  ComboBox CmbConvSpeed;  // averaging count
  Label lblConvSpeed1;    // hidden on this page
  Label lblConvSpeed2;    // "Averaging"
  ScrollBar VScroll1;
  // Vertical offset of frmSet1 and frmSet2 (twips; 0 at the top, negative when
  // scrolled down).
  int frameTop = 0;

  // The range switch code the unit reported (15 = each channel's range decides).
  int switchCode = 15;

 private:
  bool isListed() const;
  bool isFixedRange() const;
  bool isMixed() const;
  // Channel index i has the fixed "4mA to 20mA" input of the mixed model.
  bool isFixedCurrent(int i) const;

  int channels() const;
  void FillRangeList(int i);
  // The unit of the base fields from the channel's range code or the switch.
  void UpdateUnitLabels(int i, int rangeCode);
  void SetChannelLabels();
};

}  // namespace q5::pages
