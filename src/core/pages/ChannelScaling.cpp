#include "pages/ChannelScaling.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "catalogue/Catalogue.h"
#include "catalogue/StartupTables.h"
#include "link/TextRoutines.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

ChannelItemTable& ChannelItems() {
  static ChannelItemTable table;
  return table;
}

void LoadChannelItems(int channel, int moduleKind) {
  if (moduleKind == catalogue::kNoPage) return;
  if (channel < 1 || channel > kChannelItemEntries) return;
  static constexpr catalogue::ScaleItem kOrder[kScalingItems] = {
      catalogue::ScaleItem::ZeroScale, catalogue::ScaleItem::FullScale,
      catalogue::ScaleItem::Bias,      catalogue::ScaleItem::Gain,
      catalogue::ScaleItem::ZeroBase,  catalogue::ScaleItem::FullBase};
  auto& entry = ChannelItems().entry[channel - 1];
  for (int p = 0; p < kScalingItems; ++p)
    entry.item[p] = catalogue::ScaleItemText(kOrder[p], moduleKind);
}

// ---- Numbers ------------------------------------------------------------------------------

namespace {

// Blanks around a number: spaces only. A TAB is a control character, and goes nowhere.
std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Retry count of the scaling transactions (four attempts).
constexpr int kRetry = 3;

}  // namespace

bool IsNumeric(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t.size() > kMaxNumberChars) return false;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      ++digits;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;  // the whole text is the number, or it is not one
    }
  }
  return digits > 0;
}

std::string TrimmedNumber(std::string_view text) { return std::string(TrimBlanks(text)); }

bool SafeLineText(std::string_view text) {
  if (text.size() > kMaxNumberChars) return false;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

bool WholeNumberWithin(std::string_view text, long long low, long long high) {
  if (!IsNumeric(text)) return false;
  const std::string_view t = TrimBlanks(text);
  if (t.find('.') != std::string_view::npos) return false;
  const double v = NumericValue(t);
  return v >= static_cast<double>(low) && v <= static_cast<double>(high);
}

bool FixedPointWithin(std::string_view text, std::size_t decimals, double low, double high) {
  if (!IsNumeric(text)) return false;
  const std::string_view t = TrimBlanks(text);
  const std::size_t point = t.find('.');
  if (point != std::string_view::npos && t.size() - point - 1 > decimals) return false;
  const double v = NumericValue(t);
  return v >= low && v <= high;
}

double NumericValue(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double v = 0;
  // from_chars does not depend on the process locale (a GUI may set a decimal comma).
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec == std::errc::result_out_of_range) {
    // Too large in magnitude counts as infinite (and fails every range), too small as 0.
    const bool tiny = t.find("e-") != std::string_view::npos ||
                      t.find("E-") != std::string_view::npos;
    if (tiny) return 0;
    return !t.empty() && t.front() == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return v;
}

double RoundHalfEven(double v) {
  const double lower = std::floor(v);
  const double diff = v - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// ---- The block ----------------------------------------------------------------------------

ChannelScaling::ChannelScaling(int channels, CheckFailure& failure)
    : txtZScale(channels),
      txtFScale(channels),
      txtBias(channels),
      txtGain(channels),
      txtZBase(channels),
      txtFBase(channels),
      lblZScale(channels),
      lblFScale(channels),
      lblZBase_Unit(channels),
      lblFBase_Unit(channels),
      scalingFailure_(failure) {
  for (int i = 0; i < channels; ++i) {
    // The output values at the range ends follow from the input range: shown, not set.
    // Pages that make them settings of their own say so.
    txtZBase[i].enabled = false;
    txtFBase[i].enabled = false;
    txtZBase[i].shownOnly = true;
    txtFBase[i].shownOnly = true;
  }
}

int ChannelScaling::ServedChannels(int reported) const {
  return std::clamp(reported, 0, scalingChannels());
}

bool ChannelScaling::LoadAndReadScaling(link::Link& link, int channel, int moduleKind,
                                        int count) {
  LoadChannelItems(channel, moduleKind);
  return ReadScaling(link, channel, count);
}

void ChannelScaling::LoadAndWriteScaling(link::Link& link, int channel, int moduleKind,
                                         int count) {
  LoadChannelItems(channel, moduleKind);
  WriteScaling(link, channel, count);
}

TextBox& ChannelScaling::scalingBox(int pair, int i) {
  switch (pair) {
    case kZeroScale: return txtZScale[i];
    case kFullScale: return txtFScale[i];
    case kBias: return txtBias[i];
    case kGain: return txtGain[i];
    case kZeroBase: return txtZBase[i];
    default: return txtFBase[i];
  }
}

bool ChannelScaling::ReadScaling(link::Link& link, int channel, int count) {
  if (channel < 1 || channel > kChannelItemEntries) return false;
  auto& entry = ChannelItems().entry[channel - 1];
  const std::string group = std::to_string(channel);
  for (int p = 0; p < count; ++p) {
    const std::string reply = p == 0 ? link.GroupItemReadRetry(kRetry, group, entry.item[p])
                                     : link.ItemReadRetry(kRetry, entry.item[p]);
    const std::string value = link::ValueAfterColon(reply);
    if (value.empty()) return false;
    entry.value[p] = value;
  }
  return true;
}

void ChannelScaling::ShowScaling(int channel, int count) {
  const auto& entry = ChannelItems().entry[channel - 1];
  for (int p = 0; p < count; ++p) scalingBox(p, channel - 1).text = entry.value[p];
}

void ChannelScaling::WriteScaling(link::Link& link, int channel, int count) {
  const auto& entry = ChannelItems().entry[channel - 1];
  const std::string group = std::to_string(channel);
  for (int p = 0; p < count; ++p) {
    const std::string& data = scalingBox(p, channel - 1).text;
    if (p == 0)
      link.GroupItemWriteRetry(kRetry, group, entry.item[p], data);
    else
      link.ItemWriteRetry(kRetry, entry.item[p], data);
  }
}

void ChannelScaling::EnableScaling(int i, bool enable) {
  txtZScale[i].enabled = enable;
  txtFScale[i].enabled = enable;
  txtBias[i].enabled = enable;
  txtGain[i].enabled = enable;
  txtZBase[i].enabled = false;
  txtFBase[i].enabled = false;
}

void ChannelScaling::SetScaleCaptions(int i, std::string_view caption) {
  lblZScale[i].caption = caption;
  lblFScale[i].caption = caption;
}

void ChannelScaling::SetUnitLabels(int i, std::string_view unit) {
  lblZBase_Unit[i].caption = unit;
  lblFBase_Unit[i].caption = unit;
}

bool ChannelScaling::ScalingNumeric(int i, bool withBases) const {
  const struct {
    const char* name;
    const char* caption;
    const TextBox& box;
    bool wanted;
  } fields[] = {{"txtZScale", "Zero scale", txtZScale[i], true},
                {"txtFScale", "Full scale", txtFScale[i], true},
                {"txtBias", "Bias", txtBias[i], true},
                {"txtGain", "Gain", txtGain[i], true},
                {"txtZBase", "Zero base", txtZBase[i], withBases},
                {"txtFBase", "Full base", txtFBase[i], withBases}};
  for (const auto& f : fields) {
    if (!f.wanted || IsNumeric(f.box.text)) continue;
    const ControlInfo info = ScalingInfo(f.name, f.caption, i);
    scalingFailure_ = {info.name, Headed(info, i) + " is \"" + f.box.text + "\", not a number."};
    return false;
  }
  return true;
}

bool ChannelScaling::CheckScalingChannel(int i, ScaleLimits limits) {
  const ControlInfo zeroInfo = ZeroScaleInfo(i, limits), fullInfo = FullScaleInfo(i, limits);
  const ControlInfo biasInfo = BiasInfo(i), gainInfo = GainInfo(i);
  auto fail = [&](const ControlInfo& info, const std::string& text) {
    scalingFailure_ = {info.name,
                       Headed(info, i) + " is " + text + "; allowed " + RangeText(info) + "."};
    return false;
  };
  auto number = [](double v) { return PlainDecimal(std::to_string(v)); };
  if (!InDeclaredRange(biasInfo, txtBias[i].text)) return fail(biasInfo, txtBias[i].text);
  if (!InDeclaredRange(zeroInfo, txtZScale[i].text)) return fail(zeroInfo, txtZScale[i].text);
  if (!InDeclaredRange(fullInfo, txtFScale[i].text)) return fail(fullInfo, txtFScale[i].text);
  if (!InDeclaredRange(gainInfo, txtGain[i].text)) return fail(gainInfo, txtGain[i].text);
  // The scales go out as whole numbers (ties to even), which must still be in range.
  const double zeroRounded = RoundHalfEven(NumericValue(txtZScale[i].text));
  const double fullRounded = RoundHalfEven(NumericValue(txtFScale[i].text));
  auto inLimits = [&](double v) { return v >= limits.low && v <= limits.high; };
  if (!inLimits(zeroRounded))
    return fail(zeroInfo, txtZScale[i].text + " (rounded " + number(zeroRounded) + ")");
  if (!inLimits(fullRounded))
    return fail(fullInfo, txtFScale[i].text + " (rounded " + number(fullRounded) + ")");
  txtZScale[i].text = std::to_string(static_cast<long long>(zeroRounded));
  txtFScale[i].text = std::to_string(static_cast<long long>(fullRounded));
  return true;
}

void ChannelScaling::NameScalingBlock(int i, std::string suffix, std::string heading) {
  if (blockNames_.size() < txtZScale.size()) blockNames_.resize(txtZScale.size());
  blockNames_[i] = {std::move(suffix), std::move(heading)};
}

ControlInfo ChannelScaling::ScalingInfo(const char* name, const char* caption, int i) const {
  if (i < static_cast<int>(blockNames_.size()) && !blockNames_[i].first.empty())
    return Setting(name + blockNames_[i].first, caption);
  return Setting(Indexed(name, i), caption).ch(i);
}

std::string ChannelScaling::Headed(const ControlInfo& info, int i) const {
  if (i < static_cast<int>(blockNames_.size()) && !blockNames_[i].first.empty())
    return info.caption + " of " + blockNames_[i].second;
  return info.caption + " of CH " + std::to_string(i);
}

ControlInfo ChannelScaling::ZeroScaleInfo(int i, ScaleLimits limits) const {
  return ScalingInfo("txtZScale", "Zero scale", i).range(limits.low, limits.high);
}
ControlInfo ChannelScaling::FullScaleInfo(int i, ScaleLimits limits) const {
  return ScalingInfo("txtFScale", "Full scale", i).range(limits.low, limits.high);
}
ControlInfo ChannelScaling::BiasInfo(int i) const {
  return ScalingInfo("txtBias", "Bias", i).range(-kBiasLimit, kBiasLimit);
}
ControlInfo ChannelScaling::GainInfo(int i) const {
  return ScalingInfo("txtGain", "Gain", i).range(-kGainLimit, kGainLimit);
}

void ChannelScaling::visitScaling(ControlVisitor& v, int i, ScaleLimits limits,
                                  std::string_view base) {
  v.text(ZeroScaleInfo(i, limits), txtZScale[i]);
  v.text(FullScaleInfo(i, limits), txtFScale[i]);
  v.text(BiasInfo(i), txtBias[i]);
  v.text(GainInfo(i), txtGain[i]);
  v.text(Setting(Indexed("txtZBase", i), "Zero " + std::string(base)).ch(i).in_unit(lblZBase_Unit[i].caption).as(txtZBase[i].shownOnly ? Role::ShownOnly : Role::Setting), txtZBase[i]);
  v.text(Setting(Indexed("txtFBase", i), "Full " + std::string(base)).ch(i).in_unit(lblFBase_Unit[i].caption).as(txtFBase[i].shownOnly ? Role::ShownOnly : Role::Setting), txtFBase[i]);
  v.label(Indexed("lblZScale", i), lblZScale[i]);
  v.label(Indexed("lblFScale", i), lblFScale[i]);
  v.label(Indexed("lblZBase_Unit", i), lblZBase_Unit[i]);
  v.label(Indexed("lblFBase_Unit", i), lblFBase_Unit[i]);
}

// ---- Helpers ------------------------------------------------------------------------------

void SelectCode(ComboBox& box, int code) { box.selectCode(code); }

std::optional<int> DecimalValue(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  int v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

std::optional<int> DigitAt(std::string_view text, std::size_t pos) {
  if (pos < 1 || pos > text.size() || !IsDigit(text[pos - 1])) return std::nullopt;
  return text[pos - 1] - '0';
}

std::string IndexText(const ComboBox& box) { return box.code(); }

int CodeOf(std::string_view value) { return link::HexDigitValue(value.substr(0, 2)); }

std::optional<std::string> ReadItemValue(link::Link& link, std::string_view item) {
  std::string value = link::ValueAfterColon(link.ItemReadRetry(kRetry, item));
  if (value.empty()) return std::nullopt;
  return value;
}

std::optional<int> ReadRangeSwitch(link::Link& link, const char* fixedReply) {
  const std::string value = link::ValueAfterColon(
      fixedReply ? std::string(fixedReply) : link.GroupItemReadRetry(kRetry, "00", "09"));
  if (value.empty()) return std::nullopt;
  return link::HexDigitValue(std::string_view(value).substr(0, 1));
}

bool ReadValidInvalid(link::Link& link, ComboBox& box) {
  const auto value = ReadItemValue(link, "11");
  if (!value) return false;
  SelectCode(box, DecimalValue(*value).value_or(-1));
  return true;
}

void WriteRangeAndValid(link::Link& link, const ComboBox& range, const ComboBox& valid) {
  link.ItemWriteRetry(kRetry, "09", IndexText(range));
  // A model without the valid/invalid setting has the list empty: nothing selected
  // would go out as "-1", which the unit refuses, so the item is not written.
  if (!valid.items.empty() || !valid.unlistedCode.empty())
    link.ItemWriteRetry(kRetry, "11", IndexText(valid));
}

bool ReadAveraging(link::Link& link, ComboBox& box, std::size_t pos) {
  const std::string reply = link.GroupItemReadRetry(kRetry, "00", "29");
  if (reply.empty()) return false;
  SelectCode(box, DigitAt(reply, pos).value_or(-1));
  return true;
}

void WriteAveraging(link::Link& link, const ComboBox& box) {
  link.GroupItemWriteRetry(kRetry, "00", "29", IndexText(box));
}

void ReadLiveValue(link::Link& link, std::string_view item, TextBox& box) {
  const std::string value = link::ValueAfterColon(link.GroupItemReadRetry(kRetry, "00", item));
  if (value.empty()) return;
  std::string shown = link::RemovePoint(value);
  if (IsNumeric(shown)) box.text = std::move(shown);
}

}  // namespace q5::pages

// ---- Configuration file records -----------------------------------------------------------

namespace q5::pages {

void ChannelScaling::scalingFields(RecordStream& io, int i, int count) {
  static constexpr const char* kNames[kScalingItems] = {"txtZScale", "txtFScale", "txtBias",
                                                        "txtGain",   "txtZBase",  "txtFBase"};
  for (int p = 0; p < count && p < kScalingItems; ++p)
    io.text(scalingBox(p, i), Indexed(kNames[p], i));
}

void ChannelScaling::scalingRecords(RecordStream& io, int channels) {
  for (int i = 0; i < channels; ++i) {
    scalingFields(io, i);
    io.endRecord();
  }
}

void ChannelScaling::SetScalingDefaults(int i, std::string_view zeroScale,
                                        std::string_view fullScale, std::string_view zeroBase,
                                        std::string_view fullBase) {
  txtZScale[i].text = zeroScale;
  txtFScale[i].text = fullScale;
  txtBias[i].text = "0.00";
  txtGain[i].text = "1.0000";
  txtZBase[i].text = zeroBase;
  txtFBase[i].text = fullBase;
}

}  // namespace q5::pages
