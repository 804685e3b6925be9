// Item table of the discrete input / output modules of the simulated unit.
#include "sim/ItemTables.h"
#include "sim/SimulatedUnit.h"

namespace q5::sim {

void AddDiscreteItems(SimulatedUnit& unit) {
  switch (unit.moduleKind()) {
    case 5: case 6: case 8: case 9: case 18: case 20: break;
    default: return;
  }
  // The items of the discrete pages are added here.
}

}  // namespace q5::sim
