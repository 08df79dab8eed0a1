// The store field each Jet column type becomes, and the types and sizes that have no home.
#include "jet/field_types.h"

#include <gtest/gtest.h>

#include "jet/mdb.h"
#include "store/error.h"

namespace {

using jet::detail::Column;
using jet::detail::planField;
using store::FieldType;

struct Mapping {
  Column column;
  bool jet4;
  FieldType type;
  int size;
};

const Mapping mappings[] = {
    {{"yes/no", MDB_BOOL, 0}, true, FieldType::Boolean, 1},
    {{"byte", MDB_BYTE, 1}, true, FieldType::Integer, 1},
    {{"integer", MDB_INT, 2}, true, FieldType::Integer, 2},
    {{"long", MDB_LONGINT, 4}, true, FieldType::Integer, 4},
    {{"currency", MDB_MONEY, 8}, true, FieldType::Currency, 8},
    {{"single", MDB_FLOAT, 4}, true, FieldType::Double, 4},
    {{"double", MDB_DOUBLE, 8}, true, FieldType::Double, 8},
    {{"date", MDB_DATETIME, 8}, true, FieldType::Date, 8},
    {{"text", MDB_TEXT, 510}, true, FieldType::Text, 255},  // two bytes a character
    {{"text", MDB_TEXT, 100}, true, FieldType::Text, 50},
    {{"text", MDB_TEXT, 50}, false, FieldType::Text, 50},  // Jet 3: one byte a character
    {{"memo", MDB_MEMO, 0}, true, FieldType::Memo, 0},
    {{"binary", MDB_BINARY, 16}, true, FieldType::Binary, 16},
    {{"ole", MDB_OLE, 0}, true, FieldType::Ole, 0},
    {{"replication id", MDB_REPID, 16}, true, FieldType::Guid, 16},
    {{"decimal(18,4)", MDB_NUMERIC, 17, 18, 4}, true, FieldType::Currency, 8},
    {{"decimal(10,0)", MDB_NUMERIC, 17, 10, 0}, true, FieldType::Currency, 8},
    {{"decimal(14,0)", MDB_NUMERIC, 17, 14, 0}, true, FieldType::Currency, 8},
    {{"decimal(15,0)", MDB_NUMERIC, 17, 15, 0}, true, FieldType::Text, 17},
    {{"decimal(28,6)", MDB_NUMERIC, 17, 28, 6}, true, FieldType::Text, 30},
    {{"decimal(5,5)", MDB_NUMERIC, 17, 5, 5}, true, FieldType::Text, 7},
};

TEST(FieldTypes, EachJetTypeHasItsStoreField) {
  for (const Mapping& mapping : mappings) {
    SCOPED_TRACE(mapping.column.name + " of " + std::to_string(mapping.column.size) + " bytes");
    const auto plan = planField("T", mapping.column, mapping.jet4);
    EXPECT_EQ(plan.field.name, mapping.column.name);
    EXPECT_EQ(plan.field.type, mapping.type);
    EXPECT_EQ(plan.field.size, mapping.size);
    EXPECT_TRUE(store::validSize(plan.field.type, plan.field.size));
  }
}

struct Refused {
  Column column;
  store::Fault reason;
  const char* message;
};

TEST(FieldTypes, ColumnsWithoutAHomeAreRefused) {
  const Refused cases[] = {
      {{"Parts", MDB_COMPLEX, 4},
       store::Fault::Unsupported,
       "the field 'Parts' of table 'T' has Jet type 18, which no store type holds"},
      {{"Odd", 0x0D, 4},
       store::Fault::Unsupported,
       "the field 'Odd' of table 'T' has Jet type 13, which no store type holds"},
      {{"Name", MDB_TEXT, 0},
       store::Fault::Damaged,
       "the field 'Name' of table 'T' has a text size of 0 characters"},
      {{"Name", MDB_TEXT, 600},
       store::Fault::Damaged,
       "the field 'Name' of table 'T' has a text size of 300 characters"},
      {{"Amount", MDB_NUMERIC, 17, 0, 0},
       store::Fault::Damaged,
       "the field 'Amount' of table 'T' is a decimal of precision 0 and scale 0"},
      {{"Amount", MDB_NUMERIC, 17, 4, 6},
       store::Fault::Damaged,
       "the field 'Amount' of table 'T' is a decimal of precision 4 and scale 6"},
  };
  for (const Refused& refused : cases) {
    try {
      planField("T", refused.column, true);
      ADD_FAILURE() << refused.message;
    } catch (const store::Error& error) {
      EXPECT_EQ(error.fault(), refused.reason);
      EXPECT_STREQ(error.what(), refused.message);
    }
  }
}

}  // namespace
