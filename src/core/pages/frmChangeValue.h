#pragma once
// "Change Value": the dialog in which a person types output values while monitoring.
// It never writes to the unit itself: "Change" hands the values to the page's
// WritingData, and the page's next monitoring pass writes them. One dialog serves every
// page with manual outputs (analog output F variants, the PWM page, the linearizer).
#include <array>
#include <string>
#include <string_view>

#include "pages/Controls.h"
#include "ui/UserDialogs.h"

namespace q5::pages {

class ModulePage;

class frmChangeValue {
 public:
  static constexpr int kValues = 4;
  // The largest magnitude a manual value may have.
  static constexpr double kLimit = 32000;

  frmChangeValue();

  // Form_Load: takes the page of the current module kind and the unit's channel count,
  // shows as many value boxes as the page has outputs and copies its present values.
  void Load(ModulePage& page, int channelCount);
  // The dialog was closed; the next opening loads it again. While it stays open, values
  // typed into it are kept (a second click on a live value only brings it forward).
  void Unload() { loaded_ = false; }
  bool loaded() const { return loaded_; }
  // "Change": checks the values and hands them to the page. False (and the "Data Range
  // Error" message) when a value that counts is not a number within +-32000; nothing is
  // queued then.
  bool cmdSet1_Click(ui::UserDialogs& dialogs);
  // Shows the boxes of channels 0 and 1 only, or all four.
  void txt_2ch_visible();
  void txt_3ch_4ch_visible(bool show);

  // Presses a button by name ("cmdSet1"); false for other names.
  bool Press(std::string_view name, ui::UserDialogs& dialogs);
  void visitControls(ControlVisitor& v);
  // The declaration of value box i: -32000 to 32000, checked by "Change".
  ControlInfo ValueInfo(int i) const;

  // The page the dialog was opened for (nullptr before the first Load).
  ModulePage* page() const { return page_; }

  std::string caption = "Change Value";
  std::array<TextBox, kValues> txtParData;
  std::array<Label, kValues> lblCh;  // "CH 0" ... "CH 3"
  Button cmdSet1;                    // "Change"

 private:
  ModulePage* page_ = nullptr;
  int channelCount_ = 0;
  bool loaded_ = false;
};

}  // namespace q5::pages
