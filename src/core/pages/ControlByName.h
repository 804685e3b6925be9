#pragma once
// Controls of a page (or dialog) reached by their names, as a person reaches them: a
// value typed into a text box, a list item chosen, a check box or option clicked, a
// button pressed. The command line's "set" and "press" and the tests use them, so they
// refuse what a person could not do (a hidden or disabled control, an item the list
// does not have).
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "pages/Controls.h"

namespace q5::pages {

class ModulePage;

// Walks every named control of the page or dialog (its visitControls).
using ControlWalk = std::function<void(ControlVisitor&)>;

// Why a NAME=VALUE was not taken.
enum class Refusal {
  None,
  UnknownName,   // no control of that name
  NotASetting,   // a live value, a shown-only value, a button, a label or a tab
  NotUsableNow,  // hidden for this unit, or disabled now
  BadValue,      // too long, no such list item, not 1 or 0 ...
};

// The one routine that turns NAME=VALUE into a control change, for module pages, network
// windows and dialogs alike. Only a control declared a setting takes a value; anything
// else is refused by its role. Puts a value into the named control as a person would:
//   text box       the text (at most its maximum length; no line break or NUL)
//   combo box      an item's text (blanks around it ignored), or "#N" for item N
//                  (counted from 0)
//   check box      "1" or "0"
//   option button  "1" chooses it and clears the other options of its group (the options
//                  visited one after another); "0" chooses the other option of a pair
// Returns "" when the value was put in, else why not ("no control named ...").
std::string SetControlValue(const ControlWalk& walk, std::string_view name,
                            std::string_view value, Refusal* refusal = nullptr);

// The same on a page, followed by the page's change handler for that control
// (ModulePage::Edited) and its leaving handler (ModulePage::LostFocus), as after a
// person's edit.
std::string SetPageControl(ModulePage& page, std::string_view name, std::string_view value,
                           Refusal* refusal = nullptr);

// Whether a person could press the named control now: "" when it is a visible, enabled
// button or a control that is clicked rather than pressed (a live value box), else why
// not. It does not press it.
std::string CheckPressable(const ControlWalk& walk, std::string_view name);

// The declaration of the named control (nothing when no control has that name).
std::optional<ControlInfo> DeclarationOf(const ControlWalk& walk, std::string_view name);
std::optional<ControlInfo> DeclarationOf(ModulePage& page, std::string_view name);

// Whether a click on the control acts at once on the view (a tab; a live value box,
// which opens "Change Value" on pages with manual outputs) rather than running a
// sequence that talks to the unit.
inline bool ActsAtOnce(const ControlInfo& info) {
  return info.role == Role::Tab || info.role == Role::Live;
}

// Splits "NAME=VALUE" at its first "="; false when there is none or NAME is empty.
bool SplitAssignment(std::string_view text, std::string& name, std::string& value);

}  // namespace q5::pages
