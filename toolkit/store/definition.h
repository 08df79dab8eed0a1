// What the store knows of a table: its fields by position and its indexes by the suite's names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "value.h"

namespace store {

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  // Characters of a text field; bytes of a number, date, binary or GUID field; 0 for the
  // unlimited memo and OLE fields.
  int size = 0;
  // Rules beyond the type, as a converted Access table keeps them: a field that takes no null, a
  // text field that takes no empty text, and the value of a record added without one.
  bool required = false;
  bool allowZeroLength = true;
  std::optional<Value> defaultValue = std::nullopt;
};

struct IndexDef {
  std::string name;                 // the suite's name ("PrimaryKey"), unique within its table
  std::vector<std::string> fields;  // key fields in key order
  bool unique = false;
  std::vector<bool> descending = {};  // by key field; empty (or all false) when every key ascends
  bool ignoreNulls = false;           // records whose keys are all null are left out of it

  bool descends(std::size_t key) const { return key < descending.size() && descending[key]; }
};

struct TableDef {
  std::string name;
  std::vector<FieldDef> fields;
  std::vector<IndexDef> indexes;

  // Position of a field, names compared without regard to letter case; nullopt when absent.
  std::optional<std::size_t> fieldPosition(std::string_view field) const;
  const IndexDef* findIndex(std::string_view index) const;
};

// "text", "integer", "double", "date", "boolean", "currency", "memo", "binary", "ole", "guid"
const char* fieldTypeName(FieldType type);
std::optional<FieldType> fieldTypeFromName(std::string_view name);
// 255 characters of text, 4 bytes of integer, 8 of double, date and currency, 1 of yes/no,
// 255 bytes of binary, 16 of a GUID, 0 (no limit) for memo and OLE.
int defaultSize(FieldType type);
// Whether a size fits the type: text and binary at least 1, integer 1, 2, 4 or 8 bytes, double 4
// or 8; the other types have their one size.
bool validSize(FieldType type, int size);

}  // namespace store
