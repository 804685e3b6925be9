#pragma once
// "CC-Link IE Field Setting": the network number (1 to 239) and, shown only, the
// station ID, the MAC address and the link status.
#include <string>

#include "netpages/NetworkWindow.h"

namespace q5::netpages {

class frmCClinkIEField : public NetworkWindow {
 public:
  explicit frmCClinkIEField(NetworkContext& ctx);
  std::string_view name() const override { return "frmCClinkIEField"; }

  bool btnUpload_Click() override;
  bool btnDownload_Click() override;
  void visitControls(pages::ControlVisitor& v) override;
  void Edited(std::string_view name) override;

  // Enables or disables the buttons and the network number box together.
  void txt_able(bool enable);

  pages::TextBox txtNetWorkNo;  // "Net Work No."
  pages::Label lblID;           // "Station ID"
  pages::Label lblMac;          // "MAC Address", six pairs joined by "-"
  pages::Label lblStatus;       // "Link Status"

  // 12 hexadecimal characters as six pairs joined by "-" ("0011223344AB" gives
  // "00-11-22-33-44-AB").
  static std::string MacCaption(std::string_view value);

 private:
  bool upload();
  bool download();
};

}  // namespace q5::netpages
