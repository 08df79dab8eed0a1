#include "modify_room_data_work.h"

#include "common/text/trim.h"
#include "kit/numbers.h"
#include "store/error.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/text_case.h"
#include "store/writes.h"

namespace roomkit::modify_room_data {

namespace sch = store::schema;

namespace {

const char* squareFeetField(FloorKind kind) {
  return kind == FloorKind::Tile ? tileField : carpetField;
}

const char* roomInfoField(Mode mode) {
  return mode == Mode::RoomName ? sch::roomName : sch::schedule;
}

std::string upperTrimmed(const std::string& text) {
  return store::toUpper(suite::trimBlanks(text));
}

// Leaves no edit pending on either cursor when a step fails half-way.
struct EditGuard {
  RoomTables tables;
  bool done = false;
  ~EditGuard() {
    if (done) return;
    tables.info.cancelUpdate();
    tables.inventory.cancelUpdate();
  }
};

}  // namespace

PresentValue presentValue(RoomTables tables, const std::string& room, Mode mode, FloorKind kind) {
  PresentValue present;
  try {
    if (mode == Mode::FloorArea) {
      store::Table& inventory = tables.inventory;
      inventory.setIndex(sch::roomNumberIndex);
      inventory.seek({store::Value(room)});
      if (!inventory.noMatch()) {
        present.value = inventory.field(squareFeetField(kind)).toText();
        present.linear = inventory.field(linearField).toText();
      }
    } else {
      store::Table& info = tables.info;
      info.setIndex(sch::primaryKey);
      info.seek({store::Value(room)});
      if (!info.noMatch()) present.value = upperTrimmed(info.field(roomInfoField(mode)).toText());
    }
  } catch (const store::Error& error) {
    present = PresentValue{};
    present.failure = error;
  }
  return present;
}

namespace {

using Status = UpdateResult::Status;

UpdateResult refused(Status status, const store::Error& why) {
  UpdateResult result;
  result.status = status;
  result.failure = why;
  return result;
}

UpdateResult write(RoomTables tables, const std::string& room, const NewValue& value) {
  if (value.mode != Mode::FloorArea) {
    // The room's record is found by its unique key and written without reading it first. Where
    // that is refused nothing was written, and the walk below decides what the user is told.
    try {
      store::Table& info = tables.info;
      if (store::updateWhereKey(info.database(), info.def().name, sch::primaryKey,
                                {store::Value(room)},
                                {{info.fieldPosition(roomInfoField(value.mode)),
                                  store::Value(upperTrimmed(value.value))}}) == 1) {
        return {};
      }
    } catch (const store::Error&) {
      // Deliberately goes on: the walk below meets the same refusal, if it is one, and tells it.
    }
  }
  EditGuard guard{tables};
  try {
    store::Table& info = tables.info;
    info.setIndex(sch::primaryKey);
    info.seek({store::Value(room)});
    if (info.noMatch()) {
      return refused(Status::NoRoom,
                     store::Error(store::code::notFound,
                                  "The room " + room + " has no \"Room Info\" record."));
    }
    info.edit();
    if (value.mode == Mode::FloorArea) {
      // The record a seek on "RoomNumber" finds, written without reading it first. Without a
      // record of its own the room gets nothing; no other record may be written.
      store::Table& inventory = tables.inventory;
      const std::int64_t written = store::updateWhereKey(
          inventory.database(), inventory.def().name, sch::roomNumberIndex, {store::Value(room)},
          {{inventory.fieldPosition(squareFeetField(value.kind)),
            store::Value(leadingNumber(value.value))},
           {inventory.fieldPosition(linearField), store::Value(leadingNumber(value.linear))}});
      if (written == 0) {
        return refused(Status::NoInventory,
                       store::Error(store::code::notFound,
                                    "The room " + room + " has no \"Room Inventory\" record."));
      }
    } else {
      info.setField(roomInfoField(value.mode), store::Value(upperTrimmed(value.value)));
    }
    info.update();
    guard.done = true;
    return {};
  } catch (const store::Error& error) {
    return refused(Status::Refused, error);
  }
}

}  // namespace

// One Update is one run of the change history: written and recorded together, or not at all.
UpdateResult writeValue(RoomTables tables, const std::string& room, const NewValue& value) {
  try {
    store::Run run(tables.info.database(), "Modify Room Data", room);
    UpdateResult result = write(tables, room, value);
    if (result.ok()) run.commit();
    return result;
  } catch (const store::Error& error) {
    return refused(Status::Refused, error);
  }
}

}  // namespace roomkit::modify_room_data
