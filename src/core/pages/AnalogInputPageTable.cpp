#include "pages/PageTables.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"
#include "pages/frmAIF2.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateAnalogInputPage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 0: return std::make_unique<frmAI4>(ctx);
    case 7: return std::make_unique<frmAIF2>(ctx);
    case 17: return std::make_unique<frmAI8>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
