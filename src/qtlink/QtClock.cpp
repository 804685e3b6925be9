#include "qtlink/QtClock.h"

#include <QEventLoop>
#include <QTimer>

namespace q5::qtlink {

void QtClock::waitUs(std::int64_t us) {
  if (us <= 0) return;
  if (mode_ == WaitMode::Blocking) {
    sleepUs(us);
    return;
  }
  // Timers count whole milliseconds: the loop runs for the whole milliseconds, and the
  // remainder (under 1 ms) is slept, so a wait for a reply byte due in 1.04 ms does not
  // end up 2 ms long.
  const std::int64_t end = nowUs() + us;
  if (us >= 1000) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(us / 1000));
    loop.exec();
  }
  sleepUs(end - nowUs());
}

}  // namespace q5::qtlink
