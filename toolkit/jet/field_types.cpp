#include "field_types.h"

#include "mdb.h"
#include "store/error.h"

namespace jet::detail {
namespace {

[[noreturn]] void refuse(store::Fault reason, const std::string& table, const Column& column,
                         const std::string& what) {
  throw store::Error(reason, "the field '" + column.name + "' of table '" + table + "' " + what);
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
  auto as = [&](FieldType type, int size) {
    plan.field.type = type;
    plan.field.size = size;
    return plan;
  };
  switch (column.type) {
    case MDB_BOOL: return as(FieldType::Boolean, 1);
    case MDB_BYTE: return as(FieldType::Integer, 1);
    case MDB_INT: return as(FieldType::Integer, 2);
    case MDB_LONGINT: return as(FieldType::Integer, 4);
    case MDB_MONEY: return as(FieldType::Currency, 8);
    case MDB_FLOAT: return as(FieldType::Double, 4);
    case MDB_DOUBLE: return as(FieldType::Double, 8);
    case MDB_DATETIME: return as(FieldType::Date, 8);
    case MDB_MEMO: return as(FieldType::Memo, 0);
    case MDB_OLE: return as(FieldType::Ole, 0);
    case MDB_REPID: return as(FieldType::Guid, 16);
    case MDB_TEXT: {
      // Jet 4 keeps two bytes per character of the defined size, Jet 3 one.
      const int characters = jet4 ? column.size / 2 : column.size;
      if (characters < 1 || characters > 255) {
        refuse(store::Fault::Damaged, table, column,
               "has a text size of " + std::to_string(characters) + " characters");
      }
      return as(FieldType::Text, characters);
    }
    case MDB_BINARY:
      if (column.size < 1) refuse(store::Fault::Damaged, table, column, "has a binary size of 0");
      return as(FieldType::Binary, column.size);
    case MDB_NUMERIC:
      if (column.precision < 1 || column.precision > 28 || column.scale < 0 ||
          column.scale > column.precision) {
        refuse(store::Fault::Damaged, table, column,
               "is a decimal of precision " + std::to_string(column.precision) + " and scale " +
                   std::to_string(column.scale));
      }
      // Digits, sign and decimal point as text when no currency amount holds them.
      return fitsCurrency(column) ? as(FieldType::Currency, 8)
                                  : as(FieldType::Text, column.precision + 2);
    default:
      refuse(store::Fault::Unsupported, table, column,
             "has Jet type " + std::to_string(column.type) + ", which no store type holds");
  }
}

}  // namespace jet::detail
