#include "walking_work.h"

#include <functional>

#include "store/error.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/text_case.h"
#include "store/writes.h"

namespace roomkit {

namespace sch = store::schema;

namespace {

store::Error failed(const std::string& what, const store::Error& error) {
  return store::Error(error, what + ", so nothing was changed.\r\n" + error.what());
}

// The walk recognises a field by its upper-cased name.
std::optional<std::size_t> findField(const store::TableDef& def, const std::string& field) {
  const std::string wanted = store::toUpper(field);
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    if (store::toUpper(def.fields[i].name) == wanted) return i;
  }
  return std::nullopt;
}

using Choose = std::function<std::vector<FieldInTable>(const store::Database&)>;

WalkResult replaceInFile(const std::string& path, const Choose& choose, const std::string& newValue,
                         const std::string& upperOld, const std::string& function) {
  WalkResult result;
  store::Database db;
  std::vector<FieldInTable> fields;
  try {
    db = store::Database::open(path);
    fields = choose(db);
  } catch (const store::Error& error) {
    result.failure = failed("The database could not be opened", error);
    return result;
  }
  result = replaceInFields(db, fields, newValue, upperOld, function);
  db.close();
  return result;
}

}  // namespace

WalkResult replaceInFields(store::Database& db, const std::vector<FieldInTable>& fields,
                           const std::string& newValue, const std::string& upperOld,
                           const std::string& function) {
  WalkResult result;
  std::string what = "The change could not be started";
  try {
    store::Run run(db, function, upperOld + " to " + newValue);
    const store::Value value(newValue);
    for (const FieldInTable& step : fields) {
      what = "The change could not be made in the table \"" + step.table + "\"";
      const store::TableDef def = db.tableDef(step.table);
      const auto position = findField(def, step.field);
      if (!position && step.optional) continue;
      // Without the field the store refuses, as a walk would on the table's first record.
      result.changed += store::updateWhereUpperText(
          db, step.table, position ? def.fields[*position].name : step.field, value, upperOld);
    }
    what = "The change could not be saved";
    run.commit();
  } catch (const store::Error& error) {
    result.changed = 0;
    result.failure = failed(what, error);
  }
  return result;
}

std::vector<FieldInTable> roomNumberFields(const store::Database& db) {
  std::vector<FieldInTable> fields;
  for (const std::string& table : db.tableNames()) {
    if (!sch::containsMsys(table)) fields.push_back({table, sch::roomNumber, true});
  }
  return fields;
}

WalkResult changeRoomNumber(const std::string& path, const std::string& current,
                            const std::string& newNumber) {
  return replaceInFile(path, roomNumberFields, newNumber, current, "Change Room Number");
}

std::vector<FieldInTable> assignmentFields(const store::Database& db) {
  std::vector<FieldInTable> fields;
  for (const std::string& table : db.tableNames()) {
    if (sch::isAssignmentTable(table)) fields.push_back({table, sch::areaAssignment, true});
  }
  return fields;
}

WalkResult changeAssignmentNumber(const std::string& path, const std::string& current,
                                  const std::string& newNumber) {
  return replaceInFile(path, assignmentFields, store::toUpper(newNumber), store::toUpper(current),
                       "Change Assignment Number");
}

std::vector<FieldInTable> sortValueFields(const std::string& fieldName) {
  return {{sch::roomInfo, fieldName}, {"Inv " + fieldName, sch::sortField}};
}

WalkResult changeSortField(const std::string& path, const std::string& fieldName,
                           const std::string& oldValue, const std::string& newValue) {
  return replaceInFile(
      path, [&](const store::Database&) { return sortValueFields(fieldName); },
      store::toUpper(newValue), store::toUpper(oldValue), "Change Sort Fields");
}

}  // namespace roomkit
