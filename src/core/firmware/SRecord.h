#pragma once
// Motorola S-record firmware images: reading one record line, and the check a whole
// image passes before the unit is put into update mode. A damaged image must be refused
// while the unit still runs its old firmware, so every refusal names the line and why.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace q5::firmware {

// The longest record line the unit takes, without its CR LF. The unit keeps one record
// line in a buffer of this size; 78 characters hold a record of 32 data bytes at any
// address width ("S3", count, 4 address bytes, 32 data bytes, checksum), which is more
// than the 16 or 32 bytes per record that image tools write.
inline constexpr std::size_t kMaxRecordChars = 78;
// An image larger than this is not a firmware image of the unit (its flash is far
// smaller); it is refused before it is read into memory.
inline constexpr std::size_t kMaxImageFileBytes = 16u << 20;
// The rate the image travels at.
inline constexpr int kTransferBaud = 115200;

struct SRecord {
  int type = -1;                  // 0..9 (S0..S9)
  std::uint32_t address = 0;      // address field (S5/S6: the record count)
  std::vector<std::uint8_t> data; // bytes after the address, before the checksum
};

// Address field width in bytes of a record type; 0 for a type that does not exist (S4).
int AddressBytes(int type);
inline bool IsDataRecord(int type) { return type >= 1 && type <= 3; }
inline bool IsTerminationRecord(int type) { return type >= 7 && type <= 9; }

// Reads one line (without line end). True with *record filled, or false with *reason
// saying what is wrong ("checksum is 3F, the bytes give 40").
bool ParseSRecord(std::string_view line, SRecord* record, std::string* reason);

// One line of an image file as the transfer sends it.
struct ImageLine {
  std::string text;       // without its line end
  bool hadBreak = false;  // a line break followed it in the file
};

// The result of checking a whole image file.
struct ImageCheck {
  bool ok = false;
  // When not ok: the 1-based line the refusal is about (0: the file as a whole) and why.
  std::size_t line = 0;
  std::string reason;

  std::vector<ImageLine> lines;  // every line, in file order
  std::size_t fileBytes = 0;     // the size of the file
  std::size_t records = 0;       // S-record lines
  std::size_t dataRecords = 0;   // S1, S2, S3
  std::size_t dataBytes = 0;     // bytes carried by the data records
  std::uint16_t dataCrc16 = 0xFFFF;  // CRC16 of those bytes in file order
  std::uint32_t lowAddress = 0;  // first byte address of the data
  std::uint32_t highAddress = 0; // last byte address of the data (inclusive)

  // "Line 12: checksum is 3F, the record's bytes give 40" / "The file is empty".
  std::string refusal() const;
};

// Splits the file into lines (LF, CR LF or CR end a line) and checks every one: an
// S-record of a known type (S0-S3, S5-S9) in hex digits, an even number of
// digits, a byte count that matches the digits and a checksum that matches the bytes,
// no longer than kMaxRecordChars; the image has data records and exactly one
// termination record (S7, S8 or S9), which is its last line.
ImageCheck CheckImage(std::string_view contents);

// Reads and checks an image file. A file that cannot be read is refused (line 0) with
// the system's reason.
ImageCheck CheckImageFile(const std::string& path);

// Wire time of the transfer at the transfer rate: for every line the 10 ms pause before
// it, the line with CR LF, and a reply "COK" CR. In microseconds.
std::int64_t TransferTimeUs(const ImageCheck& image, int baud = kTransferBaud);

// The summary the log shows for an image that passed: records, data bytes, address
// range and the expected transfer time, one line each.
std::vector<std::string> ImageSummary(const ImageCheck& image);

}  // namespace q5::firmware
