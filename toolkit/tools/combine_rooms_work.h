// The database work of "Combine Rooms": the combine log beside the database, and the merge of
// several rooms into one target room, adding up their inventories bank by bank and, on request,
// removing the merged rooms from every table that carries a room number.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database.h"
#include "store/merge_log.h"
#include "store/outcome.h"
#include "store/table.h"

namespace roomkit::combine_rooms {

inline constexpr const char* logHeader = store::combineLogHeader;
inline constexpr const char* defaultRoomName = "COMBINED ROOM";

// The combine log: a header, then one line per merged room, "source,target". Preparing it
// rewrites an existing log through "<log>.org", which keeps the whole old content until the new
// log holds all of it; a run cut short in between leaves ".org" behind, and the next run starts
// again from it, so nothing is lost. The lines of a run are appended only when the merge is
// about to be committed, and are taken out again if it is not.
class CombineLog {
 public:
  explicit CombineLog(std::string path);
  ~CombineLog();
  CombineLog(const CombineLog&) = delete;
  CombineLog& operator=(const CombineLog&) = delete;

  const std::string& path() const { return path_; }
  std::string orgPath() const { return path_ + ".org"; }

  // Creates the log with its header, or rewrites the existing one with every line as its two
  // values joined by a bare comma. Leaves the log open.
  store::Outcome prepare();
  // Appends lines and flushes them to the file.
  store::Outcome append(const std::vector<std::string>& lines);
  // Takes the lines appended since prepare() out again and closes the log.
  void discardRun();
  void close();

 private:
  store::Outcome fail(const std::string& file, const std::string& why);

  std::string path_;
  std::FILE* file_ = nullptr;
  std::uintmax_t preparedSize_ = 0;
};

// One old log line as the rewrite writes it: the values before and after the first comma, each
// without its leading blanks, joined by a bare comma. A line without a comma keeps its one value;
// nullopt for a line that holds nothing.
std::optional<std::string> rewrittenLogLine(std::string_view line);

// The shell's open tables, through which the merge reads and deletes the source rooms.
struct SourceTables {
  store::Table& roomInfo;       // "Room Info"
  store::Table& roomInventory;  // "Room Inventory"
  store::Table& banks;          // "Inventory Banks"
  store::Table& roomTime;       // "Room Time"
};

// The merge's own handles on the same database, through which it finds and writes the target.
struct TargetTables {
  explicit TargetTables(const store::Database& db);  // opens them; throws store::Error
  store::Table roomInfo;
  store::Table roomInventory;
  store::Table roomTime;
};

// Whether a "Room Info" record has the number (a seek: letter case does not matter).
bool roomExists(TargetTables& target, const std::string& number);

// Whether a ticked room is merged into the target: every ticked room but the target itself. A
// seek finds the target whatever the letter case of the typed number, so the target is
// recognised the same way; otherwise it would be merged into itself and then deleted.
bool isSourceRoom(const std::string& ticked, const std::string& target);

struct NewRoom {
  std::string name;      // "Room Name", as given
  std::string schedule;  // "Schedule"
  store::Date today;     // "Last Updated" of its "Room Time" record
};

struct MergePlan {
  std::vector<std::string> ticked;  // the ticked rooms' numbers, in list order
  std::string target;               // the target room's number
  std::optional<NewRoom> create;    // set when the target room is made first
  bool deleteSources = true;        // remove the merged rooms from the database
};

// Failed: the reason, and nothing was changed.
struct MergeResult : store::Outcome {
  int merged = 0;  // source rooms merged and logged
};

// The whole merge in one transaction: the new target room, the sums of the inventories (null
// quantities count as 0; a bank where the source or the target has no record carries nothing),
// the removal of the sources and their log lines. Any refused operation rolls everything back and
// leaves the log as prepare() made it.
MergeResult mergeRooms(store::Database& db, SourceTables sources, TargetTables& target,
                       const MergePlan& plan, CombineLog& log);

}  // namespace roomkit::combine_rooms
