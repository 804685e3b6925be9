#pragma once
// Lists with nothing selected. A selection travels to the unit as its list index; an
// empty one would go out as "-1", which no unit takes, so nothing is written while a
// list that has items has no selection (a code of the unit's own, kept for a list that
// does not name it, counts as a selection).
#include <functional>
#include <string>

#include "pages/Controls.h"

namespace q5::pages {

// The first shown list of the walk with items but nothing selected, as "Caption (name)"
// (or the name alone); "" when every shown list has a selection.
std::string UnselectedList(const std::function<void(ControlVisitor&)>& walk);

}  // namespace q5::pages
