#pragma once
// "Modbus Setting": baud rate, parity, stop bits and word order of the unit's Modbus
// line, each as the index of its list.
#include <string>

#include "netpages/NetworkWindow.h"

namespace q5::netpages {

class frmModbus : public NetworkWindow {
 public:
  explicit frmModbus(NetworkContext& ctx);
  std::string_view name() const override { return "frmModbus"; }

  bool btnUpload_Click() override;
  bool btnDownload_Click() override;
  void visitControls(pages::ControlVisitor& v) override;

  // Enables or disables the buttons and lists together.
  void txt_able(bool enable);

  pages::ComboBox cmbBaudRate;  // "38400 bps", "19200 bps", " 9600 bps", " 4800 bps"
  pages::ComboBox cmbParity;    // "ODD", "EVEN", "NONE"
  pages::ComboBox cmbStopBit;   // "1 bit", "2 bit"; the unit takes the number of bits
  pages::ComboBox cmbByteOder;  // word order

 private:
  bool upload();
};

}  // namespace q5::netpages
