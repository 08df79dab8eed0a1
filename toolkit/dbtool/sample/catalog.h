// Word lists of the sample content: kinds of rooms with their names and schedules, tasks,
// frequencies, banks, employees and projects.
#pragma once

#include <string>
#include <vector>

namespace sample::detail {

// What a kind of room looks like: its names, the prefix of its schedule codes and the floor
// cover its inventory carries.
struct RoomKind {
  std::vector<std::string> names;
  std::string schedulePrefix;  // codes are the prefix and 1, 2 or 3
  std::string scheduleName;    // for the schedule descriptions
  int weight;                  // how often the kind is drawn
  int tileArea;                // typical square feet of tile (item "1"), 0 for none
  int carpetArea;              // typical square feet of carpet (item "2"), 0 for none
  int wallFeet;                // typical linear feet (item "28"), 0 for none
};

const std::vector<RoomKind>& roomKinds();
// Kinds placed at the start of every wing (corridor, restrooms, janitor closet, stairs).
const std::vector<int>& wingCoreKinds();
int kindNamed(const std::string& schedulePrefix);

const std::vector<std::string>& scheduleVariants();  // "DAILY", "NIGHT CREW", ...
const std::vector<std::string>& tasks();
const std::vector<std::string>& frequencies();
const std::vector<std::string>& directions();  // values of "Sort Field 1"
const std::vector<std::string>& bankNames();
const std::vector<std::string>& employees();
const std::vector<std::string>& projects();

}  // namespace sample::detail
