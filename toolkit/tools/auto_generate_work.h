// "Auto Generate Rooms" without widgets: reading the digit pattern into a range of room numbers,
// and writing new rooms with their time and inventory records in one transaction.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/outcome.h"

namespace roomkit::autogen {

inline constexpr int positions = 8;

// One digit position of the pattern, as its two boxes and its lock hold it.
struct Digit {
  std::string start;  // the starting digit's text
  std::string end;    // the ending digit's text
  bool locked = false;
};
using Pattern = std::array<Digit, positions>;

// What reading a pattern found, in the order the checks run.
enum class PatternFault {
  None,
  NoLeadingDigit,  // no unlocked digit at the left, or a gap inside the counting group
  NotGrouped,      // a locked position inside the counting group
  NotANumber,      // a starting digit of the group is not 0 to 9
  Unreadable,      // a digit of the group does not read as a whole number
  StartAboveEnd,
};

// The numbers a pattern stands for: prefix, then the counter with at least `width` digits, then
// suffix.
struct Range {
  std::string prefix;
  std::string suffix;
  std::int64_t first = 0;
  std::int64_t last = 0;
  int width = 0;
};

struct PatternResult {
  PatternFault fault = PatternFault::None;
  Range range;  // valid when fault is None
};

PatternResult readPattern(const Pattern& pattern);

// The increment as typed or chosen: exactly one of "1" to "100", blanks around it allowed.
std::optional<int> readIncrement(std::string_view text);

// Lines the range gives at that increment (increment >= 1).
std::int64_t lineCount(const Range& range, int increment);
std::vector<std::string> roomNumbers(const Range& range, int increment);

// More lines than this are refused before generating: the list and the writing would not end in
// any useful time.
inline constexpr std::int64_t maxLines = 1'000'000;

// Writing the rooms. Failed: why nothing was written.
struct AddResult : store::Outcome {
  std::int64_t added = 0;  // rooms written; 0 when the run failed
};
// Told every few hundred lines and at the end: lines done, lines in all.
using Progress = std::function<void(std::size_t done, std::size_t total)>;
inline constexpr std::size_t progressStep = 250;

// Opens the database at the path and, in one transaction, adds for every line (trimmed) that is
// not a room yet its "Room Info", "Room Time" and one "Room Inventory" record per bank. Any
// failure rolls the whole run back: a new number that already has "Room Time" or "Room
// Inventory" records, a refused write, an unreadable file.
AddResult addRooms(const std::string& path, const std::vector<std::string>& lines,
                   std::string_view schedule, const Progress& progress = {});

}  // namespace roomkit::autogen
