// The engine's own tables of the test files hold the value forms that their user tables lack:
// bytes, memos, OLE values on one page and over several, dates with a time of day, one- and
// two-byte integers. Read through the same reader, every value is what mdb-export prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "jet/jet_file.h"
#include "jet/source.h"
#include "jet_support.h"
#include "mdb_export_cells.h"
#include "store/error.h"

namespace {

using jet::detail::Source;
using jet::detail::SourceTable;
using store::FieldType;

// A table with a field of a type that no store type holds.
constexpr const char* unknownTypeTable = "MSysAccessObjects";

// Visits every engine table but that one.
void forEachEngineTable(const std::string& jetFile,
                        const std::function<void(const std::string&, SourceTable&)>& visit) {
  Source source(jetFile, jet::checkJetFile(jetFile));
  for (const Source::Entry& entry : source.tables()) {
    if (!entry.engine || entry.name == unknownTypeTable) continue;
    SCOPED_TRACE("table " + entry.name);
    visit(entry.name, *source.open(entry));
  }
}

class EngineTables : public ::testing::TestWithParam<const char*> {};

TEST_P(EngineTables, EveryValueIsWhatMdbExportPrints) {
  const std::string jetFile = jettest::dataFile(GetParam());
  forEachEngineTable(jetFile, [&](const std::string& name, SourceTable& table) {
    const store::TableDef& def = table.definition();
    const auto rows = jettest::mdbExport(jetFile, name);
    ASSERT_FALSE(rows.empty());
    ASSERT_EQ(rows[0].size(), def.fields.size());
    std::vector<store::Value> record;
    std::size_t count = 0;
    while (table.next(record)) {
      ASSERT_LT(++count, rows.size());
      for (std::size_t f = 0; f < def.fields.size(); ++f) {
        SCOPED_TRACE("record " + std::to_string(count) + ", field " + def.fields[f].name);
        jettest::expectCell(def.fields[f], record[f], rows[count][f]);
      }
    }
    EXPECT_EQ(count, rows.size() - 1);
    EXPECT_EQ(static_cast<std::int64_t>(count), table.catalogueRecords());
  });
}

INSTANTIATE_TEST_SUITE_P(TestFiles, EngineTables, ::testing::Values("node-adodb.mdb", "fruit.mdb"));

// The test above meets every one of these forms with a value.
TEST(EngineTableValues, CoverTheFormsTheUserTablesLack) {
  std::set<std::pair<FieldType, int>> seen;
  std::size_t longest = 0, timed = 0;
  for (const char* name : {"node-adodb.mdb", "fruit.mdb"}) {
    forEachEngineTable(jettest::dataFile(name), [&](const std::string&, SourceTable& table) {
      std::vector<store::Value> record;
      while (table.next(record)) {
        for (std::size_t f = 0; f < record.size(); ++f) {
          if (record[f].isNull()) continue;
          seen.insert({table.definition().fields[f].type, table.definition().fields[f].size});
          if (record[f].kind() == store::Value::Kind::Binary) {
            longest = std::max(longest, record[f].bytes().size());
          }
          if (record[f].isDate() && record[f].date().seconds != 0) ++timed;
        }
      }
    });
  }
  const auto binary = std::find_if(
      seen.begin(), seen.end(), [](const auto& shape) { return shape.first == FieldType::Binary; });
  EXPECT_NE(binary, seen.end());
  for (const auto& shape : {std::pair{FieldType::Ole, 0}, std::pair{FieldType::Memo, 0},
                            std::pair{FieldType::Integer, 1}, std::pair{FieldType::Integer, 2},
                            std::pair{FieldType::Boolean, 1}, std::pair{FieldType::Date, 8}}) {
    EXPECT_TRUE(seen.count(shape)) << store::fieldTypeName(shape.first) << " " << shape.second;
  }
  EXPECT_GT(longest, 2u * 4096u);  // an OLE value over three pages
  EXPECT_GT(timed, 0u);
}

TEST(EngineTables, AFieldOfATypeNoStoreTypeHoldsIsRefused) {
  const std::string jetFile = jettest::dataFile("fruit.mdb");
  Source source(jetFile, jet::checkJetFile(jetFile));
  for (const Source::Entry& entry : source.tables()) {
    if (entry.name != unknownTypeTable) continue;
    try {
      source.open(entry);
      ADD_FAILURE() << "opened";
    } catch (const store::Error& error) {
      EXPECT_EQ(error.fault(), store::Fault::Unsupported);
      EXPECT_STREQ(error.what(),
                   "the field 'Data' of table 'MSysAccessObjects' has Jet type 17, "
                   "which no store type holds");
    }
    return;
  }
  FAIL() << "no table " << unknownTypeTable;
}

}  // namespace
