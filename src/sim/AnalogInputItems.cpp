// Item table of the analog input modules of the simulated unit.
#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

void AddAnalogInputItems(SimulatedUnit& unit) {
  switch (unit.moduleKind()) {
    case 0: case 7: case 17: break;
    default: return;
  }
  // The per-channel items of the analog input pages are added here.
}

}  // namespace q5::sim
