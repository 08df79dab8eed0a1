// One record of the export: the stored values as JSON of their field's type, in field order.
// What the document cannot show as the field's type (text in a number field, a date that is no
// date, bytes that are no UTF-8 in a text field) is refused naming table, record and field.
#pragma once

#include <cstdint>
#include <string>

#include "store/definition.h"
#include "store/rows.h"

namespace dbtool {

class RecordWriter {
 public:
  RecordWriter(const store::TableDef& def, std::string& out) : def_(def), out_(out) {}

  // Appends "[v1, v2, ...]" for the row's columns, one per field; `record` counts from 1.
  void write(const store::StoredRows& row, std::int64_t record);

 private:
  void value(const store::StoredRows& row, std::size_t column, const store::FieldDef& field);
  void text(const store::StoredRows& row, std::size_t column, const store::FieldDef& field);
  void number(const store::StoredRows& row, std::size_t column, const store::FieldDef& field);
  void other(const store::StoredRows& row, std::size_t column, const store::FieldDef& field);
  [[noreturn]] void refuse(const store::FieldDef& field, const std::string& what) const;

  const store::TableDef& def_;
  std::string& out_;
  std::int64_t record_ = 0;
};

}  // namespace dbtool
