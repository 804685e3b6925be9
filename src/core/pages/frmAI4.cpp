#include "pages/frmAI4.h"

#include "catalogue/StartupTables.h"
#include "link/TextRoutines.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {

// The input ranges; the index is the range code sent to the unit. The current ranges
// (and the placeholder that keeps index = code) exist on the listed models only.
constexpr std::string_view kVoltageRanges[] = {
    "-10V to 10V", "-5V to 5V", "-1V to 1V", "0V to 10V",
    "0V to 5V",    "1V to 5V",  "0V to 1V",  "-0.5V to 0.5V"};
constexpr std::string_view kCurrentRanges[] = {
    "-------------", "-20mA to 20mA", "4mA to 20mA", "0mA to 20mA"};

// Conversion rate / conversion accuracy of the AI4 model (full-width solidus U+FF0F).
constexpr std::string_view kConversionRates[] = {
    "80ms\xEF\xBC\x8F\xC2\xB1" "0.1%", "40ms\xEF\xBC\x8F\xC2\xB1" "0.2%",
    "20ms\xEF\xBC\x8F\xC2\xB1" "0.4%", "10ms\xEF\xBC\x8F\xC2\xB1" "0.8%"};
// The rate as the unit reports it in characters 12 and 13 of item "30".
constexpr std::string_view kRateCodes[] = {"80", "40", "20", "10"};

constexpr std::string_view kAveraging[] = {"1", "2", "4", "8", "16", "32", "64", "128", "256"};

// Item "29": the averaging index is one character of the reply, at position 8, or 13 on
// the data-type model.
constexpr std::size_t kAveragingPos = 8;
constexpr std::size_t kAveragingPosDataType = 13;

// The unit texts of frmAI4: the first unit table.
constexpr int kUnitList = 1;
constexpr int kSwitchByRange = 15;  // switch "F": each channel's range decides

}  // namespace

frmAI4::frmAI4(PageContext& ctx) : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_) {
  MakeTabs({"Setting 1", "Setting 2"});
  LabDatatype.caption = "Data type";
  lblConvSpeed1.caption = "Conversion rate / ";
  Frame2.caption = "Output Hold/Clear";
  optKeepOn.caption = "Output Hold";
  optKeepOff.caption = "Output Clear";
}

// ---- Model variants ---------------------------------------------------------------------

bool frmAI4::isAI4Model() const { return values().flags["Q5T3NML3-6-AI4"]; }
bool frmAI4::isSwitchLess() const { return values().flags["Q5T3NH-A-AIF4"]; }
bool frmAI4::isDataType() const { return values().flags["Q5T3NML3-6-AINF4"]; }
bool frmAI4::isAveraging() const {
  const auto& f = values().flags;
  return f["Q5T3NML3-6-AIF4"] || f["Q5T3NML-6-AIF4"] || f["Q5T3NH-A-AIF4"] ||
         f["Q5T3NML3-6-AINF4"];
}
bool frmAI4::isListed() const { return isAI4Model() || isAveraging(); }
bool frmAI4::behindNetwork() const {
  return values().networkType >= 0 && values().networkType <= 5;
}

int frmAI4::channels() const {
  // The page has four channels of controls whatever count the unit reports.
  return ServedChannels(values().channelCount);
}

// ---- Lists, captions, labels ----------------------------------------------------------------

void frmAI4::FillRangeList(int i) {
  auto& box = cmbUserRange[i];
  box.clear();
  for (auto r : kVoltageRanges) box.add(std::string(r));
  if (isListed())
    for (auto r : kCurrentRanges) box.add(std::string(r));
}

void frmAI4::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  Frame2.visible = behindNetwork();

  const bool dataType = isDataType();
  const bool listed = isListed();
  LabDatatype.visible = dataType;
  for (int i = 0; i < kChannels; ++i) {
    FillRangeList(i);
    CmbDataType[i].clear();
    if (dataType) {
      CmbDataType[i].add("Signed");
      CmbDataType[i].add("Unsigned");
    }
    CmbDataType[i].visible = dataType;
    cmbInvalid[i].clear();
    if (listed) {
      cmbInvalid[i].add("Valid");
      cmbInvalid[i].add("Invalid");
    }
    cmbInvalid[i].visible = listed;
    UpdateScaleCaptions(i);
  }

  CmbConvSpeed.clear();
  if (isAI4Model()) {
    for (auto r : kConversionRates) CmbConvSpeed.add(std::string(r));
    lblConvSpeed2.caption = "conversion accuracy";
  } else if (isAveraging()) {
    for (auto a : kAveraging) CmbConvSpeed.add(std::string(a));
    lblConvSpeed2.caption = "Averaging";
  }
  const bool hasRate = isAI4Model() || isAveraging();
  lblConvSpeed1.visible = isAI4Model();
  lblConvSpeed2.visible = hasRate;
  CmbConvSpeed.visible = hasRate;
}

void frmAI4::UpdateScaleCaptions(int i) {
  if (!isDataType())
    SetScaleCaptions(i, "-32000 to 32000");
  else
    SetScaleCaptions(i, CmbDataType[i].index == 1 ? "0 to 65535" : "-32768 to 32767");
}

void frmAI4::UpdateUnitLabels(int i, int rangeCode) {
  // The listed models other than the switch-less one take the unit from the channel's
  // range; otherwise the range switch decides unless it is set to "F".
  const bool byRange = switchCode[i] == kSwitchByRange || (isListed() && !isSwitchLess());
  SetUnitLabels(i, catalogue::RangeUnitLabel(kUnitList, byRange ? rangeCode : switchCode[i]));
}

void frmAI4::ValuesChanged() {
  for (int i = 0; i < kChannels; ++i) {
    UpdateScaleCaptions(i);
    UpdateUnitLabels(i, cmbUserRange[i].index);
  }
}

void frmAI4::CmbDataType_Click(int index) {
  if (!isDataType() || index < 0 || index >= kChannels) return;
  if (CmbDataType[index].index == 1) {
    txtZScale[index].text = "0";
    txtFScale[index].text = "65535";
  } else {
    txtZScale[index].text = "-32768";
    txtFScale[index].text = "32767";
  }
  UpdateScaleCaptions(index);
}

// ---- Upload -------------------------------------------------------------------------------

bool frmAI4::Init() {
  ResetTabs();
  txt_able(false);
  ProgressOpen(5, "Initializing");
  PrepareControls();

  // Range switch of the module: "SW1:" + switch code.
  const auto moduleSwitch = ReadRangeSwitch(link(), isSwitchLess() ? "SW1:0" : nullptr);
  if (!moduleSwitch) return EndInitQuietly();

  if (behindNetwork()) {
    const std::string hold = link::ValueAfterColon(link().GroupItemReadRetry(kRetry, "00", "14"));
    if (hold.empty()) return EndInitQuietly();
    optKeepOn.value = hold == "ON";
    optKeepOff.value = !optKeepOn.value;
  }

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    if (isDataType()) {
      const auto type = ReadItemValue(link(), "13");
      if (!type) return EndInitQuietly();
      SelectCode(CmbDataType[i], CodeOf(*type));
    }
    UpdateScaleCaptions(i);
    ShowScaling(ch);

    int range = 0;
    if (isSwitchLess()) {
      // "switch,range": this model has a switch per channel and reports it here.
      const auto v = ReadItemValue(link(), "08");
      if (!v) return EndInitQuietly();
      const std::size_t comma = v->find(',');
      switchCode[i] = CodeOf(v->substr(0, comma));
      range = comma == std::string::npos ? 0 : CodeOf(v->substr(comma + 1));
    } else {
      const auto v = ReadItemValue(link(), "09");
      if (!v) return EndInitQuietly();
      switchCode[i] = *moduleSwitch;
      range = CodeOf(*v);
    }
    SelectCode(cmbUserRange[i], range);
    UpdateUnitLabels(i, range);

    if (isListed() && !ReadValidInvalid(link(), cmbInvalid[i])) return EndInitQuietly();
    ProgressStep();
  }

  if (isAI4Model()) {
    const std::string reply = link().GroupItemReadRetry(kRetry, "00", "30");
    if (reply.empty()) return EndInitQuietly();
    const std::string rate = reply.size() >= 13 ? reply.substr(11, 2) : std::string();
    CmbConvSpeed.index = 0;  // anything unknown selects the first rate
    for (int k = 0; k < 4; ++k)
      if (rate == kRateCodes[k]) CmbConvSpeed.index = k;
  } else if (isAveraging()) {
    if (!ReadAveraging(link(), CmbConvSpeed, isDataType() ? kAveragingPosDataType : kAveragingPos))
      return EndInitQuietly();
  }

  ProgressClose();
  cmdSet[1].enabled = true;
  txt_able(true);
  return true;
}

// ---- Download -----------------------------------------------------------------------------

void frmAI4::Download() {
  txt_able(false);
  DisableTabs();
  ProgressOpen(5, "Downloading");

  for (int ch = 1; ch <= channels(); ++ch) {
    const int i = ch - 1;
    if (isDataType()) {
      link().GroupItemWriteRetry(kRetry, std::to_string(ch), "13", IndexText(CmbDataType[i]));
    }
    // Zero scale, full scale, bias, gain; the bases follow from the range.
    LoadAndWriteScaling(link(), ch, values().moduleKind, 4);
    WriteRangeAndValid(link(), cmbUserRange[i], cmbInvalid[i]);
    ProgressStep();
  }

  if (behindNetwork())
    link().GroupItemWriteRetry(kRetry, "00", "14", optKeepOn.value ? "0" : "1");
  if (isAI4Model())
    link().GroupItemWriteRetry(kRetry, "00", "30", IndexText(CmbConvSpeed));
  else if (isAveraging())
    WriteAveraging(link(), CmbConvSpeed);

  ProgressClose();
}

// ---- Live values, check, enable -----------------------------------------------------------

void frmAI4::ReadingData() {
  // Always the four live items "21" to "24", whatever the channel count.
  for (int i = 0; i < kChannels; ++i)
    ReadLiveValue(link(), std::to_string(21 + i), txtParData[i]);
}

ScaleLimits frmAI4::LimitsOf(int i) const {
  if (!isDataType()) return kScaleLimits;
  return CmbDataType[i].index == 1 ? kUnsignedLimits : kSignedLimits;
}

bool frmAI4::CheckData() {
  return CheckScalingChannels(channels(), [this](int i) { return LimitsOf(i); });
}

void frmAI4::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) {
    EnableScaling(i, enable);
    cmbUserRange[i].enabled = enable;
    cmbInvalid[i].enabled = enable;
    CmbDataType[i].enabled = enable;
  }
  optKeepOn.enabled = enable;
  optKeepOff.enabled = enable;
  CmbConvSpeed.enabled = enable;
}

void frmAI4::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  InTab set1(v, "frmSet1"), set2(v, "frmSet2");
  for (int i = 0; i < kChannels; ++i) {
    // The scales' range follows the channel's data type on the models that have one.
    visitScaling(set1, i, LimitsOf(i));
    set2.combo(Setting(Indexed("cmbUserRange", i), "Input range").ch(i), cmbUserRange[i]);
    set2.combo(Setting(Indexed("cmbInvalid", i), "Valid/Invalid").ch(i), cmbInvalid[i]);
    set2.combo(Setting(Indexed("CmbDataType", i), "Data type").ch(i), CmbDataType[i]);
    v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i).in_unit(lblZBase_Unit[i].caption), txtParData[i]);
  }
  set2.label("LabDatatype", LabDatatype);
  // On the AI4 model the list's caption is written over two labels ("Conversion rate / "
  // and "conversion accuracy"); printed and reported, it reads as one.
  const std::string convCaption =
      lblConvSpeed1.visible ? lblConvSpeed1.caption + lblConvSpeed2.caption : lblConvSpeed2.caption;
  v.combo(Setting("CmbConvSpeed", convCaption), CmbConvSpeed);
  v.label("lblConvSpeed1", lblConvSpeed1);
  v.label("lblConvSpeed2", lblConvSpeed2);
  set2.frame("Frame2", Frame2);
  set2.option("optKeepOn", optKeepOn);
  set2.option("optKeepOff", optKeepOff);
}

void frmAI4::Edited(std::string_view name) {
  // A data type chosen for a channel decides its range list and unit labels.
  constexpr std::string_view prefix = "CmbDataType(";
  if (name.rfind(prefix, 0) != 0 || name.size() != prefix.size() + 2) return;
  const int ch = name[prefix.size()] - '0';
  if (ch >= 0 && ch < kChannels) CmbDataType_Click(ch);
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

namespace {

// The five models of the 4-channel page with valid/invalid and a conversion setting.
bool AI4Listed(const RecordStream& io) {
  return io.modelIs("Q5T3NML3-6-AI4") || io.modelIs("Q5T3NML3-6-AIF4") ||
         io.modelIs("Q5T3NML-6-AIF4") || io.modelIs("Q5T3NH-A-AIF4") ||
         io.modelBeginsWith("Q5T3NML3-6-AINF4");
}

}  // namespace

void frmAI4::records(RecordStream& io) {
  io.indexes(cmbUserRange, "cmbUserRange");
  io.endRecord();
  if (AI4Listed(io)) {
    io.index(CmbConvSpeed, "CmbConvSpeed");
  } else {
    io.option(optKeepOn, "optKeepOn");
    io.option(optKeepOff, "optKeepOff");
  }
  io.endRecord();
  if (io.modelBeginsWith("Q5T3NML3-6-AINF4")) {
    io.indexes(CmbDataType, "CmbDataType");
    io.endRecord();
  }
  scalingRecords(io, kChannels);
  if (AI4Listed(io)) {
    io.indexes(cmbInvalid, "cmbInvalid");
    io.endRecord();
  }
}

bool frmAI4::newDefaults(std::string_view model) {
  const bool dataType = model.substr(0, 16) == "Q5T3NML3-6-AINF4";
  for (int i = 0; i < kChannels; ++i) {
    cmbUserRange[i].index = 0;
    CmbDataType[i].index = 0;
    cmbInvalid[i].index = 0;
    SetScalingDefaults(i, dataType ? "-32768" : "0", dataType ? "32767" : "10000", "-10.00",
                       "10.00");
  }
  CmbConvSpeed.index = 0;
  return true;
}

}  // namespace q5::pages
