#include "field_types.h"

#include "error.h"
#include "mdb.h"

namespace jet::detail {
namespace {

[[noreturn]] void refuse(Refusal reason, const std::string& table, const Column& column,
                         const std::string& what) {
  throw Error(reason, "the field '" + column.name + "' of table '" + table + "' " + what);
}

// Decimals that fit a currency amount exactly: at most 4 decimals and 14 whole digits, so that
// every value in ten-thousandths stays below 10^18.
bool fitsCurrency(const Column& column) {
  return column.scale >= 0 && column.scale <= 4 && column.precision - column.scale <= 14;
}

}  // namespace

FieldPlan planField(const std::string& table, const Column& column, bool jet4) {
  using store::FieldType;
  FieldPlan plan{{column.name, FieldType::Text, 0}, column.type, column.scale};
  store::FieldDef& field = plan.field;
  switch (column.type) {
    case MDB_BOOL: field.type = FieldType::Boolean; break;
    case MDB_BYTE: field.type = FieldType::Integer; field.size = 1; break;
    case MDB_INT: field.type = FieldType::Integer; field.size = 2; break;
    case MDB_LONGINT: field.type = FieldType::Integer; field.size = 4; break;
    case MDB_MONEY: field.type = FieldType::Currency; break;
    case MDB_FLOAT: field.type = FieldType::Double; field.size = 4; break;
    case MDB_DOUBLE: field.type = FieldType::Double; field.size = 8; break;
    case MDB_DATETIME: field.type = FieldType::Date; break;
    case MDB_TEXT:
      // Jet 4 keeps two bytes per character of the defined size, Jet 3 one.
      field.size = jet4 ? column.size / 2 : column.size;
      if (field.size < 1 || field.size > 255) {
        refuse(Refusal::Damaged, table, column,
               "has a text size of " + std::to_string(field.size) + " characters");
      }
      break;
    case MDB_MEMO: field.type = FieldType::Memo; break;
    case MDB_BINARY:
      field.type = FieldType::Binary;
      field.size = column.size;
      if (field.size < 1) refuse(Refusal::Damaged, table, column, "has a binary size of 0");
      break;
    case MDB_OLE: field.type = FieldType::Ole; break;
    case MDB_REPID: field.type = FieldType::Guid; break;
    case MDB_NUMERIC:
      if (column.precision < 1 || column.precision > 28 || column.scale < 0 ||
          column.scale > column.precision) {
        refuse(Refusal::Damaged, table, column,
               "is a decimal of precision " + std::to_string(column.precision) + " and scale " +
                   std::to_string(column.scale));
      }
      if (fitsCurrency(column)) {
        field.type = FieldType::Currency;
      } else {
        field.size = column.precision + 2;  // digits, sign and decimal point
      }
      break;
    default:
      refuse(Refusal::Unsupported, table, column,
             "has Jet type " + std::to_string(column.type) + ", which no store type holds");
  }
  if (field.size == 0) field.size = store::defaultSize(field.type);
  return plan;
}

}  // namespace jet::detail
