#include "session/Scan.h"

#include "link/Link.h"
#include "link/TextRoutines.h"

namespace q5::session {

namespace {
// The Connect check tries once, as Connect does; the identification reads as Upload does.
constexpr int kConnectRetry = 1;
constexpr int kRetry = 3;
}  // namespace

std::vector<ScanResult> ScanPorts(link::Exchange& exchange, const std::vector<std::string>& ports,
                                  const ScanProgress& progress) {
  std::vector<ScanResult> results;
  link::Link link(exchange);
  const int count = static_cast<int>(ports.size());
  for (int i = 0; i < count; ++i) {
    if (progress && !progress(i, count, ports[i])) break;
    ScanResult r;
    r.port = ports[i];
    exchange.ComPortClose();
    exchange.ComPortOpen(ports[i]);
    if (exchange.isOpen()) {
      const std::string id = link::ValueBeforeColon(link.GroupItemReadRetry(kConnectRetry, "00", "01"));
      r.answered = id == "MNTSW";
    }
    if (r.answered) {
      link.GroupItemWriteRetry(kRetry, "00", "01", "F");
      const std::string model = link.ItemReadRetry(kRetry, "02");
      const std::string version = model.empty() ? std::string() : link.ItemReadRetry(kRetry, "06");
      const std::string channels = version.empty() ? std::string() : link.ItemReadRetry(kRetry, "03");
      r.identified = !channels.empty();
      r.model = link::ValueAfterColon(model);
      r.version = link::ValueAfterColon(version).substr(0, 4);
      r.channels = link::ValueAfterColon(channels);
    }
    exchange.ComPortClose();
    results.push_back(std::move(r));
  }
  if (progress) progress(count, count, std::string());
  return results;
}

std::string DescribeScanResult(const ScanResult& r) {
  if (!r.answered) return r.port + "\tno unit";
  if (!r.identified) return r.port + "\tunit answered, identification failed";
  return r.port + "\t" + r.model + "\tVersion " + r.version + "\t" + r.channels;
}

}  // namespace q5::session
