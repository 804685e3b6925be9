#pragma once
// "DEBUG INFO", opened from the "Help" menu of a run started with "-debug": shows a
// service engineer the transaction error counters and the last failed command.
#include <cstdint>
#include <string>
#include <string_view>

#include "link/Link.h"
#include "pages/Controls.h"

namespace q5::diag {

// The four lines of the debug window, each ended by CR LF, with the counters in plain
// decimal:
//   "- GI COMMAND"
//   "      READ ERROR COUNTER:" + reads
//   "     WRITE ERROR COUNTER:" + writes
//   "           ERROR LOG:" + log
std::string DebugText(std::int16_t readErrors, std::int16_t writeErrors, std::string_view log);
std::string DebugText(const link::Link& link);

// "DEBUG INFO": one label, filled once when the window opens (and only in debug mode).
struct frmDebugInfo {
  std::string caption = "DEBUG INFO";
  pages::Label lblDebugLog;
  void Form_Load(const link::Link& link, bool debugMode);
  void visitControls(pages::ControlVisitor& v) { v.label("lblDebugLog", lblDebugLog); }
};

}  // namespace q5::diag
