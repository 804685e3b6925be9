#include "pages/PageTables.h"
#include "pages/frmOC2.h"
#include "pages/frmOCF4.h"
#include "pages/frmOV2.h"
#include "pages/frmOVF4.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateAnalogOutputPage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 3: return std::make_unique<frmOV2>(ctx);
    case 4: return std::make_unique<frmOC2>(ctx);
    case 10: return std::make_unique<frmOCF4>(ctx);
    case 12: return std::make_unique<frmOVF4>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
