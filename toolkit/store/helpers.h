// Small conversions that several tools share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The number at the start of a text: optional sign, digits, optional decimal point and decimals,
// optional exponent introduced by E or D. Blanks, tabs and line feeds are skipped wherever they
// stand; reading stops at the first other character. A text without a number gives 0.
double leadingNumber(std::string_view text);

// To the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double number);

// Leading and trailing blanks removed (blanks only, as the tools trim).
std::string_view trimBlanks(std::string_view text);

// A room list line: number, ", ", name; and the number back (the text before the first comma).
std::string roomLine(std::string_view number, std::string_view name);
std::string roomNumberOfLine(std::string_view line);

// Settings files: lines end in CR LF (a bare LF is accepted), a field ends at a comma or the line
// end, blanks around it are dropped, and a field in double quotes may hold commas.
std::vector<std::string> settingsFields(std::string_view line);
std::vector<std::string> settingsLines(std::string_view content);
// The first field of the first line of a file; nullopt when the file cannot be read or is empty.
std::optional<std::string> readFirstSettingsField(const std::string& path);
// Replaces the file with the value and CR LF; false when it cannot be written.
bool writeSettingsLine(const std::string& path, std::string_view value);

}  // namespace store
