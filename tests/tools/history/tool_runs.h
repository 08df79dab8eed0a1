// One run of each tool through its database work, as the panels start them: the tools with a
// connection of their own get the path, the others the shell's open tables on a connection that
// lives for the run. Each fails the running test when the tool reports a failure.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/combine_rooms_work.h"
#include "tools/copy_inventory_work.h"
#include "tools/modify_room_data_work.h"

namespace historytest {

void renumberRoom(const std::string& path, const std::string& from, const std::string& to);
void modifyRoom(const std::string& path, const std::string& room,
                const roomkit::modify_room_data::NewValue& value);
void copyRoomInventory(const std::string& path, const std::string& source,
                       const std::vector<std::string>& targets,
                       const roomkit::copy_inventory::CopyOptions& options);
void generateRooms(const std::string& path, const std::vector<std::string>& lines,
                   const std::string& schedule);
void cleanUp(const std::string& path);
void renumberAssignment(const std::string& path, const std::string& from, const std::string& to);
void combineRooms(const std::string& path, const std::vector<std::string>& ticked,
                  const std::string& target, bool deleteSources,
                  std::optional<roomkit::combine_rooms::NewRoom> create = std::nullopt);
void changeSortValue(const std::string& path, const std::string& field, const std::string& from,
                     const std::string& to);

}  // namespace historytest
