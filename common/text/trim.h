// Trimming as the suite's programs trim typed and stored values: blanks only, tabs stay.
#pragma once

#include <string_view>

namespace suite {

// The text without the blanks at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace suite
