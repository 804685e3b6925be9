// q5cfg: the configuration tool's main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "frmQ5Con.h"

namespace {

// --screenshot FILE: connect to a port, monitor for a moment, save a picture of the
// window and end (used to make the pictures of the manual).
void ScheduleScreenshot(q5::gui::frmQ5Con& w, const QString& file, const QString& port,
                        bool monitor) {
  auto save = [&w, file] {
    const bool ok = w.grab().save(file);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
    return ok;
  };
  QTimer::singleShot(300, &w, [&w, port, monitor, save] {
    if (!port.isEmpty()) {
      w.session().setPortName(port.toStdString());
      w.btnConnect_Click();
    }
    if (monitor) {
      // The picture is taken while the monitoring loop runs; then Stop ends it.
      bool ok = false;
      QTimer::singleShot(1500, &w, [&w, &ok, save] {
        ok = save();
        w.btnStop_Click();
      });
      w.btnStart_Click();  // returns when monitoring has ended
      QCoreApplication::exit(ok ? 0 : 1);
      return;
    }
    QTimer::singleShot(300, &w, [save] { QCoreApplication::exit(save() ? 0 : 1); });
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Q5CFG"));
  QCoreApplication::setApplicationVersion(QStringLiteral(Q5CFG_VERSION));

  // Our own options are taken out; what remains is the command line the window reads
  // ("-debug" or "-firmupdate").
  QString screenshot, port;
  bool monitor = false;
  std::vector<std::string> args;
  const QStringList all = app.arguments();
  for (int i = 1; i < all.size(); ++i) {
    if (all[i] == QLatin1String("--screenshot") && i + 1 < all.size()) {
      screenshot = all[++i];
    } else if (all[i] == QLatin1String("--port") && i + 1 < all.size()) {
      port = all[++i];
    } else if (all[i] == QLatin1String("--monitor")) {
      monitor = true;
    } else {
      args.push_back(all[i].toStdString());
    }
  }

  q5::gui::frmQ5Con::Setup setup;
  setup.args = args;
  q5::gui::frmQ5Con w(setup);
  w.show();
  if (!screenshot.isEmpty()) ScheduleScreenshot(w, screenshot, port, monitor);
  return app.exec();
}
