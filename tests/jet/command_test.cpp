// roomkit-db on Jet files: import-mdb, export of a Jet file, and a converted file through every
// check of roomkit-db's own export and import, which keep the rules its fields and indexes have.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "jet_support.h"
#include "support/temp_dir.h"

namespace {

jettest::Run roomkitDb(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {ROOMKIT_DB_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  return jettest::run(argv);
}

// The statements that make the file's tables and indexes, in order: its fields' types and rules
// (NOT NULL, defaults, checks) and its indexes with the records they leave out.
std::vector<std::string> schemaOf(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE,
                  nullptr);  // its close leaves no journal
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_schema WHERE sql IS NOT NULL ORDER BY name", -1,
                     &stmt, nullptr);
  std::vector<std::string> statements;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    statements.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return statements;
}

class Command : public ::testing::TestWithParam<const char*> {
 protected:
  testsupport::TempDir dir;
  std::string jetFile = jettest::dataFile(GetParam());
};

TEST_P(Command, AConvertedFilePassesExportAndImportAndComesBackTheSame) {
  const std::string before = testsupport::readFile(jetFile);
  const jettest::Run converted = roomkitDb({"import-mdb", jetFile, dir.file("a.db")});
  ASSERT_EQ(converted.status, 0) << converted.err;
  const jettest::Run first = roomkitDb({"export", dir.file("a.db")});
  ASSERT_EQ(first.status, 0) << first.err;
  testsupport::writeFile(dir.file("a.json"), first.out);
  const jettest::Run imported = roomkitDb({"import", dir.file("a.json"), dir.file("b.db")});
  ASSERT_EQ(imported.status, 0) << imported.err;
  const jettest::Run second = roomkitDb({"export", dir.file("b.db")});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out, first.out);
  EXPECT_EQ(schemaOf(dir.file("b.db")), schemaOf(dir.file("a.db")));
  // Export reads the Jet file itself the same way, and leaves it as it was.
  const jettest::Run direct = roomkitDb({"export", jetFile});
  ASSERT_EQ(direct.status, 0) << direct.err;
  EXPECT_EQ(direct.out, first.out);
  EXPECT_EQ(testsupport::readFile(jetFile), before);
  EXPECT_EQ(jettest::namesIn(dir.path().string()),
            (std::vector<std::string>{"a.db", "a.json", "b.db"}));
}

INSTANTIATE_TEST_SUITE_P(TestFiles, Command,
                         ::testing::Values("node-adodb.mdb", "fruit.mdb", "JOX_JETDEMO.MDB",
                                           "testIndexPropertiesV2000.mdb"));

// The rules come across in the document as members of their fields and indexes.
TEST(ExportOfRules, NamesThemBesideTheFieldsAndIndexes) {
  const jettest::Run exported = roomkitDb({"export", jettest::dataFile("JOX_JETDEMO.MDB")});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.out.find(R"({"name": "Active", "type": "boolean", "required": true, )"
                              R"("default": false})"),
            std::string::npos);
  const jettest::Run indexed =
      roomkitDb({"export", jettest::dataFile("testIndexPropertiesV2000.mdb")});
  ASSERT_EQ(indexed.status, 0) << indexed.err;
  EXPECT_NE(indexed.out.find(R"("ignoreNulls": true})"), std::string::npos);
}

TEST(ImportMdb, PrintsEachTableAndTheTotals) {
  testsupport::TempDir dir;
  const jettest::Run run =
      roomkitDb({"import-mdb", jettest::dataFile("fruit.mdb"), dir.file("f.db")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Fruit: 37 records, 2 indexes\n"
            "Fruit Salad: 18 records, 2 indexes\n"
            "Veggie Salad: 4 records, 1 index\n"
            "Muffin/Bread: 13 records, 1 index\n"
            "Dried: 12 records, 1 index\n" +
                dir.file("f.db") + ": 5 tables, 84 records, 7 indexes\n");
  EXPECT_EQ(run.err, "");
}

TEST(ImportMdb, RefusalsExitOneWithTheMessageAndLeaveNothing) {
  testsupport::TempDir dir;
  const std::string jetFile = jettest::dataFile("node-adodb.mdb");
  testsupport::writeFile(dir.file("taken.db"), "keep me");
  jettest::Run run = roomkitDb({"import-mdb", jetFile, dir.file("taken.db")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "roomkit-db: '" + dir.file("taken.db") +
                "' exists; roomkit-db writes only new files and never over an existing one\n");
  EXPECT_EQ(testsupport::readFile(dir.file("taken.db")), "keep me");

  testsupport::writeFile(dir.file("cut.mdb"), testsupport::readFile(jetFile).substr(0, 20 * 4096));
  run = roomkitDb({"import-mdb", dir.file("cut.mdb"), dir.file("new.db")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "roomkit-db: '" + dir.file("cut.mdb") +
                "' is cut short: the definition of table 'Users' lies on page 25, past its "
                "last page 19; '" +
                dir.file("new.db") + "' was not written\n");
  EXPECT_EQ(run.out, "");

  run = roomkitDb({"export", dir.file("cut.mdb")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("is cut short"), std::string::npos) << run.err;
  EXPECT_EQ(jettest::namesIn(dir.path().string()),
            (std::vector<std::string>{"cut.mdb", "taken.db"}));
}

// The key of index "id2" names a field number that the table lacks: the table and its records
// come in without that index, and the output says which index was left out and why.
TEST(ImportMdb, AnIndexWhoseKeysCannotBeReadIsLeftOutAndNamed) {
  testsupport::TempDir dir;
  std::string bytes = testsupport::readFile(jettest::dataFile("delColTestV2000.mdb"));
  constexpr std::size_t id2Key = 24 * 4096 + 279;  // the key's field number, on page 24
  ASSERT_EQ(bytes[id2Key], 2);
  bytes[id2Key] = 7;
  testsupport::writeFile(dir.file("a.mdb"), bytes);
  const jettest::Run run = roomkitDb({"import-mdb", dir.file("a.mdb"), dir.file("a.db")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Table1: 2 records, 1 index\n"
            "Table1: the index 'id2': a key field it names is not in the table; left "
            "out, while its records came in\n" +
                dir.file("a.db") + ": 1 table, 2 records, 1 index\n");
  EXPECT_EQ(jettest::records(dir.file("a.db"), "Table1").size(), 2u);
}

TEST(ImportMdb, WrongUsageExitsTwo) {
  for (const auto& args :
       {std::vector<std::string>{"import-mdb"}, std::vector<std::string>{"import-mdb", "a.mdb"},
        std::vector<std::string>{"import-mdb", "a.mdb", "b.db", "c"}}) {
    const jettest::Run run = roomkitDb(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("import-mdb takes a Jet database and a new database file"),
              std::string::npos);
  }
}

}  // namespace
