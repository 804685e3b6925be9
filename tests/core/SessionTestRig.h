#pragma once
// A session on a simulated unit with virtual time: the wire lines sent (without their
// CR), the dialogs shown and what the view was told.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestDialogs.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "session/Session.h"
#include "sim/SimPort.h"

class RecordingView : public q5::session::SessionView {
 public:
  std::vector<q5::pages::ModulePage*> shownPages;  // nullptr: the placeholder page
  int endPrograms = 0;
  int changeValueCloses = 0;
  std::vector<int> networkWindows;
  int passes = 0;  // processEvents calls
  std::function<void()> onProcessEvents;
  std::function<void(int)> onNetworkWindow;

  void showPage(q5::pages::ModulePage* page) override { shownPages.push_back(page); }
  void processEvents() override {
    ++passes;
    if (onProcessEvents) onProcessEvents();
  }
  void endProgram() override { ++endPrograms; }
  void openNetworkWindow(int code) override {
    networkWindows.push_back(code);
    if (onNetworkWindow) onNetworkWindow(code);
  }
  void closeChangeValueDialog() override { ++changeValueCloses; }
};

struct SessionRig {
  explicit SessionRig(const std::string& model, q5::sim::SimOptions options = {})
      : port(q5::sim::MakeSimPort(model, clock, std::move(options))),
        exchange(*port, clock),
        session(exchange, dialogs) {
    exchange.setTraceObserver([this](q5::link::TraceEvent e, std::string_view text, std::int64_t) {
      if (e != q5::link::TraceEvent::Sent) return;
      std::string line(text);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      wire.push_back(line);
      if (onSent) onSent(line);
    });
    session.setView(&view);
    session.setPortName("sim:" + model);
  }

  // Setting, then the dialog's OK on the rig's port.
  void connect() {
    const std::string name = session.portName();
    session.btnSetting_Click(&name);
  }
  // The wire lines since the last call.
  std::vector<std::string> takeWire() {
    std::vector<std::string> out;
    out.swap(wire);
    return out;
  }
  q5::sim::SimulatedUnit& unit() { return port->unit(); }

  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange exchange;
  TestDialogs dialogs;
  RecordingView view;
  q5::session::Session session;
  std::vector<std::string> wire;
  // Called after each line is sent (while the exchange waits for its reply).
  std::function<void(const std::string&)> onSent;
};

// Buttons as a compact text: the enabled ones of Start, Stop, Connect, Disconnect,
// Setting, ComNet, Upload, Download, e.g. "Start Disconnect ComNet Upload Download".
inline std::string Enabled(const q5::session::Buttons& b) {
  std::string s;
  auto add = [&s](bool on, const char* name) {
    if (!on) return;
    if (!s.empty()) s += ' ';
    s += name;
  };
  add(b.btnStart, "Start");
  add(b.btnStop, "Stop");
  add(b.btnConnect, "Connect");
  add(b.btnDisconnect, "Disconnect");
  add(b.btnSetting, "Setting");
  add(b.btnComNet, "ComNet");
  add(b.btnUpload, "Upload");
  add(b.btnDownload, "Download");
  return s;
}
