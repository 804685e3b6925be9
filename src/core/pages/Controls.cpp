#include "pages/Controls.h"

namespace q5::pages {

std::string_view RoleName(Role role) {
  switch (role) {
    case Role::Setting:
      return "setting";
    case Role::Live:
      return "live value";
    case Role::ShownOnly:
      return "shown-only value";
    case Role::Action:
      return "button";
    case Role::Tab:
      return "tab";
    case Role::Label:
      return "label";
    case Role::CaptionState:
      return "state shown in a caption";
  }
  return "control";
}

}  // namespace q5::pages
