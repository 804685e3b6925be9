#pragma once
// "Ethernet Setting": IP address, subnet mask, default gateway, communication time-out
// and MAC address of a unit with an Ethernet interface; the plain Ethernet model also
// has four TCP socket ports with their linger timers, and the Ethernet models that are
// neither plain nor EtherNet/IP choose between a configured address and DHCP. All items
// are in group "00".
#include <array>
#include <optional>
#include <string>

#include "netpages/NetworkWindow.h"

namespace q5::netpages {

class frmEthernet : public NetworkWindow {
 public:
  explicit frmEthernet(NetworkContext& ctx);
  std::string_view name() const override { return "frmEthernet"; }

  bool btnUpload_Click() override;
  bool btnDownload_Click() override;
  void visitControls(pages::ControlVisitor& v) override;
  void Edited(std::string_view name) override;

  // Enables or disables the buttons and entry controls together.
  void txt_able(bool enable);

  // The model groups that read and write different items.
  bool IsPlainEthernet() const;
  bool IsEtherNetIP() const;

  // Address boxes: box 3 holds the first number of the dotted address, box 0 the last.
  std::array<pages::TextBox, 4> txtIP;
  std::array<pages::TextBox, 4> txtSNM;
  std::array<pages::TextBox, 4> txtDGW;
  pages::Label Label1;  // "Default Gateway"
  // txtTimeout(0): the communication time-out; (1..4): the linger timers of the sockets.
  std::array<pages::TextBox, 5> txtTimeout;
  std::array<pages::Label, 2> lblMac;
  pages::Frame Frame4;                 // "TCP Socket"
  std::array<pages::TextBox, 5> txtPort;  // ports 1..4 (element 0 unused)
  std::array<pages::Label, 9> Label4;  // captions of the socket rows
  pages::Label lblLongerTimer;         // "0 to 32767"
  pages::Label lblDHCP;                // "Use IP Address"
  pages::ComboBox cmbDHCP;             // "CONFIG", "DHCP"

 private:
  bool upload();
  bool download();
  // The first entry that may not be written, as its message.
  std::optional<std::string> EntryError() const;
  void ShowGateway(bool show);
  void ShowSockets(bool show);
  void ShowAddressMode(bool show);
};

}  // namespace q5::netpages
