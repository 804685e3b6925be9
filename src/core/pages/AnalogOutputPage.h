#pragma once
// What the four analog output pages share: per channel the scaling block of the output
// (the input numbers at the ends of the output range, bias, gain, the output values at
// the range ends), on the voltage pages the output range; on the F-variant pages the
// value an output takes when it is cleared, valid/invalid and a module-wide "Clear" /
// "Hold" choice, and manual outputs: values typed into "Change Value" while monitoring
// are queued here and written by the next monitoring pass.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class AnalogOutputPage : public ModulePage, public ChannelScaling {
 public:
  static constexpr int kMaxChannels = 4;
  // A pending manual value before any was typed.
  static constexpr std::string_view kNoPendingValue = "-1500";

  // What sets the four pages apart.
  struct Shape {
    int channels;   // channels of controls: 2 or 4
    bool voltage;   // an output range list and the module's range switch
    bool fVariant;  // clear value, valid/invalid, "Clear"/"Hold", manual outputs
    int unitList;   // unit table of the voltage pages (by range code)
  };

  AnalogOutputPage(PageContext& ctx, Shape shape);

  bool Init() override;
  void Download() override;
  void ReadingData() override;
  bool CheckData() override;
  void txt_able(bool enable) override;
  void PrepareControls() override;
  void ValuesChanged() override;
  void visitControls(ControlVisitor& v) override;

  int manualOutputCount() const override { return 0; }
  std::string manualOutputValue(int i) const override;
  // Queues the four values; the next ReadingData pass writes them to group "00" items
  // "21" to "24". Nothing is sent here.
  void WritingData(const std::vector<std::string>& values) override;
  // WritingData(value0, value1, value2, value3)
  void WritingData(const std::string& v0, const std::string& v1, const std::string& v2,
                   const std::string& v3) {
    WritingData(std::vector<std::string>{v0, v1, v2, v3});
  }

  void cmdSet1_Click() { cmdSet_Click(1); }
  void cmdSet2_Click() { cmdSet_Click(2); }

  const Shape& shape() const { return shape_; }

  // Per channel (element i = channel i+1). Scaling boxes and labels: ChannelScaling.
  std::vector<ComboBox> cmbUserRange;         // output range; index = range code (voltage)
  std::vector<TextBox> txtOutputClearValue;   // value when cleared (F variant)
  std::vector<ComboBox> cmbInvalid;           // "Valid", "Invalid" (F variant)
  std::vector<TextBox> txtParData;            // present output value
  std::vector<Label> lblCh;                   // "CH 0" ...
  std::vector<Label> lblBias, lblGain;        // allowed ranges (frmOVF4)
  std::vector<Label> lblZBase, lblFBase;
  Label lblOClearValue;                       // "-15.00 to 115.00" (F variant)

  // Module-wide.
  ComboBox CmbOutputHold;   // "Clear", "Hold" (F variant)
  Frame Frame2;             // "Output Hold/Clear" (frmOV2, frmOC2)
  OptionButton optKeepOn;   // "Output Hold"
  OptionButton optKeepOff;  // "Output Clear"

  // Manual outputs waiting for the next monitoring pass.
  bool pendingWrite = false;
  std::array<std::string, kMaxChannels> pendingValues;

 protected:
  int channels() const { return ServedChannels(values().channelCount); }
  bool behindNetwork() const {
    return values().networkType >= 0 && values().networkType <= 5;
  }
  // frmOVF4 on "Q5Z3UECT-1-OVF4": the clear value travels in hundredths and the hold
  // choice is a flag of its own.
  bool isHundredthsModel() const { return values().flags["Q5Z3UECT-1-OVF4"]; }

  // Hooks of the pages.
  virtual int ProgressSteps() const = 0;
  // The range switch text of a model without a switch, or nullptr to read it.
  virtual const char* FixedSwitch() const { return nullptr; }
  // The scaling pairs Download writes (frmOVF4 leaves the output values alone).
  virtual int WrittenScalingPairs() const { return kScalingItems; }
  // Whether Download writes the "Clear"/"Hold" choice (group "00" item "29").
  virtual bool WritesOutputHold() const { return shape_.fVariant; }
  // Tab buttons only when "Setting 2" holds something for this model.
  void ShowTabsInUse();
  // The clear value as shown, from the value read; and as written, from the text.
  virtual std::string ClearValueShown(const std::string& read) const { return read; }
  virtual std::string ClearValueWritten(const std::string& text) const { return text; }
  // The declaration of channel i's clear value, with the range its check holds it to
  // (F-variant pages; the others have no clear value box).
  virtual ControlInfo ClearValueInfo(int i) const {
    return Setting(Indexed("txtOutputClearValue", i), "Clear value").ch(i);
  }
  // Called by Init after the range switch, before the channels (frmOVF4 hides
  // channels 2 and 3 of a 2-channel unit).
  virtual void BeforeChannels() {}

  // The unit label of the base fields from the range code or the switch.
  void UpdateUnitLabels(int i);

  Shape shape_;
  int switchCode_ = 15;
};

}  // namespace q5::pages
