// The simulated unit's firmware update: start ("SS" to item 82), line rate (item 86),
// record lines, verify ("SV") and program ("SW").
#include <cstdio>

#include "firmware/SRecord.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {
namespace {

std::string Hex4(std::uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

// The version after programming: "1.05" gives "1.06"; a version without a digit at its
// end gets ".1".
std::string NextVersion(const std::string& v) {
  std::string s = v;
  int i = static_cast<int>(s.size()) - 1;
  if (i < 0 || s[i] < '0' || s[i] > '9') return s + ".1";
  while (i >= 0 && s[i] == '9') s[i--] = '0';
  if (i >= 0 && s[i] >= '0' && s[i] <= '8') {
    ++s[i];
  } else {
    s.insert(static_cast<std::size_t>(i + 1), "1");
  }
  return s;
}

bool IsStandardRate(std::string_view data) {
  for (const char* r : {"9600", "19200", "38400", "57600", "115200"})
    if (data == r) return true;
  return false;
}

}  // namespace

std::uint16_t Crc16(const std::vector<std::uint8_t>& bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t b : bytes) {
    crc ^= static_cast<std::uint16_t>(b << 8);
    for (int k = 0; k < 8; ++k)
      crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                           : static_cast<std::uint16_t>(crc << 1);
  }
  return crc;
}

void SimulatedUnit::addFirmwareItems() {
  item("00", "82")
      .set("SS")
      .format([](const SimulatedUnit& u, const std::string&) {
        const SimFirmware& f = u.firmware();
        if (f.verified) return "FIRMWARE:" + Hex4(f.crc);
        return std::string(f.updateMode ? "FIRMWARE:RECV" : "FIRMWARE:IDLE");
      })
      .accept([](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        if (data != "SS") return std::nullopt;
        // A start in update mode begins the image again.
        SimFirmware& f = u.firmware();
        const int programmed = f.programmed;
        f = SimFirmware{};
        f.programmed = programmed;
        f.updateMode = true;
        if (u.baud() == 0) u.setBaud(9600);
        return std::string(data);
      });
  item("00", "86")
      .set("9600")
      .format([](const SimulatedUnit& u, const std::string&) {
        return "BAUD:" + std::to_string(u.baud() > 0 ? u.baud() : 9600);
      })
      .accept([](SimulatedUnit& u, std::string_view data) -> std::optional<std::string> {
        if (!IsStandardRate(data)) return std::nullopt;
        // The reply still goes out at the old rate; the next line must come at the new.
        u.setBaud(std::stoi(std::string(data)));
        return std::string(data);
      });
}

std::string SimulatedUnit::firmwareLine(std::string_view line) {
  SimFirmware& f = firmware_;
  if (!f.updateMode) return "CNG\r";
  if (line == "SV") {
    f.crc = Crc16(f.received);
    f.verified = true;
    return "COK\r";
  }
  if (line == "SW") {
    if (!f.verified) return "CNG\r";
    // Programmed: the unit restarts with the new firmware at its normal rate.
    options_.version =
        options_.firmwareVersion.empty() ? NextVersion(options_.version) : options_.firmwareVersion;
    f.updateMode = false;
    f.verified = false;
    ++f.programmed;
    baud_ = 9600;
    return "COK\r";
  }
  firmware::SRecord record;
  if (!firmware::ParseSRecord(line, &record, nullptr)) {
    ++f.refusedRecords;
    return "CNG\r";
  }
  ++f.records;
  f.verified = false;
  if (firmware::IsDataRecord(record.type))
    f.received.insert(f.received.end(), record.data.begin(), record.data.end());
  return "COK\r";
}

}  // namespace q5::sim
