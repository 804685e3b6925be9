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
    {0, "frmAI4", &Make<frmAI4>},        {1, "frmTC4", &Make<frmTC4>},
    {2, "frmRT4", &Make<frmRT4>},        {3, "frmOV2", &Make<frmOV2>},
    {4, "frmOC2", &Make<frmOC2>},        {5, "frmBI16", &Make<frmBI16>},
    {6, "frmBO16", &Make<frmBO16>},      {7, "frmAIF2", &Make<frmAIF2>},
    {8, "frmBI32", &Make<frmBI32>},      {9, "frmBO32", &Make<frmBO32>},
    {10, "frmOCF4", &Make<frmOCF4>},     {11, "frmPI2", &Make<frmPI2>},
    {12, "frmOVF4", &Make<frmOVF4>},     {13, "frmSG2", &Make<frmSG2>},
    {14, "frmLNRIO1", &Make<frmLNRIO1>}, {15, "frmEC4", &Make<frmEC4>},
    {16, "frmAC32", &Make<frmAC32>},     {17, "frmAI8", &Make<frmAI8>},
    {18, "frmBIO32", &Make<frmBIO32>},   {19, "frmPI8", &Make<frmPI8>},
    {20, "frmBIO16", &Make<frmBIO16>},   {21, "frmPI32", &Make<frmPI32>},
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
