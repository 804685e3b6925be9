#include "pages/frmChangeValue.h"

#include <cmath>
#include <vector>

#include "link/TextRoutines.h"
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
  // The box a failed check names, as the cause of its "Data Range Error": a box of this
  // dialog, not the page's live value of the same name.
  auto refuse = [&dialogs](const std::string& text, int i, const std::string& why) {
    ui::MessageCause cause;
    cause.kind = ui::FailureKind::DataRange;
    cause.control = "frmChangeValue." + Indexed("txtParData", i);
    cause.why = why;
    dialogs.failureMessage(cause, text, "Data Range Error", ui::Icon::Error);
    return false;
  };
  for (int i = 0; i < checked; ++i) {
    if (!InDeclaredRange(ValueInfo(i), v[i])) {
      // The value named as the dialog heads it; nothing goes to the unit.
      // The text says why already.
      return refuse("Data Error \r\nCheck data range.\r\n" + lblCh[i].caption + " is \"" +
                        link::EscapeControls(v[i]) +
                        "\": enter a number from -32000 to 32000. Nothing was sent.",
                    i, {});
    }
    // The number goes out as it was read, without the blanks around it.
    v[i] = TrimmedNumber(v[i]);
  }
  // Pages with one output (the linearizer) take the first value only.
  const int handed = page_->manualOutputCount() == 1 ? 1 : kValues;
  // The values not checked above (the hidden boxes of a unit with fewer channels) are
  // handed over as they stand; none of them may carry a control character or be longer
  // than a number can be, since each goes into a line of its own to the unit.
  for (int i = checked; i < handed; ++i)
    if (!SafeLineText(v[i]))
      return refuse("Data Error \r\nCheck data range.", i,
                    lblCh[i].caption + " holds \"" + link::EscapeControls(v[i]) + "\".");
  page_->WritingData(std::vector<std::string>(v.begin(), v.begin() + handed));
  return true;
}

bool frmChangeValue::Press(std::string_view name, ui::UserDialogs& dialogs) {
  if (name != "cmdSet1") return false;
  cmdSet1_Click(dialogs);
  return true;
}

ControlInfo frmChangeValue::ValueInfo(int i) const {
  return Setting(Indexed("txtParData", i), lblCh[i].caption)
      .ch(i)
      .range(-kLimit, kLimit)
      .checkedOn("cmdSet1");
}

void frmChangeValue::visitControls(ControlVisitor& v) {
  for (int i = 0; i < kValues; ++i) {
    v.label(Indexed("lblCh", i), lblCh[i]);
    v.text(ValueInfo(i), txtParData[i]);
  }
  v.button("cmdSet1", cmdSet1);
}

}  // namespace q5::pages
