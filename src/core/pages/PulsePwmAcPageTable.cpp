#include "pages/PageTables.h"
#include "pages/frmAC32.h"
#include "pages/frmEC4.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreatePulsePwmAcPage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 15: return std::make_unique<frmEC4>(ctx);
    case 16: return std::make_unique<frmAC32>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
