#pragma once
// Faults the simulated unit's line can inject, chosen per item, per line text or per
// line number, and their text form (used by q5sim --fault and by tests):
//
//   KIND[:TARGET][:PARAM...][*TIMES][+SKIP]
//
//   KIND     noreply          the line is not heard: no reply, the unit does not act on it
//            late[:MS]        the reply starts MS milliseconds late (default 3500)
//            chunks[:N[:MS]]  the reply comes in pieces of N bytes (default 1), MS ms apart
//                             (default 2)
//            garbage[:TEXT]   TEXT arrives right before the reply (default "~#~")
//            stale[:TEXT[:MS]] TEXT arrives MS ms after the reply (default "COK\r", 1 ms):
//                             left in the input buffer before the next command
//            cng / cnu        the reply is "CNG" / "CNU"; the unit does not act on the line
//            reply:TEXT       the reply is TEXT + CR; the unit does not act on the line
//            vanish           no reply, and the port is gone from then on (closed; reads
//                             and writes fail; it cannot be opened again)
//            flood[:N]        instead of the reply, N bytes without a CR (default 65536)
//            nocr             the reply without its CR, then silence
//            dup              the reply arrives twice
//   TARGET   GG/II            the "I" line naming item II while group GG is selected
//            GG/II/D          the "D" line writing item II of group GG
//            #N               the N-th line received (1 = the first line after start)
//            =TEXT            every line whose text (without CR) is exactly TEXT, e.g. =G00
//            (none)           every line
//   *TIMES   act on at most TIMES matching lines (default: all)
//   +SKIP    let the first SKIP matching lines pass untouched
//
//   TEXT may use \r \n \t \\ and \xNN; a ":" inside TEXT is written \x3A.
//   Examples: "noreply:00/02", "cng:00/03", "chunks:1", "garbage", "late:00/06:3500",
//   "cnu:00/01/D*2", "stale:#3", "vanish:#12", "noreply:=G00+1*1".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace q5::sim {

enum class FaultKind {
  NoReply, Late, Chunks, Garbage, Stale, Refuse, NotUsed, Replace, Vanish, Flood, NoCr, Duplicate
};

struct SimFault {
  enum class Target { AnyLine, ItemLine, DataLine, LineNumber, LineText };

  FaultKind kind = FaultKind::NoReply;
  Target target = Target::AnyLine;
  std::string group;             // ItemLine / DataLine
  std::string item;              // ItemLine / DataLine
  std::uint64_t lineNumber = 0;  // LineNumber (1-based)
  std::string lineText;          // LineText (without CR)

  std::int64_t delayUs = 0;      // Late: extra delay; Chunks: gap between pieces;
                                 // Stale: gap between the reply and the stale bytes
  std::size_t chunkSize = 1;     // Chunks; Flood: the number of bytes
  std::string bytes;             // Garbage: before the reply; Stale: after it; Replace: reply
  int times = -1;                // matching lines it acts on at most (-1: all)
  int skip = 0;                  // matching lines let through first

  // Bookkeeping while the line runs.
  int matched = 0;  // matching lines seen
  int fired = 0;    // matching lines acted on

  // The fault in its text form (for logs).
  std::string describe() const;
};

// Parses the text form; std::nullopt (with a reason in *error) when it is malformed.
std::optional<SimFault> ParseFault(std::string_view faultText, std::string* error = nullptr);

// Decodes \r \n \t \\ \xNN; EncodeBytes shows control bytes the same way.
std::string DecodeEscapes(std::string_view text);
std::string EncodeBytes(std::string_view bytes);

}  // namespace q5::sim
