#include "auto_generate_work.h"

#include <limits>
#include <optional>

#include "common/text/trim.h"
#include "store/database.h"
#include "store/history.h"
#include "store/inserter.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/text_case.h"

namespace roomkit::autogen {

namespace sch = store::schema;
using store::Value;

namespace {

bool filled(const Digit& digit) { return !suite::trimBlanks(digit.start).empty(); }

// A digit's text followed by zeros, read as a 32-bit whole number (blanks around it allowed).
std::optional<std::int64_t> wholeNumber(const std::string& text, int zeros) {
  const std::string padded = text + std::string(zeros > 0 ? zeros : 0, '0');
  std::string_view digits = suite::trimBlanks(padded);
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  return negative ? -value : value;
}

// The group's value read from one row: each filled position's text followed by as many zeros as
// positions remain after it in the group.
std::optional<std::int64_t> groupValue(const Pattern& pattern, int first, int count, bool start) {
  std::int64_t sum = 0;
  int zeros = count - 1;
  for (int i = first; i < first + count; ++i) {
    const Digit& digit = pattern[static_cast<std::size_t>(i)];
    if (!filled(digit)) continue;
    const auto part = wholeNumber(start ? digit.start : digit.end, zeros);
    if (!part) return std::nullopt;
    sum += *part;
    if (sum > std::numeric_limits<std::int32_t>::max() ||
        sum < std::numeric_limits<std::int32_t>::min()) {
      return std::nullopt;
    }
    --zeros;
  }
  return sum;
}

std::string joined(const Pattern& pattern, int from, int to) {
  std::string out;
  for (int i = from; i < to; ++i)
    out += suite::trimBlanks(pattern[static_cast<std::size_t>(i)].start);
  return out;
}

}  // namespace

PatternResult readPattern(const Pattern& pattern) {
  int count = 0, first = -1;
  for (int i = 0; i < positions; ++i) {
    const Digit& digit = pattern[static_cast<std::size_t>(i)];
    if (filled(digit) && !digit.locked) {
      if (first < 0) first = i;
      ++count;
    }
  }
  int width = 0;
  for (int i = 0; i < positions && filled(pattern[static_cast<std::size_t>(i)]); ++i) {
    if (!pattern[static_cast<std::size_t>(i)].locked) ++width;
  }
  if (width == 0) return {PatternFault::NoLeadingDigit, {}};
  for (int i = first; i < first + count; ++i) {
    if (pattern[static_cast<std::size_t>(i)].locked) return {PatternFault::NotGrouped, {}};
  }
  // An empty box inside the group would drop out of the number and shift the digits after it.
  for (int i = first; i < first + count; ++i) {
    if (!filled(pattern[static_cast<std::size_t>(i)])) return {PatternFault::NoLeadingDigit, {}};
  }
  for (int i = first; i < first + count; ++i) {
    const char lead = pattern[static_cast<std::size_t>(i)].start.front();
    if (lead < '0' || lead > '9') return {PatternFault::NotANumber, {}};
  }
  const auto a = groupValue(pattern, first, count, true);
  const auto b = a ? groupValue(pattern, first, count, false) : std::nullopt;
  if (!a || !b) return {PatternFault::Unreadable, {}};
  if (*a > *b) return {PatternFault::StartAboveEnd, {}};
  return {PatternFault::None,
          {joined(pattern, 0, first), joined(pattern, first + count, positions), *a, *b, width}};
}

std::optional<int> readIncrement(std::string_view text) {
  text = suite::trimBlanks(text);
  if (text.empty() || text.size() > 3 || text.front() == '0') return std::nullopt;
  int value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  if (value < 1 || value > 100) return std::nullopt;
  return value;
}

std::int64_t lineCount(const Range& range, int increment) {
  if (increment < 1 || range.last < range.first) return 0;
  return (range.last - range.first) / increment + 1;
}

std::vector<std::string> roomNumbers(const Range& range, int increment) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(lineCount(range, increment)));
  if (increment < 1) return lines;
  for (std::int64_t k = range.first; k <= range.last; k += increment) {
    std::string digits = std::to_string(k);
    if (static_cast<int>(digits.size()) < range.width) {
      digits.insert(0, static_cast<std::size_t>(range.width) - digits.size(), '0');
    }
    lines.push_back(range.prefix + digits + range.suffix);
  }
  return lines;
}

namespace {

// A new number that already has records of its own in the tables a new room writes.
struct Collision {
  std::string reason;
};

// A new room's records. They are written as add new, setting the fields and update write them;
// the fields that are the same for every room are fitted and bound once.
class RoomWriter {
 public:
  explicit RoomWriter(store::Database& db)
      : info_(db.openTable(sch::roomInfo)),
        time_(db.openTable(sch::roomTime)),
        inventory_(db.openTable(sch::roomInventory)),
        banks_(db.openTable(sch::inventoryBanks)),
        infoInsert_(db, sch::roomInfo,
                    {info_.fieldPosition(sch::roomNumber), info_.fieldPosition(sch::roomName),
                     info_.fieldPosition(sch::schedule), 3, 4}),
        timeInsert_(db, sch::roomTime, timePositions(time_)),
        inventoryInsert_(db, sch::roomInventory, inventoryPositions(inventory_)) {
    info_.setIndex(sch::primaryKey);
    // Where the file has the usual keys, records that a new room would collide with are found
    // by a seek; without them the write itself is the test.
    if (time_.def().findIndex(sch::primaryKey)) {
      time_.setIndex(sch::primaryKey);
      checkTime_ = true;
    }
    if (inventory_.def().findIndex(sch::primaryKey)) {
      inventory_.setIndex(sch::primaryKey);
      checkInventory_ = true;
    }
    setInfoBlanks();
    setTimeDefaults();
    for (std::size_t k = 1; k <= 100; ++k) inventoryInsert_.set(k, zero_);
  }

  bool exists(const std::string& room) {
    info_.seek({Value(room)});
    return !info_.noMatch();
  }

  void add(const std::string& room, const std::string& schedule) {
    if (checkTime_) refuseExisting(time_, room, sch::roomTime);
    if (checkInventory_) refuseExisting(inventory_, room, sch::roomInventory);

    const Value number(room);
    infoInsert_.set(0, number);
    infoInsert_.set(1, Value("RM# " + room));
    infoInsert_.set(2, Value(schedule));
    // In a file whose fields 3 and 4 are among the named ones, they are cleared last.
    if (infoInsert_.repeats()) setInfoBlanks();
    infoInsert_.insert();

    timeInsert_.set(0, number);
    timeInsert_.set(1, today_);
    if (timeInsert_.repeats()) setTimeDefaults();
    timeInsert_.insert();

    inventoryInsert_.set(0, number);
    for (const Value& bank : bankValues()) {
      inventoryInsert_.set(101, bank);
      inventoryInsert_.insert();
    }
  }

 private:
  static void refuseExisting(store::Table& table, const std::string& room, const char* name) {
    table.seek({Value(room)});
    if (!table.noMatch()) {
      throw Collision{"The room " + room + " has no \"Room Info\" record but already has a \"" +
                      name + "\" record."};
    }
  }

  // The banks in "PrimaryKey" order. The run writes no bank, so one walk serves every room.
  const std::vector<Value>& bankValues() {
    if (!banksRead_) {
      banks_.setIndex(sch::primaryKey);
      const std::size_t bank = banks_.fieldPosition(sch::bank);
      for (store::moveToFirst(banks_); !banks_.eof(); banks_.moveNext()) {
        bankList_.push_back(banks_.field(bank));
      }
      banksRead_ = true;
    }
    return bankList_;
  }

  void setInfoBlanks() {
    infoInsert_.set(3, Value(""));
    infoInsert_.set(4, Value(""));
  }
  void setTimeDefaults() {
    for (std::size_t k = 2; k <= 13; ++k) timeInsert_.set(k, zero_);
    timeInsert_.set(14, Value(""));
  }

  // "Room Number", "Last Updated", the twelve times and "Misc Time".
  static std::vector<std::size_t> timePositions(const store::Table& time) {
    std::vector<std::size_t> positions{time.fieldPosition(sch::roomNumber),
                                       time.fieldPosition(sch::lastUpdated)};
    for (std::size_t i = 2; i <= 14; ++i) positions.push_back(i);
    return positions;
  }
  // "Room Number", the quantities "1" to "100" and "Bank".
  static std::vector<std::size_t> inventoryPositions(const store::Table& inventory) {
    std::vector<std::size_t> positions{inventory.fieldPosition(sch::roomNumber)};
    for (std::size_t i = 1; i <= 100; ++i) positions.push_back(i);
    positions.push_back(inventory.fieldPosition(sch::bank));
    return positions;
  }

  store::Table info_, time_, inventory_, banks_;
  store::Inserter infoInsert_, timeInsert_, inventoryInsert_;
  const Value zero_{0};
  const Value today_{store::Date::today()};
  bool checkTime_ = false, checkInventory_ = false;
  bool banksRead_ = false;
  std::vector<Value> bankList_;
};

}  // namespace

AddResult addRooms(const std::string& path, const std::vector<std::string>& lines,
                   std::string_view schedule, const Progress& progress) {
  AddResult result;
  store::Database db;
  std::string room;
  std::optional<store::Run> run;
  try {
    db = store::Database::open(path);
    RoomWriter writer(db);
    run.emplace(db, "Auto Generate Rooms",
                lines.empty() ? std::string()
                              : std::string(suite::trimBlanks(lines.front())) + " to " +
                                    std::string(suite::trimBlanks(lines.back())));
    const std::string code = store::toUpper(suite::trimBlanks(schedule));
    for (std::size_t n = 0; n < lines.size(); ++n) {
      room = std::string(suite::trimBlanks(lines[n]));
      if (!writer.exists(room)) {
        writer.add(room, code);
        ++result.added;
      }
      if (progress && (n + 1) % progressStep == 0) progress(n + 1, lines.size());
    }
    room.clear();
    run->commit();
  } catch (const Collision& collision) {
    // Refused as a key that exists already would be.
    result.failure = store::Error(store::code::constraint, collision.reason);
  } catch (const store::Error& error) {
    result.failure = store::Error(
        error, room.empty() ? std::string(error.what()) : "Room " + room + ": " + error.what());
  }
  if (!result.ok()) {
    if (result.message().empty()) {
      result.failure = store::Error(*result.failure, "The database refused the change.");
    }
    result.added = 0;
  }
  run.reset();  // rolls back what was not committed
  db.close();
  if (progress) progress(lines.size(), lines.size());
  return result;
}

}  // namespace roomkit::autogen
