#include "pages/ModulePage.h"

namespace q5::pages {

void ModulePage::visitControls(ControlVisitor& v) {
  v.label(Info("lblV_Unit", Role::ShownOnly, "Type"), lblV_Unit);
  for (std::size_t i = 0; i < cmdSet.size(); ++i) {
    v.button(Info("cmdSet" + std::to_string(i + 1), Role::Tab, cmdSet[i].caption), cmdSet[i]);
    v.frame(Info("frmSet" + std::to_string(i + 1), Role::Tab, frmSet[i].caption), frmSet[i]);
  }
}

bool ModulePage::Press(std::string_view name) {
  if (name.rfind("cmdSet", 0) == 0) {
    const std::string_view digits = name.substr(6);
    if (digits.empty() || digits.size() > 2) return false;
    int n = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      n = n * 10 + (c - '0');
    }
    if (n < 1 || n > static_cast<int>(cmdSet.size())) return false;
    cmdSet_Click(n);
    return true;
  }
  constexpr std::string_view live = "txtParData(";
  if (name.rfind(live, 0) == 0 && name.size() > live.size() + 1 && name.back() == ')') {
    const std::string_view digits = name.substr(live.size(), name.size() - live.size() - 1);
    int i = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      i = i * 10 + (c - '0');
      if (i > 64) return false;
    }
    if (manualOutputCount() == 0) return false;
    txtParData_Click(i);
    return true;
  }
  return false;
}

bool ModulePage::txtParData_Click(int index) {
  // Clicking a value box while not monitoring does nothing.
  if (!Monitoring() || manualOutputCount() == 0) return false;
  if (!ctx_.openChangeValue) return false;
  ctx_.openChangeValue();
  return true;
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
  ctx_.dialogs.failureMessage(ui::MessageCause::of(ui::FailureKind::Upload), "Upload Error", "Upload", ui::Icon::Error);
  if (ctx_.disconnect) ctx_.disconnect();
}

void ModulePage::RangeMessage(const std::string& text, const std::string& control,
                              const std::string& why) {
  ui::MessageCause cause;
  cause.kind = ui::FailureKind::DataRange;
  cause.control = control;
  cause.why = why;
  ctx_.dialogs.failureMessage(cause, text, "Data Range Error", ui::Icon::Error);
}

}  // namespace q5::pages
