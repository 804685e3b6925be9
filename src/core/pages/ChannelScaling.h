#pragma once
// The per-channel scaling block shared by the analog-family pages (analog input,
// temperature, analog output, load cell): zero scale, full scale, bias, gain, zero base,
// full base; the program-wide table of their item codes and last values read
// (ChannelItemTable / LoadChannelItems); their read and write order; their range check;
// their fields in a page's configuration records.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/Link.h"
#include "pages/Controls.h"

namespace q5::pages {

class RecordStream;

// ---- ChannelItemTable -------------------------------------------------------------------

// The six scaling settings in their fixed order.
inline constexpr int kScalingItems = 6;
enum ScalingPair { kZeroScale = 0, kFullScale, kBias, kGain, kZeroBase, kFullBase };

// One channel's entry: six pairs of (value text, item code).
struct ChannelItemEntry {
  std::array<std::string, kScalingItems> value;  // last values read by Init
  std::array<std::string, kScalingItems> item;   // item codes ("20", "-1", ...)
};

// 32 entries; channel n uses entry n-1.
inline constexpr int kChannelItemEntries = 32;
struct ChannelItemTable {
  std::array<ChannelItemEntry, kChannelItemEntries> entry;
};

// The program-wide table.
ChannelItemTable& ChannelItems();

// Copies the six scaling item codes of the module kind into the channel's entry. Does
// nothing for module kind 99 (no page) or a channel outside 1..32.
void LoadChannelItems(int channel, int moduleKind);

// ---- Numbers as the pages accept them ---------------------------------------------------

// The longest number text taken (blanks around it aside): 64-bit integers and the
// fixed-point numbers of the pages fit; a longer text is not a value the unit takes.
inline constexpr std::size_t kMaxNumberChars = 20;
// A number as a person types it: spaces around, an optional sign, digits with at most
// one ".". The whole text must be that number: empty, a TAB, an exponent, anything after
// the digits or more than kMaxNumberChars characters is not numeric.
bool IsNumeric(std::string_view text);
// The number as the check read it: the text without the spaces around it.
std::string TrimmedNumber(std::string_view text);
// A text that may go into a line to the unit as it stands: no control character, at
// most kMaxNumberChars characters.
bool SafeLineText(std::string_view text);
// A number with at most `decimals` digits after its "." within [low, high].
bool FixedPointWithin(std::string_view text, std::size_t decimals, double low, double high);
// A whole number (no ".") within [low, high].
bool WholeNumberWithin(std::string_view text, long long low, long long high);
// The value of a numeric text (IsNumeric must hold).
double NumericValue(std::string_view text);
// Rounds to the nearest integer, ties to the even one (12.5 -> 12, 13.5 -> 14).
double RoundHalfEven(double v);

// ---- The block ----------------------------------------------------------------------------

// Allowed range of zero scale and full scale.
struct ScaleLimits {
  double low = -32000;
  double high = 32000;
};
inline constexpr ScaleLimits kScaleLimits{-32000, 32000};
inline constexpr ScaleLimits kSignedLimits{-32768, 32767};
inline constexpr ScaleLimits kUnsignedLimits{0, 65535};
// Bias and gain, both ends allowed.
inline constexpr double kBiasLimit = 320;
inline constexpr double kGainLimit = 3.2;

class ChannelScaling {
 public:
  // `failure` is where the page notes the field its check stopped at (the page's
  // lastCheckFailure).
  ChannelScaling(int channels, CheckFailure& failure);

  // Control arrays, element i = channel i+1.
  std::vector<TextBox> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase;
  // Allowed range beside the scale fields ("-32000 to 32000") and the unit of the bases.
  std::vector<Label> lblZScale, lblFScale, lblZBase_Unit, lblFBase_Unit;

  int scalingChannels() const { return static_cast<int>(txtZScale.size()); }
  // The channels the page serves: the count the unit reported, at most the page's own.
  int ServedChannels(int reported) const;
  // The text box of a pair for channel index i.
  TextBox& scalingBox(int pair, int i);

 protected:
  // One channel step of Upload: the module kind's item codes into the channel's entry
  // (LoadChannelItems), then its `count` values read (ReadScaling). The caller shows them.
  static bool LoadAndReadScaling(link::Link& link, int channel, int moduleKind,
                                 int count = kScalingItems);
  // One channel step of Download: the item codes loaded, the first `count` pairs written.
  void LoadAndWriteScaling(link::Link& link, int channel, int moduleKind, int count);
  // Reads the channel's first `count` pairs into its ChannelItemTable entry: the first
  // with a group read (group = the channel number in plain decimal), the others with
  // item reads, each value taken after its first ":". Stops at the first empty value and
  // returns false (the caller reports the Upload failure).
  static bool ReadScaling(link::Link& link, int channel, int count = kScalingItems);
  // Puts the channel's last read values (first `count` pairs) into its text boxes.
  void ShowScaling(int channel, int count = kScalingItems);
  // Writes the texts of the first `count` pairs: the first with a group write (group =
  // channel number), the others with item writes.
  void WriteScaling(link::Link& link, int channel, int count);

  // Scale, bias and gain boxes follow the flag; the base boxes are display-only.
  void EnableScaling(int i, bool enable);
  // Both scale-range labels.
  void SetScaleCaptions(int i, std::string_view caption);
  void SetUnitLabels(int i, std::string_view unit);

  // Zero scale, full scale, gain and bias of channel index i are numeric (and the bases,
  // when asked).
  bool ScalingNumeric(int i, bool withBases = false) const;
  // The range rule of one channel: bias within +-320, gain within +-3.2, both scales
  // within the limits before and after rounding to integers (ties to even). A passing
  // channel gets the rounded integers written back into its scale boxes. The texts must
  // be numeric.
  bool CheckScalingChannel(int i, ScaleLimits limits);
  // The whole check over channel indexes 0..channels-1: first every channel numeric, then
  // the range rule channel by channel, ending at the first failing one.
  template <typename LimitsOf>
  bool CheckScalingChannels(int channels, LimitsOf limitsOf, bool withBases = false) {
    scalingFailure_ = {};
    for (int i = 0; i < channels; ++i)
      if (!ScalingNumeric(i, withBases)) return false;
    for (int i = 0; i < channels; ++i)
      if (!CheckScalingChannel(i, limitsOf(i))) return false;
    return true;
  }

  // Visits the channel's scaling controls as "txtZScale(i)", ..., "lblFBase_Unit(i)",
  // the scales declared with the page's limits for the channel, bias and gain with theirs.
  // `base` names the base fields' quantity in their captions ("Zero base", "Zero temp").
  void visitScaling(ControlVisitor& v, int i, ScaleLimits limits = kScaleLimits,
                    std::string_view base = "base");
  // The declarations of the checked scaling fields of channel i.
  ControlInfo ZeroScaleInfo(int i, ScaleLimits limits = kScaleLimits) const;
  ControlInfo FullScaleInfo(int i, ScaleLimits limits = kScaleLimits) const;
  ControlInfo BiasInfo(int i) const;
  ControlInfo GainInfo(int i) const;
  // A page whose scaling blocks are not channels (the linearizer's input and output)
  // names block i: its controls are "txtZScale" + suffix ..., and a failed check calls
  // it by `heading` ("input") instead of "CH i".
  void NameScalingBlock(int i, std::string suffix, std::string heading);

  // ---- Configuration file -------------------------------------------------------------
  // The channel's first `count` scaling texts as fields of the record being walked, in
  // the order of the pairs (zero scale, full scale, bias, gain, zero base, full base),
  // named "txtZScale(i)" ...; the record stays open for the page's own fields.
  void scalingFields(RecordStream& io, int i, int count = kScalingItems);
  // One record per channel index 0..channels-1, each its six scaling texts.
  void scalingRecords(RecordStream& io, int channels);
  // A new configuration's scaling of channel index i: the scales and bases given, bias
  // "0.00", gain "1.0000".
  void SetScalingDefaults(int i, std::string_view zeroScale, std::string_view fullScale,
                          std::string_view zeroBase, std::string_view fullBase);

 private:
  CheckFailure& scalingFailure_;
  // Per block: the name suffix and heading of a named block ("" : a channel).
  std::vector<std::pair<std::string, std::string>> blockNames_;
  ControlInfo ScalingInfo(const char* name, const char* caption, int i) const;
  // "Bias of CH 2", "Bias of input".
  std::string Headed(const ControlInfo& info, int i) const;
};

// ---- Small helpers the analog pages share -------------------------------------------------

// Selects code in the list; a code outside the list selects nothing.
void SelectCode(ComboBox& box, int code);
// A plain decimal integer, or nullopt.
std::optional<int> DecimalValue(std::string_view text);
// The character at 1-based position pos of text as a list index (a digit), or nullopt.
std::optional<int> DigitAt(std::string_view text, std::size_t pos);
// The list index of a combo box in decimal, as written to the unit ("-1" when none).
std::string IndexText(const ComboBox& box);
// A code as the unit reports it (input range, data type, range switch): HexDigitValue of
// the first two characters ("0"-"9", "A"-"F", "10"-"16"; anything else 0).
int CodeOf(std::string_view value);
// An item of the group selected last: the value after ":", or nothing when it is empty.
std::optional<std::string> ReadItemValue(link::Link& link, std::string_view item);
// The module's range switch: the fixed reply of a model without a switch, or group "00"
// item "09" ("SW1:0", "RANGE01:0"); the code of the first character after ":". Nothing
// when the value is empty.
std::optional<int> ReadRangeSwitch(link::Link& link, const char* fixedReply);
// Valid/invalid of the channel selected last: item "11", a plain decimal list index.
// False when the value is empty.
bool ReadValidInvalid(link::Link& link, ComboBox& box);
// The channel's input range and valid/invalid as list indexes: item writes "09", "11".
void WriteRangeAndValid(link::Link& link, const ComboBox& range, const ComboBox& valid);
// The averaging count: group "00" item "29"; the list index is the digit at 1-based
// position `pos` of the whole reply ("AVENUM:3" has it at 8). False when empty.
bool ReadAveraging(link::Link& link, ComboBox& box, std::size_t pos);
// The averaging count written to group "00" item "29" as its list index.
void WriteAveraging(link::Link& link, const ComboBox& box);
// One live value: reads group "00" item `item`; a non-empty value has its first "."
// removed ("12.50" shows as "1250") and is shown when the result is numeric; otherwise
// the box keeps what it showed.
void ReadLiveValue(link::Link& link, std::string_view item, TextBox& box);

}  // namespace q5::pages
