// Letter case for the store and the tools: upper-casing as the tools do it, and the case-blind
// comparison that text keys use in indexes and seeks (Latin, Greek and Cyrillic letters fold, not
// only ASCII).
#pragma once

#include <string>
#include <string_view>

namespace store {

// The upper-case form of UTF-8 text.
std::string toUpper(std::string_view text);

// Compares two UTF-8 texts without regard to letter case: <0, 0 or >0.
int compareFolded(std::string_view a, std::string_view b);

// Number of characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view text);

// Text as a message shows it: a control character (a NUL among them, which would end the
// message) is written as \xNN.
std::string printable(std::string_view text);

}  // namespace store
