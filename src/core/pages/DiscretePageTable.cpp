#include "pages/PageTables.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreateDiscretePage(int pageKind, PageContext& ctx) { return nullptr; }

}  // namespace q5::pages
