#include "jet_building.h"

#include <optional>

#include "jet_writer.h"
#include "sample/catalog.h"
#include "sample/model.h"
#include "sample/random.h"
#include "store/schema.h"

namespace jetbench {
namespace {

namespace schema = store::schema;
using sample::detail::Random;

// Streams of our own for the fields the sample's SQLite building lacks.
constexpr std::uint64_t roomDetailStream = 101, inventoryStream = 102, timeStream = 103;
constexpr double kFirstUpdate = 43101;  // 1 January 2018 as days since 30 December 1899

const std::vector<std::string> kDepartments = {"EMERGENCY", "ORTHOPÄDIE",  "CARDIOLOGY",
                                               "PÉDIATRIE", "RADIOLOGY",   "ADMINISTRATION",
                                               "SURGERY",   "MAINTENANCE", "PHARMACY"};
const std::vector<std::string> kNotes = {"Key at the front desk", "Isolation protocol",
                                         "Floor stripped in spring; wax twice a year",
                                         "Entrée par la cour — badge nécessaire"};

// A floor area in square feet around `typical`, sometimes with a fraction (12.5, 80.25).
double area(Random& random, int typical) {
  const double whole = typical * random.between(60, 140) / 100;
  const int fraction = random.below(20);
  return whole + (fraction < 5 ? 0.5 : fraction == 5 ? 0.25 : 0);
}

Column text(const char* name, int length) { return {name, Type::Text, length}; }
Value textOr(const std::optional<std::string>& text) { return text ? Value(*text) : Value(); }

void addRooms(Writer& writer, const sample::detail::Building& building, const BuildingSize& size) {
  Table& rooms = writer.addTable(schema::roomInfo,
                                 {text(schema::roomNumber, schema::roomNumberSize),
                                  text(schema::roomName, schema::roomNameSize),
                                  text(schema::schedule, schema::scheduleSize),
                                  text(schema::sortField1, schema::sortValueSize),
                                  text(schema::sortField2, schema::sortValueSize),
                                  text("Department", 30),
                                  {"Cleaning Rate", Type::Currency},
                                  {"Active", Type::YesNo},
                                  {"Notes", Type::Memo}},
                                 {{schema::primaryKey, {schema::roomNumber}, true, true},
                                  {schema::scheduleIndex, {schema::schedule}}});
  Random random(size.variant, roomDetailStream);
  for (const auto& room : building.rooms) {
    const double rate = random.between(500, 4000) / 100.0;
    const bool active = random.chance(85);
    const Value notes = random.chance(10) ? Value(random.pick(kNotes)) : Value();
    rooms.addRecord({room.number, textOr(room.name), textOr(room.schedule), textOr(room.sort1),
                     textOr(room.sort2), random.pick(kDepartments), rate, active ? 1 : 0, notes});
  }
}

// As in the sample building: bank 1 carries the floor cover and fixtures, the others are mostly
// empty.
void addInventory(Writer& writer, const sample::detail::Building& building,
                  const BuildingSize& size) {
  std::vector<Column> columns{text(schema::roomNumber, schema::roomNumberSize)};
  for (int item = 1; item <= schema::quantityCount; ++item)
    columns.push_back({schema::quantityField(item), Type::Single});
  columns.push_back({schema::bank, Type::Long});
  Table& inventory =
      writer.addTable(schema::roomInventory, columns,
                      {{schema::primaryKey, {schema::roomNumber, schema::bank}, true, true},
                       {schema::roomNumberIndex, {schema::roomNumber}}});
  Random random(size.variant, inventoryStream);
  std::vector<Value> record(columns.size(), 0);
  const auto last = static_cast<std::size_t>(schema::quantityCount) + 1;
  for (const auto& room : building.rooms) {
    const auto& kind = sample::detail::roomKinds()[static_cast<std::size_t>(room.kind)];
    record[0] = room.number;
    for (int b = 1; b <= size.banks; ++b) {
      for (std::size_t i = 1; i < last; ++i) record[i] = 0;
      if (b == 1) {
        if (kind.tileArea > 0) record[1] = area(random, kind.tileArea);
        if (kind.carpetArea > 0) record[2] = area(random, kind.carpetArea);
        if (kind.wallFeet > 0) record[28] = area(random, kind.wallFeet);
        for (int f = random.below(4); f > 0; --f)
          record[static_cast<std::size_t>(random.between(3, 27))] = random.between(1, 6);
      } else if (random.chance(25)) {
        for (int f = random.between(1, 3); f > 0; --f) {
          record[static_cast<std::size_t>(random.between(3, schema::quantityCount))] =
              random.chance(10) ? random.between(1, 40) + 0.5 : random.between(1, 12);
        }
      }
      record[last] = b;
      inventory.addRecord(record);
    }
  }
  Table& banks = writer.addTable(
      schema::inventoryBanks,
      {{schema::bank, Type::Long}, text(schema::description, schema::descriptionSize)},
      {{schema::primaryKey, {schema::bank}, true, true}});
  const auto& names = sample::detail::bankNames();
  for (int b = 1; b <= size.banks; ++b) {
    banks.addRecord({b, b <= static_cast<int>(names.size()) ? names[static_cast<std::size_t>(b - 1)]
                                                            : "BANK " + std::to_string(b)});
  }
}

void addTimes(Writer& writer, const sample::detail::Building& building, const BuildingSize& size) {
  std::vector<Column> columns{text(schema::roomNumber, schema::roomNumberSize),
                              {schema::lastUpdated, Type::DateTime}};
  for (const std::string& field : schema::timeFields) columns.push_back({field, Type::Double});
  columns.push_back(text(schema::miscTime, 50));
  Table& times = writer.addTable(schema::roomTime, columns,
                                 {{schema::primaryKey, {schema::roomNumber}, true, true}});
  Random random(size.variant, timeStream);
  const int percent[12] = {100, 30, 5, 25, 5, 0, 10, 0, 0, 5, 2, 0};
  for (const auto& room : building.rooms) {
    std::vector<Value> record{room.number, kFirstUpdate + random.below(8 * 365)};
    for (int i = 0; i < 12; ++i) {
      double minutes = 0;
      if (random.chance(percent[i]))
        minutes = random.between(2, 45) + (random.chance(30) ? 0.5 : 0);
      record.emplace_back(minutes);
    }
    record.push_back(random.chance(3) ? Value("ISOLATION PROTOCOL") : Value());
    times.addRecord(record);
  }
}

void addSchedulesAndSorts(Writer& writer, const sample::detail::Building& building) {
  Table& describe = writer.addTable(schema::scheduleDescribe,
                                    {text(schema::cleaningSchedule, schema::scheduleSize),
                                     text(schema::description, schema::descriptionSize)},
                                    {{schema::primaryKey, {schema::cleaningSchedule}, true, true}});
  Table& lines =
      writer.addTable(schema::scheduleLines,
                      {text(schema::cleaningSchedule, schema::scheduleSize),
                       {schema::lineNumber, Type::Integer},
                       text(schema::task, 50),
                       text("Frequency", 10)},
                      {{schema::schedIndex, {schema::cleaningSchedule, schema::lineNumber}}});
  for (const auto& schedule : building.schedules) {
    describe.addRecord({schedule.code, schedule.description});
    for (std::size_t i = 0; i < schedule.lines.size(); ++i) {
      lines.addRecord({schedule.code, static_cast<int>(i + 1), schedule.lines[i].task,
                       schedule.lines[i].frequency});
    }
  }
  for (const char* name : {schema::invSortField1, schema::invSortField2}) {
    Table& sorts = writer.addTable(name,
                                   {text(schema::sortField, schema::sortValueSize),
                                    text(schema::description, schema::descriptionSize)},
                                   {{schema::primaryKey, {schema::sortField}, true, true}});
    const auto& values =
        std::string(name) == schema::invSortField1 ? building.sort1 : building.sort2;
    for (const auto& value : values) sorts.addRecord({value.value, value.description});
  }
}

void addAssignments(Writer& writer, const sample::detail::Building& building) {
  Table& areas = writer.addTable(
      schema::areaAssignments,
      {text(schema::areaAssignment, schema::assignmentSize),
       text(schema::roomNumber, schema::roomNumberSize), text("Employee", 30)},
      {{schema::primaryKey, {schema::areaAssignment, schema::roomNumber}, true, true}});
  for (const auto& area : building.areas) areas.addRecord({area.area, area.room, area.employee});
  Table& projects =
      writer.addTable(schema::projectAssignments,
                      {text(schema::areaAssignment, schema::assignmentSize),
                       text(schema::roomNumber, schema::roomNumberSize), text("Project", 30)},
                      {{schema::roomNumberIndex, {schema::roomNumber}}});
  for (const auto& project : building.projects)
    projects.addRecord({project.area, project.room, project.project});
}

}  // namespace

std::vector<std::pair<std::string, std::int64_t>> writeJetBuilding(const std::string& path,
                                                                   const BuildingSize& size) {
  const sample::detail::Building building =
      sample::detail::makeBuilding({size.rooms, size.banks, size.variant});
  Writer writer;
  addRooms(writer, building, size);
  addInventory(writer, building, size);
  addTimes(writer, building, size);
  addSchedulesAndSorts(writer, building);
  addAssignments(writer, building);
  writer.write(path);
  return writer.tableRecords();
}

}  // namespace jetbench
