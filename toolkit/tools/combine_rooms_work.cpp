#include "combine_rooms_work.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "store/error.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/text_case.h"
#include "store/writes.h"

namespace roomkit::combine_rooms {

namespace fs = std::filesystem;
namespace sch = store::schema;
using store::Value;

// ---- the combine log -------------------------------------------------------------------------

namespace {

std::string_view dropLeadingBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

std::optional<std::string> readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return content.str();
}

std::string rewritten(std::string_view content) {
  std::string out;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (auto kept = rewrittenLogLine(line)) out += *kept + "\r\n";
  }
  return out;
}

}  // namespace

std::optional<std::string> rewrittenLogLine(std::string_view line) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) {
    const std::string_view value = dropLeadingBlanks(line);
    if (value.empty()) return std::nullopt;
    return std::string(value);
  }
  std::string joined(dropLeadingBlanks(line.substr(0, comma)));
  joined += ',';
  joined += dropLeadingBlanks(line.substr(comma + 1));
  return joined;
}

CombineLog::CombineLog(std::string path) : path_(std::move(path)) {}

CombineLog::~CombineLog() { close(); }

void CombineLog::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

// The log is a file beside the database: its failures take the store's code for one.
store::Outcome CombineLog::fail(const std::string& file, const std::string& why) {
  close();
  return {store::Error(store::code::ioError,
                       "The combine log " + file + " could not be written: " + why)};
}

store::Outcome CombineLog::prepare() {
  close();
  const std::string org = orgPath();
  std::error_code error;
  bool rewrite = false;
  bool renamed = false;
  if (fs::exists(org, error)) {
    // An earlier rewrite was cut short: ".org" holds the whole old log, the log only part of it.
    if (!fs::is_regular_file(org, error)) return fail(org, "it is not a file.");
    rewrite = true;
  } else if (fs::exists(path_, error)) {
    if (!fs::is_regular_file(path_, error)) return fail(path_, "it is not a file.");
    fs::rename(path_, org, error);
    if (error) return fail(path_, error.message() + ".");
    rewrite = renamed = true;
  }
  auto putBack = [&] {
    std::error_code ignored;
    if (renamed && !fs::exists(path_, ignored)) fs::rename(org, path_, ignored);
  };

  std::string content = std::string(logHeader) + "\r\n";
  if (rewrite) {
    const std::optional<std::string> old = readWhole(org);
    if (!old) {
      putBack();
      return fail(org, "it cannot be read.");
    }
    // An old log that holds no line at all gets the header a new log starts with.
    if (std::string kept = rewritten(*old); !kept.empty()) content = std::move(kept);
  }
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) {
    const std::string why = std::strerror(errno);
    putBack();
    return fail(path_, why + ".");
  }
  if (std::fwrite(content.data(), 1, content.size(), file_) != content.size() ||
      std::fflush(file_) != 0) {
    const std::string why = std::strerror(errno);
    return fail(path_, why + ".");  // ".org" stays: the next run starts again from it
  }
  if (rewrite && !fs::remove(org, error)) {
    // A ".org" left behind would make the next run start from it and drop this run's lines.
    return fail(org, "it cannot be deleted (" + error.message() + ").");
  }
  preparedSize_ = content.size();
  return {};
}

store::Outcome CombineLog::append(const std::vector<std::string>& lines) {
  if (!file_) return fail(path_, "it is not open.");
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  if (std::fwrite(content.data(), 1, content.size(), file_) != content.size() ||
      std::fflush(file_) != 0) {
    const std::string why = std::strerror(errno);
    discardRun();
    return {store::Error(store::code::ioError,
                         "The combine log " + path_ + " could not be written: " + why + ".")};
  }
  return {};
}

void CombineLog::discardRun() {
  close();
  std::error_code ignored;
  if (fs::exists(path_, ignored)) fs::resize_file(path_, preparedSize_, ignored);
}

// ---- the merge -------------------------------------------------------------------------------

TargetTables::TargetTables(const store::Database& db)
    : roomInfo(db.openTable(sch::roomInfo)),
      roomInventory(db.openTable(sch::roomInventory)),
      roomTime(db.openTable(sch::roomTime)) {}

bool roomExists(TargetTables& target, const std::string& number) {
  target.roomInfo.setIndex(sch::primaryKey);
  target.roomInfo.seek({Value(number)});
  return !target.roomInfo.noMatch();
}

bool isSourceRoom(const std::string& ticked, const std::string& target) {
  return ticked != target && store::compareFolded(ticked, target) != 0;
}

namespace {

struct RoomField {
  std::string table;
  std::string field;
};

// The tables searched for a merged room's records: every table whose name does not begin with
// "MSYS", with its first field named "Room Number" (in any letter case).
std::vector<RoomField> roomNumberTables(const store::Database& db) {
  std::vector<RoomField> found;
  for (const std::string& table : db.tableNames()) {
    if (sch::beginsWithMsys(table)) continue;
    for (const store::FieldDef& field : db.tableDef(table).fields) {
      if (sch::isRoomNumberField(field.name)) {
        found.push_back({table, field.name});
        break;
      }
    }
  }
  return found;
}

std::vector<Value> bankKeys(store::Table& banks) {
  banks.setIndex(sch::primaryKey);
  const std::size_t bank = banks.fieldPosition(sch::bank);
  std::vector<Value> keys;
  for (store::moveToFirst(banks); !banks.eof(); banks.moveNext()) keys.push_back(banks.field(bank));
  return keys;
}

std::vector<std::size_t> quantityPositions(const store::Table& table) {
  std::vector<std::size_t> positions;
  for (int item = 1; item <= sch::quantityCount; ++item) {
    positions.push_back(table.fieldPosition(sch::quantityField(item)));
  }
  return positions;
}

void createRoom(TargetTables& target, const std::string& number, const NewRoom& room,
                const std::vector<Value>& banks) {
  store::Table& info = target.roomInfo;
  info.addNew();
  info.setField(sch::roomNumber, Value(number));
  info.setField(sch::roomName, Value(room.name));
  info.setField(sch::schedule, Value(room.schedule));
  info.update();

  store::Table& inventory = target.roomInventory;
  const std::vector<std::size_t> items = quantityPositions(inventory);
  for (const Value& bank : banks) {
    inventory.addNew();
    inventory.setField(sch::roomNumber, Value(number));
    for (std::size_t item : items) inventory.setField(item, Value(0.0));
    inventory.setField(sch::bank, bank);
    inventory.update();
  }

  store::Table& time = target.roomTime;
  time.addNew();
  time.setField(sch::roomNumber, Value(number));
  time.setField(sch::lastUpdated, Value(room.today));
  for (const std::string& field : sch::timeFields) time.setField(field, Value(0.0));
  time.setField(sch::miscTime, Value(""));
  time.update();
}

class Merge {
 public:
  Merge(store::Database& db, SourceTables sources, TargetTables& target, const MergePlan& plan)
      : db_(db), sources_(sources), target_(target), plan_(plan) {}

  // Returns the log lines of the merged rooms.
  std::vector<std::string> run() {
    const std::vector<Value> banks = bankKeys(sources_.banks);
    if (plan_.create) createRoom(target_, plan_.target, *plan_.create, banks);
    sourceItems_ = quantityPositions(sources_.roomInventory);
    targetItems_ = quantityPositions(target_.roomInventory);
    if (plan_.deleteSources) roomTables_ = roomNumberTables(db_);
    sources_.roomInventory.setIndex(sch::primaryKey);
    target_.roomInventory.setIndex(sch::primaryKey);

    std::vector<std::string> lines;
    for (const std::string& room : plan_.ticked) {
      if (!isSourceRoom(room, plan_.target)) continue;
      lines.push_back(room + "," + plan_.target);
      for (const Value& bank : banks) carry(room, bank);
      if (plan_.deleteSources) remove(room);
    }
    return lines;
  }

 private:
  void carry(const std::string& room, const Value& bank) {
    store::Table& from = sources_.roomInventory;
    from.seek({Value(room), bank});
    if (from.noMatch()) return;
    store::Table& into = target_.roomInventory;
    into.seek({Value(plan_.target), bank});
    if (into.noMatch()) return;  // the target has no record of this bank: nothing is carried
    into.edit();
    for (std::size_t i = 0; i < targetItems_.size(); ++i) {
      // number() reads an empty quantity as 0
      const double sum =
          into.field(targetItems_[i]).number() + from.field(sourceItems_[i]).number();
      into.setField(targetItems_[i], Value(sum));
    }
    into.update();
    if (plan_.deleteSources) from.remove();
  }

  void remove(const std::string& room) {
    for (store::Table* table : {&sources_.roomInfo, &sources_.roomTime}) {
      table->setIndex(sch::primaryKey);
      table->seek({Value(room)});
      if (!table->noMatch()) table->remove();
    }
    // The same deletions as walking each table and deleting where "Room Number" equals the room
    // exactly, in one statement per table.
    for (const RoomField& where : roomTables_)
      store::deleteWhereText(db_, where.table, where.field, room);
  }

  store::Database& db_;
  SourceTables sources_;
  TargetTables& target_;
  const MergePlan& plan_;
  std::vector<std::size_t> sourceItems_, targetItems_;
  std::vector<RoomField> roomTables_;
};

}  // namespace

MergeResult mergeRooms(store::Database& db, SourceTables sources, TargetTables& target,
                       const MergePlan& plan, CombineLog& log) {
  MergeResult result;
  std::optional<store::Run> run;
  try {
    run.emplace(db, store::combineRunFunction, "into " + plan.target);
  } catch (const store::Error& error) {
    result.failure = error;
    return result;
  }
  bool logged = false;
  try {
    const std::vector<std::string> lines = Merge(db, sources, target, plan).run();
    // The lines go to the file before the commit, and come out again if it fails.
    result.failure = log.append(lines).failure;
    logged = result.ok();
    if (logged) {
      run->commit();
      result.merged = static_cast<int>(lines.size());
      return result;
    }
  } catch (const store::Error& error) {
    result.failure = error;
  }
  run.reset();  // rolls back
  if (logged) log.discardRun();
  return result;
}

}  // namespace roomkit::combine_rooms
