#include "pages/ModulePage.h"

namespace q5::pages {

void ModulePage::visitControls(ControlVisitor& v) {
  v.label("lblV_Unit", lblV_Unit);
  for (std::size_t i = 0; i < cmdSet.size(); ++i) {
    v.button("cmdSet" + std::to_string(i + 1), cmdSet[i]);
    v.frame("frmSet" + std::to_string(i + 1), frmSet[i]);
  }
}

void ModulePage::cmdSet_Click(int n) {
  for (std::size_t i = 0; i < cmdSet.size(); ++i) {
    const bool current = static_cast<int>(i) + 1 == n;
    frmSet[i].visible = current;
    cmdSet[i].enabled = !current;
  }
}

void ModulePage::MakeTabs(const std::vector<std::string>& captions) {
  cmdSet.assign(captions.size(), Button{});
  frmSet.assign(captions.size(), Frame{});
  for (std::size_t i = 0; i < captions.size(); ++i) {
    cmdSet[i].caption = captions[i];
    frmSet[i].visible = i == 0;
  }
}

void ModulePage::ResetTabs() {
  for (std::size_t i = 0; i < cmdSet.size(); ++i) {
    frmSet[i].visible = i == 0;
    cmdSet[i].enabled = false;
  }
}

void ModulePage::DisableTabs() {
  for (auto& b : cmdSet) b.enabled = false;
}

void ModulePage::UploadFailure() {
  // The progress window goes with the failed Init rather than staying on screen.
  ProgressClose();
  ctx_.dialogs.message("Upload Error", "Upload", ui::Icon::Error);
  if (ctx_.disconnect) ctx_.disconnect();
}

}  // namespace q5::pages
