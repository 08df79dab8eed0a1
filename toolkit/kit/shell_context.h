// What a tool panel may use of the main window: the path box, the open database and its five
// open tables, the reload, the busy flag and the other panels.
#pragma once

#include <QString>

#include "store/database.h"
#include "store/table.h"

class QWidget;

namespace roomkit {

struct OpenTables {
  store::Table RoomInfoTable;
  store::Table RoomInventoryTable;
  store::Table InventoryBanksTable;
  store::Table ScheduleDescribeTable;
  store::Table RoomTimeTable;
};

class ShellContext {
 public:
  virtual ~ShellContext() = default;
  virtual QString databasePath() const = 0;  // the path box's text, as it stands
  virtual void focusDatabasePath() = 0;
  virtual store::Database& CurrentDB() = 0;
  virtual OpenTables& openTables() = 0;
  virtual void LoadCurrentDB() = 0;
  virtual QString& BusyFlag() = 0;
  virtual QWidget* panelAt(int position) = 0;  // the panel of a function position, 0 to 7
  // A function that writes asks first: when the loaded database may only be read, this says so
  // in a box and answers true, and the function does nothing.
  virtual bool refuseReadOnly() = 0;
};

}  // namespace roomkit
