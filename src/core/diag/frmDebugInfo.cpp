#include "diag/frmDebugInfo.h"

namespace q5::diag {

std::string DebugText(std::int16_t readErrors, std::int16_t writeErrors, std::string_view log) {
  std::string s = "- GI COMMAND\r\n";
  s += "      READ ERROR COUNTER:" + std::to_string(readErrors) + "\r\n";
  s += "     WRITE ERROR COUNTER:" + std::to_string(writeErrors) + "\r\n";
  s += "           ERROR LOG:" + std::string(log) + "\r\n";
  return s;
}

std::string DebugText(const link::Link& link) {
  return DebugText(link.ReadErrorCount(), link.WriteErrorCount(), link.ErrorLog());
}

void frmDebugInfo::Form_Load(const link::Link& link, bool debugMode) {
  // Built once, as the window opens: a snapshot, not refreshed while it stays open.
  if (debugMode) lblDebugLog.caption = DebugText(link);
}

}  // namespace q5::diag
