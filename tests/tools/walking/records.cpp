#include "records.h"

#include "store/table.h"

namespace walkingtest {

void put(store::Database& db, const std::string& table, const Fields& fields) {
  store::Table cursor = db.openTable(table);
  cursor.addNew();
  for (const auto& [name, value] : fields) cursor.setField(name, value);
  cursor.update();
}

std::vector<std::string> column(store::Database& db, const std::string& table,
                                const std::string& field) {
  store::Table cursor = db.openTable(table);
  std::vector<std::string> out;
  for (store::moveToFirst(cursor); !cursor.eof(); cursor.moveNext()) {
    const store::Value& value = cursor.field(field);
    out.push_back(value.isNull() ? "<null>" : value.toText());
  }
  return out;
}

void makeTable(store::Database& db, const std::string& table,
               const std::vector<std::string>& fields) {
  store::TableDef def{table, {}, {}};
  for (const std::string& field : fields) def.fields.push_back({field, store::FieldType::Text, 50});
  db.createTable(def);
}

}  // namespace walkingtest
