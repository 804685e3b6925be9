#pragma once
// What the main window's tests set up alike: a folder for the program's files, scripted
// dialogs, the window's Setup pointing at both, and the first steps most tests take
// (connect to a simulated unit, put faults on its line, read a field).
#include <QLineEdit>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "../core/TestDialogs.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"
#include "qtlink/PortSwitch.h"
#include "sim/SimPort.h"

struct WindowRig {
  QTemporaryDir folder;
  TestDialogs dialogs;

  // Fresh dialogs for the next test (the folder stays).
  void reset() { dialogs = TestDialogs{}; }
  // The window answers through `dialogs` and keeps its files in `folder`; the port
  // dialog lists nothing unless `withPorts`.
  q5::gui::frmQ5Con::Setup setup(bool withPorts = false) {
    q5::gui::frmQ5Con::Setup s;
    s.dialogs = &dialogs;
    if (!withPorts) s.portChoices = [] { return std::vector<q5::gui::PortChoice>{}; };
    s.applicationFolder = folder.path().toStdString();
    return s;
  }
  QString path(const QString& name) const { return folder.filePath(name); }
};

// Connects as "Setting" with the port chosen would (Connect is enabled only after it).
inline void ConnectTo(q5::gui::frmQ5Con& w, const std::string& port) {
  w.session().setPortName(port);
  w.btnConnect_Click();
}

// Simulated units opened from now on have these faults on their line.
inline void UseFaults(q5::gui::frmQ5Con& w, std::vector<std::string> faults) {
  w.portSwitch().setSimFactory([&w, faults](const std::string& model) {
    q5::sim::SimOptions o;
    o.faults = faults;
    return q5::sim::MakeSimPort(model, w.session().exchange().clock(), o);
  });
}

// The text of a field of the page shown ("(no such box)" when there is none).
inline QString FieldText(q5::gui::frmQ5Con& w, const char* name) {
  q5::gui::PageView* v = w.currentPageView();
  auto* edit = v ? qobject_cast<QLineEdit*>(v->control(name)) : nullptr;
  return edit ? edit->text() : QStringLiteral("(no such box)");
}
