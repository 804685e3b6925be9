#pragma once
// What the two temperature input pages share (thermocouple frmTC4, resistance
// thermometer frmRT4): per channel the sensor type, the temperature unit, the scaling
// block with the temperatures at its ends ("Zero temp", "Full temp"), the measuring range
// of the type in the unit, the type as the unit names it; module-wide the output
// hold/clear of a unit behind a network module; live values of four channels and their
// burnout alarms.
#include <array>
#include <string_view>

#include "catalogue/StartupTables.h"
#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class TemperaturePage : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kChannels = 4;

  TemperaturePage(PageContext& ctx, catalogue::SensorFamily family);

  void ReadingData() override;
  bool CheckData() override;
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;

  void cmdSet1_Click() { cmdSet_Click(1); }
  void cmdSet2_Click() { cmdSet_Click(2); }
  // Reads the burnout flags (group "00" item "04"): bit n of the 6th character, a hex
  // digit, colours channel n's box red; a clear bit gives it its normal colour. Any
  // other character changes nothing.
  void ShowBurnout();

  // Per channel (element i = channel i+1). Scaling boxes and labels: ChannelScaling
  // (txtZBase / txtFBase are "Zero temp" / "Full temp" here).
  std::array<ComboBox, kChannels> cmbUserRange;  // sensor type; index = type code
  std::array<ComboBox, kChannels> cmbUserUnit;   // "C", "F", "K"; index = unit code
  std::array<Label, kChannels> lblZTemp;         // measuring range of the type in the unit
  std::array<Label, kChannels> lblFTemp;
  std::array<Label, kChannels> lblType;          // the type as the unit names it (item "03")
  std::array<TextBox, kChannels> txtParData;     // live value
  std::array<Indicator, kChannels> Text1;        // burnout alarm: red on a burnout

  // Module-wide.
  Frame Frame2;             // "Output Hold/Clear"
  OptionButton optKeepOn;   // "Output Hold"
  OptionButton optKeepOff;  // "Output Clear"

 protected:
  int channels() const { return ServedChannels(values().channelCount); }
  bool behindNetwork() const {
    return values().networkType >= 0 && values().networkType <= 5;
  }
  // Output hold/clear of a unit behind a network module: group "00" item "14", "ON" =
  // hold. Hides the frame otherwise. False when the value came back empty.
  bool ReadOutputHold();
  void WriteOutputHold();
  // Enables or disables the settings both temperature pages have: scaling, type, unit
  // and output hold/clear (the pages' txt_able adds their own).
  void EnableCommonSettings(bool enable);
  // The unit letter of item "04" ("C", "F", "K"); any other letter keeps `previous`.
  static int UnitCodeOf(std::string_view value, int previous);
  // Unit labels, range labels and the burnout box caption from the channel's selections.
  void ShowChannelLabels(int i);
  // The name the page gives the label of the unit's type text ("lblTcType", "lblRtdType").
  virtual std::string_view typeLabelName() const = 0;
  // Fills the channel's lists (types, units, and the page's own).
  virtual void FillChannelLists(int i);
  // The burnout direction shown in the box (frmTC4), "" elsewhere.
  virtual std::string BurnoutCaption(int i) const { return {}; }

  catalogue::SensorFamily family_;
  // The range switch: 15 ("F") lets each channel's type decide the range.
  int switchCode_ = 15;
};

}  // namespace q5::pages
