#include "pages/Selections.h"

namespace q5::pages {

namespace {

class UnselectedFinder : public ControlVisitor {
 public:
  std::string found;
  void combo(const ControlInfo& info, ComboBox& c) override {
    const std::string_view name = info.name, caption = info.caption;
    // A hidden list (a channel the unit does not have) is not written.
    if (!found.empty() || !c.visible || c.items.empty() || !c.unlistedCode.empty()) return;
    if (c.index >= 0 && c.index < static_cast<int>(c.items.size())) return;
    found = caption.empty() ? std::string(name)
                            : std::string(caption) + " (" + std::string(name) + ")";
  }
};

}  // namespace

std::string UnselectedList(const std::function<void(ControlVisitor&)>& walk) {
  UnselectedFinder f;
  walk(f);
  return f.found;
}

}  // namespace q5::pages
