#pragma once
// Small routines with which callers take reply values apart. Pure functions, no traffic.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace q5::ui {
class UserDialogs;
}

namespace q5::link {

// The text after the first ":"; the whole text when there is none.
std::string ValueAfterColon(std::string_view text);
// The text before the first ":"; the whole text when there is none.
std::string ValueBeforeColon(std::string_view text);
// The text after the first "x"; the whole text when there is none.
std::string ValueAfterX(std::string_view text);
// The text with its first "." removed ("12.34" gives "1234").
std::string RemovePoint(std::string_view text);
// "0".."9" → 0..9, "A".."F" → 10..15 (upper case only), "10".."16" → 10..16, else 0.
int HexDigitValue(std::string_view text);
// Cuts a.b.c.d at its first three points. Element 0 is the text before the first point,
// element 3 the rest after the third. Missing fields are empty (fewer than three points).
std::array<std::string, 4> SplitDotted(std::string_view text);
// Validates a numeric entry of a network page: 0..32767, else the message
// "Please enter number." CR LF "0 to 32767." (caption: the program title) and 0.
std::int16_t CheckNumberInput(std::string_view value, ui::UserDialogs& dialogs);
// Pads text on the left with the first character of fill up to width characters.
std::string FillLeft(std::string_view text, std::string_view fill, std::size_t width);

// A value as it may be shown on one line: control characters (CR, LF, NUL, ...) and
// bytes that do not form UTF-8 become \xNN, so a value from the unit or a file cannot
// break a line of output or a label. Printable text is returned unchanged.
std::string EscapeControls(std::string_view text);
// True when the text holds a control character (below 0x20, or 0x7F); *found is the first.
bool HasControlCharacter(std::string_view text, char* found = nullptr);

// The program's title, used as the caption of some message boxes.
inline constexpr std::string_view kProgramTitle = "Q5CFG";

}  // namespace q5::link
