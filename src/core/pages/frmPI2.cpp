#include "pages/frmPI2.h"

#include <algorithm>
#include <cmath>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/ChannelScaling.h"
#include "pages/PageHelpers.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr std::string_view kPI1 = "Q5T3NML3-6-PI1";
constexpr std::string_view kPI1A = "Q5T3NML3-6-PI1/A";
// Request buttons write their item of group "01": "78" for Command1 up to "85".
constexpr int kFirstRequestItem = 78;
constexpr int kRequestPauseMs = 500;
constexpr double kRingTop = 4294967294.0;

// The channel's plain ranges (the reset value and the alarms' positions depend on the
// counting mode and the linear limits, and are checked apart).
constexpr RangedSetting kDO{"txtDO", "Drop Out ( 0.10% to 25.00%)", 0.1, 25, kAnyPlaces, false,
                            "%"};
constexpr RangedSetting kMin{"txtMin", "Liner Min (-2100000000 to 2099999999)", -2100000000.0,
                             2099999999.0};
constexpr RangedSetting kMax{"txtMax", "Liner Max (-2099999999 to 2100000000)", -2099999999.0,
                             2100000000.0};
constexpr RangedSetting kBiasPI{"txtBias", "Bias (-320.00 to 320.00)", -320, 320};
constexpr RangedSetting kGainPI{"txtGain", "Gain (-3.2000 to 3.2000)", -3.2, 3.2};
constexpr RangedSetting kZS{"txtZS", "Zero Scale (-32000 to 32000)", -32000, 32000};
constexpr RangedSetting kFS{"txtFS", "Full Scale (-32000 to 32000)", -32000, 32000};
constexpr RangedSetting kA1SM{"txtA1SM", "Alarm A: Speed Setpoint", -15, 115};
constexpr RangedSetting kA2SM{"txtA2SM", "Alarm B: Speed Setpoint", -15, 115};
constexpr RangedSetting kA1SH{"txtA1SH", "Alarm A: Speed Hys", 0, 115};
constexpr RangedSetting kA2SH{"txtA2SH", "Alarm B: Speed Hys", 0, 115};
// The codes, whole numbers: alarm type 0 (not used) to 4 (position low); the on/off
// settings 0 or 1; External Latch 0 to 2 (a new configuration holds 2).
constexpr RangedSetting kA1Type{"txtA1Type", "Alarm A: Alarm Type", 0, 4, 0};
constexpr RangedSetting kA2Type{"txtA2Type", "Alarm B: Alarm Type", 0, 4, 0};
constexpr RangedSetting kOP{"txtOP", "MECHATROLINK-III Command", 0, 1, 0};
constexpr RangedSetting kEL{"txtEL", "External Latch", 0, 2, 0};
constexpr RangedSetting kHL{"txtHL", "MECHATROLINK-III Latch", 0, 1, 0};
constexpr RangedSetting kHLD{"txtHLD", "MECHATROLINK-III Latch Data Clear", 0, 1, 0};
constexpr RangedSetting kER{"txtER", "External Reset", 0, 1, 0};
constexpr RangedSetting kHR{"txtHR", "MECHATROLINK-III Reset", 0, 1, 0};
constexpr RangedSetting kHRD{"txtHRD", "MECHATROLINK-III Reset Data Clear", 0, 1, 0};
// The module's timers, 0 to 60.
constexpr double kTimerHigh = 60;
constexpr std::string_view kTimers[] = {"ALM:Power On Delay Timer", "ALM:On Delay Timer",
                                        "ALM:On Hold Timer"};

std::string Item(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// "txtA1PM(1)" -> 1 when name is control + "(" + index + ")" with index 0 or 1.
int ChannelIn(std::string_view name, std::string_view control) {
  if (name.size() != control.size() + 3 || name.substr(0, control.size()) != control ||
      name[control.size()] != '(' || name.back() != ')')
    return -1;
  const char d = name[control.size() + 1];
  return d == '0' || d == '1' ? d - '0' : -1;
}

}  // namespace

frmPI2::frmPI2(PageContext& ctx) : ModulePage(ctx) {
  MakeTabs({"Setting1", "Setting2", "Alarm", "Latch/Reset"});
  for (int n = 1; n <= kRequests; ++n) Command[n - 1].caption = "Request";
  Command[6].caption = "Request ";
  for (std::size_t k = 0; k < lblChannel.size(); ++k) lblChannel[k].caption = "CH " + std::to_string(k % 2);
  lblModes.caption =
      "Mode0: Multiplication  x1   Mode1: Multiplication  x1   Mode2: Multiplication  x2   "
      "Mode3: Multiplication  x4";
  for (int i = 0; i < kChannels; ++i) CmbBoxCreate(i + 1);
  dtype_change();
}

int frmPI2::channels() const { return std::clamp<int>(values().channelCount, 0, kChannels); }
bool frmPI2::oneChannel() const { return values().model == kPI1 || values().model == kPI1A; }
bool frmPI2::zLatchModel() const { return values().model == kPI1A; }

void frmPI2::CmbBoxCreate(int c) {
  if (c < 1 || c > kChannels) return;
  const int i = c - 1;
  FillList(CmbDataType[i], {"POSITION", "SPEED"});
  FillList(CmbSpeedFreqRange[i],
           {"0-100KHz", "0-10KHz", "0-1KHz", "0-100Hz", "0-10Hz", "0-1Hz", "0-0.1Hz"});
  FillList(CmbPositionCntMode[i], {"MODE3", "MODE2", "MODE1", "MODE0"});
  FillList(CmbPositionDataType[i], {"LINER", "RING"});
}

std::vector<Control*> frmPI2::ChannelControls(int i) {
  return {&txtCP[i],     &txtCS[i],     &txtLP[i],     &txtLS[i],     &txtRP[i],
          &txtDO[i],     &txtReset[i],  &txtMin[i],    &txtMax[i],    &txtBias[i],
          &txtGain[i],   &txtZS[i],     &txtFS[i],     &CmbDataType[i], &CmbSpeedFreqRange[i],
          &CmbPositionCntMode[i], &CmbPositionDataType[i], &txtA1Type[i], &txtA1SM[i],
          &txtA1SH[i],   &txtA1PM[i],   &txtA1PH[i],   &txtA2Type[i], &txtA2SM[i],
          &txtA2SH[i],   &txtA2PM[i],   &txtA2PH[i],   &txtOP[i],     &txtEL[i],
          &txtHL[i],     &txtHLD[i],    &txtER[i],     &txtHR[i],     &txtHRD[i],
          &txtZR[i]};
}

void frmPI2::dtype_change() {
  const bool position = viewFlag == 0;
  for (int i = 0; i < kChannels; ++i) {
    // A one-channel unit shows no second channel.
    const bool present = i == 0 || !oneChannel();
    for (Control* c : ChannelControls(i)) c->visible = present;
    for (TextBox* b : {&txtCP[i], &txtLP[i], &txtRP[i], &txtA1PM[i], &txtA1PH[i], &txtA2PM[i],
                       &txtA2PH[i], &txtReset[i], &txtMin[i], &txtMax[i]})
      b->visible = present && position;
    for (TextBox* b : {&txtCS[i], &txtLS[i], &txtBias[i], &txtGain[i], &txtZS[i], &txtFS[i],
                       &txtA1SM[i], &txtA1SH[i], &txtA2SM[i], &txtA2SH[i]})
      b->visible = present && !position;
  }
  // Command2, 4, 6, 8 are the requests of CH 1.
  for (int n = 2; n <= kRequests; n += 2) Command[n - 1].visible = !oneChannel();
  for (std::size_t k = 1; k < lblChannel.size(); k += 2) lblChannel[k].visible = !oneChannel();
  Command[8].caption = position ? "DISPLAY SPEED DATA" : "DISPLAY POSITION DATA";
  if (zLatchModel()) {
    lblZR.caption = "Z Reset / Z Latch";
    lblZRRange.caption = "(0 = Invalid 1 = Z Reset   2 = Z Latch)";
  } else {
    lblZR.caption = "Z Reset";
    lblZRRange.caption = "(0 = Invalid 1 = Valid)";
  }
}

void frmPI2::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  for (int c = 1; c <= kChannels; ++c) CmbBoxCreate(c);
  dtype_change();
}

void frmPI2::ListsInStep() {
  // Both channels' lists are the same settings of the unit: channel 1 decides.
  // The copy keeps its own visibility: a one-channel unit shows no second column.
  for (auto* lists : {&CmbDataType, &CmbSpeedFreqRange, &CmbPositionCntMode, &CmbPositionDataType}) {
    const bool shown = (*lists)[1].visible;
    (*lists)[1] = (*lists)[0];
    (*lists)[1].visible = shown;
  }
}

void frmPI2::ValuesChanged() {
  ListsInStep();
  dtype_change();
}

// ---- Upload -------------------------------------------------------------------------------

bool frmPI2::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(3, "Initializing");
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);

  const auto view = GroupValue(link(), "01", "28");
  if (!view) return UploadFailure(), false;
  if (*view == "POS" || *view == "SPE") viewFlag = *view == "POS" ? 0 : 1;
  dtype_change();

  for (int c = 1; c <= channels(); ++c) {
    const int i = c - 1;
    link().GroupItemWriteRetry(kRetry, "00", "01", "F");
    for (auto [item, box] : {std::pair{19 + c, &txtCP[i]}, {21 + c, &txtCS[i]}, {23 + c, &txtLP[i]},
                             {25 + c, &txtLS[i]}, {27 + c, &txtRP[i]}}) {
      const auto v = ItemValue(link(), Item(item));
      if (!v) return UploadFailure(), false;
      box->text = *v;
    }
    CmbBoxCreate(c);
    // The four lists are module settings: both channels read the same items.
    for (auto [item, box] : {std::pair{"52", &CmbDataType[i]}, {"53", &CmbSpeedFreqRange[i]},
                             {"54", &CmbPositionCntMode[i]}, {"55", &CmbPositionDataType[i]}}) {
      const auto v = ItemValue(link(), item);
      if (!v) return EndInitQuietly();
      SelectLeadingIndex(*box, *v);
    }

    link().GroupItemWriteRetry(kRetry, "01", "01", "F");
    auto read = [&](int item, TextBox& box) {
      const auto v = ItemValue(link(), Item(item));
      if (v) box.text = *v;
      return v.has_value();
    };
    if (!read(9 + c, txtDO[i])) return UploadFailure(), false;
    txtA1PM[i].maxLength = 11;
    txtA2PM[i].maxLength = 11;
    const int pair = 2 * (c - 1);
    const int alarm = 10 * (c - 1);
    const std::pair<int, TextBox*> items[] = {
        {13 + c, &txtReset[i]},  {15 + c, &txtMin[i]},           {17 + c, &txtMax[i]},
        {34 + pair, &txtBias[i]}, {35 + pair, &txtGain[i]},       {38 + pair, &txtZS[i]},
        {39 + pair, &txtFS[i]},   {41 + c, &txtOP[i]},            {44 + alarm, &txtA1Type[i]},
        {45 + alarm, &txtA1SM[i]}, {46 + alarm, &txtA1SH[i]},     {47 + alarm, &txtA1PM[i]},
        {48 + alarm, &txtA1PH[i]}, {49 + alarm, &txtA2Type[i]},   {50 + alarm, &txtA2SM[i]},
        {51 + alarm, &txtA2SH[i]}, {52 + alarm, &txtA2PM[i]},     {53 + alarm, &txtA2PH[i]},
        {63 + c, &txtEL[i]},      {65 + c, &txtHL[i]},            {67 + c, &txtER[i]},
        {69 + c, &txtHR[i]},      {71 + c, &txtZR[i]}};
    for (auto [item, box] : items)
      if (!read(item, *box)) return UploadFailure(), false;
    if (zLatchModel()) {
      // Z latch on: the page shows 2 whatever the Z reset item says.
      TextBox latch;
      if (!read(85 + c, latch)) return UploadFailure(), false;
      if (latch.text == "1") txtZR[i].text = "2";
    }
    if (!read(73 + c, txtHLD[i]) || !read(75 + c, txtHRD[i])) return UploadFailure(), false;
    ProgressStep();
  }

  for (int t = 0; t < 3; ++t) {
    const auto v = ItemValue(link(), Item(6 + t));
    if (!v) return UploadFailure(), false;
    txtTM[t].text = *v;
  }
  // A one-channel unit's second channel shows the same module settings.
  ListsInStep();
  ProgressClose();
  for (int n = 2; n <= 4; ++n) cmdSet[n - 1].enabled = true;
  txt_able(true);
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void frmPI2::WriteChannel(int i) {
  const int c = i + 1;
  const int pair = 2 * i;
  const int alarm = 10 * i;
  auto write = [&](int item, const std::string& data) { link().ItemWriteRetry(kRetry, Item(item), data); };
  write(9 + c, txtDO[i].text);
  // The unit checks reset value against the liner limits as each arrives: three rounds
  // let any order of old and new limits settle.
  for (int round = 0; round < 3; ++round) {
    write(13 + c, txtReset[i].text);
    write(15 + c, txtMin[i].text);
    write(17 + c, txtMax[i].text);
  }
  write(34 + pair, txtBias[i].text);
  write(35 + pair, txtGain[i].text);
  write(38 + pair, txtZS[i].text);
  write(39 + pair, txtFS[i].text);
  write(41 + c, txtOP[i].text);
  const TextBox* alarms[] = {&txtA1Type[i], &txtA1SM[i], &txtA1SH[i], &txtA1PM[i], &txtA1PH[i],
                             &txtA2Type[i], &txtA2SM[i], &txtA2SH[i], &txtA2PM[i], &txtA2PH[i]};
  for (int k = 0; k < 10; ++k) write(44 + alarm + k, alarms[k]->text);
  write(63 + c, txtEL[i].text);
  write(65 + c, txtHL[i].text);
  write(67 + c, txtER[i].text);
  write(69 + c, txtHR[i].text);
  if (zLatchModel()) {
    // One page value, two switches of the unit: Z reset first, then Z latch.
    const std::string& z = txtZR[i].text;
    write(71 + c, z == "1" ? "1" : "0");
    write(85 + c, z == "2" ? "1" : "0");
  } else {
    write(71 + c, txtZR[i].text);
  }
  write(73 + c, txtHLD[i].text);
  write(75 + c, txtHRD[i].text);
}

void frmPI2::Download() {
  txt_able(false);
  DisableTabs();
  link().GroupItemWriteRetry(kRetry, "00", "01", "F");
  const int lists = oneChannel() ? 1 : 2;
  for (int i = 0; i < lists; ++i) {
    link().ItemWriteRetry(kRetry, "52", CmbDataType[i].code());
    link().ItemWriteRetry(kRetry, "53", CmbSpeedFreqRange[i].code());
    link().ItemWriteRetry(kRetry, "54", CmbPositionCntMode[i].code());
    link().ItemWriteRetry(kRetry, "55", CmbPositionDataType[i].code());
  }
  link().GroupItemWriteRetry(kRetry, "01", "01", "F");
  ProgressOpen(3, "Downloading");
  WriteChannel(0);
  ProgressStep();
  if (!oneChannel()) {
    WriteChannel(1);
    ProgressStep();
  }
  for (int t = 0; t < 3; ++t) link().ItemWriteRetry(kRetry, Item(6 + t), txtTM[t].text);
  ProgressStep();
  ProgressClose();
}

// ---- Live values --------------------------------------------------------------------------

void frmPI2::ReadingData() {
  link().GroupItemWriteRetry(kRetry, "00", "01", "F");
  // Both channels whatever the channel count: the one-channel units answer for both.
  for (int c = 1; c <= kChannels; ++c) {
    const int i = c - 1;
    for (auto [item, box] : {std::pair{19 + c, &txtCP[i]}, {21 + c, &txtCS[i]}, {23 + c, &txtLP[i]},
                             {25 + c, &txtLS[i]}, {27 + c, &txtRP[i]}}) {
      const auto v = ItemValue(link(), Item(item));
      if (!v) {
        // A pass ended by Stop or Disconnect (or run after the unit was disconnected)
        // is not a read error of the unit: said once, by whoever disconnected.
        if (link().stopRequested()) return;
        ctx_.dialogs.message("Data Read Error.", "Error", ui::Icon::Error);
        if (ctx_.disconnect) ctx_.disconnect();
        return;
      }
      box->text = *v;
    }
  }
}

// ---- Buttons ------------------------------------------------------------------------------

void frmPI2::comdis() {
  for (int n = 0; n < kRequests; ++n) Command[n].enabled = false;
}

void frmPI2::comena() {
  for (int n = 0; n < kRequests; ++n) Command[n].enabled = true;
}

void frmPI2::Command_Click(int n) {
  if (n < 1 || n > kRequests) return;
  comdis();
  if (ctx_.monitorButtons) ctx_.monitorButtons(true);
  link().GroupItemWriteRetry(kRetry, "01", Item(kFirstRequestItem + n - 1), "1");
  // The unit needs the time to act on a request before the next one.
  link().exchange().WaitFor(kRequestPauseMs);
  if (ctx_.monitorButtons) ctx_.monitorButtons(false);
  comena();
}

void frmPI2::Command9_Click() {
  viewFlag = viewFlag == 0 ? 1 : 0;
  dtype_change();
}

bool frmPI2::Press(std::string_view name) {
  for (int n = 1; n <= kRequests + 1; ++n) {
    if (name != "Command" + std::to_string(n)) continue;
    if (!Command[n - 1].enabled) return true;  // locked: nothing happens
    if (n <= kRequests)
      Command_Click(n);
    else
      Command9_Click();
    return true;
  }
  return ModulePage::Press(name);
}

// ---- Edits --------------------------------------------------------------------------------

void frmPI2::txtPM_Change(int field, int i) {
  TextBox& box = field == 1 ? txtA1PM[i] : txtA2PM[i];
  // Only digits and "-" are taken.
  std::string kept;
  for (char ch : box.text)
    if ((ch >= '0' && ch <= '9') || ch == '-') kept += ch;
  box.text = kept;
  if (!IsNumeric(box.text) || !ring(i)) return;
  const double v = NumericValue(box.text);
  if (v >= 1 && v <= kRingTop) return;
  box.text = v < 1 ? "1" : "4294967294";
  const std::string name = Indexed(field == 1 ? "txtA1PM" : "txtA2PM", i);
  RangeMessage("Data Error \r\nCheck data range.", name,
               std::string(field == 1 ? "Alarm A" : "Alarm B") + ": Position Setpoint of CH " +
                   std::to_string(i) + " is 1 to 4294967294 when counting in a ring.");
}

void frmPI2::txtPM_LostFocus(int field, int i) {
  TextBox& box = field == 1 ? txtA1PM[i] : txtA2PM[i];
  if (box.text.empty()) box.text = "1";
}

void frmPI2::Edited(std::string_view name) {
  for (int field = 1; field <= 2; ++field) {
    const int i = ChannelIn(name, field == 1 ? "txtA1PM" : "txtA2PM");
    if (i >= 0) return txtPM_Change(field, i);
  }
  // The two channels' lists are one setting of the unit: a choice on one channel is
  // made on the other as well, so Download cannot overwrite it with a stale one.
  for (auto [control, lists] :
       {std::pair{"CmbDataType", &CmbDataType}, {"CmbSpeedFreqRange", &CmbSpeedFreqRange},
        {"CmbPositionCntMode", &CmbPositionCntMode}, {"CmbPositionDataType", &CmbPositionDataType}}) {
    const int i = ChannelIn(name, control);
    if (i >= 0) (*lists)[1 - i].index = (*lists)[i].index, (*lists)[1 - i].unlistedCode = (*lists)[i].unlistedCode;
  }
}

void frmPI2::LostFocus(std::string_view name) {
  for (int field = 1; field <= 2; ++field) {
    const int i = ChannelIn(name, field == 1 ? "txtA1PM" : "txtA2PM");
    if (i >= 0) txtPM_LostFocus(field, i);
  }
}

// ---- Check --------------------------------------------------------------------------------

ControlInfo frmPI2::ZRInfo(int i) const {
  // The Z field is 0 or 1, and 2 (Z latch) on the /A model.
  return Setting(Indexed("txtZR", i), lblZR.caption).ch(i).range(0, zLatchModel() ? 2 : 1, 0);
}

ControlInfo frmPI2::TimerInfo(int t) const {
  return Setting(Indexed("txtTM", t), kTimers[t]).range(0, kTimerHigh);
}

bool frmPI2::CheckChannel(int i) {
  bool ok = true;
  // Checks one field and, when it passes, writes it back as a plain decimal. The first
  // failing field is the one the check names.
  // A field whose range the counting mode decides: `rule` says it in words.
  auto field = [&](TextBox& box, auto inRange, const char* control, const char* caption,
                   const std::string& rule) {
    if (!IsNumeric(box.text) || !inRange(NumericValue(box.text))) {
      if (ok && lastCheckFailure().control.empty())
        Refuse(Indexed(control, i), std::string(caption) + " of CH " + std::to_string(i) +
                                        " is \"" + box.text + "\"; " + rule + ".");
      ok = false;
      return;
    }
    box.text = PlainDecimal(box.text);
  };
  auto declared = [&](const ControlInfo& info, TextBox& box) {
    if (!InDeclaredRange(info, box.text)) {
      if (ok && lastCheckFailure().control.empty())
        Refuse(info.name, OutOfRangeReason(info, box.text));
      ok = false;
      return;
    }
    box.text = PlainDecimal(box.text);
  };
  auto within = [](double lo, double hi) { return [=](double v) { return v >= lo && v <= hi; }; };

  const bool limits = IsNumeric(txtMin[i].text) && IsNumeric(txtMax[i].text);
  const double lo = limits ? NumericValue(txtMin[i].text) : 0;
  const double hi = limits ? NumericValue(txtMax[i].text) : 0;

  declared(kDO.info(i), txtDO[i]);
  declared(kMax.info(i), txtMax[i]);
  declared(kMin.info(i), txtMin[i]);
  if (!limits || hi < lo) {
    if (ok && lastCheckFailure().control.empty())
      Refuse(Indexed("txtMax", i), "Liner Max of CH " + std::to_string(i) + " is below Liner Min.");
    ok = false;
  }
  declared(kZS.info(i), txtZS[i]);
  declared(kFS.info(i), txtFS[i]);
  declared(kBiasPI.info(i), txtBias[i]);
  declared(kGainPI.info(i), txtGain[i]);
  declared(kA1SM.info(i), txtA1SM[i]);
  declared(kA2SM.info(i), txtA2SM[i]);
  declared(kA1SH.info(i), txtA1SH[i]);
  declared(kA2SH.info(i), txtA2SH[i]);
  declared(kA1Type.info(i), txtA1Type[i]);
  declared(kA2Type.info(i), txtA2Type[i]);
  declared(kOP.info(i), txtOP[i]);
  declared(kHL.info(i), txtHL[i]);
  declared(kHLD.info(i), txtHLD[i]);
  declared(kER.info(i), txtER[i]);
  declared(kHR.info(i), txtHR[i]);
  declared(kHRD.info(i), txtHRD[i]);
  declared(kEL.info(i), txtEL[i]);
  declared(ZRInfo(i), txtZR[i]);
  if (ring(i)) {
    const std::string ringRule = "counting in a ring, allowed ";
    field(txtReset[i], within(0, 4294967295.0), "txtReset", "Reset Value",
          ringRule + "0 to 4294967295");
    field(
        txtA1PM[i], [](double v) { return v > 0 && v < 4294967295.0; }, "txtA1PM",
        "Alarm A: Position Setpoint", ringRule + "1 to 4294967294");
    field(
        txtA2PM[i], [](double v) { return v > 0 && v < 4294967295.0; }, "txtA2PM",
        "Alarm B: Position Setpoint", ringRule + "1 to 4294967294");
    field(txtA1PH[i], within(0, 4294967293.0), "txtA1PH", "Alarm A: Position Hys",
          ringRule + "0 to 4294967293");
    field(txtA2PH[i], within(0, 4294967293.0), "txtA2PH", "Alarm B: Position Hys",
          ringRule + "0 to 4294967293");
  } else {
    auto liner = [&](double v) { return limits && v >= lo && v <= hi; };
    auto hys = [&](double v) { return limits && v >= 0 && v < std::fabs(hi - lo); };
    const std::string linerRule = "allowed Liner Min to Liner Max";
    const std::string hysRule = "allowed 0 up to (not including) Liner Max - Liner Min";
    field(txtReset[i], liner, "txtReset", "Reset Value", linerRule);
    field(txtA1PM[i], liner, "txtA1PM", "Alarm A: Position Setpoint", linerRule);
    field(txtA2PM[i], liner, "txtA2PM", "Alarm B: Position Setpoint", linerRule);
    field(txtA1PH[i], hys, "txtA1PH", "Alarm A: Position Hys", hysRule);
    field(txtA2PH[i], hys, "txtA2PH", "Alarm B: Position Hys", hysRule);
  }
  return ok;
}

bool frmPI2::CheckData() {
  BeginCheck();
  bool ok = true;
  // Only the channels the unit has: a one-channel unit's second channel is never read,
  // so its fields cannot hold anything to check.
  const int checked = oneChannel() ? 1 : channels();
  for (int i = 0; i < checked; ++i) ok = CheckChannel(i) && ok;
  for (int t = 0; t < static_cast<int>(txtTM.size()); ++t) {
    const ControlInfo timer = TimerInfo(t);
    if (InDeclaredRange(timer, txtTM[t].text)) {
      txtTM[t].text = PlainDecimal(txtTM[t].text);
    } else {
      if (ok) Refuse(timer.name, OutOfRangeReason(timer, txtTM[t].text));
      ok = false;
    }
  }
  return ok;
}

// ---- Enable -------------------------------------------------------------------------------

void frmPI2::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    for (TextBox* b : {&txtDO[i], &txtReset[i], &txtMin[i], &txtMax[i], &txtBias[i], &txtGain[i],
                       &txtZS[i], &txtFS[i], &txtA1Type[i], &txtA1SM[i], &txtA1SH[i], &txtA1PM[i],
                       &txtA1PH[i], &txtA2Type[i], &txtA2SM[i], &txtA2SH[i], &txtA2PM[i],
                       &txtA2PH[i], &txtOP[i], &txtEL[i], &txtHL[i], &txtHLD[i], &txtER[i],
                       &txtHR[i], &txtHRD[i], &txtZR[i]})
      b->enabled = enable;
    for (ComboBox* c : {&CmbDataType[i], &CmbSpeedFreqRange[i], &CmbPositionCntMode[i],
                        &CmbPositionDataType[i]})
      c->enabled = enable;
  }
  for (TextBox& tm : txtTM) tm.enabled = enable;
}

void frmPI2::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2"), set3(v, "frmSet3"), set4(v, "frmSet4");
  InTab* const tabs[] = {&set1, &set2, &set3, &set4};
  for (int i = 0; i < kChannels; ++i) {
    set1.text(LiveValue(Indexed("txtCP", i), "Current Pos").ch(i), txtCP[i]);
    set1.text(LiveValue(Indexed("txtCS", i), "Current Speed").ch(i), txtCS[i]);
    set1.text(LiveValue(Indexed("txtLP", i), "Latch Pos").ch(i), txtLP[i]);
    set1.text(LiveValue(Indexed("txtLS", i), "Latch Speed").ch(i), txtLS[i]);
    set1.text(LiveValue(Indexed("txtRP", i), "Reset Pos").ch(i), txtRP[i]);
    set1.text(kDO.info(i), txtDO[i]);
    set1.text(Setting(Indexed("txtReset", i), "Reset Value").ch(i), txtReset[i]);
    set1.text(kMin.info(i), txtMin[i]);
    set1.text(kMax.info(i), txtMax[i]);
    set1.text(kBiasPI.info(i), txtBias[i]);
    set1.text(kGainPI.info(i), txtGain[i]);
    set1.text(kZS.info(i), txtZS[i]);
    set1.text(kFS.info(i), txtFS[i]);
    set2.combo(Setting(Indexed("CmbDataType", i), "Data Type").ch(i), CmbDataType[i]);
    set2.combo(Setting(Indexed("CmbSpeedFreqRange", i), "Speed Freq Range").ch(i), CmbSpeedFreqRange[i]);
    set2.combo(Setting(Indexed("CmbPositionCntMode", i), "Position Count Mode").ch(i), CmbPositionCntMode[i]);
    set2.combo(Setting(Indexed("CmbPositionDataType", i), "Position Data Type").ch(i), CmbPositionDataType[i]);
    set3.text(kA1Type.info(i), txtA1Type[i]);
    set3.text(kA1SM.info(i), txtA1SM[i]);
    set3.text(kA1SH.info(i), txtA1SH[i]);
    set3.text(Setting(Indexed("txtA1PM", i), "Alarm A: Position Setpoint").ch(i), txtA1PM[i]);
    set3.text(Setting(Indexed("txtA1PH", i), "Alarm A: Position Hys").ch(i), txtA1PH[i]);
    set3.text(kA2Type.info(i), txtA2Type[i]);
    set3.text(kA2SM.info(i), txtA2SM[i]);
    set3.text(kA2SH.info(i), txtA2SH[i]);
    set3.text(Setting(Indexed("txtA2PM", i), "Alarm B: Position Setpoint").ch(i), txtA2PM[i]);
    set3.text(Setting(Indexed("txtA2PH", i), "Alarm B: Position Hys").ch(i), txtA2PH[i]);
    set3.text(kOP.info(i), txtOP[i]);
    set4.text(kEL.info(i), txtEL[i]);
    set4.text(kHL.info(i), txtHL[i]);
    set4.text(kHLD.info(i), txtHLD[i]);
    set4.text(kER.info(i), txtER[i]);
    set4.text(kHR.info(i), txtHR[i]);
    set4.text(kHRD.info(i), txtHRD[i]);
    set4.text(ZRInfo(i), txtZR[i]);
  }
  for (int t = 0; t < 3; ++t) set3.text(TimerInfo(t), txtTM[t]);
  set4.label("lblZR", lblZR);
  set4.label("lblZRRange", lblZRRange);
  set2.label("lblModes", lblModes);
  for (int k = 0; k < static_cast<int>(lblChannel.size()); ++k)
    tabs[k / 2]->label(Indexed("lblChannel", k), lblChannel[k]);
  for (int n = 1; n <= kRequests + 1; ++n) (n <= kRequests ? set4 : v).button("Command" + std::to_string(n), Command[n - 1]);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmPI2::records(RecordStream& io) {
  // Both channels, also on the one-channel models.
  for (int i = 0; i < kChannels; ++i) {
    const auto text = [&](std::array<TextBox, kChannels>& boxes, std::string_view name) {
      io.text(boxes[i], Indexed(name, i));
    };
    text(txtDO, "txtDO");
    text(txtReset, "txtReset");
    text(txtMin, "txtMin");
    text(txtMax, "txtMax");
    text(txtBias, "txtBias");
    text(txtGain, "txtGain");
    text(txtZS, "txtZS");
    text(txtFS, "txtFS");
    text(txtOP, "txtOP");
    io.endRecord();
    text(txtA1Type, "txtA1Type");
    text(txtA1SM, "txtA1SM");
    text(txtA1SH, "txtA1SH");
    text(txtA1PM, "txtA1PM");
    text(txtA1PH, "txtA1PH");
    text(txtA2Type, "txtA2Type");
    text(txtA2SM, "txtA2SM");
    text(txtA2SH, "txtA2SH");
    text(txtA2PM, "txtA2PM");
    text(txtA2PH, "txtA2PH");
    io.endRecord();
    text(txtEL, "txtEL");
    text(txtHL, "txtHL");
    text(txtER, "txtER");
    text(txtHR, "txtHR");
    text(txtZR, "txtZR");
    text(txtHLD, "txtHLD");
    text(txtHRD, "txtHRD");
    io.endRecord();
    io.index(CmbDataType[i], Indexed("CmbDataType", i));
    io.index(CmbSpeedFreqRange[i], Indexed("CmbSpeedFreqRange", i));
    io.index(CmbPositionCntMode[i], Indexed("CmbPositionCntMode", i));
    io.index(CmbPositionDataType[i], Indexed("CmbPositionDataType", i));
    io.endRecord();
  }
  io.texts(txtTM, "txtTM");
  io.endRecord();
}

bool frmPI2::newDefaults(std::string_view) {
  for (int i = 0; i < kChannels; ++i) {
    const std::pair<TextBox*, const char*> values[] = {
        {&txtDO[i], "0.10"},        {&txtReset[i], "0"},    {&txtMin[i], "-2100000000"},
        {&txtMax[i], "2100000000"}, {&txtBias[i], "0.00"},  {&txtGain[i], "1.0000"},
        {&txtZS[i], "0"},           {&txtFS[i], "10000"},   {&txtOP[i], "0"},
        {&txtA1Type[i], "0"},       {&txtA1SM[i], "80.00"}, {&txtA1SH[i], "5.00"},
        {&txtA1PM[i], "100000000"}, {&txtA1PH[i], "1000"},  {&txtA2Type[i], "0"},
        {&txtA2SM[i], "20.00"},     {&txtA2SH[i], "5.00"},  {&txtA2PM[i], "1"},
        {&txtA2PH[i], "1"},         {&txtEL[i], "2"},       {&txtHL[i], "1"},
        {&txtER[i], "1"},           {&txtHR[i], "1"},       {&txtZR[i], "1"},
        {&txtHLD[i], "1"},          {&txtHRD[i], "1"}};
    for (auto [box, text] : values) box->text = text;
    CmbDataType[i].index = 1;
    CmbSpeedFreqRange[i].index = 1;
    CmbPositionCntMode[i].index = 3;
    CmbPositionDataType[i].index = 1;
  }
  txtTM[0].text = "5.0";
  txtTM[1].text = "0.1";
  txtTM[2].text = "0.1";
  return true;
}

}  // namespace q5::pages
