#include "export.h"

#include <algorithm>

#include "base64.h"
#include "json_text.h"
#include "record_writer.h"
#include "store/database.h"
#include "store/error.h"
#include "store/history.h"
#include "store/rows.h"

namespace dbtool {
namespace {

// A field's size is shown where its type has more than one, and differs from the default for
// numbers.
bool showsSize(const store::FieldDef& field) {
  switch (field.type) {
    case store::FieldType::Text:
    case store::FieldType::Binary: return true;
    case store::FieldType::Integer:
    case store::FieldType::Double: return field.size != store::defaultSize(field.type);
    default: return false;
  }
}

// A value of the field's type as a record shows it.
void writeValue(std::string& out, const store::FieldDef& field, const store::Value& value) {
  switch (value.kind()) {
    case store::Value::Kind::Null: out += "null"; return;
    case store::Value::Kind::Boolean: out += value.boolean() ? "true" : "false"; return;
    case store::Value::Kind::Currency: out += store::currencyText(value.currency()); return;
    case store::Value::Kind::Integer:
      if (field.type != store::FieldType::Double) {
        appendJsonInteger(out, value.integer());
        return;
      }
      [[fallthrough]];
    case store::Value::Kind::Double:
      appendJsonDouble(out, field.size == 4 ? static_cast<float>(value.number()) : value.number());
      return;
    case store::Value::Kind::Date: appendJsonString(out, value.date().iso()); return;
    case store::Value::Kind::Binary:
      out += '"';
      appendBase64(out, value.bytes());
      out += '"';
      return;
    case store::Value::Kind::Text: appendJsonString(out, value.text()); return;
  }
}

// The rules beyond the type that the field's table keeps (a converted Access table's).
void writeRules(std::string& out, const store::FieldDef& field) {
  if (field.required) out += ", \"required\": true";
  if (!field.allowZeroLength) out += ", \"allowZeroLength\": false";
  if (field.defaultValue) {
    out += ", \"default\": ";
    writeValue(out, field, *field.defaultValue);
  }
}

void writeDefinition(std::string& out, const store::TableDef& def) {
  out += "      \"name\": ";
  appendJsonString(out, def.name);
  out += ",\n      \"fields\": [";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    const store::FieldDef& field = def.fields[i];
    out += i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ";
    appendJsonString(out, field.name);
    out += ", \"type\": \"";
    out += store::fieldTypeName(field.type);
    out += '"';
    if (showsSize(field)) {
      out += ", \"size\": ";
      appendJsonInteger(out, field.size);
    }
    writeRules(out, field);
    out += '}';
  }
  out += def.fields.empty() ? "]" : "\n      ]";
  out += ",\n      \"indexes\": [";
  for (std::size_t i = 0; i < def.indexes.size(); ++i) {
    const store::IndexDef& index = def.indexes[i];
    out += i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ";
    appendJsonString(out, index.name);
    out += ", \"fields\": [";
    for (std::size_t k = 0; k < index.fields.size(); ++k) {
      if (k > 0) out += ", ";
      appendJsonString(out, index.fields[k]);
    }
    out += ']';
    if (std::find(index.descending.begin(), index.descending.end(), true) !=
        index.descending.end()) {
      out += ", \"descending\": [";
      for (std::size_t k = 0; k < index.fields.size(); ++k) {
        out += k > 0 ? ", " : "";
        out += index.descends(k) ? "true" : "false";
      }
      out += ']';
    }
    out += index.unique ? ", \"unique\": true" : ", \"unique\": false";
    out += index.ignoreNulls ? ", \"ignoreNulls\": true}" : "}";
  }
  out += def.indexes.empty() ? "]" : "\n      ]";
}

void writeRecords(const store::Database& db, const store::TableDef& def, Output& output) {
  std::string& out = output.buffer();
  if (def.fields.empty()) {
    out += "[]";
    return;
  }
  store::StoredRows rows(db, def.name);
  RecordWriter writer(def, out);
  std::int64_t record = 0;
  while (rows.next()) {
    out += record == 0 ? "[\n        " : ",\n        ";
    writer.write(rows, ++record);
    output.spill();
  }
  out += record == 0 ? "[]" : "\n      ]";
}

}  // namespace

void exportDatabase(const std::string& path, Output& output) {
  store::Database db = store::Database::open(path, store::Database::Access::Read);
  {
    const store::ReadSnapshot snapshot(db);
    // The change history stays with its file.
    std::vector<std::string> tables;
    for (std::string& name : db.tableNames()) {
      if (!store::isHistoryTable(name)) tables.push_back(std::move(name));
    }
    std::string& out = output.buffer();
    out += "{\n  \"tables\": [";
    for (std::size_t t = 0; t < tables.size(); ++t) {
      const store::TableDef def = db.tableDef(tables[t]);
      out += t == 0 ? "\n    {\n" : ",\n    {\n";
      writeDefinition(out, def);
      out += ",\n      \"records\": ";
      writeRecords(db, def, output);
      out += "\n    }";
    }
    out += tables.empty() ? "]\n}\n" : "\n  ]\n}\n";
  }
  db.close();
  output.flush();
}

}  // namespace dbtool
