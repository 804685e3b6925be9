#pragma once
// "DeviceNet Setting": the interface's status and serial ID (shown only) and its
// communication time-out. The window writes "1" to item "01" of group "00" before it
// reads or writes, where the other network windows write "F".
#include <string>

#include "netpages/NetworkWindow.h"

namespace q5::netpages {

class frmDeviceNet : public NetworkWindow {
 public:
  explicit frmDeviceNet(NetworkContext& ctx);
  std::string_view name() const override { return "frmDeviceNet"; }

  bool btnUpload_Click() override;
  bool btnDownload_Click() override;
  void visitControls(pages::ControlVisitor& v) override;
  void Edited(std::string_view name) override;

  pages::ComboBox cmbStatus;  // "OFF", "ON"; shown only
  pages::TextBox txtSerial;   // shown only
  // x0.1 s, 0 to 32767. Locked until a complete upload; its back colour is white while
  // it can be edited, button-face grey while a download runs. cmbStatus and txtSerial
  // are always locked and grey.
  pages::TextBox txtTimeout;

 private:
  // The reads; tell: "Uploading incomplete" when one fails (the unit is disconnected
  // either way).
  bool upload(bool tell);
  // The checks and writes; reported is set once a message said what went wrong.
  bool download(bool& reported);
};

}  // namespace q5::netpages
