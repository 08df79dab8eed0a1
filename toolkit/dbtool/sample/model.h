// The content of a sample building, made in memory from the options before anything is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sample.h"

namespace sample::detail {

struct ScheduleLine {
  std::string task;
  std::string frequency;
};

struct Schedule {
  std::string code;
  std::string description;
  std::vector<ScheduleLine> lines;
};

struct Room {
  std::string number;
  std::optional<std::string> name;
  std::optional<std::string> schedule;
  std::optional<std::string> sort1;
  std::optional<std::string> sort2;
  int kind = 0;                     // index into the room kinds of the catalog
  std::optional<std::string> area;  // its area assignment number
};

struct SortValue {
  std::string value;
  std::string description;
};

struct AreaAssignment {
  std::string area;
  std::string room;
  std::string employee;
};

struct ProjectAssignment {
  std::string area;
  std::string room;
  std::string project;
};

struct Building {
  std::vector<Schedule> schedules;  // used and unused ones, in stored order
  std::vector<Room> rooms;
  std::vector<SortValue> sort1;
  std::vector<SortValue> sort2;
  std::vector<AreaAssignment> areas;
  std::vector<ProjectAssignment> projects;
};

// The rooms alone depend only on the room count and the variant.
std::vector<Room> makeRooms(int count, std::uint64_t variant);
Building makeBuilding(const Options& options);

}  // namespace sample::detail
