#include "pages/PageTables.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmBIO16.h"
#include "pages/frmBIO32.h"
#include "pages/frmBO16.h"
#include "pages/frmBO32.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateDiscretePage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 5: return std::make_unique<frmBI16>(ctx);
    case 6: return std::make_unique<frmBO16>(ctx);
    case 8: return std::make_unique<frmBI32>(ctx);
    case 9: return std::make_unique<frmBO32>(ctx);
    case 18: return std::make_unique<frmBIO32>(ctx);
    case 20: return std::make_unique<frmBIO16>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
