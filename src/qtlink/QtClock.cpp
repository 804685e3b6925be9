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
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(static_cast<int>((us + 999) / 1000));
  loop.exec();
}

}  // namespace q5::qtlink
