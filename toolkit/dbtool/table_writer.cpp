#include "table_writer.h"

#include "json_text.h"
#include "store/error.h"
#include "store/writes.h"

namespace dbtool {

// The field of that exact name (names that differ only in case may both exist).
std::size_t TableWriter::fieldIndex(const std::string& name) const {
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (def_.fields[i].name == name) return i;
  }
  return def_.fieldPosition(name).value_or(0);
}

TableWriter::TableWriter(store::Database& db, const store::TableDef& def) : db_(db), def_(def) {
  try {
    db_.createTable(def_);
  } catch (const store::Error& error) {
    throw store::Error(store::Fault::Input,
                       "table " + jsonString(def_.name) + " cannot be made: " + error.what());
  }
  try {
    insert_ = std::make_unique<store::Inserter>(db_, def_.name);
  } catch (const store::Error& error) {
    throw store::Error(store::Fault::Input,
                       "table " + jsonString(def_.name) + " cannot be written: " + error.what());
  }
}

void TableWriter::insert(const std::vector<store::Value>& record) {
  try {
    insert_->insert(record);
  } catch (const store::Error& error) {
    if ((error.code() & 0xFF) == store::code::constraint) {
      const std::string index = duplicateIndex(record);
      if (!index.empty()) throw store::Error(store::Fault::Input, "duplicate key: " + index);
    }
    throw store::Error(store::Fault::Input,
                       std::string("the record cannot be written: ") + error.what());
  }
}

// The first unique index under which an earlier record has the same key (text compared without
// regard to case, as the index compares it).
std::string TableWriter::duplicateIndex(const std::vector<store::Value>& record) const {
  for (const store::IndexDef& index : def_.indexes) {
    if (!index.unique) continue;
    std::vector<store::Value> keys;
    bool nulls = false;
    for (const std::string& field : index.fields) {
      keys.push_back(record[fieldIndex(field)]);
      nulls = nulls || keys.back().isNull();
    }
    if (!nulls && store::hasKey(db_, def_.name, index.name, keys)) {
      std::string fields;
      for (const std::string& field : index.fields)
        fields += (fields.empty() ? "" : ", ") + jsonString(field);
      return "an earlier record has the same " + fields + " (unique index " +
             jsonString(index.name) + ")";
    }
  }
  return {};
}

}  // namespace dbtool
