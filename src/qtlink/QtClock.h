#pragma once
// Real time for the exchange, with a WaitFor that keeps windows alive in the GUI.
#include "link/Clock.h"
#include "qtlink/WaitMode.h"

namespace q5::qtlink {

class QtClock : public link::SystemClock {
 public:
  explicit QtClock(WaitMode mode) : mode_(mode) {}
  // sleepUs (the pause before each command line) stays a plain sleep.
  // waitUs (EventLoop mode) handles the waiting events once (at most every 25 ms) and
  // sleeps when the wait is short, else runs the event loop until a single-shot timer fires and sleeps the
  // sub-millisecond rest; in Blocking mode it sleeps.
  void waitUs(std::int64_t us) override;

 private:
  // Waits shorter than this are slept after one pass over the waiting events.
  static constexpr std::int64_t kShortWaitUs = 20'000;
  WaitMode mode_;
  std::int64_t lastEventsUs_ = 0;  // when the waits last let the window events in
};

}  // namespace q5::qtlink
