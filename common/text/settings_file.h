// Settings files: lines end in CR LF (a bare LF is accepted), a field ends at a comma or the line
// end, blanks around it are dropped, and a field in double quotes may hold commas.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

std::vector<std::string> settingsFields(std::string_view line);
std::vector<std::string> settingsLines(std::string_view content);
// The first field of the first line of a file; nullopt when the file cannot be read or is empty.
std::optional<std::string> readFirstSettingsField(const std::string& path);
// Replaces the file with the value and CR LF; false when it cannot be written.
bool writeSettingsLine(const std::string& path, std::string_view value);

}  // namespace suite
