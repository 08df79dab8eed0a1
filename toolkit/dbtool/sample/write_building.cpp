// The sample building: every table of the building schema filled in one transaction.
#include <chrono>
#include <utility>

#include "catalog.h"
#include "inserter.h"
#include "model.h"
#include "random.h"
#include "sample.h"
#include "store/error.h"
#include "store/schema.h"

namespace sample {

namespace schema = store::schema;
using detail::Inserter;

namespace {

const store::TableDef& definition(const std::vector<store::TableDef>& tables, const char* name) {
  for (const store::TableDef& def : tables) {
    if (def.name == name) return def;
  }
  throw store::Error(store::code::notFound,
                     std::string("The building schema has no table '") + name + "'.");
}

// A floor area in square feet around `typical`, sometimes with a fraction (12.5, 80.25).
double area(detail::Random& random, int typical) {
  double value = typical * random.between(60, 140) / 100;
  const int fraction = random.below(20);
  if (fraction < 5)
    value += 0.5;
  else if (fraction == 5)
    value += 0.25;
  return value;
}

class BuildingWriter {
 public:
  BuildingWriter(const store::Database& db, const detail::Building& building,
                 const Options& options)
      : db_(db), building_(building), options_(options), tables_(schema::buildingTables()) {}

  void createTables(store::Database& db) {
    for (const store::TableDef& def : tables_) db.createTable(def);
  }

  void write() {
    writeRooms();
    writeInventory();
    writeBanks();
    writeTimes();
    writeSchedules();
    writeSortValues(schema::invSortField1, building_.sort1);
    writeSortValues(schema::invSortField2, building_.sort2);
    writeAssignments();
  }

 private:
  Inserter inserter(const char* table) const { return Inserter(db_, definition(tables_, table)); }

  void writeRooms() {
    Inserter rooms = inserter(schema::roomInfo);
    const std::size_t number = rooms.position(schema::roomNumber),
                      name = rooms.position(schema::roomName),
                      schedule = rooms.position(schema::schedule),
                      sort1 = rooms.position(schema::sortField1),
                      sort2 = rooms.position(schema::sortField2);
    for (const detail::Room& room : building_.rooms) {
      rooms.text(number, room.number);
      rooms.textOrNull(name, room.name);
      rooms.textOrNull(schedule, room.schedule);
      rooms.textOrNull(sort1, room.sort1);
      rooms.textOrNull(sort2, room.sort2);
      rooms.insert();
    }
  }

  // Bank 1 carries the floor cover and fixtures of the room; the other banks are mostly empty.
  // Only the non-zero quantities are bound again for each record.
  void writeInventory() {
    Inserter inventory = inserter(schema::roomInventory);
    const std::size_t number = inventory.position(schema::roomNumber),
                      bank = inventory.position(schema::bank);
    std::vector<std::size_t> item(schema::quantityCount + 1);
    for (int i = 1; i <= schema::quantityCount; ++i) {
      item[static_cast<std::size_t>(i)] = inventory.position(schema::quantityField(i));
      inventory.number(item[static_cast<std::size_t>(i)], 0.0);
    }
    detail::Random random(options_.variant, detail::inventoryStream);
    std::vector<std::pair<std::size_t, double>> set;
    for (const detail::Room& room : building_.rooms) {
      const detail::RoomKind& kind = detail::roomKinds()[static_cast<std::size_t>(room.kind)];
      inventory.text(number, room.number);
      for (int b = 1; b <= options_.banks; ++b) {
        set.clear();
        if (b == 1) {
          if (kind.tileArea > 0) set.emplace_back(item[1], area(random, kind.tileArea));
          if (kind.carpetArea > 0) set.emplace_back(item[2], area(random, kind.carpetArea));
          if (kind.wallFeet > 0) set.emplace_back(item[28], area(random, kind.wallFeet));
          const int fixtures = random.below(4);
          for (int f = 0; f < fixtures; ++f)
            set.emplace_back(item[static_cast<std::size_t>(random.between(3, 27))],
                             random.between(1, 6));
        } else if (random.chance(25)) {
          const int count = random.between(1, 3);
          for (int f = 0; f < count; ++f) {
            const double value =
                random.chance(10) ? random.between(1, 40) + 0.5 : random.between(1, 12);
            set.emplace_back(
                item[static_cast<std::size_t>(random.between(3, schema::quantityCount))], value);
          }
        }
        for (const auto& [position, value] : set) inventory.number(position, value);
        inventory.integer(bank, b);
        inventory.insert();
        for (const auto& entry : set) inventory.number(entry.first, 0.0);
      }
    }
  }

  void writeBanks() {
    Inserter banks = inserter(schema::inventoryBanks);
    const std::size_t bank = banks.position(schema::bank),
                      description = banks.position(schema::description);
    const auto& names = detail::bankNames();
    for (int b = 1; b <= options_.banks; ++b) {
      banks.integer(bank, b);
      banks.text(description, b <= static_cast<int>(names.size())
                                  ? names[static_cast<std::size_t>(b - 1)]
                                  : "BANK " + std::to_string(b));
      banks.insert();
    }
  }

  void writeTimes() {
    Inserter times = inserter(schema::roomTime);
    const std::size_t number = times.position(schema::roomNumber),
                      updated = times.position(schema::lastUpdated),
                      misc = times.position(schema::miscTime);
    std::vector<std::size_t> field;
    for (const std::string& name : schema::timeFields) field.push_back(times.position(name));
    detail::Random random(options_.variant, detail::timeStream);
    using namespace std::chrono;
    const sys_days first = year_month_day{year{2018}, January, day{1}};
    for (const detail::Room& room : building_.rooms) {
      times.text(number, room.number);
      const year_month_day date{first + days{random.below(8 * 365)}};
      times.date(updated, store::Date{static_cast<int>(date.year()),
                                      static_cast<int>(static_cast<unsigned>(date.month())),
                                      static_cast<int>(static_cast<unsigned>(date.day()))});
      // Minutes: daily work always, a second and third daily pass, weekends and projects rarely.
      const int percent[12] = {100, 30, 5, 25, 5, 0, 10, 0, 0, 5, 2, 0};
      for (std::size_t i = 0; i < field.size(); ++i) {
        double minutes = 0;
        if (random.chance(percent[i]))
          minutes = random.between(2, 45) + (random.chance(30) ? 0.5 : 0.0);
        times.number(field[i], minutes);
      }
      times.text(misc, std::string_view());
      times.insert();
    }
  }

  void writeSchedules() {
    Inserter describe = inserter(schema::scheduleDescribe);
    const std::size_t code = describe.position(schema::cleaningSchedule),
                      description = describe.position(schema::description);
    for (const detail::Schedule& schedule : building_.schedules) {
      describe.text(code, schedule.code);
      describe.text(description, schedule.description);
      describe.insert();
    }
    Inserter lines = inserter(schema::scheduleLines);
    const std::size_t lineCode = lines.position(schema::cleaningSchedule),
                      line = lines.position(schema::lineNumber),
                      task = lines.position(schema::task), frequency = lines.position("Frequency");
    for (const detail::Schedule& schedule : building_.schedules) {
      for (std::size_t i = 0; i < schedule.lines.size(); ++i) {
        lines.text(lineCode, schedule.code);
        lines.integer(line, static_cast<std::int64_t>(i + 1));
        lines.text(task, schedule.lines[i].task);
        lines.text(frequency, schedule.lines[i].frequency);
        lines.insert();
      }
    }
  }

  void writeSortValues(const char* table, const std::vector<detail::SortValue>& values) {
    Inserter sorts = inserter(table);
    const std::size_t value = sorts.position(schema::sortField),
                      description = sorts.position(schema::description);
    for (const detail::SortValue& entry : values) {
      sorts.text(value, entry.value);
      sorts.text(description, entry.description);
      sorts.insert();
    }
  }

  void writeAssignments() {
    Inserter areas = inserter(schema::areaAssignments);
    const std::size_t area = areas.position(schema::areaAssignment),
                      room = areas.position(schema::roomNumber),
                      employee = areas.position("Employee");
    for (const detail::AreaAssignment& entry : building_.areas) {
      areas.text(area, entry.area);
      areas.text(room, entry.room);
      areas.text(employee, entry.employee);
      areas.insert();
    }
    Inserter projects = inserter(schema::projectAssignments);
    const std::size_t projectArea = projects.position(schema::areaAssignment),
                      projectRoom = projects.position(schema::roomNumber),
                      project = projects.position("Project");
    for (const detail::ProjectAssignment& entry : building_.projects) {
      projects.text(projectArea, entry.area);
      projects.text(projectRoom, entry.room);
      projects.text(project, entry.project);
      projects.insert();
    }
  }

  const store::Database& db_;
  const detail::Building& building_;
  const Options& options_;
  std::vector<store::TableDef> tables_;
};

void checkOptions(const Options& options) {
  if (options.rooms < 0 || options.banks < 0) {
    throw store::Error(store::code::misuse,
                       "A sample building needs a room count and a bank count of 0 or more.");
  }
}

}  // namespace

void writeBuilding(const std::string& path, const Options& options) {
  checkOptions(options);
  const detail::Building building = detail::makeBuilding(options);
  store::Database db = store::Database::create(path);
  try {
    db.begin();
    {
      BuildingWriter writer(db, building, options);
      writer.createTables(db);
      writer.write();
    }
    db.commit();
    db.close();
  } catch (...) {
    try {
      db.rollback();
    } catch (const store::Error&) {
      // Goes on: the files are removed next, and the failure that ended the writing is told.
    }
    db.close();
    detail::removeDatabaseFiles(path);
    throw;
  }
}

std::vector<std::string> roomNumbers(const Options& options) {
  checkOptions(options);
  std::vector<std::string> numbers;
  for (detail::Room& room : detail::makeRooms(options.rooms, options.variant))
    numbers.push_back(std::move(room.number));
  return numbers;
}

}  // namespace sample
