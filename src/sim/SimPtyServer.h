#pragma once
// Serves a simulated unit's line on a pseudo-terminal: the unit sits on the master side,
// a serial program opens the slave path as if it were the unit's COM port. Used by q5sim
// and by tests that talk to the unit through a real terminal device.
//
// The server keeps a slave descriptor of its own open for its whole life, so a client
// may open and close the slave as often as it likes: the master never sees a hang-up,
// and the raw line settings survive between the client's opens. With line timing on it
// follows the baud rate when the client changes it on the slave.
#include <atomic>
#include <cstdint>
#include <string>

#include "link/Clock.h"
#include "sim/SimLine.h"

namespace q5::sim {

class SimPtyServer {
 public:
  explicit SimPtyServer(SimLine& line) : line_(line) {}
  ~SimPtyServer();
  SimPtyServer(const SimPtyServer&) = delete;
  SimPtyServer& operator=(const SimPtyServer&) = delete;

  // Creates the pseudo-terminal (raw, 9600 baud); false with a reason in *error.
  bool open(std::string* error = nullptr);
  // The path a client opens ("/dev/pts/3").
  const std::string& slavePath() const { return slavePath_; }

  // Answers on the terminal until stop(), until watchFd (when >= 0) reaches end of file,
  // until the clock passes endUs (when >= 0), or until the port vanishes (fault
  // "vanish": the terminal is closed). Returns false on an error of the terminal.
  bool serve(link::Clock& clock, std::int64_t endUs = -1, int watchFd = -1);
  // Ends serve() from another thread or a signal handler.
  void stop();
  // The terminal was closed by the fault "vanish".
  bool vanished() const { return vanished_; }

 private:
  void closeAll();

  SimLine& line_;
  int master_ = -1;
  int slave_ = -1;
  int wake_[2] = {-1, -1};  // self-pipe that stop() writes to
  std::string slavePath_;
  std::atomic<bool> stop_{false};
  bool vanished_ = false;
  int slaveBaud_ = 9600;  // the rate last seen on the slave side
};

}  // namespace q5::sim
