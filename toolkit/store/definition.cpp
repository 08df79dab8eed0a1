#include "definition.h"

#include "text_case.h"

namespace store {

std::optional<std::size_t> TableDef::fieldPosition(std::string_view field) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (compareFolded(fields[i].name, field) == 0) return i;
  }
  return std::nullopt;
}

const IndexDef* TableDef::findIndex(std::string_view index) const {
  for (const IndexDef& def : indexes) {
    if (compareFolded(def.name, index) == 0) return &def;
  }
  return nullptr;
}

const char* fieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Text: return "text";
    case FieldType::Integer: return "integer";
    case FieldType::Double: return "double";
    case FieldType::Date: return "date";
  }
  return "text";
}

std::optional<FieldType> fieldTypeFromName(std::string_view name) {
  for (FieldType type : {FieldType::Text, FieldType::Integer, FieldType::Double, FieldType::Date}) {
    if (name == fieldTypeName(type)) return type;
  }
  return std::nullopt;
}

int defaultSize(FieldType type) {
  switch (type) {
    case FieldType::Text: return 255;
    case FieldType::Integer: return 4;
    case FieldType::Double:
    case FieldType::Date: return 8;
  }
  return 0;
}

}  // namespace store
