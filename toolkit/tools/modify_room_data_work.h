// The database work of "Modify Room Data": a room's present value and the writing of a new one,
// on the shell's open "Room Info" and "Room Inventory" tables.
#pragma once

#include <optional>
#include <string>

#include "store/outcome.h"
#include "store/table.h"

namespace roomkit::modify_room_data {

enum class Mode { RoomName, Schedule, FloorArea };
enum class FloorKind { Tile, Carpet };

struct RoomTables {
  store::Table& info;       // "Room Info"
  store::Table& inventory;  // "Room Inventory"
};

// The quantity fields of the floor-area mode.
inline constexpr const char* tileField = "1";
inline constexpr const char* carpetField = "2";
inline constexpr const char* linearField = "28";

// Failed: the engine's reason when the read failed.
struct PresentValue : store::Outcome {
  std::string value;                  // "" when the room has no record; null reads as ""
  std::optional<std::string> linear;  // floor-area mode, record found: field "28"
};

// What the lookup shows for a room: its name or schedule upper-cased and trimmed, or the square
// feet of the floor kind and the linear feet of its first "Room Inventory" record.
PresentValue presentValue(RoomTables tables, const std::string& room, Mode mode, FloorKind kind);

struct NewValue {
  Mode mode = Mode::RoomName;
  FloorKind kind = FloorKind::Tile;
  std::string value;   // as typed; trimmed and upper-cased, or read as a leading number
  std::string linear;  // floor-area mode: the linear feet as typed
};

// Failed (any status but Written): why nothing was written; for Refused the engine's message.
struct UpdateResult : store::Outcome {
  enum class Status {
    Written,
    NoRoom,       // no "Room Info" record for the room
    NoInventory,  // floor-area mode: the room has no "Room Inventory" record
    Refused,      // the engine refused a read or write; nothing of this update was written
  };
  Status status = Status::Written;
};

// Writes the value to the room; anything but Written has written nothing.
UpdateResult writeValue(RoomTables tables, const std::string& room, const NewValue& value);

}  // namespace roomkit::modify_room_data
