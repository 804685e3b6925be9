#pragma once
// The program-wide values of a run: what was identified (or opened from a file) and the
// connection flags. Owned by the session; pages and file routines read them.
#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"

namespace q5::session {

struct SessionValues {
  // Identification (from the unit at Upload, or from a configuration file).
  std::string model = "NONE";                          // unit model string
  std::int16_t moduleKind = catalogue::kNotIdentified;  // selects the module page
  std::int16_t pageKind = catalogue::kNotIdentified;    // what the main window dispatches on
  std::int16_t networkType = catalogue::kNotIdentified;
  catalogue::NetworkButton networkButton;
  catalogue::ModelFlags flags;
  std::string versionText;        // "Version : " + four-character firmware version
  std::int16_t channelCount = 0;  // channels the unit reported, or stored in a file

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
