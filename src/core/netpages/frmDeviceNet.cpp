#include "netpages/frmDeviceNet.h"

#include "link/TextRoutines.h"

namespace q5::netpages {

using link::ValueAfterColon;

frmDeviceNet::frmDeviceNet(NetworkContext& ctx) : NetworkWindow(ctx) {
  caption = "DeviceNet Setting";
  cmbStatus.add("OFF");
  cmbStatus.add("ON");
  cmbStatus.index = 0;
  cmbStatus.enabled = false;
  txtSerial.enabled = false;
  txtTimeout.maxLength = 5;
  // Until the first complete upload there is nothing to write.
  btnDownload.enabled = false;
}

bool frmDeviceNet::btnUpload_Click() {
  Buttons(false);
  auto& l = link();
  auto failed = [&] {
    UploadIncomplete();
    // The unit stopped answering: the connection is given up, and only Upload and Exit
    // stay usable.
    if (ctx_.disconnect) ctx_.disconnect();
    btnUpload.enabled = true;
    btnExit.enabled = true;
    btnDownload.enabled = false;
    return false;
  };
  if (l.GroupItemReadRetry(kRetry, "00", "01").empty()) return failed();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "1").empty()) return failed();

  std::string r = l.GroupItemReadRetry(kRetry, "00", "52");
  if (r.empty()) return failed();
  // Status 0 is "OFF", any other number "ON".
  if (const auto v = NumericValue(ValueAfterColon(r))) cmbStatus.index = *v == 0 ? 0 : 1;

  r = l.GroupItemReadRetry(kRetry, "00", "60");
  if (r.empty()) return failed();
  txtSerial.text = ValueAfterColon(r);

  r = l.GroupItemReadRetry(kRetry, "00", "51");
  if (r.empty()) return failed();
  txtTimeout.text = ValueAfterColon(r);

  txtTimeoutLocked = false;
  txtTimeoutBackColor = kWindowWhite;
  Buttons(true);
  return true;
}

bool frmDeviceNet::btnDownload_Click() {
  txtTimeoutBackColor = kButtonFace;
  txtTimeoutLocked = true;
  Buttons(false);
  const bool written = download();
  if (!written) {
    // After a failure the box stays locked but white; the upload below shows what
    // the unit holds.
    txtTimeoutLocked = true;
  }
  txtTimeoutBackColor = kWindowWhite;
  Buttons(true);
  const bool refreshed = btnUpload_Click();
  return written && refreshed;
}

bool frmDeviceNet::download() {
  auto& l = link();
  if (l.GroupItemReadRetry(kRetry, "00", "01").empty()) {
    DownloadIncomplete();
    return false;
  }
  if (txtTimeout.text.empty() || !NumericValue(txtTimeout.text)) {
    RefuseEntry("Please enter number in TimeOut Box.");
    return false;
  }
  // A number the unit can hold: whole, 0 to 32767.
  const auto v = WholeNumber(txtTimeout.text);
  if (!v || *v > 32767) {
    RefuseEntry("Please enter 0 to 32767.");
    return false;
  }
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "1").empty()) {
    DownloadIncomplete();
    return false;
  }
  return !l.GroupItemWriteRetry(kRetry, "00", "51", txtTimeout.text).empty();
}

void frmDeviceNet::visitControls(pages::ControlVisitor& v) {
  v.combo("cmbStatus", "Status", cmbStatus);
  v.text("txtSerial", "Serial ID", txtSerial);
  v.text("txtTimeout", "Time Out (x0.1s)", txtTimeout);
  NetworkWindow::visitControls(v);
}

void frmDeviceNet::Edited(std::string_view name) {
  if (name != "txtTimeout") return;
  if (link::CheckNumberInput(txtTimeout.text, dialogs()) < 0) Warn("Please enter 0 to 32767.");
}

}  // namespace q5::netpages
