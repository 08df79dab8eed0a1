#include "model.h"

#include <algorithm>
#include <set>

#include "catalog.h"
#include "random.h"

namespace sample::detail {
namespace {

std::string padded(long long number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

int weightedKind(Random& random) {
  const auto& kinds = roomKinds();
  int total = 0;
  for (const RoomKind& kind : kinds) total += kind.weight;
  int draw = random.below(total);
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (draw < kinds[i].weight) return static_cast<int>(i);
    draw -= kinds[i].weight;
  }
  return 0;
}

// Floors go from an optional basement ("B-012") up ("1-101", "2A-214"); every wing numbers its
// rooms floor * 100 + 1 upwards, now and then with a split room ("1-105A") after one.
class RoomLayout {
 public:
  RoomLayout(int count, std::uint64_t variant) : count_(count), random_(variant, layoutStream) {}

  std::vector<Room> make() {
    rooms_.reserve(static_cast<std::size_t>(std::max(count_, 0)));
    int floor = (count_ >= 40 && random_.chance(50)) ? 0 : 1;
    while (!full()) {
      // Big buildings spread over more wings rather than ever more floors.
      const int wings = floor == 0 ? 1 : random_.between(1, std::min(8, 3 + count_ / 5000));
      for (int wing = 0; wing < wings && !full(); ++wing)
        addWing(floor, wings == 1 ? "" : std::string(1, static_cast<char>('A' + wing)));
      ++floor;
    }
    return std::move(rooms_);
  }

 private:
  bool full() const { return static_cast<int>(rooms_.size()) >= count_; }

  void addWing(int floor, const std::string& wing) {
    const std::string prefix = (floor == 0 ? std::string("B") : std::to_string(floor)) + wing + "-";
    const std::string direction = random_.pick(directions());
    const int size = random_.between(12, 60);
    const auto& core = wingCoreKinds();
    for (int seq = 1; seq <= size && !full(); ++seq) {
      int kind;
      if (seq <= static_cast<int>(core.size())) {
        kind = core[static_cast<std::size_t>(seq - 1)];
      } else if (floor == 0 && random_.chance(60)) {
        kind = kindNamed(random_.chance(50) ? "MEC" : "STO");
      } else if (floor == 1 && (wing.empty() || wing == "A") && seq == 6) {
        kind = kindNamed("LOB");
      } else {
        kind = weightedKind(random_);
      }
      const std::string number = prefix + padded(static_cast<long long>(floor) * 100 + seq, 3);
      addRoom(number, kind, floor, direction, seq);
      if (!full() && seq > static_cast<int>(core.size()) && random_.chance(4)) {
        addRoom(number + "A", kind, floor, direction, seq);
      }
    }
  }

  void addRoom(const std::string& number, int kind, int floor, const std::string& direction,
               int seq) {
    Room room;
    room.number = number;
    room.kind = kind;
    const RoomKind& info = roomKinds()[static_cast<std::size_t>(kind)];
    if (info.schedulePrefix == "RR" && seq <= 3) {
      room.name = seq == 2 ? "RESTROOM MEN" : "RESTROOM WOMEN";
    } else {
      room.name = random_.pick(info.names);
    }
    if (random_.below(50) == 0) room.name.reset();
    if (!random_.chance(7)) room.sort1 = direction;
    if (!random_.chance(5))
      room.sort2 = floor == 0 ? std::string("BASEMENT") : "FLOOR " + std::to_string(floor);
    rooms_.push_back(std::move(room));
  }

  int count_;
  Random random_;
  std::vector<Room> rooms_;
};

// Every kind of room has three schedules; a few legacy codes that no room uses follow them.
std::vector<Schedule> makeSchedules(Random& random,
                                    std::vector<std::vector<std::string>>& usedByKind) {
  const auto& kinds = roomKinds();
  const auto& variants = scheduleVariants();
  std::vector<Schedule> schedules;
  usedByKind.assign(kinds.size(), {});
  auto addLines = [&](Schedule& schedule) {
    std::vector<std::string> pool = tasks();
    const int count = random.between(3, 8);
    for (int i = 0; i < count; ++i) {
      const int at = random.below(static_cast<int>(pool.size()));
      schedule.lines.push_back({pool[static_cast<std::size_t>(at)], random.pick(frequencies())});
      pool.erase(pool.begin() + at);
    }
  };
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    for (std::size_t v = 0; v < variants.size(); ++v) {
      Schedule schedule;
      schedule.code = kinds[k].schedulePrefix + std::to_string(v + 1);
      schedule.description = kinds[k].scheduleName + " - " + variants[v];
      addLines(schedule);
      // The first schedule of a kind is always in use, the others only now and then.
      const bool used = v == 0 || (v == 1 ? !random.chance(10) : random.chance(75));
      if (used) usedByKind[k].push_back(schedule.code);
      schedules.push_back(std::move(schedule));
    }
  }
  for (const char* code : {"OLD1", "OLD2", "TEMP", "XTRA"}) {
    Schedule schedule{code, std::string(code) == "TEMP" ? "TEMPORARY" : "NO LONGER USED", {}};
    addLines(schedule);
    schedules.push_back(std::move(schedule));
  }
  return schedules;
}

std::vector<SortValue> sortValues(const std::vector<Room>& rooms,
                                  std::optional<std::string> Room::*field) {
  std::set<std::string> values;
  for (const Room& room : rooms) {
    if (room.*field) values.insert(*(room.*field));
  }
  std::vector<SortValue> list;
  for (const std::string& value : values) list.push_back({value, value + " ROOMS"});
  return list;
}

void assignAreas(Building& building, std::uint64_t variant) {
  Random random(variant, areaStream);
  int area = 0;
  int left = 0;
  std::string employee;
  for (Room& room : building.rooms) {
    if (left == 0) {
      ++area;
      left = random.between(15, 40);
      employee = random.pick(employees());
    }
    --left;
    if (random.chance(92)) {
      room.area = "AR" + padded(area, 3);
      building.areas.push_back({*room.area, room.number, employee});
    }
  }
  Random projects(variant, projectStream);
  for (const Room& room : building.rooms) {
    if (!room.area || !projects.chance(8)) continue;
    const std::string first = projects.pick(detail::projects());
    building.projects.push_back({*room.area, room.number, first});
    if (projects.chance(20)) {
      const std::string second = projects.pick(detail::projects());
      if (second != first) building.projects.push_back({*room.area, room.number, second});
    }
  }
}

}  // namespace

std::vector<Room> makeRooms(int count, std::uint64_t variant) {
  return RoomLayout(count, variant).make();
}

Building makeBuilding(const Options& options) {
  Building building;
  building.rooms = makeRooms(options.rooms, options.variant);
  Random random(options.variant, scheduleStream);
  std::vector<std::vector<std::string>> usedByKind;
  building.schedules = makeSchedules(random, usedByKind);
  for (Room& room : building.rooms) {
    const auto& used = usedByKind[static_cast<std::size_t>(room.kind)];
    if (random.below(100) == 0) continue;  // a room not yet given a schedule
    const int draw = random.below(10);
    const std::size_t pick = draw < 6 ? 0 : draw < 9 ? 1 : 2;
    room.schedule = used[std::min(pick, used.size() - 1)];
  }
  building.sort1 = sortValues(building.rooms, &Room::sort1);
  building.sort2 = sortValues(building.rooms, &Room::sort2);
  assignAreas(building, options.variant);
  return building;
}

}  // namespace sample::detail
