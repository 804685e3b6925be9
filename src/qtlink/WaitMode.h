#pragma once
// How the Qt adapters wait for the unit.

namespace q5::qtlink {

enum class WaitMode {
  // Block the calling thread in the kernel (select on the port) until bytes arrive or
  // the deadline passes. For the command line and benchmarks: no event loop needed.
  Blocking,
  // Run a nested event loop that ends on readyRead, a port error or a single-shot timer
  // at the deadline, so windows keep painting and clicks arrive while a reply is awaited.
  EventLoop,
};

}  // namespace q5::qtlink
