#pragma once
// The program-wide values of a run: what was identified (or opened from a file) and the
// connection flags. Owned by the session; pages and file routines read them.
#include <string>

#include "catalogue/UnitIdentity.h"

namespace q5::session {

// The unit's identity (catalogue::UnitIdentity: model, kinds, flags, version, channel
// count) and, on top of it, the connection flags and folders of the run.
struct SessionValues : catalogue::UnitIdentity {
  // Connection flags.
  bool Connected = false;
  bool Monitoring = false;
  bool PageShown = false;
  bool CreatedConfig = false;
  bool FirmUpdateMode = false;
  bool DebugMode = false;

  std::string applicationFolder;  // the program's folder (holds tmp/tmp.uJx)
  // The user's cache folder: tmp/tmp.uJx goes there when the program's folder cannot be
  // written (an installed program in a system folder).
  std::string cacheFolder;
};

}  // namespace q5::session
