#include "qtlink/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace q5::qtlink {

void QtClock::waitUs(std::int64_t us) {
  if (us <= 0) return;
  if (mode_ == WaitMode::Blocking) {
    sleepUs(us);
    return;
  }
  // Timers count whole milliseconds: the event loop runs for the whole milliseconds, and
  // the remainder (under 1 ms) is slept, so a wait for a reply byte due in 1.04 ms does
  // not end up 2 ms long. The loop runs one pass at a time, each sleeping until an event
  // (the timer, a window event); no nested loop to quit, so no extra wake-up per wait.
  const std::int64_t end = nowUs() + us;
  if (us >= 1000) {
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(static_cast<int>(us / 1000));
    while (timer.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  sleepUs(end - nowUs());
}

}  // namespace q5::qtlink
