#pragma once
// Finding units: on each port in turn, the Connect check (group "00" item "01" must answer
// "MNTSW" before the first colon) and, only where it answered, the identification reads
// (the setting-mode "F", model "02", version "06", channel count "03"). A port that did
// not answer gets nothing more. Each port is closed before the next is tried; the normal
// reply time-out applies, and the caller can cancel between ports.
#include <functional>
#include <string>
#include <vector>

#include "link/Exchange.h"

namespace q5::session {

struct ScanResult {
  std::string port;
  bool answered = false;    // the Connect check answered "MNTSW"
  bool identified = false;  // the identification reads answered too
  std::string model;        // after the colon of item "02"
  std::string version;      // the four characters of item "06"
  std::string channels;     // after the colon of item "03" ("4CHs")
};

// Called before port `index` (0-based) of `count` is tried, then once more with
// index == count at the end. False cancels the scan (ports not tried are not listed).
using ScanProgress = std::function<bool(int index, int count, const std::string& port)>;

// Tries every port; returns the results of the ports tried, in order. The exchange's port
// is left closed.
std::vector<ScanResult> ScanPorts(link::Exchange& exchange, const std::vector<std::string>& ports,
                                  const ScanProgress& progress = {});

// One line for a person: "PORT  MODEL  Version V  CHANNELS" or "PORT  no unit".
std::string DescribeScanResult(const ScanResult& r);

}  // namespace q5::session
