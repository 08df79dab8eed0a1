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
  int size = 0;  // characters of a text field; bytes of a number or date field
};

struct IndexDef {
  std::string name;                 // the suite's name ("PrimaryKey"), unique within its table
  std::vector<std::string> fields;  // key fields in key order
  bool unique = false;
};

struct TableDef {
  std::string name;
  std::vector<FieldDef> fields;
  std::vector<IndexDef> indexes;

  // Position of a field, names compared without regard to letter case; nullopt when absent.
  std::optional<std::size_t> fieldPosition(std::string_view field) const;
  const IndexDef* findIndex(std::string_view index) const;
};

const char* fieldTypeName(FieldType type);  // "text", "integer", "double", "date"
std::optional<FieldType> fieldTypeFromName(std::string_view name);
int defaultSize(FieldType type);            // 255, 4, 8, 8

}  // namespace store
