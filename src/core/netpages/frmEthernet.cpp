#include "netpages/frmEthernet.h"

#include <cmath>

#include "link/TextRoutines.h"

namespace q5::netpages {

namespace {

using link::ValueAfterColon;

// The EtherNet/IP models, by the beginning of their model string.
constexpr std::string_view kEtherNetIP[] = {
    "Q5T3NEIP-6-BI16", "Q5T3NEIP-6-BO16", "Q5W3NEIP-BI16", "Q5W3NEIP-BO16",
    "Q5W3NEIP-BIO16",  "Q5W3NEIP-BI32",   "Q5W3NEIP-BO32", "Q5Z3UEIP-BIO32",
};

constexpr std::string_view kPlainEthernet = "Q5V3PE-6-BO16";

// A dotted address from the unit into four boxes: the first number to box 3.
void SplitInto(const std::string& value, std::array<pages::TextBox, 4>& boxes) {
  const auto parts = link::SplitDotted(value);
  for (int i = 0; i < 4; ++i) boxes[3 - i].text = parts[i];
}

// The four boxes as the unit takes them: box 3 first, joined with ".".
std::string Joined(const std::array<pages::TextBox, 4>& boxes) {
  return boxes[3].text + "." + boxes[2].text + "." + boxes[1].text + "." + boxes[0].text;
}

// "txtIP(2)" -> {"txtIP", 2}; -1 when the name has no index.
std::pair<std::string_view, int> SplitName(std::string_view name) {
  const auto open = name.find('(');
  if (open == std::string_view::npos || name.back() != ')') return {name, -1};
  const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
  if (digits.size() != 1 || digits[0] < '0' || digits[0] > '9') return {name, -1};
  return {name.substr(0, open), digits[0] - '0'};
}

// The first n characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) != 0x80 && count++ == n) return text.substr(0, i);
  }
  return text;
}

bool AnyEmpty(const pages::TextBox* first, int count) {
  for (int i = 0; i < count; ++i)
    if (first[i].text.empty()) return true;
  return false;
}

// Every box holds a whole number within 0..max.
bool AllWithin(const pages::TextBox* first, int count, long max) {
  for (int i = 0; i < count; ++i) {
    const auto v = WholeNumber(first[i].text);
    if (!v || *v > max) return false;
  }
  return true;
}

}  // namespace

frmEthernet::frmEthernet(NetworkContext& ctx) : NetworkWindow(ctx) {
  caption = "Ethernet Setting";
  Label1.caption = "Default Gateway";
  Frame4.caption = "TCP Socket";
  for (int i = 0; i < 4; ++i) Label4[i].caption = "Port" + std::to_string(i + 1);
  Label4[4].caption = "Linger Timer";
  for (int i = 5; i < 9; ++i) Label4[i].caption = "(x0.1s)";
  lblLongerTimer.caption = "0 to 32767";
  lblDHCP.caption = "Use IP Address";
  cmbDHCP.add("CONFIG");
  cmbDHCP.add("DHCP");
  cmbDHCP.index = 0;
}

bool frmEthernet::IsPlainEthernet() const { return values().model == kPlainEthernet; }

bool frmEthernet::IsEtherNetIP() const {
  for (std::string_view prefix : kEtherNetIP) {
    if (values().model.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

void frmEthernet::txt_able(bool enable) {
  Buttons(enable);
  cmbDHCP.enabled = enable;
  for (auto& t : txtTimeout) t.enabled = enable;
  for (auto* boxes : {&txtIP, &txtSNM, &txtDGW})
    for (auto& t : *boxes) t.enabled = enable;
  // The socket ports are locked as well, so that nothing is typed into a box while its
  // value travels to the unit.
  for (int i = 1; i <= 4; ++i) txtPort[i].enabled = enable;
}

void frmEthernet::ShowGateway(bool show) {
  Label1.visible = show;
  for (auto& t : txtDGW) t.visible = show;
}

void frmEthernet::ShowSockets(bool show) {
  Frame4.visible = show;
  for (auto& l : Label4) l.visible = show;
  for (int i = 1; i <= 4; ++i) {
    txtTimeout[i].visible = show;
    txtPort[i].visible = show;
  }
  lblLongerTimer.visible = show;
}

void frmEthernet::ShowAddressMode(bool show) {
  lblDHCP.visible = show;
  cmbDHCP.visible = show;
}

bool frmEthernet::btnUpload_Click() {
  txt_able(false);
  const bool ok = upload();
  txt_able(true);
  return ok;
}

bool frmEthernet::upload() {
  auto incomplete = [this] {
    UploadIncomplete();
    return false;
  };
  auto& l = link();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) return incomplete();
  if (l.ItemReadRetry(kRetry, "06").empty()) return incomplete();

  const bool plain = IsPlainEthernet();
  const bool eip = IsEtherNetIP();
  ShowGateway(!plain);
  if (!plain) {
    const std::string r = l.ItemReadRetry(kRetry, "25");
    if (r.empty()) return incomplete();
    SplitInto(ValueAfterColon(r), txtDGW);
  }

  std::string r = l.GroupItemReadRetry(kRetry, "00", "51");
  if (r.empty()) return incomplete();
  txtTimeout[0].text = ValueAfterColon(r);

  r = l.GroupItemReadRetry(kRetry, "00", "29");
  if (r.empty()) return incomplete();
  SplitInto(ValueAfterColon(r), txtIP);
  r = l.ItemReadRetry(kRetry, "30");
  if (r.empty()) return incomplete();
  SplitInto(ValueAfterColon(r), txtSNM);

  for (int i = 0; i < 2; ++i) {
    r = l.ItemReadRetry(kRetry, i == 0 ? "27" : "28");
    if (r.empty()) return incomplete();
    lblMac[i].caption = ValueAfterColon(r);
  }

  ShowSockets(!eip);
  if (!eip) {
    for (int i = 1; i <= 4; ++i) {
      r = l.ItemReadRetry(kRetry, std::to_string(30 + i));
      if (r.empty()) return incomplete();
      txtPort[i].text = ValueAfterColon(r);
    }
    for (int i = 1; i <= 4; ++i) {
      r = l.ItemReadRetry(kRetry, std::to_string(40 + i));
      if (r.empty()) return incomplete();
      // The linger timers come as "tag:unit:value".
      txtTimeout[i].text = ValueAfterColon(ValueAfterColon(r));
    }
  }

  const bool addressMode = !plain && !eip;
  ShowAddressMode(addressMode);
  if (addressMode) {
    cmbDHCP.clear();
    cmbDHCP.add("CONFIG");
    cmbDHCP.add("DHCP");
    r = l.ItemReadRetry(kRetry, "31");
    if (r.empty()) return incomplete();
    if (const auto v = IndexValue(ValueAfterColon(ValueAfterColon(r)))) cmbDHCP.selectCode(*v);
  }
  return true;
}

std::optional<std::string> frmEthernet::EntryError() const {
  const bool plain = IsPlainEthernet();
  const bool eip = IsEtherNetIP();
  // Empty boxes first, in the order a person reads the window.
  if (AnyEmpty(txtIP.data(), 4)) return "Please enter number in IP Address.";
  if (AnyEmpty(txtSNM.data(), 4)) return "Please enter number in Subnet Mask.";
  if (!eip && AnyEmpty(&txtPort[1], 4)) return "Please enter number in TCP Port No.";
  if (!plain && AnyEmpty(txtDGW.data(), 4)) return "Please enter number in Default Gateway.";
  if (txtTimeout[0].text.empty()) return "Please enter number in TimeOut Box.";
  if (!eip && AnyEmpty(&txtTimeout[1], 4)) return "Please enter number in TimeOut Box.";
  // Then the numbers: an address number outside 0..255 would give the unit an address
  // it cannot use.
  if (!AllWithin(txtIP.data(), 4, 255) || !AllWithin(txtSNM.data(), 4, 255) ||
      (!plain && !AllWithin(txtDGW.data(), 4, 255)))
    return "Please enter 0 to 255.";
  if (!AllWithin(&txtTimeout[0], 1, 32767) ||
      (!eip && (!AllWithin(&txtPort[1], 4, 32767) || !AllWithin(&txtTimeout[1], 4, 32767))))
    return "Please enter 0 to 32767.";
  return std::nullopt;
}

bool frmEthernet::btnDownload_Click() {
  txt_able(false);
  const bool ok = download();
  txt_able(true);
  return ok;
}

bool frmEthernet::download() {
  auto& l = link();
  if (l.GroupItemWriteRetry(kRetry, "00", "01", "F").empty()) {
    DownloadIncomplete();
    return false;
  }
  // Every entry is checked before the first setting is written, so that a refused
  // entry never leaves the unit with half a new interface.
  if (const auto error = EntryError()) {
    RefuseEntry(*error);
    return false;
  }
  bool accepted = true;
  auto write = [&](const std::string& item, const std::string& data) {
    if (l.ItemWriteRetry(kRetry, item, data).empty()) accepted = false;
  };
  write("51", txtTimeout[0].text);
  write("29", Joined(txtIP));
  write("30", Joined(txtSNM));
  if (l.ItemReadRetry(kRetry, "06").empty()) {
    DownloadIncomplete();
    return false;
  }

  const bool plain = IsPlainEthernet();
  const bool eip = IsEtherNetIP();
  ShowGateway(!plain);
  if (!plain) write("25", Joined(txtDGW));
  ShowSockets(!eip);
  if (!eip) {
    for (int i = 1; i <= 4; ++i) write(std::to_string(30 + i), txtPort[i].text);
    for (int i = 1; i <= 4; ++i) write(std::to_string(40 + i), txtTimeout[i].text);
  }
  if (plain) {
    ShowAddressMode(false);
  } else if (!eip) {
    ShowAddressMode(true);
    write("31", cmbDHCP.code());
  } else {
    ShowAddressMode(false);
    write("31", "0");
  }
  const bool refreshed = upload();
  return accepted && refreshed;
}

void frmEthernet::visitControls(pages::ControlVisitor& v) {
  using pages::Indexed;
  for (int i = 3; i >= 0; --i) v.text(pages::Setting(Indexed("txtIP", i), "IP Address"), txtIP[i]);
  for (int i = 3; i >= 0; --i) v.text(pages::Setting(Indexed("txtSNM", i), "Subnet Mask"), txtSNM[i]);
  v.label("Label1", Label1);
  for (int i = 3; i >= 0; --i) v.text(pages::Setting(Indexed("txtDGW", i), "Default Gateway"), txtDGW[i]);
  // Timers count tenths of a second, as the page's "(x0.1s)" says.
  v.text(pages::Setting("txtTimeout(0)", "Time Out (x0.1s)").in_unit("x0.1s"), txtTimeout[0]);
  v.label("lblMac(0)", lblMac[0]);
  v.label("lblMac(1)", lblMac[1]);
  v.frame("Frame4", Frame4);
  for (int i = 0; i < 9; ++i) v.label(Indexed("Label4", i), Label4[i]);
  for (int i = 1; i <= 4; ++i)
    v.text(pages::Setting(Indexed("txtPort", i), "Port" + std::to_string(i)), txtPort[i]);
  for (int i = 1; i <= 4; ++i)
    v.text(pages::Setting(Indexed("txtTimeout", i), "Linger Timer" + std::to_string(i)).in_unit("x0.1s"), txtTimeout[i]);
  v.label("lblLongerTimer", lblLongerTimer);
  v.label("lblDHCP", lblDHCP);
  v.combo(pages::Setting("cmbDHCP", "Use IP Address"), cmbDHCP);
  NetworkWindow::visitControls(v);
}

void frmEthernet::Edited(std::string_view name) {
  const auto [base, i] = SplitName(name);
  if (i < 0) return;
  pages::TextBox* box = nullptr;
  if (base == "txtIP" && i < 4) box = &txtIP[i];
  if (base == "txtSNM" && i < 4) box = &txtSNM[i];
  if (base == "txtDGW" && i < 4) box = &txtDGW[i];
  if (box) {
    // An address number has at most three digits: the box keeps its first three
    // characters (whole characters, never half of one).
    box->text = FirstCharacters(box->text, 3);
    const int v = link::CheckNumberInput(box->text, dialogs());
    if (v > 255 || v < 0) Warn("Please enter 0 to 255.");
    return;
  }
  if (base == "txtTimeout" && i == 0) {
    if (link::CheckNumberInput(txtTimeout[0].text, dialogs()) < 0) Warn("Please enter 0 to 32767.");
    return;
  }
  if (base == "txtTimeout" && i <= 4) {
    link::CheckNumberInput(txtTimeout[i].text, dialogs());
    return;
  }
  if (base == "txtPort" && i >= 1 && i <= 4) link::CheckNumberInput(txtPort[i].text, dialogs());
}

}  // namespace q5::netpages
