// Fuzz target: the S-record image check that a firmware file passes before the unit is
// put into update mode. Whatever the file holds, the check ends with a verdict; an image
// it accepts has a summary, records that read back one by one, and address fields that
// fit their widths.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "firmware/SRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  const q5::firmware::ImageCheck image = q5::firmware::CheckImage(contents);
  if (!image.ok) {
    if (image.refusal().empty()) std::abort();  // a refusal always says why
    return 0;
  }
  q5::firmware::ImageSummary(image);
  q5::firmware::TransferTimeUs(image);
  if (image.lowAddress > image.highAddress || image.dataRecords == 0) std::abort();
  for (const auto& line : image.lines) {
    if (line.text.empty()) continue;
    q5::firmware::SRecord record;
    std::string reason;
    if (!q5::firmware::ParseSRecord(line.text, &record, &reason)) std::abort();  // accepted, yet bad
    const int width = q5::firmware::AddressBytes(record.type);
    if (width < 4 && record.address >> (8 * width)) std::abort();
  }
  return 0;
}
