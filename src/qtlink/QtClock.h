#pragma once
// Real time for the exchange, with a WaitFor that keeps windows alive in the GUI.
#include "link/Clock.h"
#include "qtlink/WaitMode.h"

namespace q5::qtlink {

class QtClock : public link::SystemClock {
 public:
  explicit QtClock(WaitMode mode) : mode_(mode) {}
  // sleepUs (the pause before each command line) stays a plain sleep.
  // waitUs runs the event loop until a single-shot timer fires (EventLoop mode),
  // or sleeps (Blocking mode).
  void waitUs(std::int64_t us) override;

 private:
  WaitMode mode_;
};

}  // namespace q5::qtlink
