#include "pages/PageTables.h"
#include "pages/frmAC32.h"
#include "pages/frmEC4.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreatePulsePwmAcPage(int pageKind, PageContext& ctx) {
  switch (pageKind) {
    case 11: return std::make_unique<frmPI2>(ctx);
    case 15: return std::make_unique<frmEC4>(ctx);
    case 16: return std::make_unique<frmAC32>(ctx);
    case 19: return std::make_unique<frmPI8>(ctx);
    case 21: return std::make_unique<frmPI32>(ctx);
    default: return nullptr;
  }
}

}  // namespace q5::pages
