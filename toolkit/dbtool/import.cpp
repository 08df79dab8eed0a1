#include "import.h"

#include <memory>
#include <optional>

#include "error.h"
#include "field_value.h"
#include "json_reader.h"
#include "json_text.h"
#include "new_database.h"
#include "sql_names.h"
#include "table_writer.h"

namespace dbtool {
namespace {

constexpr std::int64_t largestSize = 2147483647;

std::string counted(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string sameNameHint(const std::string& a, const std::string& b, const char* what) {
  return a == b ? "" : std::string(" (names that differ only in letter case are the same ") + what + ")";
}

struct PendingIndex {
  store::IndexDef def;
  TextPosition position;
};

// Reads the document table by table. A table is made once its definition is complete, when its
// records begin (or at its end); its records go to the file as they are read.
class DocumentReader {
 public:
  DocumentReader(JsonLexer& lexer, store::Database& db) : json_(lexer), lexer_(lexer), db_(db) {}

  ImportCounts read() {
    json_.expect(Token::BeginObject, "the document must be a JSON object: {\"tables\": [...]}");
    bool sawTables = false;
    json_.readMembers([] { return std::string("the document"); },
                      [&](const std::string& key) {
                        if (key != "tables") {
                          json_.unknownMember(key, "the document", "it has only \"tables\"");
                        }
                        sawTables = true;
                        json_.expect(Token::BeginArray, "\"tables\" must be an array of tables");
                        json_.readElements("the list of tables", [&] { readTable(); });
                      });
    if (!sawTables) lexer_.fail("the document has no \"tables\" member");
    if (lexer_.next() != Token::End) lexer_.fail("more text follows the end of the document");
    return {tableCount_, recordCount_};
  }

 private:
  std::string tableContext() const {
    return table_.name.empty() ? "table " + std::to_string(tableCount_)
                               : "table " + jsonString(table_.name);
  }

  void readTable() {
    ++tableCount_;
    writer_.reset();
    table_ = store::TableDef{};
    indexes_.clear();
    json_.expect(Token::BeginObject,
                 "a table must be an object with \"name\", \"fields\", \"indexes\" and \"records\"");
    const TextPosition start = lexer_.position();
    bool sawFields = false;
    json_.readMembers([&] { return tableContext(); },
                      [&](const std::string& key) {
                        if (writer_) {
                          lexer_.fail("in " + tableContext() + ", the member " + jsonString(key) +
                                      " must come before \"records\"");
                        }
                        if (key == "name") {
                          readTableName();
                        } else if (key == "fields") {
                          readFields();
                          sawFields = true;
                        } else if (key == "indexes") {
                          readIndexes();
                        } else if (key == "records") {
                          create(sawFields, lexer_.position());
                          readRecords();
                        } else {
                          json_.unknownMember(
                              key, tableContext(),
                              "a table has \"name\", \"fields\", \"indexes\" and \"records\"");
                        }
                      });
    if (!writer_) create(sawFields, start);
    writer_.reset();
  }

  void readTableName() {
    table_.name = json_.readName("the name of table " + std::to_string(tableCount_));
    if (table_.name.size() >= 7 && sameSqlName(table_.name.substr(0, 7), "sqlite_")) {
      lexer_.fail("the table name " + jsonString(table_.name) +
                  " is reserved: names beginning with \"sqlite_\" belong to the engine");
    }
    for (const std::string& earlier : tableNames_) {
      if (sameSqlName(earlier, table_.name)) {
        lexer_.fail("duplicate table name " + jsonString(table_.name) +
                    sameNameHint(earlier, table_.name, "table"));
      }
    }
  }

  void readFields() {
    json_.expect(Token::BeginArray, "\"fields\" of " + tableContext() + " must be an array");
    table_.fields.clear();
    json_.readElements("the fields of " + tableContext(), [&] { readField(); });
  }

  void readField() {
    const std::string context =
        "field " + std::to_string(table_.fields.size() + 1) + " of " + tableContext();
    json_.expect(Token::BeginObject,
                 context + " must be an object with \"name\", \"type\" and (for text) \"size\"");
    const TextPosition start = lexer_.position();
    store::FieldDef field;
    bool sawName = false, sawType = false;
    std::optional<std::int64_t> size;
    TextPosition sizeAt;
    json_.readMembers([&] { return context; },
                      [&](const std::string& key) {
                        if (key == "name") {
                          field.name = json_.readName("the name of " + context);
                          sawName = true;
                        } else if (key == "type") {
                          const std::string type = json_.readString("the type of " + context);
                          const auto known = store::fieldTypeFromName(type);
                          if (!known) {
                            lexer_.fail("unknown type " + jsonString(type) + " of " + context +
                                        " (known: \"text\", \"integer\", \"double\", \"date\")");
                          }
                          field.type = *known;
                          sawType = true;
                        } else if (key == "size") {
                          size = json_.readWholeNumber("the size of " + context);
                          sizeAt = lexer_.position();
                          if (*size < 1 || *size > largestSize) {
                            lexer_.fail("the size of " + context + " must be from 1 to " +
                                        std::to_string(largestSize));
                          }
                        } else {
                          json_.unknownMember(key, context,
                                              "a field has \"name\", \"type\" and \"size\"");
                        }
                      });
    if (!sawName) json_.failAt(start, context + " has no \"name\"");
    if (!sawType) json_.failAt(start, context + " has no \"type\"");
    if (size && field.type != store::FieldType::Text) {
      json_.failAt(sizeAt, "only text fields have a size, and " + context + " is a " +
                               store::fieldTypeName(field.type) + " field");
    }
    field.size = size ? static_cast<int>(*size) : store::defaultSize(field.type);
    for (const store::FieldDef& earlier : table_.fields) {
      if (sameSqlName(earlier.name, field.name)) {
        json_.failAt(start, "duplicate field name " + jsonString(field.name) + " in " +
                                tableContext() + sameNameHint(earlier.name, field.name, "field"));
      }
    }
    table_.fields.push_back(std::move(field));
  }

  void readIndexes() {
    json_.expect(Token::BeginArray, "\"indexes\" of " + tableContext() + " must be an array");
    indexes_.clear();
    json_.readElements("the indexes of " + tableContext(), [&] { readIndex(); });
  }

  void readIndex() {
    const std::string context =
        "index " + std::to_string(indexes_.size() + 1) + " of " + tableContext();
    json_.expect(Token::BeginObject,
                 context + " must be an object with \"name\", \"fields\" and \"unique\"");
    PendingIndex index{{}, lexer_.position()};
    bool sawName = false, sawFields = false;
    json_.readMembers(
        [&] { return context; },
        [&](const std::string& key) {
          if (key == "name") {
            index.def.name = json_.readName("the name of " + context);
            sawName = true;
          } else if (key == "fields") {
            json_.expect(Token::BeginArray,
                         "\"fields\" of " + context + " must be an array of field names");
            json_.readElements("the fields of " + context, [&] {
              index.def.fields.push_back(json_.readString("a field of " + context));
            });
            sawFields = true;
          } else if (key == "unique") {
            const Token token = lexer_.next();
            if (token != Token::True && token != Token::False) {
              lexer_.fail("\"unique\" of " + context + " must be true or false, found " +
                          tokenName(token));
            }
            index.def.unique = token == Token::True;
          } else {
            json_.unknownMember(key, context, "an index has \"name\", \"fields\" and \"unique\"");
          }
        });
    if (!sawName) json_.failAt(index.position, context + " has no \"name\"");
    if (!sawFields || index.def.fields.empty()) {
      json_.failAt(index.position, context + " names no fields");
    }
    indexes_.push_back(std::move(index));
  }

  void create(bool sawFields, TextPosition where) {
    if (table_.name.empty()) json_.failAt(where, tableContext() + " has no \"name\"");
    if (!sawFields || table_.fields.empty()) {
      json_.failAt(where, tableContext() + " has no fields");
    }
    if (rowidAlias(table_).empty()) {
      json_.failAt(where, tableContext() +
                              " has fields named rowid, _rowid_ and oid, which leave its records "
                              "no stored order");
    }
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
      const PendingIndex& index = indexes_[i];
      for (std::size_t k = 0; k < i; ++k) {
        if (sameSqlName(indexes_[k].def.name, index.def.name)) {
          json_.failAt(index.position, "duplicate index name " + jsonString(index.def.name) +
                                           " in " + tableContext());
        }
      }
      for (const std::string& field : index.def.fields) {
        bool known = false;
        for (const store::FieldDef& def : table_.fields) known = known || def.name == field;
        if (!known) {
          json_.failAt(index.position, "the index " + jsonString(index.def.name) + " of " +
                                           tableContext() + " names the field " +
                                           jsonString(field) + ", which the table does not have");
        }
      }
      table_.indexes.push_back(index.def);
    }
    tableNames_.push_back(table_.name);
    try {
      writer_ = std::make_unique<TableWriter>(db_, table_);
    } catch (const Error& error) {
      json_.failAt(where, error.what());
    }
  }

  std::string recordContext(std::int64_t number) const {
    return tableContext() + ", record " + std::to_string(number);
  }

  void readRecords() {
    json_.expect(Token::BeginArray,
                 "\"records\" of " + tableContext() + " must be an array of records");
    std::vector<store::Value> record(table_.fields.size());
    std::int64_t number = 0;
    json_.readElements("the records of " + tableContext(), [&] { readRecord(record, ++number); });
  }

  void readRecord(std::vector<store::Value>& record, std::int64_t number) {
    const std::size_t width = record.size();
    const Token token = lexer_.next();
    const TextPosition start = lexer_.position();
    if (token != Token::BeginArray) {
      lexer_.fail(recordContext(number) + ": a record must be an array of " +
                  counted(width, "value") + ", found " + tokenName(token));
    }
    std::size_t count = 0;
    if (lexer_.peek() == Token::EndArray) {
      lexer_.next();
    } else {
      for (;;) {
        if (count == width) {
          lexer_.fail(recordContext(number) + ": the record has more values than the table's " +
                      counted(width, "field"));
        }
        try {
          readFieldValue(lexer_, table_.fields[count], record[count]);
        } catch (const ValueRefusal& refusal) {
          lexer_.fail(recordContext(number) + ", " + refusal.what());
        }
        ++count;
        const Token after = lexer_.next();
        if (after == Token::EndArray) break;
        if (after != Token::Comma) {
          lexer_.fail(recordContext(number) + ": expected ',' or ']', found " + tokenName(after));
        }
      }
    }
    if (count != width) {
      json_.failAt(start, recordContext(number) + ": the record has " + counted(count, "value") +
                              " for the table's " + counted(width, "field"));
    }
    try {
      writer_->insert(record);
      ++recordCount_;
    } catch (const Error& error) {
      json_.failAt(start, recordContext(number) + ": " + error.what());
    }
  }

  JsonReader json_;
  JsonLexer& lexer_;
  store::Database& db_;
  std::vector<std::string> tableNames_;
  std::int64_t tableCount_ = 0;
  std::int64_t recordCount_ = 0;
  store::TableDef table_;
  std::vector<PendingIndex> indexes_;
  std::unique_ptr<TableWriter> writer_;
};

}  // namespace

ImportCounts importDocument(Input& input, const std::string& target) {
  NewDatabase file(target);
  file.db().begin();
  ImportCounts counts;
  {
    JsonLexer lexer(input);
    DocumentReader reader(lexer, file.db());
    counts = reader.read();
  }
  file.finish();
  return counts;
}

}  // namespace dbtool
