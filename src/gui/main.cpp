// q5cfg: the configuration tool's main window.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "PageView.h"
#include "frmComPort.h"
#include "AppIcon.h"
#include "frmQ5Con.h"

namespace {

// Saves a picture of a widget; true when it was written.
bool SavePicture(QWidget* w, const QString& file) {
  // Best compression: the pictures go into the manual.
  const bool ok = w && w->grab().save(file, nullptr, 0);
  std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
  return ok;
}

// What --screenshot takes a picture of.
struct Shot {
  QString file;
  QString port;     // --port: connect to it first
  bool monitor = false;  // --monitor: while the monitoring loop runs
  int tab = 0;      // --tab N: with the page's tab N shown
  QString dialog;   // --dialog com|message|network: the COM port dialog, the message box
                    // that connecting to the port brings up, or the network settings
                    // window, instead of the window
};

// Pictures of a modal dialog are taken once it is up (the port dialog with the entry of
// port chosen, when it has one); then it is closed, which lets the action that opened it
// go on.
void PictureOfNextDialog(const QString& file, bool* ok, const QString& port = {}) {
  QTimer::singleShot(500, [file, ok, port] {
    QWidget* dlg = QApplication::activeModalWidget();
    if (auto* com = qobject_cast<q5::gui::frmComPort*>(dlg)) {
      const int i = com->cmbComPort->findData(port);
      if (i >= 0) com->cmbComPort->setCurrentIndex(i);
    }
    *ok = SavePicture(dlg, file);
    if (auto* d = qobject_cast<QDialog*>(dlg)) d->reject();
  });
}

// --screenshot FILE: connect to a port, show a tab or monitor for a moment, save a
// picture of the window (or of a dialog) and end (used to make the pictures of the
// manual).
void ScheduleScreenshot(q5::gui::frmQ5Con& w, const Shot& shot) {
  QTimer::singleShot(300, &w, [&w, shot] {
    if (shot.dialog == QLatin1String("com")) {
      bool ok = false;
      PictureOfNextDialog(shot.file, &ok, shot.port);
      w.btnSetting_Click();  // returns when the dialog has closed
      QCoreApplication::exit(ok ? 0 : 1);
      return;
    }
    if (!shot.port.isEmpty()) {
      w.session().setPortName(shot.port.toStdString());
      if (shot.dialog == QLatin1String("message")) {
        bool ok = false;
        PictureOfNextDialog(shot.file, &ok);
        w.btnConnect_Click();
        QCoreApplication::exit(ok ? 0 : 1);
        return;
      }
      w.btnConnect_Click();
    }
    if (shot.dialog == QLatin1String("network")) {
      // The network settings window stays up for a few seconds, long enough for a
      // picture with the window manager's frame taken from outside.
      bool ok = false;
      QTimer::singleShot(3000, [file = shot.file, &ok] {
        QWidget* dlg = QApplication::activeModalWidget();
        ok = SavePicture(dlg, file);
        if (auto* d = qobject_cast<QDialog*>(dlg)) d->reject();
      });
      w.btnComNet_Click();  // returns when the window has closed
      QCoreApplication::exit(ok ? 0 : 1);
      return;
    }
    if (shot.tab > 0)
      if (auto* view = w.currentPageView())
        if (auto* b = qobject_cast<QAbstractButton*>(
                view->control("cmdSet" + std::to_string(shot.tab))))
          b->click();
    if (shot.monitor) {
      // The picture is taken while the monitoring loop runs; then Stop ends it.
      bool ok = false;
      QTimer::singleShot(1500, &w, [&w, &ok, shot] {
        ok = SavePicture(&w, shot.file);
        w.btnStop_Click();
      });
      w.btnStart_Click();  // returns when monitoring has ended
      QCoreApplication::exit(ok ? 0 : 1);
      return;
    }
    QTimer::singleShot(300, &w,
                       [&w, shot] { QCoreApplication::exit(SavePicture(&w, shot.file) ? 0 : 1); });
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Q5CFG"));
  QCoreApplication::setApplicationVersion(QStringLiteral(Q5CFG_VERSION));
  QApplication::setWindowIcon(q5::gui::AppIcon());

  // Our own options are taken out; what remains is the command line the window reads
  // ("-debug" or "-firmupdate").
  Shot shot;
  std::vector<std::string> args;
  const QStringList all = app.arguments();
  for (int i = 1; i < all.size(); ++i) {
    if (all[i] == QLatin1String("--screenshot") && i + 1 < all.size()) {
      shot.file = all[++i];
    } else if (all[i] == QLatin1String("--port") && i + 1 < all.size()) {
      shot.port = all[++i];
    } else if (all[i] == QLatin1String("--monitor")) {
      shot.monitor = true;
    } else if (all[i] == QLatin1String("--tab") && i + 1 < all.size()) {
      shot.tab = all[++i].toInt();
    } else if (all[i] == QLatin1String("--dialog") && i + 1 < all.size()) {
      shot.dialog = all[++i];
    } else {
      args.push_back(all[i].toStdString());
    }
  }

  q5::gui::frmQ5Con::Setup setup;
  setup.args = args;
  q5::gui::frmQ5Con w(setup);
  w.show();
  if (!shot.file.isEmpty()) ScheduleScreenshot(w, shot);
  return app.exec();
}
