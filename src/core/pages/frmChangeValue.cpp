#include "pages/frmChangeValue.h"

#include <cmath>
#include <vector>

#include "pages/ChannelScaling.h"
#include "pages/ModulePage.h"

namespace q5::pages {

frmChangeValue::frmChangeValue() {
  for (int i = 0; i < kValues; ++i) lblCh[i].caption = "CH " + std::to_string(i);
  cmdSet1.caption = "Change";
}

void frmChangeValue::txt_2ch_visible() {
  for (int i = 0; i < kValues; ++i) {
    txtParData[i].visible = i < 2;
    lblCh[i].visible = i < 2;
  }
}

void frmChangeValue::txt_3ch_4ch_visible(bool show) {
  for (int i = 2; i < kValues; ++i) {
    txtParData[i].visible = show;
    lblCh[i].visible = show;
  }
}

void frmChangeValue::Load(ModulePage& page, int channelCount) {
  page_ = &page;
  channelCount_ = channelCount;
  loaded_ = true;
  const int shown = page.manualOutputCount();
  for (int i = 0; i < kValues; ++i) {
    txtParData[i].visible = i < shown;
    lblCh[i].visible = i < shown;
    // The present output values; boxes the page does not use keep what they held.
    if (i < shown) txtParData[i].text = page.manualOutputValue(i);
  }
}

bool frmChangeValue::cmdSet1_Click(ui::UserDialogs& dialogs) {
  if (!page_) return false;
  std::array<std::string, kValues> v;
  for (int i = 0; i < kValues; ++i) v[i] = txtParData[i].text;
  // A one-channel unit has no second output: its value goes out as "0".
  if (channelCount_ == 1) v[1] = "0";
  const int checked = channelCount_ == 4 ? 4 : 2;
  for (int i = 0; i < checked; ++i) {
    const bool ok = IsNumeric(v[i]) && std::fabs(NumericValue(v[i])) <= kLimit;
    if (!ok) {
      dialogs.message("Data Error \r\nCheck data range.", "Data Range Error", ui::Icon::Error);
      return false;
    }
  }
  // Pages with one output (the linearizer) take the first value only.
  const int handed = page_->manualOutputCount() == 1 ? 1 : kValues;
  page_->WritingData(std::vector<std::string>(v.begin(), v.begin() + handed));
  return true;
}

bool frmChangeValue::Press(std::string_view name, ui::UserDialogs& dialogs) {
  if (name != "cmdSet1") return false;
  cmdSet1_Click(dialogs);
  return true;
}

void frmChangeValue::visitControls(ControlVisitor& v) {
  for (int i = 0; i < kValues; ++i) {
    v.label(Indexed("lblCh", i), lblCh[i]);
    v.text(Setting(Indexed("txtParData", i), lblCh[i].caption).ch(i), txtParData[i]);
  }
  v.button("cmdSet1", cmdSet1);
}

}  // namespace q5::pages
