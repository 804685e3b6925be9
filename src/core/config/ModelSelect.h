#pragma once
// The "Model Select" menu as data: one submenu per model group, items captioned with the
// module part, each naming the model flags it sets (or clears) and the module kind of
// the configuration it creates. And the header every created configuration gets.
#include <cstdint>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "pages/PageRegistry.h"

namespace q5::config {

struct FlagSetting {
  std::string_view flag;  // a model flag, named by its model string ("SG2/F1" too)
  bool on;
};

struct ModelSelectItem {
  std::string_view group;    // submenu caption, e.g. "Q5T3NML3"
  std::string_view caption;  // item caption, e.g. "AI4"
  int index;                 // the item's index within its submenu
  std::vector<FlagSetting> flags;
  int moduleKind;
};

struct ModelSelectGroup {
  std::string_view caption;
  std::vector<ModelSelectItem> items;
};

// Every group in menu order, items in index order.
const std::vector<ModelSelectGroup>& ModelSelectMenu();

// The item of a group and caption ("Q5T3NML3", "AINF4"), or nullptr.
const ModelSelectItem* FindModelSelectItem(std::string_view group, std::string_view caption);

// Whether the item's module kind has a page (and so records) in this version. Menu items
// of other kinds are shown disabled.
inline bool ModelSelectAvailable(const ModelSelectItem& item) {
  return pages::IsPageKind(item.moduleKind);
}

// The header a new configuration of a module kind gets, chosen by the model flags the
// menu item set: rows are tested in order, the first whose flag is set applies, else the
// kind's fallback row.
struct NewHeader {
  std::string_view model;
  std::int16_t moduleKind;  // header field 2
  std::string_view versionText;
  std::int16_t channelCount;
};
// False for a module kind that cannot be created offline.
bool NewHeaderFor(int moduleKind, const catalogue::ModelFlags& flags, NewHeader& header);

}  // namespace q5::config
