// Opening files, the table list and definitions, transactions, and two connections on one file.
#include "store/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/temp_dir.h"

using namespace store;
namespace fs = std::filesystem;

namespace {

class DatabaseTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string building = dir.file("JOX_TEST.MDB");
  void SetUp() override { schema::createBuildingDatabase(building); }

  int filesInDir() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir.path()), {}));
  }
};

struct BadFile {
  const char* name;
  const char* content;  // nullptr: a folder; "": zero bytes
  int code;
};

class BadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, IsRefusedAndNothingIsCreated) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_BAD.MDB");
  const BadFile bad = GetParam();
  if (std::string(bad.name) == "missing") {
  } else if (bad.content == nullptr) {
    fs::create_directory(path);
  } else {
    testsupport::writeFile(path, bad.content);
  }
  const auto before = std::distance(fs::directory_iterator(dir.path()), {});
  try {
    Database::open(path);
    FAIL() << "opened a " << bad.name;
  } catch (const Error& error) {
    EXPECT_EQ(error.code(), bad.code);
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadFileTest,
    ::testing::Values(BadFile{"missing", nullptr, code::cantOpen},
                      BadFile{"folder", nullptr, code::cantOpen},
                      BadFile{"empty", "", code::notADb},
                      BadFile{"text", "Room Number, Room Name\r\n101, OFFICE\r\n", code::notADb},
                      BadFile{"short", "SQLite", code::notADb}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatabaseTest, ListsTablesInCreationOrderWithFieldDefinitions) {
  Database db = Database::open(building);
  const auto names = db.tableNames();
  ASSERT_GE(names.size(), 10u);
  EXPECT_EQ(names[0], "Room Info");
  EXPECT_EQ(names[1], "Room Inventory");

  const TableDef info = db.tableDef("room info");  // table names ignore case
  ASSERT_EQ(info.fields.size(), 5u);
  EXPECT_EQ(info.fields[3].name, "Sort Field 1");
  EXPECT_EQ(info.fields[4].name, "Sort Field 2");
  EXPECT_EQ(info.fields[1].size, 24);
  EXPECT_EQ(info.fields[2].size, 6);

  const TableDef inventory = db.tableDef("Room Inventory");
  ASSERT_EQ(inventory.fields.size(), 102u);
  EXPECT_EQ(inventory.fields[0].name, "Room Number");
  EXPECT_EQ(inventory.fields[1].name, "1");
  EXPECT_EQ(inventory.fields[100].name, "100");
  EXPECT_EQ(inventory.fields[100].type, FieldType::Double);
  EXPECT_EQ(inventory.fields[101].name, "Bank");
  ASSERT_NE(inventory.findIndex("PrimaryKey"), nullptr);
  EXPECT_EQ(inventory.findIndex("PrimaryKey")->fields,
            (std::vector<std::string>{"Room Number", "Bank"}));
  EXPECT_TRUE(inventory.findIndex("PrimaryKey")->unique);
  EXPECT_FALSE(inventory.findIndex("RoomNumber")->unique);

  const TableDef time = db.tableDef("Room Time");
  EXPECT_EQ(time.fields[2].name, "Daily Normal1");
  EXPECT_EQ(time.fields[13].name, "Project3");
  EXPECT_EQ(time.fields[14].name, "Misc Time");
  EXPECT_EQ(time.fields[1].type, FieldType::Date);
}

// A table made by another program: its indexes in the order they were made, a constraint's own
// index among them, an index on an expression left out, a descending key field kept.
TEST_F(DatabaseTest, ReadsTheIndexesOfATableMadeElsewhere) {
  const std::string file = dir.file("OTHER.MDB");
  {
    Database db = Database::create(file);
    char* error = nullptr;
    ASSERT_EQ(
        sqlite3_exec(store::engineHandle(db),
                     "CREATE TABLE \"Odd \"\"T\"\"\" (a TEXT, b INTEGER, c REAL, UNIQUE (b));"
                     "CREATE INDEX \"Odd \"\"T\"\".ByA\" ON \"Odd \"\"T\"\"\" (a, c DESC);"
                     "CREATE INDEX Lower ON \"Odd \"\"T\"\"\" (lower(a));"
                     "CREATE UNIQUE INDEX \"odd \"\"t\"\".PrimaryKey\" ON \"Odd \"\"T\"\"\" (c);",
                     nullptr, nullptr, &error),
        SQLITE_OK)
        << error;
  }
  Database db = Database::open(file);
  const TableDef def = db.tableDef("odd \"t\"");
  ASSERT_EQ(def.fields.size(), 3u);
  EXPECT_EQ(def.fields[1].type, FieldType::Integer);
  EXPECT_EQ(def.fields[2].type, FieldType::Double);
  ASSERT_EQ(def.indexes.size(), 3u);
  EXPECT_EQ(def.indexes[0].name, "sqlite_autoindex_Odd \"T\"_1");
  EXPECT_TRUE(def.indexes[0].unique);
  EXPECT_EQ(def.indexes[1].name, "ByA");
  EXPECT_FALSE(def.indexes[1].unique);
  EXPECT_EQ(def.indexes[1].fields, (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(def.indexes[1].descending, (std::vector<bool>{false, true}));
  EXPECT_EQ(def.indexes[2].name, "PrimaryKey");
  EXPECT_TRUE(def.indexes[2].unique);
  EXPECT_TRUE(def.indexes[2].descending.empty());
  Table t = db.openTable("Odd \"T\"");
  t.addNew();
  t.setField("a", Value("x"));
  t.setField("b", Value(1));
  t.setField("c", Value(2.5));
  t.update();
  t.setIndex("ByA");
  t.seek({Value("x"), Value(2.5)});
  EXPECT_FALSE(t.noMatch());
}

TEST_F(DatabaseTest, IndexNamesBelongToTheirTable) {
  Database db = Database::open(building);
  Table banks = db.openTable("Inventory Banks");
  Table rooms = db.openTable("Room Info");
  banks.setIndex("PrimaryKey");
  rooms.setIndex("PrimaryKey");
  EXPECT_THROW(banks.setIndex("Schedule"), Error);
  EXPECT_THROW(db.openTable("No Such Table"), Error);
}

TEST_F(DatabaseTest, OddIdentifiersAreQuoted) {
  Database db = Database::open(building);
  const std::string name = "Odd \"Name\" [x]; DROP TABLE \"Room Info\"; --";
  db.createTable({name,
                  {{"Room \"Number\"", FieldType::Text, 20}, {"a]b", FieldType::Integer, 4}},
                  {{"Key \"1\"", {"Room \"Number\""}, true}}});
  Table odd = db.openTable(name);
  odd.addNew();
  odd.setField("Room \"Number\"", Value("'; DELETE FROM x; --"));
  odd.setField("a]b", Value(7));
  odd.update();
  odd.setIndex("Key \"1\"");
  odd.seek({Value("'; delete from x; --")});
  ASSERT_FALSE(odd.noMatch());
  EXPECT_EQ(odd.field("a]b").integer(), 7);
  EXPECT_EQ(db.tableNames().back(), name);
  EXPECT_EQ(db.tableNames().front(), "Room Info");
}

TEST_F(DatabaseTest, RollbackUndoesAndCommitKeeps) {
  Database db = Database::open(building);
  Table rooms = db.openTable("Room Info");
  auto add = [&](const char* number) {
    rooms.addNew();
    rooms.setField("Room Number", Value(number));
    rooms.update();
  };
  db.begin();
  add("101");
  EXPECT_TRUE(db.inTransaction());
  db.rollback();
  EXPECT_FALSE(db.inTransaction());
  EXPECT_THROW(rooms.moveFirst(), Error);  // empty again
  EXPECT_TRUE(rooms.eof());

  db.begin();
  add("102");
  db.commit();
  Database other = Database::open(building);
  Table seen = other.openTable("Room Info");
  EXPECT_FALSE(seen.eof());
  EXPECT_EQ(seen.field("Room Number").text(), "102");
}

TEST_F(DatabaseTest, ReaderWalksWhileAnotherConnectionWritesInATransaction) {
  {
    Database db = Database::open(building);
    Table rooms = db.openTable("Room Info");
    for (int i = 0; i < 2000; ++i) {
      rooms.addNew();
      rooms.setField("Room Number", Value("R" + std::to_string(i)));
      rooms.update();
    }
  }
  Database shell = Database::open(building);
  Database tool = Database::open(building);
  Table walker = shell.openTable("Room Info");
  Table writer = tool.openTable("Room Info");
  tool.begin();
  int seen = 0;
  walker.moveFirst();
  while (!walker.eof()) {
    if (seen % 100 == 0) {
      writer.addNew();
      writer.setField("Room Number", Value("NEW" + std::to_string(seen)));
      writer.update();
    }
    ++seen;
    walker.moveNext();
  }
  EXPECT_EQ(seen, 2000);  // uncommitted rooms stay unseen
  tool.commit();
  walker.setIndex("PrimaryKey");
  walker.seek({Value("new0")});
  EXPECT_FALSE(walker.noMatch());
  // The long-lived connection writes again once the tool's transaction has ended.
  walker.edit();
  walker.setField("Room Name", Value("SEEN"));
  EXPECT_NO_THROW(walker.update());
}

TEST_F(DatabaseTest, CreateRefusesAnExistingFile) {
  EXPECT_THROW(Database::create(building), Error);
  EXPECT_THROW(schema::createBuildingDatabase(building), Error);
}

TEST_F(DatabaseTest, ClosingIsHarmlessTwiceAndTablesFailAfterwards) {
  Database db = Database::open(building);
  Table rooms = db.openTable("Room Info");
  db.close();
  db.close();
  EXPECT_FALSE(rooms.isOpen());
  EXPECT_THROW(rooms.moveFirst(), Error);
  Database never;
  never.close();
}

}  // namespace
