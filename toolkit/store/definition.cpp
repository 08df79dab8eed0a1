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

namespace {
constexpr FieldType allTypes[] = {
    FieldType::Text,     FieldType::Integer, FieldType::Double, FieldType::Date, FieldType::Boolean,
    FieldType::Currency, FieldType::Memo,    FieldType::Binary, FieldType::Ole,  FieldType::Guid};
}  // namespace

const char* fieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Text: return "text";
    case FieldType::Integer: return "integer";
    case FieldType::Double: return "double";
    case FieldType::Date: return "date";
    case FieldType::Boolean: return "boolean";
    case FieldType::Currency: return "currency";
    case FieldType::Memo: return "memo";
    case FieldType::Binary: return "binary";
    case FieldType::Ole: return "ole";
    case FieldType::Guid: return "guid";
  }
  return "text";
}

std::optional<FieldType> fieldTypeFromName(std::string_view name) {
  for (FieldType type : allTypes) {
    if (name == fieldTypeName(type)) return type;
  }
  return std::nullopt;
}

int defaultSize(FieldType type) {
  switch (type) {
    case FieldType::Text:
    case FieldType::Binary: return 255;
    case FieldType::Integer: return 4;
    case FieldType::Double:
    case FieldType::Date:
    case FieldType::Currency: return 8;
    case FieldType::Boolean: return 1;
    case FieldType::Guid: return 16;
    case FieldType::Memo:
    case FieldType::Ole: return 0;
  }
  return 0;
}

bool validSize(FieldType type, int size) {
  switch (type) {
    case FieldType::Text:
    case FieldType::Binary: return size >= 1;
    case FieldType::Integer: return size == 1 || size == 2 || size == 4 || size == 8;
    case FieldType::Double: return size == 4 || size == 8;
    default: return size == defaultSize(type);
  }
}

}  // namespace store
