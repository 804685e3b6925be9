#pragma once
// The line faults of the fault matrices, and what each may cost a sequence. Shared by the
// main window's matrix and the matrix of the network windows and the firmware update.
#include <cstdint>
#include <string>
#include <vector>

// The reply time-out, the pause, and the quiet moment left after a time-out for a late
// answer.
inline constexpr std::int64_t kTimeOutUs = 3'000'000 + 10'000 + 700'000;

// What a fault does to a sequence.
enum class Outcome {
  Absorbed,  // the retries hide it: no message, no failure
  Fails,     // the sequence reports a failure (a message, the status, or both)
  Either,    // depends on where in the sequence it strikes; only the bounds hold
};

struct Fault {
  const char* name;
  std::vector<std::string> faults;  // q5sim --fault texts, added when the sequence starts
  Outcome outcome;
  int maxTimeOuts;  // time-outs the fault may cost at most
};

// "+2" lets the first two lines of a sequence through, so faults strike in its middle.
inline const Fault kFaults[] = {
    {"no reply once", {"noreply*1+2"}, Outcome::Absorbed, 1},
    {"no reply ever", {"noreply"}, Outcome::Fails, 3},
    // (the line that goes unanswered first may be the second of a transaction whose
    // first was answered: one time-out more)
    {"silent mid-way", {"noreply+5"}, Outcome::Fails, 4},
    {"late reply", {"late:3500*1+2"}, Outcome::Either, 1},
    {"1-byte chunks", {"chunks:1:2"}, Outcome::Absorbed, 0},
    {"garbage before once", {"garbage*1+2"}, Outcome::Absorbed, 0},
    {"garbage always", {"garbage"}, Outcome::Fails, 0},
    {"duplicate reply once", {"dup*1+2"}, Outcome::Absorbed, 0},
    {"CNG once", {"cng*1+2"}, Outcome::Either, 0},
    {"CNU once", {"cnu*1+2"}, Outcome::Either, 0},
    {"CNG always", {"cng"}, Outcome::Fails, 0},
    {"no CR then silence", {"nocr*1+2"}, Outcome::Absorbed, 1},
    {"byte flood", {"flood*1+2"}, Outcome::Absorbed, 1},
    {"NUL and 0xFF", {"reply:C\\x00\\xFF*1+2"}, Outcome::Absorbed, 0},
    {"reset reply", {"reply:\\x00\\xFFQ5 RESET*1+2"}, Outcome::Absorbed, 0},
    {"port vanishes", {"vanish+3"}, Outcome::Fails, 0},
};

