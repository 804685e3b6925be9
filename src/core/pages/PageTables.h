#pragma once
// One factory per family of pages; each returns nullptr for kinds it does not serve.
#include <memory>

#include "pages/ModulePage.h"

namespace q5::pages {

// Kinds 5, 6, 8, 9, 18, 20.
std::unique_ptr<ModulePage> CreateDiscretePage(int pageKind, PageContext& ctx);
// Kinds 0, 7, 17.
std::unique_ptr<ModulePage> CreateAnalogInputPage(int pageKind, PageContext& ctx);
// Kinds 11, 15, 16, 19, 21: pulse inputs, PWM outputs, AC current inputs.
std::unique_ptr<ModulePage> CreatePulsePwmAcPage(int pageKind, PageContext& ctx);
// Kinds 13 (load cell) and 14 (linearizer).
std::unique_ptr<ModulePage> CreateLoadCellPage(int pageKind, PageContext& ctx);
// Kinds 1, 2.
std::unique_ptr<ModulePage> CreateTemperaturePage(int pageKind, PageContext& ctx);
// Kinds 3, 4, 10, 12.
std::unique_ptr<ModulePage> CreateAnalogOutputPage(int pageKind, PageContext& ctx);

}  // namespace q5::pages
