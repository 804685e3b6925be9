// q5trendbench: what the trend view costs a monitoring pass. Connects the main window to
// a unit (by default a simulated 8-channel analog input unit with line timing at 9600
// baud), then runs monitoring passes exactly as the monitoring loop does (let the window
// messages run, refresh, ReadingData, page updated), alternating blocks with the trend
// window closed and open, and reports the median pass time of each and their ratio.
//   q5trendbench [--port P] [--blocks N] [--passes N]
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowTools.h"
#include "TrendView.h"
#include <QChartView>
#include "frmQ5Con.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string port = "sim:Q5Z3UECT-1-AIMF8N";
  int blocks = 6, passes = 10;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--port") port = argv[i + 1];
    else if (a == "--blocks") blocks = std::atoi(argv[i + 1]);
    else if (a == "--passes") passes = std::atoi(argv[i + 1]);
  }

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
