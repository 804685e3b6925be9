#include "netpages/frmCClinkIEField.h"

#include "link/TextRoutines.h"

namespace q5::netpages {

using link::ValueAfterColon;

frmCClinkIEField::frmCClinkIEField(NetworkContext& ctx) : NetworkWindow(ctx) {
  caption = "CC-Link IE Field Setting";
  txtNetWorkNo.maxLength = 3;
}

std::string frmCClinkIEField::MacCaption(std::string_view value) {
  std::string s;
  for (std::size_t i = 0; i < 12; i += 2) {
    if (i > 0) s += '-';
    if (i < value.size()) s += value.substr(i, 2);
  }
  return s;
}

void frmCClinkIEField::txt_able(bool enable) {
  Buttons(enable);
  txtNetWorkNo.enabled = enable;
}

bool frmCClinkIEField::btnUpload_Click() {
  txt_able(false);
  const bool ok = upload();
  txt_able(true);
  return ok;
}

bool frmCClinkIEField::upload() {
  auto& l = link();
  auto incomplete = [this] {
    UploadIncomplete();
    return false;
  };
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) return incomplete();
  if (l.ItemReadRetry(kRetry, "06").empty()) return incomplete();
  std::string r = l.ItemReadRetry(kRetry, "41");
  if (r.empty()) return incomplete();
  txtNetWorkNo.text = ValueAfterColon(r);
  r = l.ItemReadRetry(kRetry, "43");
  if (r.empty()) return incomplete();
  lblID.caption = ValueAfterColon(r);
  r = l.ItemReadRetry(kRetry, "40");
  if (r.empty()) return incomplete();
  lblMac.caption = MacCaption(ValueAfterColon(r));
  r = l.ItemReadRetry(kRetry, "45");
  if (r.empty()) return incomplete();
  lblStatus.caption = ValueAfterColon(r);
  return true;
}

bool frmCClinkIEField::btnDownload_Click() {
  txt_able(false);
  const bool ok = download();
  txt_able(true);
  return ok;
}

bool frmCClinkIEField::download() {
  auto& l = link();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) {
    DownloadIncomplete();
    return false;
  }
  if (txtNetWorkNo.text.empty()) {
    RefuseEntry("Please enter number in Net Work No. Box.");
    return false;
  }
  const auto v = WholeNumber(txtNetWorkNo.text);
  if (!v || *v < 1 || *v > 239) {
    RefuseEntry("Please enter 1 to 239.");
    return false;
  }
  const bool accepted = !l.ItemWriteRetry(kRetry, "41", txtNetWorkNo.text).empty();
  const bool refreshed = upload();
  return accepted && refreshed;
}

void frmCClinkIEField::visitControls(pages::ControlVisitor& v) {
  v.text(pages::Setting("txtNetWorkNo", "Net Work No."), txtNetWorkNo);
  v.label("lblID", lblID);
  v.label("lblMac", lblMac);
  v.label("lblStatus", lblStatus);
  NetworkWindow::visitControls(v);
}

void frmCClinkIEField::Edited(std::string_view name) {
  if (name != "txtNetWorkNo") return;
  // An empty box, or one CheckNumberInput answered itself, gives 0 and passes here.
  const int v = link::CheckNumberInput(txtNetWorkNo.text, dialogs());
  if (v != 0 && (v < 1 || v > 239)) Warn("Please enter 1 to 239.");
}

}  // namespace q5::netpages
