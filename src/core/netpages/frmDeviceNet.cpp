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
  cmbStatus.backColour = kButtonFace;
  txtSerial.enabled = false;
  txtSerial.backColour = kButtonFace;
  txtTimeout.maxLength = 5;
  txtTimeout.locked = true;
  txtTimeout.backColour = kButtonFace;
  // Until the first complete upload there is nothing to write.
  btnDownload.enabled = false;
}

bool frmDeviceNet::btnUpload_Click() { return upload(true); }

bool frmDeviceNet::upload(bool tell) {
  Buttons(false);
  auto& l = link();
  auto failed = [&] {
    if (tell) UploadIncomplete();
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

  txtTimeout.locked = false;
  txtTimeout.backColour = kWindowWhite;
  Buttons(true);
  return true;
}

bool frmDeviceNet::btnDownload_Click() {
  txtTimeout.backColour = kButtonFace;
  txtTimeout.locked = true;
  Buttons(false);
  bool reported = false;
  const bool written = download(reported);
  if (!written) {
    // After a failure the box stays locked but white; the upload below shows what
    // the unit holds.
    txtTimeout.locked = true;
  }
  txtTimeout.backColour = kWindowWhite;
  Buttons(true);
  // A click says what went wrong once: when the download already did ("Downloading
  // incomplete", a refused entry), a re-read that fails as well (a unit that stopped
  // answering) disconnects without a second message.
  const bool refreshed = upload(!reported);
  return written && refreshed;
}

bool frmDeviceNet::download(bool& reported) {
  auto& l = link();
  auto incomplete = [&] {
    DownloadIncomplete();
    reported = true;
    return false;
  };
  auto refuse = [&](const std::string& text) {
    RefuseEntry(text);
    reported = true;
    return false;
  };
  if (l.GroupItemReadRetry(kRetry, "00", "01").empty()) return incomplete();
  if (txtTimeout.text.empty() || !NumericValue(txtTimeout.text))
    return refuse("Please enter number in TimeOut Box.");
  // A number the unit can hold: whole, 0 to 32767.
  const auto v = WholeNumber(txtTimeout.text);
  if (!v || *v > 32767) return refuse("Please enter 0 to 32767.");
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "1").empty()) return incomplete();
  return !l.GroupItemWriteRetry(kRetry, "00", "51", txtTimeout.text).empty();
}

void frmDeviceNet::visitControls(pages::ControlVisitor& v) {
  v.combo(pages::ShownValue("cmbStatus", "Status"), cmbStatus);
  v.text(pages::ShownValue("txtSerial", "Serial ID"), txtSerial);
  v.text(pages::Setting("txtTimeout", "Time Out (x0.1s)").in_unit("x0.1s"), txtTimeout);
  NetworkWindow::visitControls(v);
}

void frmDeviceNet::Edited(std::string_view name) {
  if (name != "txtTimeout") return;
  if (link::CheckNumberInput(txtTimeout.text, dialogs()) < 0) Warn("Please enter 0 to 32767.");
}

}  // namespace q5::netpages
