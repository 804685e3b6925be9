#include "sim/SimLine.h"

#include <algorithm>
#include <cstdio>

namespace q5::sim {
namespace {

// A unit does not buffer lines of any length; a longer one is refused whole.
constexpr std::size_t kMaxLine = 4096;

}  // namespace

SimLine::SimLine(SimulatedUnit& unit, LineOptions options) : unit_(&unit), options_(options) {
  if (options_.baud <= 0) options_.baud = 9600;
  if (options_.turnaroundUs < 0) options_.turnaroundUs = 0;
}

std::int64_t SimLine::charTimeUs() const {
  // 10 bits per character (start, 8 data, stop), rounded to the nearest microsecond.
  return (10'000'000 + options_.baud / 2) / options_.baud;
}

bool SimLine::addFault(std::string_view faultText, std::string* error) {
  std::optional<SimFault> f = ParseFault(faultText, error);
  if (!f) return false;
  faults_.push_back(std::move(*f));
  return true;
}

void SimLine::receive(std::string_view bytes, std::int64_t nowUs) {
  if (vanished_) return;
  const std::int64_t ct = charTimeUs();
  for (char c : bytes) {
    std::int64_t at = nowUs;
    if (options_.lineTiming) {
      at = std::max(nowUs, rxBusyUntilUs_) + ct;
      rxBusyUntilUs_ = at;
    }
    // A line may end in CR LF (the firmware transfer's lines do): the LF after a CR
    // belongs to no line.
    if (c == '\n' && partial_.empty()) continue;
    if (c == '\r') {
      std::string line;
      line.swap(partial_);
      handleLine(line, at);
      if (vanished_) return;
    } else if (partial_.size() <= kMaxLine) {
      partial_ += c;
    }
  }
}

void SimLine::handleLine(const std::string& line, std::int64_t atUs) {
  ++lines_;
  const std::string group = unit_->selectedGroup();
  const std::string named = unit_->namedItem();
  const char code = line.empty() ? '\0' : line.front();
  const std::string arg = line.empty() ? std::string() : line.substr(1);
  ++byText_[line];
  if (code == 'I') ++byItem_[{group, arg}];
  if (code == 'D') ++byData_[{group, named}];
  record({atUs, true, line + "\r", {}});

  // A unit switched to another rate than the line runs at hears only noise.
  if (unit_->baud() > 0 && unit_->baud() != options_.baud) {
    record({atUs, false, {}, "rate " + std::to_string(options_.baud) + ", the unit listens at " +
                                 std::to_string(unit_->baud())});
    return;
  }

  // Which faults act on this line.
  const SimFault* content = nullptr;  // at most one decides what the reply is
  std::int64_t lateUs = 0;
  std::size_t chunkSize = 0;
  std::int64_t chunkGapUs = 0;
  std::string garbage, stale;
  std::int64_t staleGapUs = 0;
  std::string notes;
  std::vector<SimFault*> delivery;
  for (SimFault& f : faults_) {
    bool match = false;
    switch (f.target) {
      case SimFault::Target::AnyLine: match = true; break;
      case SimFault::Target::ItemLine: match = code == 'I' && arg == f.item && group == f.group; break;
      case SimFault::Target::DataLine:
        match = code == 'D' && named == f.item && group == f.group;
        break;
      case SimFault::Target::LineNumber: match = lines_ == f.lineNumber; break;
      case SimFault::Target::LineText: match = line == f.lineText; break;
    }
    if (!match) continue;
    const bool isContent = f.kind == FaultKind::NoReply || f.kind == FaultKind::Refuse ||
                           f.kind == FaultKind::NotUsed || f.kind == FaultKind::Replace ||
                           f.kind == FaultKind::Vanish || f.kind == FaultKind::Flood;
    if (isContent && content) continue;  // the first content fault decides
    ++f.matched;
    if (f.matched <= f.skip) continue;
    if (f.times >= 0 && f.fired >= f.times) continue;
    if (isContent) {
      content = &f;
      ++f.fired;
    } else {
      delivery.push_back(&f);
    }
  }

  std::string reply;
  if (content) {
    notes = content->describe();
    switch (content->kind) {
      case FaultKind::NoReply: break;
      case FaultKind::Vanish:
        vanished_ = true;
        out_.clear();
        partial_.clear();
        flood_ = 0;
        break;
      case FaultKind::Refuse: reply = "CNG\r"; break;
      case FaultKind::NotUsed: reply = "CNU\r"; break;
      case FaultKind::Replace: reply = content->bytes + "\r"; break;
      case FaultKind::Flood:
        // Streamed by take() a piece at a time, not scheduled byte by byte.
        flood_ += content->chunkSize;
        floodAtUs_ = std::max(atUs + options_.turnaroundUs, txBusyUntilUs_);
        record({floodAtUs_, false, {}, notes});
        return;
      default: break;
    }
  } else if (line.size() > kMaxLine) {
    reply = "CNG\r";
  } else {
    reply = unit_->HandleLine(line, atUs);
  }
  if (reply.empty()) {
    if (!notes.empty()) record({atUs, false, {}, notes});
    return;
  }

  for (SimFault* f : delivery) {
    ++f->fired;
    if (!notes.empty()) notes += ' ';
    notes += f->describe();
    switch (f->kind) {
      case FaultKind::Late: lateUs += f->delayUs; break;
      case FaultKind::Chunks:
        chunkSize = f->chunkSize;
        chunkGapUs = f->delayUs;
        break;
      case FaultKind::Garbage: garbage += f->bytes; break;
      case FaultKind::Stale:
        stale += f->bytes;
        staleGapUs = std::max(staleGapUs, f->delayUs);
        break;
      case FaultKind::NoCr:
        if (!reply.empty() && reply.back() == '\r') reply.pop_back();
        break;
      case FaultKind::Duplicate: stale += reply; break;
      default: break;
    }
  }

  const std::int64_t ct = options_.lineTiming ? charTimeUs() : 0;
  const std::int64_t start =
      std::max(atUs + options_.turnaroundUs + lateUs, txBusyUntilUs_);
  const std::string bytes = garbage + reply;
  std::int64_t last = start;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    std::int64_t at = start + static_cast<std::int64_t>(k + 1) * ct;
    if (chunkSize > 0) at += static_cast<std::int64_t>(k / chunkSize) * chunkGapUs;
    out_.emplace_back(at, bytes[k]);
    last = at;
  }
  std::string sent = bytes;
  if (!stale.empty()) {
    const std::int64_t staleStart = last + staleGapUs;
    for (std::size_t k = 0; k < stale.size(); ++k) {
      last = staleStart + static_cast<std::int64_t>(k + 1) * ct;
      out_.emplace_back(last, stale[k]);
    }
    sent += stale;
  }
  txBusyUntilUs_ = last;
  record({start, false, std::move(sent), std::move(notes)});
}

std::size_t SimLine::available(std::int64_t nowUs) const {
  std::size_t n = 0;
  for (const auto& [at, c] : out_) {
    if (at > nowUs) break;
    ++n;
  }
  if (n == out_.size() && flood_ > 0 && floodAtUs_ <= nowUs) n += std::min(flood_, kFloodPiece);
  return n;
}

std::string SimLine::take(std::int64_t nowUs) {
  std::string s;
  while (!out_.empty() && out_.front().first <= nowUs) {
    s += out_.front().second;
    out_.pop_front();
  }
  if (out_.empty() && flood_ > 0 && floodAtUs_ <= nowUs) {
    const std::size_t k = std::min(flood_, kFloodPiece);
    s.append(k, 'A');
    flood_ -= k;
  }
  return s;
}

std::int64_t SimLine::nextArrivalUs() const {
  if (!out_.empty()) return out_.front().first;
  return flood_ > 0 ? floodAtUs_ : -1;
}

std::int64_t SimLine::lineEndArrivalUs() const {
  for (const auto& [at, c] : out_)
    if (c == '\r') return at;
  return -1;
}

void SimLine::flush() {
  out_.clear();
  partial_.clear();
  flood_ = 0;
}

int SimLine::lineCount(std::string_view text) const {
  auto it = byText_.find(text);
  return it == byText_.end() ? 0 : it->second;
}

int SimLine::itemLines(const std::string& group, const std::string& item) const {
  auto it = byItem_.find({group, item});
  return it == byItem_.end() ? 0 : it->second;
}

int SimLine::dataLines(const std::string& group, const std::string& item) const {
  auto it = byData_.find({group, item});
  return it == byData_.end() ? 0 : it->second;
}

void SimLine::resetCounters() {
  lines_ = 0;
  byText_.clear();
  byItem_.clear();
  byData_.clear();
}

void SimLine::record(TranscriptEntry e) {
  if (observer_) observer_(e);
  if (!keepTranscript_) return;
  transcript_.push_back(std::move(e));
  while (transcript_.size() > transcriptLimit_) transcript_.pop_front();
}

std::string SimLine::FormatEntry(const TranscriptEntry& e) {
  char head[48];
  std::snprintf(head, sizeof head, "%12.3f ms  %c ", static_cast<double>(e.atUs) / 1000.0,
                e.fromHost ? '>' : '<');
  std::string s = head;
  s += e.text.empty() && !e.fromHost ? std::string("(nothing)") : EncodeBytes(e.text);
  if (!e.note.empty()) s += "    [" + e.note + "]";
  return s;
}

std::string SimLine::transcriptText() const {
  std::string s;
  for (const auto& e : transcript_) {
    s += FormatEntry(e);
    s += '\n';
  }
  return s;
}

}  // namespace q5::sim
