// Copying one room's inventory into others, on open tables as the shell keeps them.
#include "tools/copy_inventory_work.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/engine/handle.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"

using namespace roomkit::copy_inventory;
using store::Value;

namespace {

TEST(Multiplier, LeadingNumberRoundedHalvesToEven) {
  struct Case {
    const char* text;
    std::optional<int> multiplier;
  };
  const std::vector<Case> cases = {
      {"1", 1},
      {"2.5", 2},
      {"3.5", 4},
      {"0.4", 0},
      {"0.5", 0},
      {"0.6", 1},
      {"0", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-3", std::nullopt},
      {"ABC", std::nullopt},
      {"4 X", 4},
      {"1 2", 12},
      {"2D1", 20},
      {"1E3", 1000},
      {"32767", 32767},
      {"32767.4", 32767},
      {"32767.5", std::nullopt},  // rounds to 32768
      {"32768", std::nullopt},
      {"1E9", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(multiplierOf(c.text), c.multiplier) << '"' << c.text << '"';
  }
}

class CopyWork : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  store::Database db = testsupport::makeBuilding(dir.file("JOX_C.MDB"));
  store::Table banks;
  store::Table inventory;

  void SetUp() override {
    for (int bank : {1, 2, 3}) testsupport::addBank(db, bank);
    // Source S has banks 1 and 3; targets T1 (banks 1, 2, 3), T2 (bank 3), T3 (none).
    testsupport::addInventory(db, "S", 1, {{1, 2}, {2, 0}, {5, 1.5}});
    testsupport::addInventory(db, "S", 3, {{100, 4}});
    testsupport::addInventory(db, "T1", 1, {{1, 3}, {2, 9}, {7, 8}});
    testsupport::addInventory(db, "T1", 2, {{1, 5}});
    testsupport::addInventory(db, "T1", 3, {{100, 1}});
    testsupport::addInventory(db, "T2", 3, {{99, 6}});
    banks = db.openTable(store::schema::inventoryBanks);
    inventory = db.openTable(store::schema::roomInventory);
  }

  CopyTables tables() { return {db, banks, inventory}; }
  CopyResult copy(const std::vector<std::string>& targets, CopyOptions options,
                  const std::string& source = "S") {
    return copyInventory(tables(), source, targets, options);
  }
  std::string item(const std::string& room, int bank, int i) {
    store::Table t = db.openTable(store::schema::roomInventory);
    t.setIndex(store::schema::primaryKey);
    t.seek({Value(room), Value(bank)});
    if (t.noMatch()) return "<none>";
    const Value& v = t.field(store::schema::quantityField(i));
    return v.isNull() ? "<null>" : v.toText();
  }
  void setItem(const std::string& room, int bank, int i, const Value& value) {
    store::Table t = db.openTable(store::schema::roomInventory);
    t.setIndex(store::schema::primaryKey);
    t.seek({Value(room), Value(bank)});
    t.edit();
    t.setField(store::schema::quantityField(i), value);
    t.update();
  }
};

TEST_F(CopyWork, ReadsTheSourceInBankOrder) {
  const SourceRead read = readSource(tables(), "s");  // keys ignore letter case
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_EQ(read.rows[0].bank, Value(1));
  EXPECT_EQ(read.rows[0].items[0], 2);
  EXPECT_EQ(read.rows[0].items[4], 1.5);
  EXPECT_EQ(read.rows[1].bank, Value(3));
  EXPECT_EQ(read.rows[1].items[99], 4);
  EXPECT_FALSE(read.tooManyBanks);
  EXPECT_EQ(read.message(), "");
}

TEST_F(CopyWork, ExactCopyMakesTheSourcesBanksEqual) {
  const CopyResult result = copy({"T1", "T2", "T3"}, {1, true, true});  // add has no effect
  EXPECT_EQ(result.status, CopyResult::Status::Done);
  EXPECT_EQ(result.completed, 3);  // T3 has no records and still counts
  for (int i = 1; i <= 100; ++i) {
    EXPECT_EQ(item("T1", 1, i), item("S", 1, i)) << i;
    EXPECT_EQ(item("T1", 3, i), item("S", 3, i)) << i;
  }
  EXPECT_EQ(item("T1", 1, 7), "0");
  EXPECT_EQ(item("T1", 2, 1), "5");  // a bank the source has no record in
  EXPECT_EQ(item("T2", 3, 99), "0");
  EXPECT_EQ(item("T2", 3, 100), "4");
  EXPECT_EQ(item("T3", 1, 1), "<none>");  // no record is created
}

TEST_F(CopyWork, ReplaceAndAddLeaveItemsTheSourceLacks) {
  struct Case {
    CopyOptions options;
    std::string item1, item2, item5, item7;
  };
  const std::vector<Case> cases = {
      {{1, false, false}, "2", "9", "1.5", "8"}, {{2, false, false}, "4", "9", "3", "8"},
      {{2, false, true}, "7", "9", "3", "8"},  // 3 + 2 x 2
      {{0, false, true}, "3", "9", "0", "8"},    {{0, false, false}, "0", "9", "0", "8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.options.multiplier) + (c.options.add ? " add" : " replace"));
    setItem("T1", 1, 1, Value(3.0));
    setItem("T1", 1, 5, Value(0.0));
    ASSERT_EQ(copy({"T1"}, c.options).status, CopyResult::Status::Done);
    EXPECT_EQ(item("T1", 1, 1), c.item1);
    EXPECT_EQ(item("T1", 1, 2), c.item2);  // the source's 0 keeps the target's quantity
    EXPECT_EQ(item("T1", 1, 5), c.item5);
    EXPECT_EQ(item("T1", 1, 7), c.item7);
  }
}

TEST_F(CopyWork, NullQuantities) {
  setItem("S", 1, 1, Value());   // a null source quantity counts as 0
  setItem("T1", 1, 5, Value());  // a null target quantity takes the added quantity
  ASSERT_EQ(copy({"T1"}, {2, false, true}).status, CopyResult::Status::Done);
  EXPECT_EQ(item("T1", 1, 1), "3");
  EXPECT_EQ(item("T1", 1, 5), "3");
  ASSERT_EQ(copy({"T1"}, {1, true, false}).status, CopyResult::Status::Done);
  EXPECT_EQ(item("T1", 1, 1), "0");
}

TEST_F(CopyWork, SourceAmongTargetsIsCopiedFromTheBuffer) {
  ASSERT_EQ(copy({"S", "T1"}, {1, false, true}).completed, 2);
  EXPECT_EQ(item("S", 1, 1), "4");
  EXPECT_EQ(item("T1", 1, 1), "5");  // 3 + 2: not the doubled source
}

TEST_F(CopyWork, SourceWithoutRecordsChangesNothing) {
  const auto before = testsupport::rows(db, store::schema::roomInventory);
  const CopyResult result = copy({"T1", "T2", "T3"}, {3, true, false}, "T3");
  EXPECT_EQ(result.completed, 3);
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInventory), before);
}

TEST_F(CopyWork, NoBanksCountsNoRoom) {
  store::Table all = db.openTable(store::schema::inventoryBanks);
  for (store::moveToFirst(all); !all.eof(); all.moveNext()) all.remove();
  const CopyResult result = copy({"T1", "T2"}, {1, true, false});
  EXPECT_EQ(result.status, CopyResult::Status::Done);
  EXPECT_EQ(result.completed, 0);
  EXPECT_EQ(item("T1", 1, 7), "8");
}

TEST_F(CopyWork, MoreThanAHundredBanksIsRefusedBeforeWriting) {
  for (int bank = 4; bank <= 101; ++bank) {
    testsupport::addBank(db, bank);
    testsupport::addInventory(db, "S", bank, {{1, 1}});
  }
  testsupport::addInventory(db, "S", 2, {{1, 1}});  // the 101st record
  const auto before = testsupport::rows(db, store::schema::roomInventory);
  EXPECT_TRUE(readSource(tables(), "S").tooManyBanks);
  const CopyResult result = copy({"T1"}, {1, true, false});
  EXPECT_EQ(result.status, CopyResult::Status::TooManyBanks);
  EXPECT_FALSE(result.ok()) << "nothing was copied";
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInventory), before);
  // A hundred are copied.
  store::Table t = db.openTable(store::schema::roomInventory);
  t.setIndex(store::schema::primaryKey);
  t.seek({Value("S"), Value(2)});
  t.remove();
  EXPECT_EQ(copy({"T1"}, {1, true, false}).status, CopyResult::Status::Done);
}

TEST_F(CopyWork, ARefusedWriteRollsBackEveryTarget) {
  char* error = nullptr;
  ASSERT_EQ(
      sqlite3_exec(store::engineHandle(db),
                   "CREATE TRIGGER no_t2 BEFORE UPDATE ON \"Room Inventory\" WHEN "
                   "OLD.\"Room Number\" = 'T2' BEGIN SELECT RAISE(ABORT, 'T2 is locked'); END",
                   nullptr, nullptr, &error),
      SQLITE_OK);
  const auto before = testsupport::rows(db, store::schema::roomInventory);
  const CopyResult result = copy({"T1", "T2", "T3"}, {5, true, false});
  EXPECT_EQ(result.status, CopyResult::Status::WriteFailed);
  EXPECT_EQ(result.completed, 0);
  EXPECT_NE(result.message().find("T2 is locked"), std::string::npos) << result.message();
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInventory), before);  // T1 rolled back
  EXPECT_FALSE(db.inTransaction());
  // The open tables go on working.
  EXPECT_EQ(copy({"T1"}, {2, false, false}).completed, 1);
  EXPECT_EQ(item("T1", 1, 1), "4");
}

TEST(CopyWorkSchema, AMissingItemFieldIsAReadFailure) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_X.MDB");
  std::vector<store::TableDef> defs = store::schema::buildingTables();
  store::Database db = store::Database::create(path);
  for (store::TableDef& def : defs) {
    if (def.name == store::schema::roomInventory) {
      std::erase_if(def.fields, [](const store::FieldDef& f) { return f.name == "57"; });
    }
    db.createTable(def);
  }
  testsupport::addBank(db, 1);
  store::Table banks = db.openTable(store::schema::inventoryBanks);
  store::Table inventory = db.openTable(store::schema::roomInventory);
  const CopyResult result = copyInventory({db, banks, inventory}, "S", {"T"}, {1, true, false});
  EXPECT_EQ(result.status, CopyResult::Status::ReadFailed);
  EXPECT_NE(result.message().find("'57'"), std::string::npos) << result.message();
}

}  // namespace
