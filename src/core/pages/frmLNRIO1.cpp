#include "pages/frmLNRIO1.h"

#include <tuple>

#include <climits>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

constexpr std::string_view kAveraging[] = {"1", "2", "4", "8", "16", "32", "64", "128", "256"};
// Output ranges; "～" is the full-width tilde U+FF5E.
constexpr std::string_view kRanges[] = {"-10\xEF\xBD\x9E+10V", "-5\xEF\xBD\x9E+5V"};
// The X of the point before the first, for the strictly rising rule.
constexpr int kBeforeFirstX = -9999;

// Scaling pairs: zero scale, full scale, bias, gain.
constexpr int kBlockItems = 4;
constexpr int kInput = 0;
constexpr int kOutput = 1;

// The span and the clear value: fixed-point numbers with two decimals, within the ranges
// their labels show.
constexpr RangedSetting kSpan{"txtSpan", "Span [deg]", 60, 360, 2, false, "deg"};
constexpr RangedSetting kClearValue{"txtOutputClearValue", "Output Clear Value", -15, 115, 2};

// Table items of group "02": X of point i is item 2i + 9, Y item 2i + 10.
std::string XItem(int point) { return std::to_string(2 * point + 9); }
std::string YItem(int point) { return std::to_string(2 * point + 10); }

// A grid cell as an integer of the table: blanks around, an optional sign, digits, within
// 16 bits. Anything else is not a table value.
std::optional<std::int16_t> CellValue(std::string_view text) {
  const auto v = DecimalValue(text);
  if (!v || *v < SHRT_MIN || *v > SHRT_MAX) return std::nullopt;
  return static_cast<std::int16_t>(*v);
}

// A value of the unit's table: a decimal integer; anything else counts as 0.
std::int16_t TableValue(std::string_view value) { return CellValue(value).value_or(0); }

}  // namespace

frmLNRIO1::frmLNRIO1(PageContext& ctx)
    : ModulePage(ctx),
      ChannelScaling(2, checkFailure_),
      txtZScaleIn(txtZScale[kInput]),
      txtFScaleIn(txtFScale[kInput]),
      txtBiasIn(txtBias[kInput]),
      txtGainIn(txtGain[kInput]),
      txtZScaleOut(txtZScale[kOutput]),
      txtFScaleOut(txtFScale[kOutput]),
      txtBiasOut(txtBias[kOutput]),
      txtGainOut(txtGain[kOutput]) {
  NameScalingBlock(kInput, "In", "input");
  NameScalingBlock(kOutput, "Out", "output");
  MakeTabs({"Setting 1", "Setting 2", "Setting 3"});
  cmdOffset.caption = "Offset [deg]";
  txtOffset.enabled = false;  // set by the unit through "Offset [deg]"
  lblSpan.caption = "60.00 to 360.00";
  lblTable.caption = "Linearization table (-1500 to 11500)";
  lblOClearValue.caption = "-15.00 to 115.00";
  lblV_UnitIn.caption = "input";
  lblV_UnitOut.caption = "output";
  for (int i = 0; i < 2; ++i) SetScaleCaptions(i, "-32000 to 32000");
  dgd_open();
}

std::string frmLNRIO1::CellName(int point, int column) {
  return Indexed(column == 0 ? "dgdX" : "dgdY", point);
}

// ---- The table ----------------------------------------------------------------------------

bool frmLNRIO1::LinearTable_set(int point, int x, int y) {
  if (point < 1 || point > kPoints) return false;
  x_[point - 1] = static_cast<std::int16_t>(x);
  y_[point - 1] = static_cast<std::int16_t>(y);
  return true;
}

std::optional<int> frmLNRIO1::LinearTable_get(int point, int column) const {
  if (point < 1 || point > kPoints || column < 0 || column > 1) return std::nullopt;
  return column == 0 ? x_[point - 1] : y_[point - 1];
}

void frmLNRIO1::dgd_open() {
  for (int p = 1; p <= kPoints; ++p) {
    dgdDataGrid1[p - 1].x.text = std::to_string(x_[p - 1]);
    dgdDataGrid1[p - 1].y.text = std::to_string(y_[p - 1]);
    cellInvalid_[p - 1] = false;
  }
}

void frmLNRIO1::dgd_download() {
  for (int p = 1; p <= kPoints; ++p) {
    const auto x = CellValue(dgdDataGrid1[p - 1].x.text);
    const auto y = CellValue(dgdDataGrid1[p - 1].y.text);
    cellInvalid_[p - 1] = !x || !y;
    if (x) x_[p - 1] = *x;
    if (y) y_[p - 1] = *y;
  }
}

int frmLNRIO1::PointsInUse() const {
  const int k = CmbLinearizationPoint.index;
  return k > 0 ? k + 2 : 0;
}

// ---- Controls -----------------------------------------------------------------------------

void frmLNRIO1::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  LoadChannelItems(1, values().moduleKind);
  CmbAveType.clear();
  for (auto a : kAveraging) CmbAveType.add(std::string(a));
  CmbRatating.clear();
  CmbRatating.add("CW");
  CmbRatating.add("CCW");
  CmbLinearizationPoint.clear();
  CmbLinearizationPoint.add("Disable");
  for (int n = 3; n <= 31; ++n) CmbLinearizationPoint.add(std::to_string(n));
  CmbOutput.clear();
  CmbOutput.add("Valid");
  CmbOutput.add("Invalid");
  CmbRange.clear();
  for (auto r : kRanges) CmbRange.add(std::string(r));
  CmbHoldClear.clear();
  CmbHoldClear.add("Hold");
  CmbHoldClear.add("Clear");
  txt_visible2(true);
}

void frmLNRIO1::ValuesChanged() { dgd_open(); }

void frmLNRIO1::txt_visible2(bool show) {
  lblTable.visible = show;
  CmbLinearizationPoint.visible = show;
  for (auto& row : dgdDataGrid1) {
    row.x.visible = show;
    row.y.visible = show;
  }
}

void frmLNRIO1::txt_able(bool enable) {
  for (int i = 0; i < 2; ++i) EnableScaling(i, enable);
  for (Control* c : {static_cast<Control*>(&txtSpan), static_cast<Control*>(&CmbRatating),
                     static_cast<Control*>(&CmbAveType), static_cast<Control*>(&cmdOffset),
                     static_cast<Control*>(&CmbLinearizationPoint), static_cast<Control*>(&CmbRange),
                     static_cast<Control*>(&CmbHoldClear),
                     static_cast<Control*>(&txtOutputClearValue), static_cast<Control*>(&CmbOutput)})
    c->enabled = enable;
  for (auto& row : dgdDataGrid1) {
    row.x.enabled = enable;
    row.y.enabled = enable;
  }
}

// ---- Upload -------------------------------------------------------------------------------

bool frmLNRIO1::ReadScalingBlock(const char* group, int block) {
  const auto& entry = ChannelItems().entry[0];
  for (int p = 0; p < kBlockItems; ++p) {
    const std::string reply = p == 0 ? link().GroupItemReadRetry(kRetry, group, entry.item[p])
                                     : link().ItemReadRetry(kRetry, entry.item[p]);
    const std::string value = link::ValueAfterColon(reply);
    if (value.empty()) return false;
    scalingBox(p, block).text = value;
  }
  return true;
}

bool frmLNRIO1::Init() {
  ResetTabs();
  txt_able(false);
  pending_ = false;
  pendingValue_ = "-1500";
  ProgressOpen(3, "Initializing");
  PrepareControls();

  auto fail = [this] {
    UploadFailure();
    return false;
  };
  if (!ReadScalingBlock("01", kInput) || !ReadScalingBlock("03", kOutput)) return fail();

  auto read = [this](const char* group, const char* item) {
    return link::ValueAfterColon(link().GroupItemReadRetry(kRetry, group, item));
  };
  const std::string offset = read("01", "13");
  if (offset.empty()) return fail();
  txtOffset.text = offset;
  const std::string span = read("01", "14");
  if (span.empty()) return fail();
  txtSpan.text = span;
  const std::string rotating = read("01", "15");
  if (rotating.empty()) return fail();
  SelectCode(CmbRatating, DecimalValue(rotating).value_or(-1));
  const std::string average = read("00", "29");
  if (average.empty()) return fail();
  SelectCode(CmbAveType, DecimalValue(average).value_or(-1));

  const std::string points = read("02", "10");
  if (points.empty()) return fail();
  const int n = DecimalValue(points).value_or(0);
  SelectCode(CmbLinearizationPoint, n > 0 ? n - 2 : 0);

  // All 32 points, whatever the number in use.
  for (int p = 1; p <= kPoints; ++p) {
    const auto x = ReadItemValue(link(), XItem(p));
    if (!x) return fail();
    const auto y = ReadItemValue(link(), YItem(p));
    if (!y) return fail();
    LinearTable_set(p, TableValue(*x), TableValue(*y));
    if (p == 1 || p == 15 || p == 30) ProgressStep();
  }
  dgd_open();

  const std::string output = read("00", "11");
  if (output.empty()) return EndInitQuietly();
  SelectCode(CmbOutput, DecimalValue(output).value_or(-1));
  const std::string range = read("03", "09");
  if (range.empty()) return EndInitQuietly();
  SelectCode(CmbRange, DecimalValue(range).value_or(-1));
  const std::string hold = read("03", "41");
  if (hold.empty()) return EndInitQuietly();
  SelectCode(CmbHoldClear, DecimalValue(hold).value_or(-1));
  const std::string clear = read("03", "40");
  if (clear.empty()) return EndInitQuietly();
  txtOutputClearValue.text = clear;

  ProgressClose();
  cmdSet[0].enabled = false;
  cmdSet[1].enabled = true;
  cmdSet[2].enabled = true;
  txt_able(true);
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void frmLNRIO1::WriteScalingBlock(const char* group, int block) {
  const auto& entry = ChannelItems().entry[0];
  for (int p = 0; p < kBlockItems; ++p) {
    const std::string& data = scalingBox(p, block).text;
    if (p == 0)
      link().GroupItemWriteRetry(kRetry, group, entry.item[p], data);
    else
      link().ItemWriteRetry(kRetry, entry.item[p], data);
  }
}

void frmLNRIO1::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(3, "Downloading");
  LoadChannelItems(1, values().moduleKind);

  WriteScalingBlock("01", kInput);
  // The averaging count goes to the input group as well as to group "00" below.
  link().ItemWriteRetry(kRetry, "11", IndexText(CmbAveType));
  WriteScalingBlock("03", kOutput);
  link().GroupItemWriteRetry(kRetry, "01", "14", txtSpan.text);
  link().ItemWriteRetry(kRetry, "15", IndexText(CmbRatating));
  link().GroupItemWriteRetry(kRetry, "00", "29", IndexText(CmbAveType));
  ProgressStep();

  // Only the points in use; "Disable" writes 0 and no point.
  const int n = PointsInUse();
  link().GroupItemWriteRetry(kRetry, "02", "10", std::to_string(n));
  dgd_download();
  for (int p = 1; p <= n; ++p) {
    link().ItemWriteRetry(kRetry, XItem(p), std::to_string(x_[p - 1]));
    link().ItemWriteRetry(kRetry, YItem(p), std::to_string(y_[p - 1]));
  }
  ProgressStep();

  link().GroupItemWriteRetry(kRetry, "00", "11", IndexText(CmbOutput));
  link().GroupItemWriteRetry(kRetry, "03", "09", IndexText(CmbRange));
  link().ItemWriteRetry(kRetry, "41", IndexText(CmbHoldClear));
  link().ItemWriteRetry(kRetry, "40", txtOutputClearValue.text);
  ProgressClose();
}

// ---- Live values, manual output, check ----------------------------------------------------

void frmLNRIO1::ReadingData() {
  ReadLiveValue(link(), "21", txtParData);
  ReadLiveValue(link(), "25", txtParDataOut);
  if (pending_) {
    pending_ = false;
    link().GroupItemWriteRetry(kRetry, "00", "25", pendingValue_);
  }
}

std::string frmLNRIO1::manualOutputValue(int i) const {
  return i == 0 ? txtParDataOut.text : std::string();
}

void frmLNRIO1::WritingData(const std::vector<std::string>& values) {
  if (values.empty()) return;
  pendingValue_ = values[0];
  pending_ = true;
}

bool frmLNRIO1::CheckData() {
  BeginCheck();
  if (!ScalingNumeric(kInput) || !ScalingNumeric(kOutput)) return false;
  if (!CheckScalingChannel(kInput, kScaleLimits) || !CheckScalingChannel(kOutput, kScaleLimits))
    return false;
  // The span and the clear value go out without the blanks around them.
  for (auto [field, box] : {std::pair{&kSpan, &txtSpan}, {&kClearValue, &txtOutputClearValue}}) {
    const ControlInfo info = field->info();
    if (!FixedPointWithin(box->text, static_cast<std::size_t>(info.decimals), info.min, info.max))
      return Refuse(info.name, OutOfRangeReason(info, box->text));
    box->text = TrimmedNumber(box->text);
  }
  dgd_download();
  int previous = kBeforeFirstX;
  for (int p = 1; p <= PointsInUse(); ++p) {
    const std::string point = "Point " + std::to_string(p);
    if (cellInvalid_[p - 1])
      return Refuse(CellName(p, 0), point + " of the table is not a whole number.");
    const int x = *LinearTable_get(p, 0);
    const int y = *LinearTable_get(p, 1);
    if (x < kTableLow || x > kTableHigh)
      return Refuse(CellName(p, 0), point + ": X is " + std::to_string(x) + "; allowed " +
                                        std::to_string(kTableLow) + " to " +
                                        std::to_string(kTableHigh) + ".");
    if (y < kTableLow || y > kTableHigh)
      return Refuse(CellName(p, 1), point + ": Y is " + std::to_string(y) + "; allowed " +
                                        std::to_string(kTableLow) + " to " +
                                        std::to_string(kTableHigh) + ".");
    if (x <= previous)
      return Refuse(CellName(p, 0),
                    point + ": X is " + std::to_string(x) + "; X must rise from point to point.");
    previous = x;
  }
  return true;
}

// ---- Buttons ------------------------------------------------------------------------------

void frmLNRIO1::cmdOffset_Click() {
  const std::string reply = link().GroupItemWriteRetry(kRetry, "1", "13", "1");
  // A refused write comes back empty after its retries: the box keeps its offset.
  if (reply.empty() || reply == "NG") {
    ctx_.dialogs.message("Data Error \r\nCheck Input data.", "Input Data Error",
                         ui::Icon::Error);
    return;
  }
  txtOffset.text = reply;
}

bool frmLNRIO1::Press(std::string_view name) {
  if (name == "cmdOffset") {
    if (!cmdOffset.enabled) return false;
    cmdOffset_Click();
    return true;
  }
  if (name == "txtParDataOut") {
    txtParDataOut_Click();
    return true;
  }
  return ModulePage::Press(name);
}

void frmLNRIO1::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2"), set3(v, "frmSet3");
  // "Setting 1": the input.
  set1.text(ZeroScaleInfo(kInput), txtZScaleIn);
  set1.text(FullScaleInfo(kInput), txtFScaleIn);
  set1.text(BiasInfo(kInput), txtBiasIn);
  set1.text(GainInfo(kInput), txtGainIn);
  set1.label("lblZScaleIn", lblZScale[kInput]);
  set1.label("lblFScaleIn", lblFScale[kInput]);
  set1.text(Setting("txtOffset", "Offset [deg]").in_unit("deg"), txtOffset);
  set1.button("cmdOffset", cmdOffset);
  set1.text(kSpan.info(), txtSpan);
  set1.label("lblSpan", lblSpan);
  set1.combo(Setting("CmbRatating", "Rotating direction"), CmbRatating);
  set1.combo(Setting("CmbAveType", "Averaging Number"), CmbAveType);
  // "Setting 2": the table.
  set2.label("lblTable", lblTable);
  set2.combo(Setting("CmbLinearizationPoint", "Linearization point"), CmbLinearizationPoint);
  for (int p = 1; p <= kPoints; ++p) {
    set2.text(Setting(CellName(p, 0), "X[%]").in_unit("%"), dgdDataGrid1[p - 1].x);
    set2.text(Setting(CellName(p, 1), "Y[%]").in_unit("%"), dgdDataGrid1[p - 1].y);
  }
  // "Setting 3": the output.
  set3.text(ZeroScaleInfo(kOutput), txtZScaleOut);
  set3.text(FullScaleInfo(kOutput), txtFScaleOut);
  set3.text(BiasInfo(kOutput), txtBiasOut);
  set3.text(GainInfo(kOutput), txtGainOut);
  set3.label("lblZScaleOut", lblZScale[kOutput]);
  set3.label("lblFScaleOut", lblFScale[kOutput]);
  set3.combo(Setting("CmbRange", "Selected Range"), CmbRange);
  set3.combo(Setting("CmbHoldClear", "Hold/Clear"), CmbHoldClear);
  set3.text(kClearValue.info(), txtOutputClearValue);
  set3.label("lblOClearValue", lblOClearValue);
  set3.combo(Setting("CmbOutput", "Output"), CmbOutput);
  // Live values.
  v.label("lblV_UnitIn", lblV_UnitIn);
  v.text(LiveValue("txtParData", "input"), txtParData);
  v.label("lblV_UnitOut", lblV_UnitOut);
  v.text(LiveValue("txtParDataOut", "output"), txtParDataOut);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmLNRIO1::records(RecordStream& io) {
  io.index(CmbAveType, "CmbAveType");
  io.index(CmbRatating, "CmbRatating");
  io.index(CmbLinearizationPoint, "CmbLinearizationPoint");
  io.index(CmbRange, "CmbRange");
  io.endRecord();
  io.index(CmbOutput, "CmbOutput");
  io.index(CmbHoldClear, "CmbHoldClear");
  io.endRecord();
  io.text(txtOffset, "txtOffset");
  io.text(txtSpan, "txtSpan");
  io.text(txtOutputClearValue, "txtOutputClearValue");
  io.endRecord();
  io.text(txtGainIn, "txtGainIn");
  io.text(txtBiasIn, "txtBiasIn");
  io.text(txtZScaleIn, "txtZScaleIn");
  io.text(txtFScaleIn, "txtFScaleIn");
  io.endRecord();
  io.text(txtGainOut, "txtGainOut");
  io.text(txtBiasOut, "txtBiasOut");
  io.text(txtZScaleOut, "txtZScaleOut");
  io.text(txtFScaleOut, "txtFScaleOut");
  io.endRecord();
  // The table, two points a line; what the grid holds goes into the table first.
  if (io.writing()) dgd_download();
  for (int m = 1; m <= kPoints / 2; ++m) {
    for (int point : {2 * m - 1, 2 * m}) {
      std::int16_t x = static_cast<std::int16_t>(*LinearTable_get(point, 0));
      std::int16_t y = static_cast<std::int16_t>(*LinearTable_get(point, 1));
      io.integer(x, CellName(point, 0));
      io.integer(y, CellName(point, 1));
      if (io.reading()) LinearTable_set(point, x, y);
    }
    io.endRecord();
  }
  if (io.reading()) dgd_open();
}

bool frmLNRIO1::newDefaults(std::string_view) {
  for (auto* box :
       {&CmbAveType, &CmbRatating, &CmbLinearizationPoint, &CmbRange, &CmbOutput, &CmbHoldClear})
    box->index = 0;
  txtOffset.text = "0.0";
  txtSpan.text = "270.00";
  txtOutputClearValue.text = "-15.00";
  for (auto [gain, bias, zero, full] :
       {std::tuple{&txtGainIn, &txtBiasIn, &txtZScaleIn, &txtFScaleIn},
        std::tuple{&txtGainOut, &txtBiasOut, &txtZScaleOut, &txtFScaleOut}}) {
    gain->text = "1.0000";
    bias->text = "0.00";
    zero->text = "0";
    full->text = "10000";
  }
  for (int point = 1; point <= kPoints; ++point) LinearTable_set(point, 0, 0);
  dgd_open();
  return true;
}

}  // namespace q5::pages
