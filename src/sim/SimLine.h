#pragma once
// The simulated unit's end of the serial line: frames the host's bytes into lines on CR,
// hands each line to the SimulatedUnit, injects faults, and schedules the reply bytes
// with their arrival times. Counts what it received and keeps a transcript.
//
// Time is passed in by the caller (microseconds on its clock): SimPort passes its Clock,
// q5sim the system clock. Nothing here sleeps.
//
// Line timing (off by default): every character costs 10 bits at the baud rate in both
// directions, so a line "G00" CR sent at 9600 baud is complete 4 x 1042 us after it was
// written, and the reply's k-th byte arrives k x 1042 us after the reply starts. The
// reply starts the turnaround time after the line is complete (also without line
// timing), and never before the unit finished sending its previous reply.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/SimFault.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

struct TranscriptEntry {
  std::int64_t atUs = 0;  // line complete at the unit / first reply byte leaves the unit
  bool fromHost = false;  // true: a line received; false: a reply sent
  std::string text;       // with its CR (a reply: every byte sent, garbage included)
  std::string note;       // the faults that acted on it ("noreply", "chunks:1:2", ...)
};

struct LineOptions {
  bool lineTiming = false;
  int baud = 9600;
  std::int64_t turnaroundUs = 0;
};

class SimLine {
 public:
  explicit SimLine(SimulatedUnit& unit, LineOptions options = {});

  SimulatedUnit& unit() { return *unit_; }
  // Puts another unit on the line (the counters, faults and transcript stay).
  void setUnit(SimulatedUnit& unit) { unit_ = &unit; }

  // ---- Line settings ---------------------------------------------------------------------
  void setBaud(int baud) { if (baud > 0) options_.baud = baud; }
  int baud() const { return options_.baud; }
  void setLineTiming(bool on) { options_.lineTiming = on; }
  void setTurnaroundUs(std::int64_t us) { options_.turnaroundUs = us < 0 ? 0 : us; }
  const LineOptions& options() const { return options_; }
  // Microseconds one character takes on the wire at the current baud rate (10 bits).
  std::int64_t charTimeUs() const;

  // ---- Faults ----------------------------------------------------------------------------
  void addFault(SimFault fault) { faults_.push_back(std::move(fault)); }
  // Adds a fault in its text form (see SimFault.h); false (and *error) when malformed.
  bool addFault(std::string_view faultText, std::string* error = nullptr);
  void clearFaults() { faults_.clear(); }
  const std::vector<SimFault>& faults() const { return faults_; }

  // ---- Host -> unit ----------------------------------------------------------------------
  // The host wrote these bytes at nowUs. Complete lines are answered at once (their reply
  // is scheduled); a partial line waits for its CR. Ignored once the port vanished.
  void receive(std::string_view bytes, std::int64_t nowUs);

  // ---- Unit -> host ----------------------------------------------------------------------
  // Reply bytes that have arrived by nowUs and not been taken.
  std::size_t available(std::int64_t nowUs) const;
  // Takes (removes) the bytes that have arrived by nowUs.
  std::string take(std::int64_t nowUs);
  // When the next byte not yet taken arrives; -1 when nothing is on its way.
  std::int64_t nextArrivalUs() const;
  // When the next CR not yet taken arrives (the end of the reply on its way); -1 when no
  // CR is on its way.
  std::int64_t lineEndArrivalUs() const;
  // Bytes scheduled but not taken (arrived or not).
  std::size_t pending() const { return out_.size() + flood_; }
  // Forgets bytes on their way and a partial line (the port was closed).
  void flush();

  // ---- The port vanished (fault "vanish") ------------------------------------------------
  bool vanished() const { return vanished_; }
  // Plugs the port back in.
  void restore() { vanished_ = false; }

  // ---- Counters ----------------------------------------------------------------------------
  // Lines received (complete, CR-ended), whatever the faults did with them.
  std::uint64_t linesReceived() const { return lines_; }
  // Lines received with exactly this text (without CR): lineCount("G00"), lineCount("DF").
  int lineCount(std::string_view text) const;
  // "I" lines naming item while group was selected (read steps and write item steps).
  int itemLines(const std::string& group, const std::string& item) const;
  // "D" lines writing item of group (item named by the "I" line before).
  int dataLines(const std::string& group, const std::string& item) const;
  void resetCounters();

  // ---- Transcript ------------------------------------------------------------------------
  // The most recent entries, oldest first (at most transcriptLimit of them, so a long
  // monitoring session does not grow without end).
  const std::deque<TranscriptEntry>& transcript() const { return transcript_; }
  void setTranscriptLimit(std::size_t entries) { transcriptLimit_ = entries; }
  void clearTranscript() { transcript_.clear(); }
  // Off: entries only go to the observer (a long-running q5sim keeps no history).
  void setKeepTranscript(bool on) { keepTranscript_ = on; }
  // One line per entry: "     12.345 ms  > G00\r" (received) / "<" (sent) + notes.
  static std::string FormatEntry(const TranscriptEntry& e);
  std::string transcriptText() const;
  // Called for every new transcript entry (q5sim writes its log file from it).
  void setTranscriptObserver(std::function<void(const TranscriptEntry&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  void handleLine(const std::string& line, std::int64_t atUs);
  void record(TranscriptEntry e);

  SimulatedUnit* unit_;
  LineOptions options_;
  std::vector<SimFault> faults_;
  std::string partial_;
  std::deque<std::pair<std::int64_t, char>> out_;  // arrival time, byte (in time order)
  // A flood (fault "flood") is handed out in pieces of this size, as fast as they are taken.
  static constexpr std::size_t kFloodPiece = 64 * 1024;
  std::size_t flood_ = 0;
  std::int64_t floodAtUs_ = 0;
  std::int64_t rxBusyUntilUs_ = 0;
  std::int64_t txBusyUntilUs_ = 0;
  bool vanished_ = false;
  bool keepTranscript_ = true;

  std::uint64_t lines_ = 0;
  std::map<std::string, int, std::less<>> byText_;
  std::map<std::pair<std::string, std::string>, int> byItem_;
  std::map<std::pair<std::string, std::string>, int> byData_;
  std::deque<TranscriptEntry> transcript_;
  std::size_t transcriptLimit_ = 100'000;
  std::function<void(const TranscriptEntry&)> observer_;
};

}  // namespace q5::sim
