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
  const std::int64_t end = nowUs() + us;
  RunYieldHook();
  if (us < kShortWaitUs) {
    // A short wait (a simulated unit's next character, 1 ms apart at 9600 baud) is one
    // pass over the events already waiting, then a precise sleep: windows stay as alive
    // as through the plain 10 ms pause before every command, and no timer is set up and
    // torn down for every character.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sleepUs(end - nowUs());
    return;
  }
  // Timers count whole milliseconds: the event loop runs for the whole milliseconds, and
  // the remainder (under 1 ms) is slept. The loop runs one pass at a time, each sleeping
  // until an event (the timer, a window event); no nested loop to quit, so no extra
  // wake-up per wait.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  timer.start(static_cast<int>(us / 1000));
  while (timer.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  sleepUs(end - nowUs());
}

}  // namespace q5::qtlink
