#include "pages/PageTables.h"
#include "pages/frmRT4.h"
#include "pages/frmTC4.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateTemperaturePage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 1: return std::make_unique<frmTC4>(ctx);
    case 2: return std::make_unique<frmRT4>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
