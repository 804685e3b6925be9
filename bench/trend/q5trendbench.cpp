// q5trendbench: what the trend view costs a monitoring pass. Connects the main window to
// a unit (by default a simulated 8-channel analog input unit with line timing at 9600
// baud), then runs monitoring passes exactly as the monitoring loop does (let the window
// messages run, refresh, ReadingData, page updated), alternating blocks with the trend
// window closed and open, and reports the median pass time of each and their ratio.
//   q5trendbench [--port P] [--blocks N] [--passes N]
// With --cpu SECONDS it instead measures what monitoring costs the processor: the same
// unit monitored for SECONDS by a session without windows (the event-loop waits the
// window uses), then by the real main window (Start, the loop, Stop as a person clicks
// them), each as process CPU time / elapsed time, with the passes each ran.
//   q5trendbench --cpu 30 [--port P] [--rounds N]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowTools.h"
#include "TrendView.h"
#include <QChartView>
#include "frmQ5Con.h"
#include "link/Exchange.h"
#include "qtlink/PortSwitch.h"
#include "qtlink/QtClock.h"
#include "session/Session.h"
#include "ui/UnattendedDialogs.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// The process's CPU time (user + system, every thread) in seconds.
double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct CpuFigure {
  double share = 0;  // CPU time / elapsed time
  int passes = 0;
  double seconds = 0;
};

// Lets the window messages run on every pass, as the window's loop does, and nothing else.
class BareView : public q5::session::SessionView {
 public:
  void processEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
};

// Monitoring without windows: the session on the event-loop waits the window uses.
CpuFigure MonitorWithoutWindows(const std::string& port, double seconds) {
  q5::qtlink::QtClock clock(q5::qtlink::WaitMode::EventLoop);
  q5::qtlink::PortSwitch link(clock, q5::qtlink::WaitMode::EventLoop);
  q5::link::Exchange exchange(link, clock);
  q5::ui::UnattendedDialogs dialogs;
  q5::session::Session s(exchange, dialogs);
  BareView view;
  s.setView(&view);
  s.setPortName(port);
  s.btnConnect_Click();
  CpuFigure f;
  if (!s.values.Connected) return f;
  QTimer::singleShot(static_cast<int>(seconds * 1000), [&s] { s.btnStop_Click(); });
  QElapsedTimer t;
  t.start();
  const double cpu = CpuSeconds();
  s.btnStart_Click();  // returns when monitoring has ended
  f.seconds = t.nsecsElapsed() / 1e9;
  f.share = (CpuSeconds() - cpu) / f.seconds;
  f.passes = s.monitorPass();
  s.btnDisconnect_Click();
  return f;
}

// Monitoring in the main window, started and stopped by its buttons.
CpuFigure MonitorInWindow(q5::gui::frmQ5Con& w, double seconds) {
  CpuFigure f;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &w, [&w] { w.btnStop_Click(); });
  QElapsedTimer t;
  t.start();
  const double cpu = CpuSeconds();
  w.btnStart_Click();  // returns when monitoring has ended
  f.seconds = t.nsecsElapsed() / 1e9;
  f.share = (CpuSeconds() - cpu) / f.seconds;
  f.passes = w.session().monitorPass();
  return f;
}

int CpuBench(const std::string& port, double seconds, int rounds) {
  std::vector<double> bare, window;
  std::string model;
  for (int r = 0; r < rounds; ++r) {
    // No window exists while the bare session runs (the window's hook on every wait
    // would otherwise refresh its page).
    const CpuFigure a = MonitorWithoutWindows(port, seconds);
    CpuFigure b;
    {
      q5::gui::frmQ5Con w;
      w.show();
      w.session().setPortName(port);
      w.btnConnect_Click();
      if (!w.session().values.Connected || !w.currentPageView()) {
        std::fprintf(stderr, "q5trendbench: no unit on %s\n", port.c_str());
        return 1;
      }
      model = w.session().values.model;
      // Let the window settle (first paint, fonts) before anything is measured.
      QElapsedTimer settle;
      settle.start();
      while (settle.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      b = MonitorInWindow(w, seconds);
    }
    std::printf("round %d: without windows %.2f %% (%d passes in %.1f s), main window %.2f %% "
                "(%d passes in %.1f s)\n",
                r + 1, a.share * 100, a.passes, a.seconds, b.share * 100, b.passes, b.seconds);
    std::fflush(stdout);
    bare.push_back(a.share);
    window.push_back(b.share);
  }
  std::printf("unit %s on %s, %d rounds of %.0f s\n", model.c_str(), port.c_str(), rounds, seconds);
  std::printf("monitoring CPU without windows: median %.2f %% of one core\n", Median(bare) * 100);
  std::printf("monitoring CPU in the main window: median %.2f %% of one core\n",
              Median(window) * 100);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string port = "sim:Q5Z3UECT-1-AIMF8N";
  int blocks = 6, passes = 10, rounds = 3;
  double cpuSeconds = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--port") port = argv[i + 1];
    else if (a == "--blocks") blocks = std::atoi(argv[i + 1]);
    else if (a == "--passes") passes = std::atoi(argv[i + 1]);
    else if (a == "--cpu") cpuSeconds = std::atof(argv[i + 1]);
    else if (a == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  if (cpuSeconds > 0) return CpuBench(port, cpuSeconds, rounds);

  q5::gui::frmQ5Con w;
  w.show();
  auto& s = w.session();
  s.setPortName(port);
  w.btnConnect_Click();
  auto* page = s.page();
  if (!s.values.Connected || !page) {
    std::fprintf(stderr, "q5trendbench: no unit on %s\n", port.c_str());
    return 1;
  }
  w.tools()->mnuTrend_Click();
  auto* trend = w.tools()->trendView();
  s.start_btn_control();  // Monitoring on, as Start does

  std::vector<double> closed, open;
  auto pass = [&] {
    QElapsedTimer t;
    t.start();
    w.processEvents();
    w.refresh();
    page->ReadingData();
    w.pageUpdated();
    return t.nsecsElapsed() / 1e6;
  };
  for (int b = 0; b < blocks; ++b) {
    for (bool withTrend : {false, true}) {
      trend->setVisible(withTrend);
      pass();  // the first pass after a switch settles the window
      for (int i = 0; i < passes; ++i) (withTrend ? open : closed).push_back(pass());
    }
  }
  s.stop_btn_control();
  // What one redraw of the plot costs, drawn at once (the timer does it between replies).
  trend->setVisible(true);
  std::vector<double> draws;
  for (int i = 0; i < 20; ++i) {
    QElapsedTimer t;
    t.start();
    trend->redraw();
    trend->chartView->viewport()->repaint();
    draws.push_back(t.nsecsElapsed() / 1e6);
  }
  const double a = Median(closed), b = Median(open);
  std::printf("unit %s, %zu passes each\n", s.values.model.c_str(), closed.size());
  std::printf("pass without trend: median %.2f ms\n", a);
  std::printf("pass with trend:    median %.2f ms (%d samples plotted)\n", b, trend->samples());
  std::printf("ratio: %.4f\n", a > 0 ? b / a : 0.0);
  std::printf("one redraw of the plot: median %.2f ms\n", Median(draws));
  return 0;
}
