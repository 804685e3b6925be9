#pragma once
// Bit words of the discrete modules: live on/off images painted onto indicator boxes,
// and per-point masks exchanged with the unit as hexadecimal text.
#include <array>
#include <string>
#include <string_view>

#include "pages/Controls.h"

namespace q5::pages {

// Paints 16 boxes from a live word: character k (k = 1 for the first) carries points
// 16 - 4k to 19 - 4k, its value 1 the lowest of the four; a set bit paints green, a clear
// bit red. A character other than "0"-"9" and "A"-"F" (lower case, blank, or missing in
// a shorter text) leaves its four boxes as they were.
void ShowBits(std::string_view word, const std::array<Indicator*, 16>& boxes);
// The same for 16 consecutive boxes starting at first.
void ShowBits(std::string_view word, Indicator* first);

// Sets 16 check boxes from a mask of four hexadecimal digits (first digit points 12-15,
// last digit points 0-3); a character that is not a hexadecimal digit counts as 0.
void MaskToChecks(std::string_view digits, CheckBox* first);
// The mask of 16 check boxes: the sum of 2^n over the checked boxes n, as upper-case
// hexadecimal without leading zeros ("0" when none is checked).
std::string ChecksToMask(const CheckBox* first);

// The hexadecimal point numbers above a row of n points, "0 1 2 ... F".
std::string PointDigits(int n);

}  // namespace q5::pages
