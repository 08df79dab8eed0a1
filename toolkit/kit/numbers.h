// Numbers read from typed text and rounded as the tools store them.
#pragma once

#include <string_view>

namespace roomkit {

// The number at the start of a text: optional sign, digits, optional decimal point and decimals,
// optional exponent introduced by E or D. Blanks, tabs and line feeds are skipped wherever they
// stand; reading stops at the first other character. A text without a number gives 0.
double leadingNumber(std::string_view text);

// To the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double number);

}  // namespace roomkit
