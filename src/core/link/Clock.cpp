#include "link/Clock.h"

#include <time.h>

#include <cerrno>
#include <chrono>
#include <thread>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace q5::link {

std::int64_t SystemClock::nowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepUs(std::int64_t us) {
  if (us <= 0) return;
#if defined(__linux__)
  // The pause before every command line is paid on every exchange, so it is slept to an
  // absolute deadline on the monotonic clock (the clock nowUs reads): an interrupted sleep
  // resumes towards the same instant instead of starting the whole pause again, and the
  // time spent getting into the sleep is not added to it. The kernel may let a timed
  // wake-up run late by the thread's timer slack (50 us by default) to batch wake-ups;
  // this thread's slack is made 1 us once, so the pause ends when it is due.
  thread_local bool preciseSlack = false;
  if (!preciseSlack) {
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    preciseSlack = true;
  }
  timespec at{};
  clock_gettime(CLOCK_MONOTONIC, &at);
  const std::int64_t ns = at.tv_nsec + (us % 1'000'000) * 1000;
  at.tv_sec += static_cast<time_t>(us / 1'000'000 + ns / 1'000'000'000);
  at.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
#else
  std::this_thread::sleep_for(std::chrono::microseconds(us));
#endif
}

}  // namespace q5::link
