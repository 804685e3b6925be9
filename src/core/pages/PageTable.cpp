#include "pages/ModulePage.h"
#include "pages/PageTables.h"

namespace q5::pages {

std::unique_ptr<ModulePage> CreatePage(int pageKind, PageContext& ctx) {
  if (auto p = CreateDiscretePage(pageKind, ctx)) return p;
  if (auto p = CreateAnalogInputPage(pageKind, ctx)) return p;
  if (auto p = CreatePulsePwmAcPage(pageKind, ctx)) return p;
  if (auto p = CreateLoadCellPage(pageKind, ctx)) return p;
  if (auto p = CreateTemperaturePage(pageKind, ctx)) return p;
  if (auto p = CreateAnalogOutputPage(pageKind, ctx)) return p;
  return nullptr;
}

}  // namespace q5::pages
