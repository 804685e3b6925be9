#include "pages/PageRegistry.h"

#include <array>

#include "pages/frmAC32.h"
#include "pages/frmAI4.h"
#include "pages/frmAI8.h"
#include "pages/frmAIF2.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmBIO16.h"
#include "pages/frmBIO32.h"
#include "pages/frmBO16.h"
#include "pages/frmBO32.h"
#include "pages/frmEC4.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmOC2.h"
#include "pages/frmOCF4.h"
#include "pages/frmOV2.h"
#include "pages/frmOVF4.h"
#include "pages/frmPI2.h"
#include "pages/frmPI32.h"
#include "pages/frmPI8.h"
#include "pages/frmRT4.h"
#include "pages/frmSG2.h"
#include "pages/frmTC4.h"

namespace q5::pages {

namespace {

template <typename Page>
std::unique_ptr<ModulePage> Make(PageContext& ctx) {
  return std::make_unique<Page>(ctx);
}

// The numbering is fixed: configuration files store it and pages test the module kind
// against it.
constexpr std::array<PageKindEntry, 22> kPages{{
    {0, "frmAI4", &Make<frmAI4>, "4-channel analog input", "analog-input-pages.html"},
    {1, "frmTC4", &Make<frmTC4>, "4-channel thermocouple input", "temperature-pages.html"},
    {2, "frmRT4", &Make<frmRT4>, "4-channel resistance thermometer input",
     "temperature-pages.html"},
    {3, "frmOV2", &Make<frmOV2>, "2-channel voltage output", "analog-output-pages.html"},
    {4, "frmOC2", &Make<frmOC2>, "2-channel current output", "analog-output-pages.html"},
    {5, "frmBI16", &Make<frmBI16>, "16-point discrete input", "discrete-pages.html"},
    {6, "frmBO16", &Make<frmBO16>, "16-point discrete output", "discrete-pages.html"},
    {7, "frmAIF2", &Make<frmAIF2>, "2-channel analog input", "analog-input-pages.html"},
    {8, "frmBI32", &Make<frmBI32>, "32-point discrete input", "discrete-pages.html"},
    {9, "frmBO32", &Make<frmBO32>, "32-point discrete output", "discrete-pages.html"},
    {10, "frmOCF4", &Make<frmOCF4>, "4-channel current output", "analog-output-pages.html"},
    {11, "frmPI2", &Make<frmPI2>, "2-channel pulse/encoder input", "pulse-pwm-ac-pages.html"},
    {12, "frmOVF4", &Make<frmOVF4>, "4-channel voltage output", "analog-output-pages.html"},
    {13, "frmSG2", &Make<frmSG2>, "2-channel load cell input", "loadcell-pages.html"},
    {14, "frmLNRIO1", &Make<frmLNRIO1>, "linearizing converter", "loadcell-pages.html"},
    {15, "frmEC4", &Make<frmEC4>, "4-channel PWM output", "pulse-pwm-ac-pages.html"},
    {16, "frmAC32", &Make<frmAC32>, "32-channel AC current input", "pulse-pwm-ac-pages.html"},
    {17, "frmAI8", &Make<frmAI8>, "8-channel analog input", "analog-input-pages.html"},
    {18, "frmBIO32", &Make<frmBIO32>, "16-point input / 16-point output", "discrete-pages.html"},
    {19, "frmPI8", &Make<frmPI8>, "8-channel pulse input", "pulse-pwm-ac-pages.html"},
    {20, "frmBIO16", &Make<frmBIO16>, "8-point input / 8-point output", "discrete-pages.html"},
    {21, "frmPI32", &Make<frmPI32>, "32-channel pulse input", "pulse-pwm-ac-pages.html"},
}};

}  // namespace

std::span<const PageKindEntry> PageKinds() {
  return kPages;
}

const PageKindEntry* FindPageKind(int kind) {
  for (const PageKindEntry& e : kPages)
    if (e.kind == kind) return &e;
  return nullptr;
}

std::string_view PageName(int kind) {
  const PageKindEntry* e = FindPageKind(kind);
  return e ? e->name : kNonePageName;
}

std::unique_ptr<ModulePage> CreatePage(int pageKind, PageContext& ctx) {
  const PageKindEntry* e = FindPageKind(pageKind);
  return e ? e->create(ctx) : nullptr;
}

}  // namespace q5::pages
