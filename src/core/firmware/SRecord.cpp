#include "firmware/SRecord.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "link/Exchange.h"

namespace q5::firmware {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Hex2(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", v & 0xFFu);
  return buf;
}

std::string Hex8(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

// A character as a refusal names it: printable as itself, else its code.
std::string Shown(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x21 && u < 0x7F) return std::string("\"") + c + "\"";
  char buf[16];
  std::snprintf(buf, sizeof buf, "code %02Xh", u);
  return buf;
}

}  // namespace

int AddressBytes(int type) {
  switch (type) {
    case 0: case 1: case 5: case 9: return 2;
    case 2: case 6: case 8: return 3;
    case 3: case 7: return 4;
    default: return 0;
  }
}

bool ParseSRecord(std::string_view line, SRecord* record, std::string* reason) {
  auto fail = [&](std::string why) {
    if (reason) *reason = std::move(why);
    return false;
  };
  if (line.empty()) return fail("empty line, not an S-record");
  if (line[0] != 'S') return fail("does not begin with \"S\"; not an S-record");
  if (line.size() < 2) return fail("no record type after \"S\"");
  if (line[1] < '0' || line[1] > '9') return fail("record type " + Shown(line[1]) + " is not S0 to S9");
  const int type = line[1] - '0';
  if (AddressBytes(type) == 0) return fail("record type S4 does not exist");
  if (line.size() > kMaxRecordChars)
    return fail(std::to_string(line.size()) + " characters, longer than the unit's limit of " +
                std::to_string(kMaxRecordChars));
  const std::string_view hex = line.substr(2);
  for (std::size_t i = 0; i < hex.size(); ++i) {
    if (HexValue(hex[i]) < 0)
      return fail(Shown(hex[i]) + " at column " + std::to_string(i + 3) + " is not a hex digit");
  }
  if (hex.size() % 2 != 0) return fail("odd number of hex digits (" + std::to_string(hex.size()) + ")");
  if (hex.size() < 2) return fail("no byte count");
  std::vector<std::uint8_t> bytes(hex.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(HexValue(hex[2 * i]) * 16 + HexValue(hex[2 * i + 1]));
  const std::size_t count = bytes[0];
  if (count != bytes.size() - 1)
    return fail("byte count is " + Hex2(static_cast<unsigned>(count)) + " (" + std::to_string(count) +
                "), the line holds " + std::to_string(bytes.size() - 1) + " bytes after it");
  const std::size_t addressBytes = static_cast<std::size_t>(AddressBytes(type));
  if (count < addressBytes + 1)
    return fail("byte count " + std::to_string(count) + " is too small for the " +
                std::to_string(addressBytes) + "-byte address and the checksum of S" +
                std::to_string(type));
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  const unsigned expected = ~sum & 0xFFu;
  if (bytes.back() != expected)
    return fail("checksum is " + Hex2(bytes.back()) + ", the record's bytes give " + Hex2(expected));
  if (record) {
    record->type = type;
    record->address = 0;
    for (std::size_t i = 0; i < addressBytes; ++i)
      record->address = (record->address << 8) | bytes[1 + i];
    record->data.assign(bytes.begin() + 1 + static_cast<std::ptrdiff_t>(addressBytes),
                        bytes.end() - 1);
  }
  return true;
}

std::string ImageCheck::refusal() const {
  if (ok) return {};
  if (line == 0) return reason;
  return "Line " + std::to_string(line) + ": " + reason;
}

ImageCheck CheckImage(std::string_view contents) {
  ImageCheck r;
  r.fileBytes = contents.size();
  auto refuse = [&](std::size_t line, std::string why) {
    r.ok = false;
    r.line = line;
    r.reason = std::move(why);
    return r;
  };
  if (contents.empty()) return refuse(0, "The file is empty");
  if (contents.size() > kMaxImageFileBytes)
    return refuse(0, "The file is larger than " + std::to_string(kMaxImageFileBytes >> 20) +
                         " MiB; not a firmware image of the unit");

  // Lines end at LF, CR LF or a lone CR.
  std::size_t at = 0;
  while (at < contents.size()) {
    std::size_t end = at;
    while (end < contents.size() && contents[end] != '\n' && contents[end] != '\r') ++end;
    ImageLine l;
    l.text = std::string(contents.substr(at, end - at));
    if (end < contents.size()) {
      l.hadBreak = true;
      if (contents[end] == '\r' && end + 1 < contents.size() && contents[end + 1] == '\n') ++end;
      ++end;
    }
    r.lines.push_back(std::move(l));
    at = end;
  }

  bool haveData = false;
  std::size_t terminations = 0;
  std::uint64_t low = 0, high = 0;
  for (std::size_t i = 0; i < r.lines.size(); ++i) {
    const std::size_t n = i + 1;
    if (terminations > 0)
      return refuse(n, "a line after the termination record (line " + std::to_string(i) + ")");
    SRecord rec;
    std::string why;
    if (!ParseSRecord(r.lines[i].text, &rec, &why)) return refuse(n, why);
    ++r.records;
    if (IsDataRecord(rec.type)) {
      ++r.dataRecords;
      r.dataBytes += rec.data.size();
      // CRC16 (polynomial 1021, start FFFF) of the data bytes in file order: what the
      // unit computes over the image it received.
      for (std::uint8_t b : rec.data) {
        r.dataCrc16 ^= static_cast<std::uint16_t>(b << 8);
        for (int k = 0; k < 8; ++k)
          r.dataCrc16 = (r.dataCrc16 & 0x8000) ? static_cast<std::uint16_t>((r.dataCrc16 << 1) ^ 0x1021)
                                               : static_cast<std::uint16_t>(r.dataCrc16 << 1);
      }
      if (!rec.data.empty()) {
        const std::uint64_t first = rec.address;
        const std::uint64_t last = first + rec.data.size() - 1;
        if (!haveData || first < low) low = first;
        if (!haveData || last > high) high = last;
        haveData = true;
      }
    } else if (IsTerminationRecord(rec.type)) {
      ++terminations;
    }
  }
  if (r.dataRecords == 0 || !haveData) return refuse(0, "The file holds no data records (S1, S2 or S3)");
  if (terminations == 0)
    return refuse(0, "The file has no termination record (S7, S8 or S9); it may be cut short");
  r.lowAddress = static_cast<std::uint32_t>(low);
  r.highAddress = static_cast<std::uint32_t>(high > 0xFFFFFFFFu ? 0xFFFFFFFFu : high);
  r.ok = true;
  return r;
}

ImageCheck CheckImageFile(const std::string& path) {
  ImageCheck r;
  auto refuse = [&](std::string why) {
    r.ok = false;
    r.line = 0;
    r.reason = std::move(why);
    return r;
  };
  // What the path names is looked at before it is opened: opening a FIFO would wait for
  // a writer forever, and a device (/dev/zero) never ends.
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status))
    return refuse("Cannot open " + path + ": " + (ec ? ec.message() : std::string("No such file or directory")));
  if (std::filesystem::is_directory(status))
    return refuse(path + " is a folder, not a firmware image file");
  if (!std::filesystem::is_regular_file(status)) {
    const char* what = std::filesystem::is_fifo(status)            ? "a FIFO (named pipe)"
                       : std::filesystem::is_character_file(status) ? "a character device"
                       : std::filesystem::is_block_file(status)     ? "a block device"
                       : std::filesystem::is_socket(status)         ? "a socket"
                                                                    : "not a regular file";
    return refuse(path + " is " + std::string(what) + ", not a firmware image file");
  }
  std::ifstream f(path, std::ios::binary);
  if (!f) return refuse("Cannot open " + path + ": " + std::strerror(errno));
  f.seekg(0, std::ios::end);
  const std::streamoff size = f.tellg();
  if (size < 0) return refuse("Cannot read " + path);
  if (static_cast<std::uint64_t>(size) > kMaxImageFileBytes)
    return refuse("The file is larger than " + std::to_string(kMaxImageFileBytes >> 20) +
                  " MiB; not a firmware image of the unit");
  f.seekg(0, std::ios::beg);
  std::string contents(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !f.read(contents.data(), size))
    return refuse("Cannot read " + path + ": " + std::strerror(errno));
  return CheckImage(contents);
}

std::int64_t TransferTimeUs(const ImageCheck& image, int baud) {
  if (baud <= 0) baud = kTransferBaud;
  std::int64_t chars = 0;
  for (const ImageLine& l : image.lines) chars += static_cast<std::int64_t>(l.text.size()) + 2 + 4;
  const std::int64_t lines = static_cast<std::int64_t>(image.lines.size());
  return lines * link::Exchange::kPauseUs + chars * 10'000'000 / baud;
}

std::vector<std::string> ImageSummary(const ImageCheck& image) {
  std::vector<std::string> out;
  out.push_back("Records: " + std::to_string(image.records) + " (" +
                std::to_string(image.dataRecords) + " data records)");
  out.push_back("Data bytes: " + std::to_string(image.dataBytes));
  out.push_back("Addresses: " + Hex8(image.lowAddress) + " to " + Hex8(image.highAddress));
  const std::int64_t us = TransferTimeUs(image);
  const std::int64_t s = (us + 500'000) / 1'000'000;
  std::string t;
  if (s >= 60) {
    t = std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
  } else {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f s", static_cast<double>(us) / 1e6);
    t = buf;
  }
  out.push_back("Transfer at " + std::to_string(kTransferBaud) + " baud: about " + t);
  return out;
}

}  // namespace q5::firmware
