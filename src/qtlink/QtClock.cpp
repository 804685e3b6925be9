#include "qtlink/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "qtlink/EventLoopYield.h"

namespace q5::qtlink {

void QtClock::waitUs(std::int64_t us) {
  if (us <= 0) return;
  if (mode_ == WaitMode::Blocking) {
    sleepUs(us);
    return;
  }
  const std::int64_t start = nowUs();
  const std::int64_t end = start + us;
  if (us < kShortWaitUs) {
    // A short wait (the rest of a reply, a simulated unit's answer 10 ms after its line)
    // is a precise sleep after one pass over the window events already waiting, when one
    // is due (see WindowEventsDue). No timer is set up and torn down for the wait.
    if (WindowEventsDue(start, lastEventsUs_)) {
      RunYieldHook();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      lastEventsUs_ = nowUs();
    }
    sleepUs(end - nowUs());
    return;
  }
  RunYieldHook();
  // Timers count whole milliseconds: the event loop runs for the whole milliseconds, and
  // the remainder (under 1 ms) is slept. The loop runs one pass at a time, each sleeping
  // until an event (the timer, a window event); no nested loop to quit, so no extra
  // wake-up per wait.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  timer.start(static_cast<int>(us / 1000));
  while (timer.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  lastEventsUs_ = nowUs();
  sleepUs(end - nowUs());
}

}  // namespace q5::qtlink
