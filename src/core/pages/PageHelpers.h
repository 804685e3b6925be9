#pragma once
// Small pieces the pulse, PWM and AC current pages share: list indexes read as the first
// characters of a value, numbers checked against a range and written back plainly, and
// the fill of a list from fixed captions.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "link/Link.h"
#include "pages/Controls.h"

namespace q5::pages {

class ModulePage;

// Clears the list and adds the captions in index order.
void FillList(ComboBox& box, std::initializer_list<std::string_view> items);
// A list index taken from the first two characters of a value ("1", "01", "1,..."): a
// decimal number selects that item (or is remembered when past the list); anything else
// selects nothing.
void SelectLeadingIndex(ComboBox& box, std::string_view value);
// The value after ":" of a group read, or nothing when the read came back empty.
std::optional<std::string> GroupValue(link::Link& link, std::string_view group,
                                      std::string_view item, int retry = 3);
// The value after ":" of an item read of the group selected last, or nothing.
std::optional<std::string> ItemValue(link::Link& link, std::string_view item, int retry = 3);
// The text is a number within [low, high].
bool NumberWithin(std::string_view text, double low, double high);
// The plain decimal form of a numeric text ("007" -> "7", "1.50" -> "1.5", "1e3" ->
// "1000"), exact for whole numbers up to 2^53; the text itself when it is not numeric.
std::string PlainDecimal(std::string_view text);

// Before a Download writes a page: every text box loses the spaces around its text (a
// number goes out as its check read it), and the first one holding a control character
// is named ("txtZR(0) holds a control character (\n)"); "" when every field may go.
std::string PrepareFieldsForSending(ModulePage& page);

}  // namespace q5::pages
