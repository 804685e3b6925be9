#include "pages/PageTables.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmSG2.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateLoadCellPage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 13: return std::make_unique<frmSG2>(ctx);
    case 14: return std::make_unique<frmLNRIO1>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
