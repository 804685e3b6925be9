// The network items of the simulated unit, by the network interface its model names:
//
//   Ethernet (group "00"), every model:
//     "51" "TIMEOUT:" + time-out (x0.1 s, 0..32767)
//     "29" "IP:" + dotted address, "30" "SNM:" + subnet mask (four numbers 0..255)
//     "27" "MAC1:" + first half, "28" "MAC2:" + second half of the MAC address (read only)
//     "25" "DGW:" + default gateway; the plain Ethernet model has none (CNU)
//   plain Ethernet and the other non-EtherNet/IP models:
//     "31".."34" "PORT:" + TCP socket port, "41".."44" "LINGER:T" + n + ":" + timer
//     (on the models with an address mode "31" is also that mode: 0 CONFIG, 1 DHCP)
//   EtherNet/IP models: "31" "IPMODE:" + 0 or 1; no sockets (CNU)
//   DeviceNet: "52" "STATUS:" + 0/1/2, "60" "SERIAL:" + serial ID (both read only),
//     "51" "TIMEOUT:" + time-out; item "01" also accepts the write "1"
//   CC-Link IE Field: "41" "NETNO:" + network number (1..239), "43" "STATION:" + id,
//     "40" "MAC:" + 12 hexadecimal digits, "45" "LINK:" + link status (read only)
//   Modbus: "08" baud-rate index (0..3), "09" parity (0..2), "10" stop bits (1, 2),
//     "11" word order (0, 1), each as "TAG:" + value
//
// Writes are kept and read back; data the unit could not take is refused ("CNG"). A
// module table that already uses one of these codes in group "00" keeps its item, except
// a read-only "09" on a Modbus unit (see AddModbus).
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

namespace {

// Four whole numbers 0..255 joined by ".".
std::optional<std::string> DottedAddress(SimulatedUnit&, std::string_view data) {
  int fields = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t digits = 0;
    int value = 0;
    while (i < data.size() && data[i] >= '0' && data[i] <= '9' && digits < 4) {
      value = value * 10 + (data[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
    ++fields;
    if (i == data.size()) break;
    if (data[i] != '.' || fields == 4) return std::nullopt;
    ++i;
  }
  if (fields != 4) return std::nullopt;
  return std::string(data);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsEtherNetIP(std::string_view model) {
  for (std::string_view p : {"Q5T3NEIP-6-BI16", "Q5T3NEIP-6-BO16", "Q5W3NEIP-BI16",
                             "Q5W3NEIP-BO16", "Q5W3NEIP-BIO16", "Q5W3NEIP-BI32",
                             "Q5W3NEIP-BO32", "Q5Z3UEIP-BIO32"}) {
    if (StartsWith(model, p)) return true;
  }
  return false;
}

// Adds the item unless a module table has one of that code already.
class Items {
 public:
  explicit Items(SimulatedUnit& unit) : unit_(unit) {}
  SimItem* add(const std::string& item, std::string value, std::string prefix) {
    if (unit_.findItem("00", item)) return nullptr;
    SimItem& it = unit_.item("00", item);
    it.set(std::move(value)).format(Prefix(std::move(prefix)));
    return &it;
  }
  void unused(const std::string& item) {
    if (!unit_.findItem("00", item)) unit_.item("00", item).unused();
  }

 private:
  SimulatedUnit& unit_;
};

void AddEthernet(SimulatedUnit& unit, Items& items) {
  const bool plain = unit.modelIs("Q5V3PE-6-BO16");
  const bool eip = IsEtherNetIP(unit.model());
  if (auto* it = items.add("51", "100", "TIMEOUT:")) it->accept(IntegerIn(0, 32767));
  if (auto* it = items.add("29", "192.168.1.10", "IP:")) it->accept(DottedAddress);
  if (auto* it = items.add("30", "255.255.255.0", "SNM:")) it->accept(DottedAddress);
  if (auto* it = items.add("27", "00-80-4C", "MAC1:")) it->readOnly();
  if (auto* it = items.add("28", "1A-2B-3C", "MAC2:")) it->readOnly();
  if (plain) {
    items.unused("25");
  } else if (auto* it = items.add("25", "192.168.1.1", "DGW:")) {
    it->accept(DottedAddress);
  }
  if (eip) {
    if (auto* it = items.add("31", "0", "IPMODE:")) it->accept(OneOf({"0", "1"}));
    for (const char* i : {"32", "33", "34", "41", "42", "43", "44"}) items.unused(i);
    return;
  }
  for (int n = 1; n <= 4; ++n) {
    // On the models with an address mode, "31" holds that mode (0) as well.
    const std::string port = n == 1 && !plain ? "0" : std::to_string(5000 + n);
    if (auto* it = items.add(std::to_string(30 + n), port, "PORT:"))
      it->accept(IntegerIn(0, 32767));
    if (auto* it = items.add(std::to_string(40 + n), "30", "LINGER:T" + std::to_string(n) + ":"))
      it->accept(IntegerIn(0, 32767));
  }
}

void AddDeviceNet(SimulatedUnit& unit, Items& items) {
  if (SimItem* id = unit.findItem("00", "01")) {
    // A DeviceNet unit is prepared for its network items by "1", for the rest by "F".
    id->accept([](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
      if (data != "F" && data != "1") return std::nullopt;
      return u.value("00", "01");
    });
  }
  if (auto* it = items.add("52", "1", "STATUS:")) it->readOnly();
  if (auto* it = items.add("60", "00A1B2C3", "SERIAL:")) it->readOnly();
  if (auto* it = items.add("51", "20", "TIMEOUT:")) it->accept(IntegerIn(0, 32767));
}

void AddCCLinkIEField(Items& items) {
  if (auto* it = items.add("41", "1", "NETNO:")) it->accept(IntegerIn(1, 239));
  if (auto* it = items.add("43", "1", "STATION:")) it->readOnly();
  if (auto* it = items.add("40", "0011223344AB", "MAC:")) it->readOnly();
  if (auto* it = items.add("45", "Data Link", "LINK:")) it->readOnly();
}

void AddModbus(SimulatedUnit& unit, Items& items) {
  // A module's read-only "09" only shows that the unit answers (the AC current page reads
  // it and uses no part of it); on a Modbus unit the item is the parity, which answers
  // that read as well.
  if (const SimItem* it = unit.findItem("00", "09"); it && it->isReadOnly)
    unit.removeItem("00", "09");
  if (auto* it = items.add("08", "2", "BAUD:")) it->accept(OneOf({"0", "1", "2", "3"}));
  if (auto* it = items.add("09", "2", "PARITY:")) it->accept(OneOf({"0", "1", "2"}));
  if (auto* it = items.add("10", "1", "STOP:")) it->accept(OneOf({"1", "2"}));
  if (auto* it = items.add("11", "1", "ORDER:")) it->accept(OneOf({"0", "1"}));
}

}  // namespace

void AddNetworkItems(SimulatedUnit& unit) {
  std::int16_t code = catalogue::kNetNone;
  catalogue::NetworkButton button;
  catalogue::NetworkTypeOf(unit.model(), code, button);
  Items items(unit);
  switch (code) {
    case catalogue::kNetEthernet: AddEthernet(unit, items); break;
    case catalogue::kNetDeviceNet: AddDeviceNet(unit, items); break;
    case catalogue::kNetCCLinkIEField: AddCCLinkIEField(items); break;
    case catalogue::kNetModbus: AddModbus(unit, items); break;
    default: break;
  }
}

}  // namespace q5::sim
