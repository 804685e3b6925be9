#pragma once
// What a unit is: the identification read from it at Upload, or taken from a
// configuration file. Every module page and network window reads it (model flags,
// channel count, module kind); the session owns it and keeps the connection flags beside
// it.
#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"

namespace q5::catalogue {

struct UnitIdentity {
  std::string model = "NONE";                // unit model string
  std::int16_t moduleKind = kNotIdentified;  // selects the module page
  std::int16_t pageKind = kNotIdentified;    // what the main window dispatches on
  std::int16_t networkType = kNotIdentified;
  NetworkButton networkButton;
  ModelFlags flags;
  std::string versionText;        // "Version : " + four-character firmware version
  std::int16_t channelCount = 0;  // channels the unit reported, or stored in a file
};

}  // namespace q5::catalogue
