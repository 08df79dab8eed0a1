// The field types beyond text, number and date: each keeps its values exactly, refuses what it
// cannot hold, and reads back with its definition.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <limits>

#include "store/database.h"
#include "store/engine/handle.h"
#include "store/error.h"
#include "store/table.h"
#include "support/temp_dir.h"

using namespace store;

namespace {

struct SerialCase {
  double serial;
  const char* iso;
};

TEST(DateTimeTest, SerialDayNumbersBecomeDatesWithTheirTime) {
  const SerialCase cases[] = {
      {0.0, "1899-12-30"},
      {1.5, "1899-12-31 12:00:00"},
      {-1.25, "1899-12-29 06:00:00"},  // the fraction counts forward from that day's midnight
      {-0.5, "1899-12-30 12:00:00"},
      {-36522.0, "1800-01-01"},
      {-657434.0, "0100-01-01"},
      {45000.75, "2023-03-15 18:00:00"},
      {2958465.999988426, "9999-12-31 23:59:59"},
      {1.9999999, "1900-01-01"},  // rounds up to the next midnight
  };
  for (const SerialCase& c : cases) {
    const auto date = Date::fromSerial(c.serial);
    ASSERT_TRUE(date) << c.serial;
    EXPECT_EQ(date->iso(), c.iso) << c.serial;
    if (c.serial != -0.5 && c.serial != 1.9999999) {
      EXPECT_NEAR(date->serial(), c.serial, 1e-5) << c.iso;
    }
  }
  for (double bad : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(Date::fromSerial(bad)) << bad;
  }
}

TEST(DateTimeTest, TextFormsWithATimeOfDay) {
  struct Case {
    const char* text;
    const char* iso;
  };
  const Case cases[] = {
      {"2026-12-08 14:05:09", "2026-12-08 14:05:09"},
      {"2026-12-08T00:00:01", "2026-12-08 00:00:01"},
      {"12/08/26 2:05 PM", "2026-12-08 14:05:00"},
      {"1/2/1850 12:00:00 AM", "1850-01-02"},
      {"1/2/1850 12:30 pm", "1850-01-02 12:30:00"},
      {"0100-01-01 23:59:59", "0100-01-01 23:59:59"},
  };
  for (const Case& c : cases) {
    const auto date = Date::parse(c.text);
    ASSERT_TRUE(date) << c.text;
    EXPECT_EQ(date->iso(), c.iso) << c.text;
  }
  for (const char* bad : {"2026-12-08 24:00:00", "2026-12-08 1:60", "2026-12-08 13:00 PM",
                          "12/08/26T10:00", "2026-12-08 10", "2026-12-08 10:00:00 XM"}) {
    EXPECT_FALSE(Date::parse(bad)) << bad;
  }
  EXPECT_EQ((Date{2026, 12, 8, 14 * 3600 + 5 * 60 + 9}).display(), "12/8/2026 2:05:09 PM");
  EXPECT_EQ((Date{2026, 12, 8, 30}).display(), "12/8/2026 12:00:30 AM");
  EXPECT_LT((Date{2026, 12, 8}), (Date{2026, 12, 8, 1}));
}

TEST(CurrencyTest, DecimalTextIsReadAndWrittenExactly) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> amount;
  };
  const Case cases[] = {
      {"12.3456", 123456},
      {"-0.0001", -1},
      {" 7 ", 70000},
      {"+1.5", 15000},
      {"1e3", 10000000},
      {"1.5E-3", 15},
      {"12.30000", 123000},
      {"0", 0},
      {"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
      {"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
      {"922337203685477.5808", std::nullopt},
      {"12.34567", std::nullopt},
      {"1e-5", std::nullopt},
      {"", std::nullopt},
      {"1.2.3", std::nullopt},
      {"12abc", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseCurrency(c.text), c.amount) << c.text;
  }
  EXPECT_EQ(currencyText(123456), "12.3456");
  EXPECT_EQ(currencyText(125000), "12.5");
  EXPECT_EQ(currencyText(-30000), "-3");
  EXPECT_EQ(currencyText(1), "0.0001");
  EXPECT_EQ(currencyText(std::numeric_limits<std::int64_t>::min()), "-922337203685477.5808");
  EXPECT_EQ(Value::currency(30000), Value(3));
  EXPECT_EQ(Value::currency(30000).toText(), "3");
  EXPECT_FALSE(Value::currency(30001) == Value(3));
  EXPECT_DOUBLE_EQ(Value::currency(-15).number(), -0.0015);
}

class FieldTypesTest : public ::testing::Test {
 protected:
  TableDef allTypes() const {
    return {"All Types",
            {{"Text", FieldType::Text, 10},
             {"Byte", FieldType::Integer, 1},
             {"Short", FieldType::Integer, 2},
             {"Long", FieldType::Integer, 4},
             {"Big", FieldType::Integer, 8},
             {"Single", FieldType::Double, 4},
             {"Double", FieldType::Double, 8},
             {"When", FieldType::Date, 8},
             {"YesNo", FieldType::Boolean, 1},
             {"Money", FieldType::Currency, 8},
             {"Memo", FieldType::Memo, 0},
             {"Bytes", FieldType::Binary, 4},
             {"Picture", FieldType::Ole, 0},
             {"Replica", FieldType::Guid, 16}},
            {{"ByMoney", {"Money", "When"}, false, {true, false}}}};
  }

  Database create() {
    Database db = Database::create(dir.file("TYPES.MDB"));
    db.createTable(allTypes());
    return db;
  }

  // What the engine keeps in a field of the first record.
  static std::pair<std::string, std::string> stored(Database& db, const char* field) {
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = std::string("SELECT typeof(\"") + field + "\"), quote(\"" + field +
                            "\") FROM \"All Types\" ORDER BY rowid LIMIT 1";
    EXPECT_EQ(sqlite3_prepare_v2(store::engineHandle(db), sql.c_str(), -1, &stmt, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    std::pair<std::string, std::string> out{
        reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
        reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))};
    sqlite3_finalize(stmt);
    return out;
  }

  testsupport::TempDir dir;
};

TEST_F(FieldTypesTest, DefinitionsReadBackWithTypeSizeAndDirection) {
  Database db = create();
  db.close();
  db = Database::open(dir.file("TYPES.MDB"));
  const TableDef read = db.tableDef("All Types");
  const TableDef made = allTypes();
  ASSERT_EQ(read.fields.size(), made.fields.size());
  for (std::size_t i = 0; i < made.fields.size(); ++i) {
    EXPECT_EQ(read.fields[i].name, made.fields[i].name);
    EXPECT_EQ(read.fields[i].type, made.fields[i].type) << made.fields[i].name;
    EXPECT_EQ(read.fields[i].size, made.fields[i].size) << made.fields[i].name;
  }
  ASSERT_EQ(read.indexes.size(), 1u);
  EXPECT_EQ(read.indexes[0].fields, (std::vector<std::string>{"Money", "When"}));
  EXPECT_EQ(read.indexes[0].descending, (std::vector<bool>{true, false}));
}

TEST_F(FieldTypesTest, EveryTypeKeepsItsValueExactly) {
  Database db = create();
  const std::string bytes("\x00\xff\x7f\x80", 4);
  const Date when{1850, 7, 4, 13 * 3600 + 1};
  {
    Table t = db.openTable("All Types");
    t.addNew();
    const std::vector<Value> values = {Value("abc"),
                                       Value(255),
                                       Value(-32768),
                                       Value(std::numeric_limits<std::int64_t>::max()),
                                       Value(std::numeric_limits<std::int64_t>::min()),
                                       Value(0.1),
                                       Value(0.1),
                                       Value(when),
                                       Value::boolean(true),
                                       Value("922337203685477.5807"),
                                       Value(std::string(100000, 'm')),
                                       Value::binary(bytes),
                                       Value::binary(std::string(70000, '\x01')),
                                       Value("{6f9619ff-8b86-d011-b42d-00c04fc964ff}")};
    for (std::size_t i = 0; i < values.size(); ++i) t.setField(i, values[i]);
    t.update();
  }
  Table t = db.openTable("All Types");
  t.moveFirst();
  EXPECT_EQ(t.field("Byte"), Value(255));
  EXPECT_EQ(t.field("Big").integer(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(t.field("Single").number(), static_cast<double>(0.1f));
  EXPECT_EQ(t.field("Double").number(), 0.1);
  EXPECT_EQ(t.field("When").date(), when);
  ASSERT_EQ(t.field("YesNo").kind(), Value::Kind::Boolean);
  EXPECT_TRUE(t.field("YesNo").boolean());
  ASSERT_EQ(t.field("Money").kind(), Value::Kind::Currency);
  EXPECT_EQ(t.field("Money").currency(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(t.field("Memo").text().size(), 100000u);
  ASSERT_EQ(t.field("Bytes").kind(), Value::Kind::Binary);
  EXPECT_EQ(t.field("Bytes").bytes(), bytes);
  EXPECT_EQ(t.field("Picture").bytes().size(), 70000u);
  EXPECT_EQ(t.field("Replica").text(), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");

  // What other programs see in the file.
  EXPECT_EQ(stored(db, "YesNo"), (std::pair<std::string, std::string>{"integer", "-1"}));
  EXPECT_EQ(stored(db, "Money"),
            (std::pair<std::string, std::string>{"integer", "9223372036854775807"}));
  EXPECT_EQ(stored(db, "When"),
            (std::pair<std::string, std::string>{"text", "'1850-07-04 13:00:01'"}));
  EXPECT_EQ(stored(db, "Bytes"), (std::pair<std::string, std::string>{"blob", "X'00FF7F80'"}));
  EXPECT_EQ(stored(db, "Replica").first, "text");
}

TEST_F(FieldTypesTest, ValuesAFieldCannotHoldAreRefused) {
  Database db = create();
  struct Case {
    const char* field;
    Value value;
  };
  const Case cases[] = {
      {"Byte", Value(256)},
      {"Byte", Value(-1)},
      {"Short", Value(32768)},
      {"Single", Value(1e39)},
      {"Money", Value(1e300)},
      {"Money", Value("x")},
      {"YesNo", Value("maybe")},
      {"Replica", Value("{123}")},
      {"Replica", Value("6F9619FF-8B86-D011-B42D-00C04FC964FG")},
      {"Bytes", Value::binary("12345")},
      {"When", Value("2026-13-01")},
      {"Long", Value(Date{2026, 1, 1})},
  };
  Table t = db.openTable("All Types");
  for (const Case& c : cases) {
    t.addNew();
    EXPECT_THROW(t.setField(c.field, c.value), Error) << c.field << " " << c.value.toText();
    t.cancelUpdate();
  }
  // The near misses are taken.
  t.addNew();
  t.setField("Money", Value("1.00001"));  // rounded to ten-thousandths like any number
  t.setField("YesNo", Value("No"));
  t.setField("Short", Value(-32768.4));
  t.setField("Replica", Value("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
  t.update();
  t.moveFirst();
  EXPECT_EQ(t.field("Money").currency(), 10000);
  EXPECT_FALSE(t.field("YesNo").boolean());
  EXPECT_EQ(t.field("Short"), Value(-32768));
  EXPECT_EQ(t.field("Replica").text(), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
}

// A descending key walks from the largest to the smallest, nulls last, across read-ahead
// batches, and a seek finds the first record of its key in that order.
TEST_F(FieldTypesTest, DescendingKeysWalkAndSeekInTheirOrder) {
  Database db = create();
  {
    Table t = db.openTable("All Types");
    for (int i = 0; i < 300; ++i) {
      t.addNew();
      if (i % 7 != 0) t.setField("Money", Value::currency((i % 50) * 10000));
      t.setField("When", Value(Date{2000, 1, 1 + i % 28}));
      t.update();
    }
  }
  Table t = db.openTable("All Types");
  t.setIndex("ByMoney");
  t.moveFirst();
  std::vector<Value> seen;
  for (; !t.eof(); t.moveNext()) seen.push_back(t.field("Money"));
  ASSERT_EQ(seen.size(), 300u);
  EXPECT_EQ(seen.front(), Value::currency(49 * 10000));
  EXPECT_TRUE(seen.back().isNull());
  for (std::size_t i = 1; i < seen.size(); ++i) {
    if (seen[i].isNull()) continue;
    ASSERT_FALSE(seen[i - 1].isNull()) << i;
    EXPECT_GE(seen[i - 1].currency(), seen[i].currency()) << i;
  }
  t.seek({Value(12)});
  ASSERT_FALSE(t.noMatch());
  EXPECT_EQ(t.field("Money").currency(), 120000);
  const Date first = t.field("When").date();
  t.moveNext();
  EXPECT_TRUE(t.field("Money").currency() < 120000 || t.field("When").date() >= first);
}

}  // namespace
