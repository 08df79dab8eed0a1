#include "scan.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "common/text/trim.h"
#include "records.h"
#include "store/coerce.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/text_case.h"

namespace store::check {

namespace sch = store::schema;

namespace {

// Texts as the indexes compare them: upper-cased, so equal keys are equal strings.
using FoldedSet = std::unordered_set<std::string>;
using Key = std::vector<std::pair<std::string, Value>>;
using suite::trimBlanks;

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }
std::string trimmedUpper(std::string_view text) { return toUpper(trimBlanks(text)); }
bool blank(const Value& value) { return value.isNull() || trimBlanks(value.toText()).empty(); }

// The banks "Inventory Banks" lists: numbers by value, anything else by its text.
struct Banks {
  std::unordered_set<double> numbers;
  FoldedSet texts;
  bool has(const Value& bank) const {
    if (bank.isNumber()) return numbers.count(bank.number()) > 0;
    return !bank.isNull() && texts.count(toUpper(bank.toText())) > 0;
  }
  void add(const Value& bank) {
    if (bank.isNumber()) {
      numbers.insert(bank.number());
    } else if (!bank.isNull()) {
      texts.insert(toUpper(bank.toText()));
    }
  }
};

struct Room {
  Value number;
  std::string folded;
  Value schedule, sort1, sort2;
  std::string eventual;  // its number after the mend (trimmed and upper-cased when that is sound)
  bool renamable = false;
  std::string note;  // why a malformed number is left alone
};

class Scanner {
 public:
  Scanner(const Database& db, const CheckProgress& progress) : db_(db), progress_(progress) {}

  Plan run() {
    step();
    engine();
    step();
    readRooms();
    readLookups();
    step();
    inventory();
    step();
    times();
    step();
    for (const std::string& table : db_.tableNames()) {
      if (sch::isAssignmentTable(table) && !sch::containsMsys(table) &&
          hasField(db_, table, sch::roomNumber)) {
        assignments(table);
      }
    }
    step();
    scheduleLines();
    step();
    otherCarriers();
    step();
    planRenames();
    roomFindings();
    std::stable_sort(plan_.findings.begin(), plan_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.kind < b.kind; });
    return std::move(plan_);
  }

 private:
  void step() {
    ++step_;
    tell();
  }
  void tell() const {
    if (progress_) progress_(step_, scanSteps);
  }
  Tick ticker() const {
    return [this] { tell(); };
  }

  void add(FindingKind kind, const std::string& table, Key key, std::string problem,
           bool mendable = false, std::string mend = {}) {
    plan_.findings.push_back(
        {kind, table, std::move(key), std::move(problem), mendable, std::move(mend)});
  }

  void engine() {
    sqlite3* handle = store::engineHandle(db_);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) fail(handle, rc);
    // The engine's check is one long statement; its progress handler lets the caller report.
    sqlite3_progress_handler(
        handle, 1 << 17,
        [](void* self) {
          try {
            static_cast<const Scanner*>(self)->tell();
          } catch (...) {
            // nothing may be thrown into the engine
          }
          return 0;
        },
        this);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      const std::string message = text ? text : "";
      if (message == "ok") continue;
      plan_.damaged = true;
      add(FindingKind::Engine, {}, {}, message);
    }
    sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) fail(handle, rc);
  }

  // The rooms, and the malformed numbers that a trim and upper-casing may mend.
  void readRooms() {
    Records r(db_, sch::roomInfo,
              {sch::roomNumber, sch::schedule, sch::sortField1, sch::sortField2}, ticker());
    roomTable_ = r.table();
    roomField_ = r.field(0);
    while (r.next()) {
      Room room;
      room.number = r.value(0);
      room.schedule = r.value(1);
      room.sort1 = r.value(2);
      room.sort2 = r.value(3);
      if (!room.number.isNull()) {
        const std::string_view text = r.text(0);
        room.folded = toUpper(text);
        ++roomCounts_[room.folded];
        room.eventual = std::string(text);
        if (text.find(',') == std::string_view::npos && !trimBlanks(text).empty()) {
          std::string mended = trimmedUpper(text);
          room.renamable = mended != text;
          // A trim gives the room another key: records that hold it already are in the way.
          if (mended != room.folded) claimed_.emplace(mended, std::string());
          room.eventual = std::move(mended);
        }
        ++eventual_[toUpper(room.eventual)];
      }
      rooms_.push_back(std::move(room));
    }
  }

  static FoldedSet foldedValues(Records&& r) {
    FoldedSet values;
    while (r.next()) {
      if (!r.isNull(0)) values.insert(toUpper(r.text(0)));
    }
    return values;
  }

  void readLookups() {
    describeTable_ = db_.tableDef(sch::scheduleDescribe).name;
    described_ = foldedValues(Records(db_, sch::scheduleDescribe, {sch::cleaningSchedule}));
    sortTables_[0] = db_.tableDef(sch::invSortField1).name;
    sortTables_[1] = db_.tableDef(sch::invSortField2).name;
    for (int k = 0; k < 2; ++k) {
      sortValues_[k] = foldedValues(Records(db_, sortTables_[k], {sch::sortField}));
    }
    Records banks(db_, sch::inventoryBanks, {sch::bank});
    banksTable_ = banks.table();
    while (banks.next()) banks_.add(banks.value(0));
  }

  // Whether the record's room exists; also notes a record that holds a number a trim would give.
  bool roomExists(const Records& r, std::size_t k, std::string& folded) {
    if (r.isNull(k)) return false;
    folded = toUpper(r.text(k));
    if (!claimed_.empty()) {
      const auto found = claimed_.find(folded);
      if (found != claimed_.end() && found->second.empty()) found->second = r.table();
    }
    return roomCounts_.count(folded) > 0;
  }

  // The trimmed numbers of every room, read the first time a record of a missing room needs them.
  const FoldedSet& trimmedRooms() {
    if (!trimmedRead_) {
      for (const Room& room : rooms_) {
        if (!room.number.isNull()) trimmed_.insert(trimmedUpper(room.folded));
      }
      trimmedRead_ = true;
    }
    return trimmed_;
  }

  // A record of a room that does not exist. The mend removes it, unless its number and a room's
  // differ only in blanks at the ends: then it may be that room's, and it is left alone.
  void orphan(const Records& r, std::size_t field, Key key, Plan::Orphans& orphans,
              std::unordered_set<std::string>& seen) {
    if (r.isNull(field)) {
      add(FindingKind::MissingRoom, r.table(), std::move(key), "the record has no room number",
          true, "removed");
      orphans.nulls = true;
      return;
    }
    const std::string_view number = r.text(field);
    const std::string problem = "no \"" + roomTable_ + "\" record has this room number";
    if (trimmedRooms().count(trimmedUpper(number)) > 0) {
      add(FindingKind::MissingRoom, r.table(), std::move(key), problem, false,
          "left alone: a room's number differs from it only in blanks at an end");
      return;
    }
    add(FindingKind::MissingRoom, r.table(), std::move(key), problem, true, "removed");
    if (seen.insert(std::string(number)).second) orphans.numbers.emplace_back(number);
  }

  Plan::Orphans& orphansOf(const Records& r, std::size_t field) {
    orphanTables_.insert(toUpper(r.table()));
    plan_.orphans.push_back({r.table(), r.field(field), {}, false});
    return plan_.orphans.back();
  }

  void inventory() {
    Records r(db_, sch::roomInventory, {sch::roomNumber, sch::bank}, ticker());
    Plan::Orphans& orphans = orphansOf(r, 0);
    std::unordered_set<std::string> seen;
    std::string folded;
    while (r.next()) {
      const bool exists = roomExists(r, 0, folded);
      const Value bank = r.value(1);
      const bool known = banks_.has(bank);
      if (exists && known) continue;
      Key key{{r.field(0), r.value(0)}, {r.field(1), bank}};
      if (!known) {
        add(FindingKind::UnknownBank, r.table(), key,
            bank.isNull() ? "the record has no bank"
                          : "its bank " + bank.toText() + " is not in \"" + banksTable_ + "\"");
      }
      if (!exists) orphan(r, 0, std::move(key), orphans, seen);
    }
  }

  void times() {
    Records r(db_, sch::roomTime, {sch::roomNumber}, ticker());
    timeTable_ = r.table();
    Plan::Orphans& orphans = orphansOf(r, 0);
    std::unordered_set<std::string> seen;
    std::string folded;
    while (r.next()) {
      if (!roomExists(r, 0, folded)) orphan(r, 0, {{r.field(0), r.value(0)}}, orphans, seen);
      if (!r.isNull(0)) timed_.insert(folded);
    }
  }

  void assignments(const std::string& table) {
    const bool area = hasField(db_, table, sch::areaAssignment);
    std::vector<std::string> fields{sch::roomNumber};
    if (area) fields.insert(fields.begin(), sch::areaAssignment);
    const std::size_t number = area ? 1 : 0;
    Records r(db_, table, fields, ticker());
    Plan::Orphans& orphans = orphansOf(r, number);
    std::unordered_set<std::string> seen;
    std::string folded;
    while (r.next()) {
      if (roomExists(r, number, folded)) continue;
      Key key;
      for (std::size_t k = 0; k < fields.size(); ++k) key.emplace_back(r.field(k), r.value(k));
      orphan(r, number, std::move(key), orphans, seen);
    }
  }

  void scheduleLines() {
    Records r(db_, sch::scheduleLines, {sch::cleaningSchedule, sch::lineNumber}, ticker());
    while (r.next()) {
      if (!r.isNull(0) && described_.count(toUpper(r.text(0))) > 0) continue;
      add(FindingKind::UndescribedLine, r.table(),
          {{r.field(0), r.value(0)}, {r.field(1), r.value(1)}},
          r.isNull(0) ? "the line has no schedule code"
                      : "the schedule " + inQuotes(r.text(0)) + " has no record in \"" +
                            describeTable_ + "\"");
    }
  }

  // Every table with a text room number field carries the renames. Those not read above are
  // read for records in the way of a trim, when a trim is planned.
  void otherCarriers() {
    for (const std::string& table : db_.tableNames()) {
      const std::string upper = toUpper(table);
      if (sch::containsMsys(table) || upper.rfind("SQLITE_", 0) == 0) continue;
      const TableDef def = db_.tableDef(table);
      const auto field = def.fieldPosition(sch::roomNumber);
      if (!field) continue;
      const FieldDef& fieldDef = def.fields[*field];
      if (fieldDef.type != FieldType::Text && fieldDef.type != FieldType::Memo) continue;
      plan_.carriers.push_back(def.name);
      carrierFields_.push_back(fieldDef);
      if (claimed_.empty() || upper == toUpper(roomTable_) || orphanTables_.count(upper) > 0)
        continue;
      Records r(db_, def.name, {sch::roomNumber}, ticker());
      std::string folded;
      while (r.next()) roomExists(r, 0, folded);
    }
  }

  // A malformed number is mended when no other room then has it, every carrying table can hold
  // it, and no record of another table holds it already.
  void planRenames() {
    for (Room& room : rooms_) {
      if (!room.renamable) continue;
      room.renamable = false;
      const std::string folded = toUpper(room.eventual);
      if (eventual_[folded] > 1) {
        room.note = "left alone: another room would have the number " + inQuotes(room.eventual);
        continue;
      }
      for (const FieldDef& field : carrierFields_) {
        try {
          coerce(field, Value(room.eventual));
        } catch (const Error&) {
          room.note = "left alone: " + inQuotes(room.eventual) + " is too long for a room number";
        }
      }
      if (const auto found = claimed_.find(folded);
          found != claimed_.end() && !found->second.empty()) {
        room.note =
            "left alone: \"" + found->second + "\" has records of " + inQuotes(room.eventual);
      }
      if (!room.note.empty()) continue;
      room.renamable = true;
      plan_.renames.push_back({room.number.toText(), room.eventual});
    }
  }

  void roomFindings() {
    std::unordered_set<std::string> duplicates, newTimes;
    for (Room& room : rooms_) {
      const auto key = [&] { return Key{{roomField_, room.number}}; };
      if (!room.number.isNull() && timed_.count(room.folded) == 0) {
        const std::string number = room.renamable ? room.eventual : room.number.toText();
        add(FindingKind::NoRoomTime, roomTable_, key(),
            "the room has no \"" + timeTable_ + "\" record", true,
            "a \"" + timeTable_ + "\" record is made");
        if (newTimes.insert(toUpper(number)).second) plan_.newTimes.push_back(number);
      }
      if (!blank(room.schedule) && described_.count(toUpper(room.schedule.toText())) == 0) {
        add(FindingKind::UndescribedSchedule, roomTable_, key(),
            "its schedule " + inQuotes(room.schedule.toText()) + " has no record in \"" +
                describeTable_ + "\"");
      }
      const Value* sorts[2] = {&room.sort1, &room.sort2};
      for (int k = 0; k < 2; ++k) {
        if (blank(*sorts[k]) || sortValues_[k].count(toUpper(sorts[k]->toText())) > 0) continue;
        add(FindingKind::UnlistedSortValue, roomTable_, key(),
            std::string("its \"") + (k == 0 ? sch::sortField1 : sch::sortField2) + "\" " +
                inQuotes(sorts[k]->toText()) + " is not listed in \"" + sortTables_[k] + "\"");
      }
      keyFormat(room, key());
      if (!room.number.isNull() && roomCounts_[room.folded] > 1 &&
          duplicates.insert(room.folded).second) {
        add(FindingKind::DuplicateNumber, roomTable_, key(),
            std::to_string(roomCounts_[room.folded]) +
                " rooms have this number, letter case aside");
      }
    }
  }

  void keyFormat(const Room& room, Key key) {
    if (room.number.isNull()) {
      add(FindingKind::KeyFormat, roomTable_, std::move(key), "the room has no number", false,
          "left alone: there is no number to mend");
      return;
    }
    const std::string number = room.number.toText();
    std::vector<std::string> faults;
    if (trimBlanks(number).size() != number.size()) faults.push_back("blanks at an end");
    if (toUpper(number) != number) faults.push_back("lower-case letters");
    if (number.find(',') != std::string::npos) faults.push_back("a comma");
    if (faults.empty() && !number.empty()) return;
    std::string problem = faults.empty() ? "the room number is empty" : "the room number has ";
    for (std::size_t i = 0; i < faults.size(); ++i) {
      problem += (i == 0 ? "" : i + 1 == faults.size() ? " and " : ", ") + faults[i];
    }
    std::string mend = room.renamable ? "becomes " + inQuotes(room.eventual) : room.note;
    if (mend.empty()) {
      mend = number.find(',') != std::string::npos ? "left alone: a comma has no sound mend"
                                                   : "left alone: the number would be empty";
    }
    add(FindingKind::KeyFormat, roomTable_, std::move(key), problem, room.renamable, mend);
  }

  const Database& db_;
  const CheckProgress& progress_;
  int step_ = 0;
  Plan plan_;
  std::string roomTable_, roomField_, timeTable_, banksTable_, describeTable_;
  std::string sortTables_[2];
  std::vector<Room> rooms_;
  std::unordered_map<std::string, int> roomCounts_;  // by folded number
  std::unordered_map<std::string, int> eventual_;    // by folded number after the mend
  // The numbers trims would give, each with the first table found to hold it already.
  std::unordered_map<std::string, std::string> claimed_;
  FoldedSet trimmed_;
  bool trimmedRead_ = false;
  FoldedSet described_, timed_;
  FoldedSet sortValues_[2];
  Banks banks_;
  std::unordered_set<std::string> orphanTables_;  // upper-cased names
  std::vector<FieldDef> carrierFields_;
};

}  // namespace

Plan scan(const Database& db, const CheckProgress& progress) { return Scanner(db, progress).run(); }

}  // namespace store::check
