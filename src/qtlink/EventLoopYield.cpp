#include "qtlink/EventLoopYield.h"

namespace q5::qtlink {

namespace {
std::function<void()>& Hook() {
  static std::function<void()> hook;
  return hook;
}
bool running = false;
}  // namespace

void SetYieldHook(std::function<void()> hook) { Hook() = std::move(hook); }

void RunYieldHook() {
  if (running || !Hook()) return;
  running = true;
  Hook()();
  running = false;
}

}  // namespace q5::qtlink
