#include "pages/frmAIF2.h"

#include "catalogue/StartupTables.h"
#include "pages/RecordStream.h"

namespace q5::pages {

namespace {
// The unit texts of frmAIF2: the fifth unit table, always at range code 0 ("V").
constexpr int kUnitList = 5;
}  // namespace

frmAIF2::frmAIF2(PageContext& ctx) : ModulePage(ctx), ChannelScaling(kChannels, checkFailure_) {}

int frmAIF2::channels() const { return ServedChannels(values().channelCount); }

void frmAIF2::PrepareControls() {
  lblV_Unit.caption = catalogue::ModulePartOf(values().model);
  ValuesChanged();
}

void frmAIF2::ValuesChanged() {
  for (int i = 0; i < kChannels; ++i) {
    SetScaleCaptions(i, "-32000 to 32000");
    SetUnitLabels(i, catalogue::RangeUnitLabel(kUnitList, 0));
  }
}

bool frmAIF2::Init() {
  txt_able(false);
  ProgressOpen(3, "Initializing");
  PrepareControls();
  for (int ch = 1; ch <= channels(); ++ch) {
    if (!LoadAndReadScaling(link(), ch, values().moduleKind)) {
      UploadFailure();
      return false;
    }
    ShowScaling(ch);
    ProgressStep();
  }
  ProgressClose();
  txt_able(true);
  return true;
}

void frmAIF2::Download() {
  txt_able(false);
  ProgressOpen(3, "Downloading");
  for (int ch = 1; ch <= channels(); ++ch) {
    // All six, the bases written back as they were read.
    LoadAndWriteScaling(link(), ch, values().moduleKind, kScalingItems);
    ProgressStep();
  }
  ProgressClose();
}

void frmAIF2::ReadingData() {
  for (int i = 0; i < kChannels; ++i)
    ReadLiveValue(link(), std::to_string(21 + i), txtParData[i]);
}

bool frmAIF2::CheckData() {
  return CheckScalingChannels(channels(), [](int) { return kScaleLimits; });
}

void frmAIF2::txt_able(bool enable) {
  for (int i = 0; i < kChannels; ++i) EnableScaling(i, enable);
}

void frmAIF2::visitControls(ControlVisitor& v) {
  ModulePage::visitControls(v);
  for (int i = 0; i < kChannels; ++i) {
    visitScaling(v, i);
    v.text(LiveValue(Indexed("txtParData", i), "Data").ch(i), txtParData[i]);
  }
}

}  // namespace q5::pages

// ---- Configuration file records ---------------------------------------------------------

namespace q5::pages {

void frmAIF2::records(RecordStream& io) {
  scalingRecords(io, kChannels);
}

}  // namespace q5::pages
