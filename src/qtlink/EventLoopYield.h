#pragma once
// What runs each time a wait of the event-loop mode is about to let window events in:
// the GUI brings its views up to date there, so a control that a sequence disabled is
// greyed before a key press or click can reach it, and values, captions and progress
// move as the unit answers.
#include <functional>

namespace q5::qtlink {

// Replaces the hook (an empty function removes it).
void SetYieldHook(std::function<void()> hook);
// Runs the hook, if any. A hook that waits itself is not run again inside.
void RunYieldHook();

}  // namespace q5::qtlink
