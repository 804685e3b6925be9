// Fuzz target: the configuration-file reader, with a save-and-reopen round trip. A file
// that opens must save (what was read can be written), and the saved text must open again
// and save to the same text: reader and writer agree on every file the reader accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ConfigFiles.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "session/Session.h"
#include "ui/UnattendedDialogs.h"

namespace {

// A port that is never opened: opening a file without a unit sends nothing.
class NoPort : public q5::link::Port {
 public:
  bool open(const std::string&, int) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  bool setBaudRate(int) override { return false; }
  std::size_t bytesWaiting() override { return 0; }
  bool write(std::string_view) override { return false; }
  std::string readAll() override { return {}; }
  void waitForBytes(std::int64_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 256 * 1024) return 0;
  const std::string contents(reinterpret_cast<const char*>(data), size);
  q5::link::VirtualClock clock;
  NoPort port;
  q5::link::Exchange exchange(port, clock);
  q5::ui::UnattendedDialogs dialogs;
  q5::session::Session session(exchange, dialogs);
  q5::config::ConfigFiles files(session);
  if (!files.LoadText("fuzz.uJx", contents)) return 0;

  std::string saved, error;
  if (!files.CurrentConfigText(saved, error)) std::abort();  // read, but cannot be written
  if (!files.LoadText("saved.uJx", saved)) std::abort();     // written, but does not read
  std::string again;
  if (!files.CurrentConfigText(again, error) || again != saved) std::abort();  // drifted
  return 0;
}
