#include "pages/frmPI32.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/ChannelScaling.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr double kCountMax = 4294967295.0;
// The count's maximum, the carry and the preset the preset button sends.
constexpr RangedSetting kFScale{"txtFScale", "Max(1-4294967295)", 1, kCountMax};
constexpr RangedSetting kOver{"txtOver", "Carry(0or1)", 0, 1};
constexpr RangedSetting kPreset{"txtPreset", "Preset(0 - 4294967295)", 0, kCountMax};
// The pulse-counting units with 16 channels.
constexpr std::string_view kSixteenModel = "Q5T3PM-BI16";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

std::uint16_t HalfOf(std::string_view four) {
  std::uint16_t v = 0;
  for (char c : four) v = static_cast<std::uint16_t>(v * 16 + HexValue(c));
  return v;
}

// "Please enter 1 to 4294967295." and the like: the limits without a fractional part.
std::string Whole(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f", v);
  return buf;
}

// The channel index in "name(i)", or -1.
int IndexIn(std::string_view name, std::string_view control) {
  if (name.size() < control.size() + 3 || name.substr(0, control.size()) != control ||
      name[control.size()] != '(' || name.back() != ')')
    return -1;
  const auto i = DecimalValue(name.substr(control.size() + 1, name.size() - control.size() - 2));
  return i && *i >= 0 && *i < frmPI32::kChannels ? *i : -1;
}

}  // namespace

// ---- ChannelMask ------------------------------------------------------------------------

ChannelMask ChannelMask::Parse(std::string_view value) {
  std::string digits(value);
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  // A longer reply keeps its last eight digits.
  digits = digits.substr(digits.size() - 8);
  return {HalfOf(std::string_view(digits).substr(4, 4)), HalfOf(std::string_view(digits).substr(0, 4))};
}

bool ChannelMask::bit(int channel) const {
  if (channel < 1 || channel > 32) return false;
  const std::uint16_t half = channel <= 16 ? low : high;
  return (half >> ((channel - 1) % 16)) & 1u;
}

void ChannelMask::set(int channel) {
  if (channel < 1 || channel > 32) return;
  std::uint16_t& half = channel <= 16 ? low : high;
  half = static_cast<std::uint16_t>(half | (1u << ((channel - 1) % 16)));
}

std::string ChannelMask::text() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X%04X", static_cast<unsigned>(high), static_cast<unsigned>(low));
  return buf;
}

// ---- The page -----------------------------------------------------------------------------

frmPI32::frmPI32(PageContext& ctx) : ModulePage(ctx) {
  MakeTabs({"CH0 to CH7", "CH8 to CH15", "CH16 to CH23", "CH24 to CH31"});
  for (int i = 0; i < kChannels; ++i) {
    cmdPreset[i].caption = "CH " + std::to_string(i);
    lblCData[i / 16].caption += (i % 16 ? " " : "") + std::to_string(i);
  }
  fraValue.caption = "Value";
}

int frmPI32::channels() const { return std::clamp<int>(values().channelCount, 0, kChannels); }

bool frmPI32::sixteenChannels() const {
  return values().model.compare(0, kSixteenModel.size(), kSixteenModel) == 0;
}

void frmPI32::ApplyModel() {
  const bool sixteen = sixteenChannels();
  for (int i = 16; i < kChannels; ++i) {
    txtCData[i].visible = !sixteen;
    // Channels 17 to 32 sit on the two tabs a 16-channel unit cannot open: nobody can
    // reach their fields or press their presets, which would go to items the unit lacks.
    for (Control* c : {static_cast<Control*>(&txtPA[i]), static_cast<Control*>(&txtFScale[i]),
                       static_cast<Control*>(&txtOver[i]), static_cast<Control*>(&txtPreset[i]),
                       static_cast<Control*>(&cmdPreset[i])})
      c->visible = !sixteen;
  }
  lblCData[1].visible = !sixteen;
  const int lastTab = sixteen ? 2 : 4;
  if (tabShown < 1 || tabShown > lastTab) tabShown = 1;
  cmdSet_Click(tabShown);
  if (sixteen) {
    cmdSet[2].enabled = false;
    cmdSet[3].enabled = false;
  }
}

void frmPI32::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  ApplyModel();
}

bool frmPI32::Init() {
  ApplyModel();
  txt_able(false);
  ProgressOpen(channels() + 1, "Initializing");
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  // The group "00" selection of the main window's Upload is still in force.
  const auto carry = ItemValue(link(), "12");
  if (!carry) return UploadFailure(), false;
  const ChannelMask mask = ChannelMask::Parse(*carry);
  for (int ch = 1; ch <= channels(); ++ch) {
    const auto max = ItemValue(link(), std::to_string(12 + ch));
    if (!max) return UploadFailure(), false;
    txtFScale[ch - 1].text = *max;
    txtOver[ch - 1].text = mask.bit(ch) ? "1" : "0";
    ProgressStep();
  }
  ProgressClose();
  txt_able(true);
  return true;
}

void frmPI32::Download() {
  txt_able(false);
  ProgressOpen(channels() + 1, "Downloading");
  ChannelMask carry;
  for (int ch = 1; ch <= channels(); ++ch) {
    link().ItemWriteRetry(kRetry, std::to_string(12 + ch), txtFScale[ch - 1].text);
    const std::string& over = txtOver[ch - 1].text;
    if (IsNumeric(over) && NumericValue(over) == 1) carry.set(ch);
    ProgressStep();
  }
  link().ItemWriteRetry(kRetry, "12", carry.text());
  ProgressClose();
}

void frmPI32::ReadingData() {
  link().GroupItemReadRetry(1, "00", "01");
  // No status reply counts as every bit clear.
  const ChannelMask status = ChannelMask::Parse(ItemValue(link(), "77").value_or(""));
  for (int ch = 1; ch <= channels(); ++ch) {
    const auto count = ItemValue(link(), std::to_string(44 + ch));
    if (count) txtPA[ch - 1].text = *count;
    txtCData[ch - 1].colour = status.bit(ch) ? kGreen : kRed;
  }
}

bool frmPI32::SetCheckData(const ControlInfo& field, const std::string& text) {
  if (NumberWithin(text, field.min, field.max)) return true;
  Refuse(field.name, OutOfRangeReason(field, text));
  if (messagesOn) {
    RangeMessage(
        "Please enter " + Whole(field.min) + " to " + Whole(field.max) + ".\r\nCheck data range.",
        field.name, lastCheckFailure().why);
  }
  return false;
}

bool frmPI32::CheckData() {
  BeginCheck();
  // Quiet while it checks: the main window reports a failed check once.
  messagesOn = false;
  for (int i = 0; i < channels(); ++i) {
    if (!SetCheckData(kFScale.info(i), txtFScale[i].text) ||
        !SetCheckData(kOver.info(i), txtOver[i].text)) {
      messagesOn = true;
      return false;
    }
  }
  messagesOn = true;
  return true;
}

void frmPI32::LostFocus(std::string_view name) {
  if (const int i = IndexIn(name, "txtFScale"); i >= 0)
    SetCheckData(kFScale.info(i), txtFScale[i].text);
  if (const int i = IndexIn(name, "txtOver"); i >= 0) SetCheckData(kOver.info(i), txtOver[i].text);
}

void frmPI32::cmdPreset_Click(int index) {
  if (index < 0 || index >= kChannels) return;
  if (SetCheckData(kPreset.info(index), txtPreset[index].text)) {
    // A write transaction in group "00": the group line goes out before the item, so the
    // preset reaches the count item whatever group an earlier exchange selected.
    const std::string reply = link().GroupItemWriteRetry(kRetry, "00", std::to_string(45 + index),
                                                         txtPreset[index].text);
    if (!reply.empty() && reply != "NG") ReadingData();
  }
  txt_able(true);
}

bool frmPI32::Press(std::string_view name) {
  if (const int i = IndexIn(name, "cmdPreset"); i >= 0) {
    if (cmdPreset[i].enabled) cmdPreset_Click(i);
    return true;
  }
  for (int n = 1; n <= 4; ++n) {
    if (name != "cmdSet" + std::to_string(n)) continue;
    if (cmdSet[n - 1].enabled) {
      cmdSet_Click(n);
      tabShown = n;
      // The 16-channel units have no third and fourth tab.
      if (sixteenChannels()) cmdSet[2].enabled = cmdSet[3].enabled = false;
    }
    return true;
  }
  return ModulePage::Press(name);
}

void frmPI32::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    txtFScale[i].enabled = enable;
    txtPreset[i].enabled = enable;
    txtOver[i].enabled = enable;
    cmdPreset[i].enabled = enable;
  }
}

void frmPI32::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  v.frame("fraValue", fraValue);
  v.label("lblCData(0)", lblCData[0]);
  v.label("lblCData(1)", lblCData[1]);
  for (int i = 0; i < kChannels; ++i) {
    v.indicator(Indexed("txtCData", i), txtCData[i]);
    // Eight channels a tab: "CH0 to CH7" ... "CH24 to CH31".
    InTab tab(v, "frmSet" + std::to_string(i / 8 + 1));
    tab.text(LiveValue(Indexed("txtPA", i), "Count").ch(i), txtPA[i]);
    tab.text(kFScale.info(i), txtFScale[i]);
    tab.text(kOver.info(i), txtOver[i]);
    tab.text(kPreset.info(i).checkedOn(Indexed("cmdPreset", i)), txtPreset[i]);
    tab.button(Indexed("cmdPreset", i), cmdPreset[i]);
  }
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmPI32::records(RecordStream& io) {
  // As many channels as the header's channel count.
  const int count = channels();
  for (int i = 0; i < count && i < kChannels; ++i) {
    io.text(txtOver[i], Indexed("txtOver", i));
    io.text(txtFScale[i], Indexed("txtFScale", i));
    io.endRecord();
  }
}

bool frmPI32::newDefaults(std::string_view) {
  for (int i = 0; i < kChannels; ++i) {
    txtOver[i].text = "0";
    txtFScale[i].text = "4294967295";
  }
  return true;
}

}  // namespace q5::pages
