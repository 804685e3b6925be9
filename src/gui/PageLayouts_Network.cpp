// The arrangement of the network settings windows: labelled fields (a dotted address as
// four boxes in reading order, the MAC address in its two halves), the sockets of the
// plain Ethernet model as a table, and the window's buttons at its foot.
#include <map>

#include "PageLayout.h"

namespace q5::gui::layout {

namespace {

// Upload, Download and Exit, at the right as a dialog's buttons stand.
Options WindowButtons() {
  return Options{"", {"btnUpload", "btnDownload", "btnExit"}, "", true};
}

// The four boxes of a dotted address: box 3 holds the first number.
std::string Dotted(const std::string& name) {
  return name + "(3) " + name + "(2) " + name + "(1) " + name + "(0)";
}

PageLayout Window(std::vector<Block> blocks) {
  PageLayout l;
  l.top = std::move(blocks);
  l.bottom = {WindowButtons()};
  l.scrolls = false;
  return l;
}

PageLayout Ethernet() {
  const std::string timer = "x0.1s (0 to 32767)";
  return Window({
      Fields{{
          {"IP Address", "", Dotted("txtIP"), ".", "", 3},
          {"Subnet Mask", "", Dotted("txtSNM"), ".", "", 3},
          {"", "Label1", Dotted("txtDGW"), ".", "", 3},
          {"Time Out", "", "txtTimeout(0)", "", timer, 5},
          {"MAC Address", "", "lblMac(0) lblMac(1)", "-"},
          {"", "lblDHCP", "cmbDHCP"},
      }},
      // The sockets of the plain Ethernet model, one column each.
      Table{
          "Frame4",
          {"Label4(0)", "Label4(1)", "Label4(2)", "Label4(3)"},
          {{"Port No.", "", {"txtPort(1)", "txtPort(2)", "txtPort(3)", "txtPort(4)"}},
           {"", "Label4(4)", {"txtTimeout(1)", "txtTimeout(2)", "txtTimeout(3)", "txtTimeout(4)"}},
           {"", "lblLongerTimer", {"Label4(5)", "Label4(6)", "Label4(7)", "Label4(8)"}}},
          5},
  });
}

PageLayout DeviceNet() {
  return Window({Fields{{
      {"Status", "", "cmbStatus"},
      {"Serial ID", "", "txtSerial"},
      {"Time Out", "", "txtTimeout", "", "x0.1s (0 to 32767)", 5},
  }}});
}

PageLayout CCLinkIEField() {
  return Window({Fields{{
      {"Net Work No.", "", "txtNetWorkNo", "", "(1 to 239)", 3},
      {"Station ID", "", "lblID"},
      {"MAC Address", "", "lblMac"},
      {"Link Status", "", "lblStatus"},
  }}});
}

PageLayout Modbus() {
  return Window({Fields{{
      {"Baud Rate", "", "cmbBaudRate"},
      {"Parity", "", "cmbParity"},
      {"Stop Bit", "", "cmbStopBit"},
      {"Word Order", "", "cmbByteOder"},
  }}});
}

}  // namespace

void AddNetworkLayouts(std::map<std::string, PageLayout, std::less<>>& m) {
  m["frmEthernet"] = Ethernet();
  m["frmDeviceNet"] = DeviceNet();
  m["frmCClinkIEField"] = CCLinkIEField();
  m["frmModbus"] = Modbus();
}

}  // namespace q5::gui::layout
