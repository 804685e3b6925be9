#pragma once
// A simulated analog input unit on an in-process port, the real exchange and link, a
// recording dialog set and the session values of that model, with the wire lines the
// page sent (without their CR).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TestDialogs.h"
#include "catalogue/Catalogue.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "link/Link.h"
#include "pages/ModulePage.h"
#include "session/SessionValues.h"
#include "sim/SimPort.h"

struct AnalogRig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port;
  q5::link::Exchange exchange;
  q5::link::Link link;
  TestDialogs dialogs;
  q5::session::SessionValues values;
  int disconnects = 0;
  q5::pages::PageContext ctx;
  std::vector<std::string> lines;

  explicit AnalogRig(const std::string& model)
      : port(q5::sim::MakeSimPort(model, clock)),
        exchange(*port, clock),
        link(exchange),
        ctx{link, dialogs, values, [this] { ++disconnects; }} {
    ctx.monitoring = [this] { return values.Monitoring; };
    exchange.ComPortOpen("sim:" + model);
    values.model = model;
    values.flags.SetModelFlags(model);
    q5::catalogue::ModuleKindOf(q5::catalogue::ModulePartOf(model), values.moduleKind);
    values.pageKind = values.moduleKind;
    values.networkType = 99;
    values.channelCount = static_cast<std::int16_t>(port->unit().channelCount());
    values.Connected = true;
    exchange.setTraceObserver([this](q5::link::TraceEvent e, std::string_view text, std::int64_t) {
      if (e != q5::link::TraceEvent::Sent) return;
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      lines.emplace_back(text);
    });
  }

  q5::sim::SimulatedUnit& unit() { return port->unit(); }
  // The lines sent since the last call.
  std::vector<std::string> take() {
    std::vector<std::string> out;
    out.swap(lines);
    return out;
  }
};

// Concatenates line lists, so a transcript reads as its parts.
inline std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
