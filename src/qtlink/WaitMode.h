#pragma once
// How the Qt adapters wait for the unit.
#include <cstdint>

namespace q5::qtlink {

enum class WaitMode {
  // Block the calling thread in the kernel (select on the port) until bytes arrive or
  // the deadline passes. For the command line and benchmarks: no event loop needed.
  Blocking,
  // Run a nested event loop that ends on readyRead, a port error or a single-shot timer
  // at the deadline, so windows keep painting and clicks arrive while a reply is awaited.
  EventLoop,
};

// In EventLoop mode the waits for the unit let the window events in at most this often:
// a monitoring pass waits some fifty times a second, and a pass over the events costs
// more than the wait itself. Windows still paint and take clicks and keys within a few
// tens of milliseconds.
inline constexpr std::int64_t kWindowEventsEveryUs = 25'000;

// Whether a wait beginning at nowUs lets the window events in, the last wait that did
// having done so at lastUs (on the same clock).
constexpr bool WindowEventsDue(std::int64_t nowUs, std::int64_t lastUs) {
  return nowUs < lastUs || nowUs - lastUs >= kWindowEventsEveryUs;
}

}  // namespace q5::qtlink
