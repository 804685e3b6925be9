#pragma once
// One model per page kind of the catalogue (from the model flags), plus the variants a
// page treats apart: sweeps over every page kind start from this list.
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"

inline std::vector<std::string> EveryPageKindModel() {
  std::vector<std::string> models;
  for (int n = 1; n <= q5::catalogue::kFlagCount; ++n)
    models.emplace_back(q5::catalogue::FlagModel(n));
  for (const char* m :
       {"Q5T3NML3-6-AI4", "Q5T3NML3-6-TC4", "Q5T3NML3-6-RT4", "Q5T3NML3-6-OV2", "Q5T3NML3-6-OC2",
        "Q5T3NML3-6-AIF2", "Q5T3NML3-6-PI2", "Q5T3NML3-6-PI1", "Q5T3NML3-6-PI1/A", "Q5T3NML3-6-EC4",
        "Q5V3UM-AC32", "Q5V3PM-BI32", "Q5T3PM-BI16", "Q5Z3UECT-1-PI8A", "Q5T3NML3-6-SG2A",
        "Q5T3NML3-6-LNRIO1", "Q5Z3UECT-1-AIF8N", "Q5W3UD-BIO16", "Q5T3NML3-6-OCF4"})
    models.emplace_back(m);
  return models;
}
