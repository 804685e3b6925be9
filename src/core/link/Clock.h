#pragma once
// Time as the exchange sees it. The 10 ms pause before every command, the 3000 ms reply
// time-out and WaitFor all go through a Clock, so tests can run a time-out without
// waiting three seconds and the GUI can keep its windows alive while it waits.
#include <cstdint>

namespace q5::link {

class Clock {
 public:
  virtual ~Clock() = default;
  // Microseconds since an arbitrary start; never goes backwards.
  virtual std::int64_t nowUs() = 0;
  // A plain pause (the short pause before each command line).
  virtual void sleepUs(std::int64_t us) = 0;
  // A wait that keeps the user interface responsive (WaitFor). Defaults to a pause.
  virtual void waitUs(std::int64_t us) { sleepUs(us); }
};

// Real time: the monotonic clock; pauses sleep to an absolute deadline with a tight timer
// slack, so the 10 ms pause before a command is not stretched.
class SystemClock : public Clock {
 public:
  std::int64_t nowUs() override;
  void sleepUs(std::int64_t us) override;
};

// Test time: starts at 0 and moves only when something sleeps or waits on it.
class VirtualClock : public Clock {
 public:
  std::int64_t nowUs() override { return now_; }
  void sleepUs(std::int64_t us) override {
    if (us > 0) now_ += us;
  }
  void advanceTo(std::int64_t us) {
    if (us > now_) now_ = us;
  }

 private:
  std::int64_t now_ = 0;
};

}  // namespace q5::link
