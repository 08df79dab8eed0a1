// The lines of the room lists: number, ", ", name.
#pragma once

#include <string>
#include <string_view>

namespace roomkit {

// A room list line, and the number back (the text before the first comma).
std::string roomLine(std::string_view number, std::string_view name);
std::string roomNumberOfLine(std::string_view line);

}  // namespace roomkit
