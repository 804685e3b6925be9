#pragma once
// The one table from page kind to module page: the page's name, the factory that makes
// it, what the module is called and where the manual tells about the page. A page's
// configuration records, its defaults for a new configuration and what the main window
// asks of it around monitoring and Download are the page's own (ModulePage); nothing
// else switches on the page kind.
#include <memory>
#include <span>
#include <string_view>

#include "pages/ModulePage.h"

namespace q5::pages {

struct PageKindEntry {
  int kind;               // page kind number, the module kind that selects the page
  std::string_view name;  // "frmAI4"
  std::unique_ptr<ModulePage> (*create)(PageContext& ctx);
  // The module the page serves, as a person reads it ("4-channel analog input").
  std::string_view description;
  // The instruction manual's document about the page ("analog-input-pages.html"), a file
  // of the manual folder.
  std::string_view manual;
};

// Every page kind that has a module page, in kind order (0 to 21).
std::span<const PageKindEntry> PageKinds();

// The entry of a page kind, or nullptr (99, -1 and every other number: frmNONE is shown).
const PageKindEntry* FindPageKind(int kind);

// True for the page kinds that have a module page.
inline bool IsPageKind(int kind) {
  return FindPageKind(kind) != nullptr;
}

// The module page of a page kind ("frmAI4" for 0, ..., "frmPI32" for 21); "frmNONE" for
// every other number.
std::string_view PageName(int kind);

// The page of a page kind, or nullptr for kinds without a page (frmNONE is shown).
std::unique_ptr<ModulePage> CreatePage(int pageKind, PageContext& ctx);

}  // namespace q5::pages
