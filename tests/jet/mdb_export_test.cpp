// Every table, record and field value of the converted test files against what mdbtools'
// mdb-tables and mdb-export print for the Jet files themselves.
#include <gtest/gtest.h>

#include "jet/convert.h"
#include "jet_support.h"
#include "mdb_export_cells.h"
#include "store/database.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    out.push_back(text.substr(start, end - start));
  }
  return out;
}

class AgainstMdbExport : public ::testing::TestWithParam<const char*> {
 protected:
  testsupport::TempDir dir;
  std::string jetFile = jettest::dataFile(GetParam());
  std::string converted = dir.file("converted.db");
};

TEST_P(AgainstMdbExport, TheTablesAreThoseMdbTablesLists) {
  jet::convert(jetFile, converted);
  const jettest::Run tables = jettest::run({"mdb-tables", "-1", jetFile});
  ASSERT_EQ(tables.status, 0) << tables.err;
  EXPECT_EQ(store::Database::open(converted).tableNames(), lines(tables.out));
}

TEST_P(AgainstMdbExport, EveryRecordAndFieldIsWhatMdbExportPrints) {
  const jet::Summary summary = jet::convert(jetFile, converted);
  const store::Database db = store::Database::open(converted);
  std::int64_t records = 0;
  for (const std::string& table : db.tableNames()) {
    SCOPED_TRACE("table " + table);
    const auto rows = jettest::mdbExport(jetFile, table);
    ASSERT_FALSE(rows.empty());
    const store::TableDef def = db.tableDef(table);
    ASSERT_EQ(rows[0].size(), def.fields.size());
    for (std::size_t i = 0; i < def.fields.size(); ++i)
      EXPECT_EQ(def.fields[i].name, rows[0][i].text);

    const auto stored = jettest::records(converted, table);
    ASSERT_EQ(stored.size(), rows.size() - 1);
    for (std::size_t r = 0; r < stored.size(); ++r) {
      ASSERT_EQ(rows[r + 1].size(), def.fields.size()) << "record " << r + 1;
      for (std::size_t f = 0; f < def.fields.size(); ++f) {
        SCOPED_TRACE("record " + std::to_string(r + 1) + ", field " + def.fields[f].name);
        jettest::expectCell(def.fields[f], stored[r][f], rows[r + 1][f]);
      }
    }
    records += static_cast<std::int64_t>(stored.size());
  }
  EXPECT_EQ(summary.records, records);
}

INSTANTIATE_TEST_SUITE_P(TestFiles, AgainstMdbExport, ::testing::ValuesIn(jettest::testFiles));

// The same facts written down, so that a fault shared by mdb-export and the reader shows too.
TEST(NodeAdodb, HoldsItsThreeUsers) {
  testsupport::TempDir dir;
  jet::convert(jettest::dataFile("node-adodb.mdb"), dir.file("users.db"));
  const auto users = jettest::records(dir.file("users.db"), "Users");
  ASSERT_EQ(users.size(), 3u);
  const std::vector<store::Value> third = {
      store::Value(3), store::Value("张三"), store::Value("男"),
      store::Value(store::Date{1986, 12, 18, 0}), store::Value::boolean(true)};
  EXPECT_EQ(users[2], third);
  EXPECT_EQ(users[0][1], store::Value("Nuintun"));
  EXPECT_EQ(users[1][3], store::Value(store::Date{1988, 12, 18, 0}));
  EXPECT_EQ(users[1][4], store::Value::boolean(false));
}

}  // namespace
