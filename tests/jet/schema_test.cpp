// Fields with their types and sizes, and indexes with their names, keys, directions and
// uniqueness, against what mdbtools' mdb-schema prints for the Jet files.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "jet/convert.h"
#include "jet_support.h"
#include "store/database.h"
#include "support/temp_dir.h"

namespace {

using store::FieldType;

struct Shape {
  FieldType type;
  int size;
  bool operator==(const Shape&) const = default;
};

// The type names of mdb-schema's Access form and the store field that each becomes.
Shape shapeOf(const std::string& declared) {
  std::smatch match;
  if (std::regex_match(declared, match, std::regex(R"(Text \((\d+)\))"))) {
    return {FieldType::Text, std::stoi(match[1])};
  }
  if (std::regex_match(declared, std::regex(R"(Memo/Hyperlink \(\d+\))")))
    return {FieldType::Memo, 0};
  // A decimal is exact currency when it has at most 4 decimals and 14 whole digits, else text of
  // its digits, sign and point.
  if (std::regex_match(declared, match, std::regex(R"(Numeric \((\d+), (\d+)\))"))) {
    const int precision = std::stoi(match[1]), scale = std::stoi(match[2]);
    return scale <= 4 && precision - scale <= 14 ? Shape{FieldType::Currency, 8}
                                                 : Shape{FieldType::Text, precision + 2};
  }
  static const std::map<std::string, Shape> shapes = {
      {"Boolean", {FieldType::Boolean, 1}},      {"Byte", {FieldType::Integer, 1}},
      {"Integer", {FieldType::Integer, 2}},      {"Long Integer", {FieldType::Integer, 4}},
      {"Currency", {FieldType::Currency, 8}},    {"Single", {FieldType::Double, 4}},
      {"Double", {FieldType::Double, 8}},        {"DateTime", {FieldType::Date, 8}},
      {"Memo/Hyperlink", {FieldType::Memo, 0}},  {"OLE", {FieldType::Ole, 0}},
      {"Replication ID", {FieldType::Guid, 16}},
  };
  const auto found = shapes.find(declared);
  if (found == shapes.end()) ADD_FAILURE() << "no shape for the Access type '" << declared << "'";
  return found == shapes.end() ? Shape{FieldType::Text, 0} : found->second;
}

struct Field {
  std::string name;
  Shape shape;
  bool operator==(const Field&) const = default;
};

// Table name to its fields, from lines like "\t[UserId]\t\t\tLong Integer, ".
std::map<std::string, std::vector<Field>> schemaFields(const std::string& schema) {
  std::map<std::string, std::vector<Field>> tables;
  const std::regex table(R"(CREATE TABLE \[(.*)\])"),
      field(R"(\s*\[(.*)\]\s+((?:[^,(]|\([^)]*\))*?)( NOT NULL)?,? *)");
  std::string current;
  std::istringstream in(schema);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_match(line, match, table)) {
      current = match[1];
      tables[current];
    } else if (!current.empty() && std::regex_match(line, match, field)) {
      tables[current].push_back({match[1], shapeOf(match[2])});
    }
  }
  return tables;
}

struct Index {
  std::string name;               // "" for the primary key, whose name mdb-schema does not print
  std::vector<std::string> keys;  // "Field" or "Field DESC"
  bool unique;
  bool operator<(const Index& other) const {
    return std::tie(name, keys, unique) < std::tie(other.name, other.keys, other.unique);
  }
  bool operator==(const Index&) const = default;
};

std::vector<std::string> keysOf(const std::string& list) {
  std::vector<std::string> keys;
  const std::regex key(R"(`([^`]*)`( DESC)?)");
  for (std::sregex_iterator it(list.begin(), list.end(), key), end; it != end; ++it) {
    keys.push_back((*it)[1].str() + (*it)[2].str());
  }
  return keys;
}

// Table name to its indexes, from mdb-schema's MySQL form:
// "ALTER TABLE `T` ADD [UNIQUE ]INDEX `name` (`a`, `b` DESC);" and "... ADD PRIMARY KEY (...)".
std::map<std::string, std::set<Index>> schemaIndexes(const std::string& schema) {
  std::map<std::string, std::set<Index>> tables;
  const std::regex index(R"(ALTER TABLE `(.*)` ADD( UNIQUE)? INDEX `(.*)` \((.*)\);)");
  const std::regex primary(R"(ALTER TABLE `(.*)` ADD PRIMARY KEY \((.*)\);)");
  std::istringstream in(schema);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_match(line, match, index)) {
      tables[match[1]].insert({match[3], keysOf(match[4]), match[2].matched});
    } else if (std::regex_match(line, match, primary)) {
      tables[match[1]].insert({"", keysOf(match[2]), true});
    }
  }
  return tables;
}

// Where mdb-schema prints an index without keys (libmdb loses them when columns were deleted after
// the index was made, or the index numbering has gaps), what the table's definition pages hold,
// read from the bytes by hand: by file, table and index ("" for the primary key).
const std::map<std::tuple<std::string, std::string, std::string>, Index> keysMdbSchemaLoses = {
    {{"delColTestV2000.mdb", "Table1", "id2"}, {"id2", {"id2"}, false}},
    {{"testIndexPropertiesV2000.mdb", "TableIgnoreNulls2", "DataIndex"},
     {"DataIndex", {"data1", "data2"}, false}},
    {{"testIndexPropertiesV2000.mdb", "TableIgnoreNulls2", ""}, {"", {"row"}, true}},
    {{"testIndexPropertiesV2000.mdb", "TableUnique1_temp", "DataIndex"},
     {"DataIndex", {"data"}, true}},
    {{"testIndexPropertiesV2000.mdb", "TableUnique1_temp", ""}, {"", {"row"}, true}},
    {{"testIndexPropertiesV2000.mdb", "TableUnique2_temp", "DataIndex"},
     {"DataIndex", {"data1", "data2"}, true}},
    {{"testIndexPropertiesV2000.mdb", "TableUnique2_temp", ""}, {"", {"row"}, true}},
};

class AgainstMdbSchema : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { jet::convert(jetFile, converted); }

  testsupport::TempDir dir;
  std::string jetFile = jettest::dataFile(GetParam());
  std::string converted = dir.file("converted.db");
};

TEST_P(AgainstMdbSchema, FieldsHaveTheirNamesTypesAndSizes) {
  const jettest::Run schema = jettest::run({"mdb-schema", jetFile, "access"});
  ASSERT_EQ(schema.status, 0) << schema.err;
  const auto expected = schemaFields(schema.out);
  const store::Database db = store::Database::open(converted);
  ASSERT_EQ(db.tableNames().size(), expected.size());
  for (const std::string& table : db.tableNames()) {
    SCOPED_TRACE("table " + table);
    ASSERT_TRUE(expected.count(table));
    std::vector<Field> fields;
    for (const store::FieldDef& field : db.tableDef(table).fields) {
      fields.push_back({field.name, {field.type, field.size}});
    }
    EXPECT_EQ(fields, expected.at(table));
  }
}

TEST_P(AgainstMdbSchema, IndexesHaveTheirNamesKeysAndUniqueness) {
  const jettest::Run schema =
      jettest::run({"mdb-schema", "--indexes", "--no-relations", jetFile, "mysql"});
  ASSERT_EQ(schema.status, 0) << schema.err;
  auto expected = schemaIndexes(schema.out);
  for (auto& [table, indexes] : expected) {
    std::set<Index> completed;
    for (const Index& index : indexes) {
      const auto known = keysMdbSchemaLoses.find({GetParam(), table, index.name});
      if (!index.keys.empty()) {
        EXPECT_EQ(known, keysMdbSchemaLoses.end()) << table << "." << index.name;
        completed.insert(index);
      } else if (known == keysMdbSchemaLoses.end()) {
        ADD_FAILURE() << "mdb-schema prints no keys for " << table << "." << index.name;
      } else {
        completed.insert(known->second);
      }
    }
    indexes = completed;
  }
  const store::Database db = store::Database::open(converted);
  for (const std::string& table : db.tableNames()) {
    SCOPED_TRACE("table " + table);
    std::set<Index> indexes;
    for (const store::IndexDef& def : db.tableDef(table).indexes) {
      std::vector<std::string> keys;
      for (std::size_t i = 0; i < def.fields.size(); ++i) {
        keys.push_back(def.fields[i] + (def.descends(i) ? " DESC" : ""));
      }
      // Access names a primary key "PrimaryKey"; the tools seek it by that name.
      indexes.insert({def.name == "PrimaryKey" ? "" : def.name, keys, def.unique});
    }
    const auto found = expected.find(table);
    EXPECT_EQ(indexes, found == expected.end() ? std::set<Index>{} : found->second);
  }
}

INSTANTIATE_TEST_SUITE_P(TestFiles, AgainstMdbSchema, ::testing::ValuesIn(jettest::testFiles));

// The relationships of fruit.mdb give its tables entries in the index list that name no keys of
// their own; they stay out, and each table keeps its primary key and its one other index.
TEST(FruitIndexes, RelationshipEntriesStayOut) {
  testsupport::TempDir dir;
  const jet::Summary summary = jet::convert(jettest::dataFile("fruit.mdb"), dir.file("fruit.db"));
  std::map<std::string, std::int64_t> indexes;
  for (const jet::TableSummary& table : summary.tables) indexes[table.name] = table.indexes;
  EXPECT_EQ(indexes, (std::map<std::string, std::int64_t>{{"Dried", 1},
                                                          {"Fruit", 2},
                                                          {"Fruit Salad", 2},
                                                          {"Muffin/Bread", 1},
                                                          {"Veggie Salad", 1}}));
  EXPECT_EQ(summary.indexes, 7);
  const store::TableDef fruit = store::Database::open(dir.file("fruit.db")).tableDef("Fruit");
  ASSERT_NE(fruit.findIndex("PrimaryKey"), nullptr);
  EXPECT_TRUE(fruit.findIndex("PrimaryKey")->unique);
  ASSERT_NE(fruit.findIndex("Fruit"), nullptr);
  EXPECT_FALSE(fruit.findIndex("Fruit")->unique);
}

}  // namespace
