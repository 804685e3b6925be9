#pragma once
// The command transactions of the configuration protocol: select a group ("G"), name an
// item ("I"), send data ("D"); replies "COK", "CNG", "CNU" or "C" + value. Failure is a
// value: the empty text (or "CNG" / "NEEDLESS" for reads), never an exception.
#include <cstdint>
#include <string>
#include <string_view>

#include "link/Exchange.h"

namespace q5::link {

class Link {
 public:
  explicit Link(Exchange& exchange) : ex_(exchange) {}

  std::string GroupItemRead(std::string_view group, std::string_view item);
  std::string ItemRead(std::string_view item);
  std::string GroupItemWrite(std::string_view group, std::string_view item, std::string_view data);
  std::string ItemWrite(std::string_view item, std::string_view data);

  // Retry forms: at most retry + 1 attempts, stopping at the first non-empty result
  // (blanks trimmed). "CNG" and "NEEDLESS" end the loop at once.
  std::string GroupItemReadRetry(int retry, std::string_view group, std::string_view item);
  std::string ItemReadRetry(int retry, std::string_view item);
  std::string GroupItemWriteRetry(int retry, std::string_view group, std::string_view item,
                                  std::string_view data);
  std::string ItemWriteRetry(int retry, std::string_view item, std::string_view data);

  // Reads refused with "CNG" at the item step; writes whose data step got "CNU", "CNG"
  // or no reply. 16-bit signed like the debug window shows them; they stop at 32767
  // rather than wrap round to negative counts.
  std::int16_t ReadErrorCount() const { return readErrors_; }
  std::int16_t WriteErrorCount() const { return writeErrors_; }
  // The command codes of the most recent failed transaction ("G01 I00", "I02 D5", ...).
  const std::string& ErrorLog() const { return errorLog_; }

  Exchange& exchange() { return ex_; }

 private:
  static void countUp(std::int16_t& counter) {
    if (counter < INT16_MAX) ++counter;
  }
  std::string readItemStep(std::string_view item, std::string_view logPrefix);
  std::string writeItemSteps(std::string_view item, std::string_view data,
                             std::string_view logPrefix);

  Exchange& ex_;
  std::int16_t readErrors_ = 0;
  std::int16_t writeErrors_ = 0;
  std::string errorLog_;
};

}  // namespace q5::link
