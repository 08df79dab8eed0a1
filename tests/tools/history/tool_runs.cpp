#include "tool_runs.h"

#include <gtest/gtest.h>

#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"
#include "tools/auto_generate_work.h"
#include "tools/cleanup_work.h"
#include "tools/walking_work.h"

namespace historytest {

namespace sch = store::schema;

namespace {

void expectDone(const roomkit::WalkResult& result, const char* tool) {
  EXPECT_TRUE(result.ok()) << tool << ": " << result.message();
  EXPECT_GT(result.changed, 0) << tool << " changed nothing";
}

// The tables the shell keeps open on its connection while a building is loaded.
struct ShellTables {
  explicit ShellTables(const std::string& path)
      : db(store::Database::open(path)),
        info(db.openTable(sch::roomInfo)),
        inventory(db.openTable(sch::roomInventory)),
        banks(db.openTable(sch::inventoryBanks)),
        time(db.openTable(sch::roomTime)) {}
  store::Database db;
  store::Table info, inventory, banks, time;
};

}  // namespace

void renumberRoom(const std::string& path, const std::string& from, const std::string& to) {
  expectDone(roomkit::changeRoomNumber(path, from, to), "Change Room Number");
}

void modifyRoom(const std::string& path, const std::string& room,
                const roomkit::modify_room_data::NewValue& value) {
  namespace work = roomkit::modify_room_data;
  ShellTables shell(path);
  const work::UpdateResult result = work::writeValue({shell.info, shell.inventory}, room, value);
  EXPECT_EQ(result.status, work::UpdateResult::Status::Written)
      << "Modify Room Data: " << result.message();
}

void copyRoomInventory(const std::string& path, const std::string& source,
                       const std::vector<std::string>& targets,
                       const roomkit::copy_inventory::CopyOptions& options) {
  namespace work = roomkit::copy_inventory;
  ShellTables shell(path);
  const work::CopyResult result =
      work::copyInventory({shell.db, shell.banks, shell.inventory}, source, targets, options);
  EXPECT_EQ(result.status, work::CopyResult::Status::Done) << "Copy: " << result.message();
  EXPECT_EQ(result.completed, static_cast<std::int32_t>(targets.size()));
}

void generateRooms(const std::string& path, const std::vector<std::string>& lines,
                   const std::string& schedule) {
  const roomkit::autogen::AddResult result = roomkit::autogen::addRooms(path, lines, schedule);
  EXPECT_TRUE(result.ok()) << "Auto Generate Rooms: " << result.message();
}

void cleanUp(const std::string& path) {
  const roomkit::CleanupResult result = roomkit::removeUnusedSchedules(path);
  EXPECT_TRUE(result.ok()) << "Database Cleanup: " << result.message();
}

void renumberAssignment(const std::string& path, const std::string& from, const std::string& to) {
  expectDone(roomkit::changeAssignmentNumber(path, from, to), "Change Assignment Number");
}

void combineRooms(const std::string& path, const std::vector<std::string>& ticked,
                  const std::string& target, bool deleteSources,
                  std::optional<roomkit::combine_rooms::NewRoom> create) {
  namespace work = roomkit::combine_rooms;
  ShellTables shell(path);
  shell.info.setIndex(sch::primaryKey);
  work::TargetTables targets(shell.db);
  work::CombineLog log(path + ".log");
  ASSERT_EQ(log.prepare().message(), "");
  const work::MergePlan plan{ticked, target, std::move(create), deleteSources};
  const work::MergeResult result = work::mergeRooms(
      shell.db, {shell.info, shell.inventory, shell.banks, shell.time}, targets, plan, log);
  log.close();
  EXPECT_EQ(result.message(), "") << "Combine Rooms";
}

void changeSortValue(const std::string& path, const std::string& field, const std::string& from,
                     const std::string& to) {
  expectDone(roomkit::changeSortField(path, field, from, to), "Change Sort Fields");
}

}  // namespace historytest
