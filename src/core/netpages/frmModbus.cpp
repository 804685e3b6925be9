#include "netpages/frmModbus.h"

#include <cmath>

#include "link/TextRoutines.h"

namespace q5::netpages {

frmModbus::frmModbus(NetworkContext& ctx) : NetworkWindow(ctx) {
  caption = "Modbus Setting";
  // The blanks in front of the four-digit rates keep the numbers aligned.
  for (const char* s : {"38400 bps", "19200 bps", " 9600 bps", " 4800 bps"}) cmbBaudRate.add(s);
  for (const char* s : {"ODD", "EVEN", "NONE"}) cmbParity.add(s);
  for (const char* s : {"1 bit", "2 bit"}) cmbStopBit.add(s);
  for (const char* s : {"Upper(n+1) Lower(n)", "Lower(n+1) Upper(n)"}) cmbByteOder.add(s);
  cmbBaudRate.index = 0;
  cmbParity.index = 0;
  cmbStopBit.index = 0;
  cmbByteOder.index = 1;
}

void frmModbus::txt_able(bool enable) {
  Buttons(enable);
  for (auto* c : {&cmbBaudRate, &cmbParity, &cmbStopBit, &cmbByteOder}) c->enabled = enable;
}

bool frmModbus::btnUpload_Click() {
  txt_able(false);
  const bool ok = upload();
  txt_able(true);
  return ok;
}

bool frmModbus::upload() {
  auto& l = link();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) {
    UploadIncomplete();
    return false;
  }
  struct Row {
    const char* item;
    pages::ComboBox* box;
    int offset;  // stop bits travel as their number, the list counts from 0
  };
  const Row rows[] = {{"08", &cmbBaudRate, 0},
                      {"09", &cmbParity, 0},
                      {"10", &cmbStopBit, -1},
                      {"11", &cmbByteOder, 0}};
  for (const Row& row : rows) {
    const std::string r = l.ItemReadRetry(kRetry, row.item);
    if (r.empty()) {
      UploadIncomplete();
      return false;
    }
    // A value that is not a number leaves the selection as it was.
    if (const auto v = IndexValue(link::ValueAfterColon(r))) row.box->selectCode(*v + row.offset);
  }
  return true;
}

bool frmModbus::btnDownload_Click() {
  txt_able(false);
  auto& l = link();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) {
    DownloadIncomplete();
    txt_able(true);
    return false;
  }
  bool accepted = true;
  auto write = [&](const char* item, const std::string& data) {
    if (l.ItemWriteRetry(kRetry, item, data).empty()) accepted = false;
  };
  write("08", cmbBaudRate.code());
  write("09", cmbParity.code());
  write("10", std::to_string(std::stoi(cmbStopBit.code()) + 1));
  write("11", cmbByteOder.code());
  const bool refreshed = upload();
  txt_able(true);
  return accepted && refreshed;
}

void frmModbus::visitControls(pages::ControlVisitor& v) {
  v.combo(pages::Setting("cmbBaudRate", "Baud Rate"), cmbBaudRate);
  v.combo(pages::Setting("cmbParity", "Parity"), cmbParity);
  v.combo(pages::Setting("cmbStopBit", "Stop Bit"), cmbStopBit);
  v.combo(pages::Setting("cmbByteOder", "Word Order"), cmbByteOder);
  NetworkWindow::visitControls(v);
}

}  // namespace q5::netpages
