// Fuzz target: unit replies. The input is what a unit answers, line after line, to a whole
// working session: Connect (identification, Upload of the page the model names), one
// monitoring pass, Download with its read-back, node information. Every transaction, the
// reply-text routines and every page's reading of reply values see hostile text: overlong
// lines, missing CRs, silence, NUL and 0xFF, numbers out of every range.
//
// Input format: replies separated by '\n'. A reply is sent with a CR after it, except
//   an empty one:            silence (the exchange times out),
//   one starting with 0x01:  sent without its CR (then silence),
//   one starting with 0x02:  sent in single bytes, each 1 ms after the one before.
// After the last reply the unit is silent. Time is virtual: a time-out costs nothing.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "link/Clock.h"
#include "link/Exchange.h"
#include "link/Link.h"
#include "link/TextRoutines.h"
#include "session/Session.h"
#include "ui/UnattendedDialogs.h"

namespace {

class ReplyPort : public q5::link::Port {
 public:
  ReplyPort(q5::link::VirtualClock& clock, std::string_view input) : clock_(clock) {
    std::size_t start = 0;
    while (start <= input.size()) {
      std::size_t end = input.find('\n', start);
      if (end == std::string_view::npos) end = input.size();
      replies_.emplace_back(input.substr(start, end - start));
      start = end + 1;
    }
  }
  bool open(const std::string&, int) override { return open_ = true; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  bool setBaudRate(int) override { return true; }
  std::size_t bytesWaiting() override { return due().size(); }
  bool write(std::string_view) override {
    if (replies_.empty()) return true;  // silent from here on
    std::string r = std::move(replies_.front());
    replies_.pop_front();
    std::int64_t at = clock_.nowUs() + 1000;
    if (r.empty()) return true;
    if (r[0] == '\x01') {
      if (r.size() > 1) pending_.push_back({at, r.substr(1)});  // nothing at all: silence
    } else if (r[0] == '\x02') {
      r.erase(0, 1);
      r += '\r';
      for (char c : r) pending_.push_back({at += 1000, std::string(1, c)});
    } else {
      pending_.push_back({at, r + '\r'});
    }
    return true;
  }
  std::string readAll() override {
    std::string s;
    while (!pending_.empty() && pending_.front().atUs <= clock_.nowUs()) {
      s += pending_.front().bytes;
      pending_.pop_front();
    }
    return s;
  }
  void waitForBytes(std::int64_t deadlineUs) override {
    clock_.advanceTo(pending_.empty() ? deadlineUs : std::min(deadlineUs, pending_.front().atUs));
  }

 private:
  std::string due() const {
    std::string s;
    for (const auto& p : pending_)
      if (p.atUs <= clock_.nowUs()) s += p.bytes;
    return s;
  }
  struct Pending {
    std::int64_t atUs;
    std::string bytes;
  };
  q5::link::VirtualClock& clock_;
  std::deque<std::string> replies_;
  std::deque<Pending> pending_;
  bool open_ = false;
};

// Stops monitoring after one pass.
class OnePassView : public q5::session::SessionView {
 public:
  explicit OnePassView(q5::session::Session& s) : s_(s) {}
  void pageUpdated() override {
    if (s_.values.Monitoring) s_.btnStop_Click();
  }

 private:
  q5::session::Session& s_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  q5::link::VirtualClock clock;
  ReplyPort port(clock, input);
  q5::link::Exchange exchange(port, clock);
  q5::ui::UnattendedDialogs dialogs(/*answer=*/true);
  q5::session::Session session(exchange, dialogs);
  OnePassView view(session);
  session.setView(&view);
  session.setPortName("fuzz");

  session.btnConnect_Click();
  if (!session.programEnded() && session.values.Connected) {
    session.btnStart_Click();
    session.btnDownload_Click();
    session.mnuQ5Informain_Click();
  }
  // The text routines on whatever the unit last said.
  const std::string last = session.link().GroupItemReadRetry(1, "00", "02");
  q5::link::ValueAfterColon(last);
  q5::link::ValueAfterX(last);
  q5::link::RemovePoint(last);
  q5::link::HexDigitValue(last);
  q5::link::SplitDotted(last);
  q5::link::CheckNumberInput(last, dialogs);
  q5::link::EscapeControls(last);
  return 0;
}
