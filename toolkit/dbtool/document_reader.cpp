#include "document_reader.h"

#include <rapidjson/reader.h>

#include <cstring>
#include <memory>

#include "error.h"
#include "field_value.h"
#include "json_input.h"
#include "json_text.h"
#include "table_draft.h"
#include "table_writer.h"

namespace dbtool {
namespace {

using rapidjson::SizeType;

std::string counted(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The containers of the document, outermost first.
enum class Frame : std::uint8_t {
  Document,
  TableList,
  Table,
  FieldList,
  Field,
  IndexList,
  Index,
  IndexFieldList,
  DescendingList,
  RecordList,
  Record
};

// What the next value must be.
enum class Expect : std::uint8_t {
  Key,  // in an object: a member name, or its end
  Document,
  TableList,
  Table,
  TableName,
  FieldList,
  Field,
  FieldName,
  FieldType,
  FieldSize,
  IndexList,
  Index,
  IndexName,
  IndexFieldList,
  IndexField,
  Unique,
  DescendingList,
  Descending,
  RecordList,
  Record,
  Value,   // a value of the record
  Nothing  // after the document
};

struct Open {
  Frame frame;
  std::vector<std::string> members;  // of an object, so far
};

// The handler of RapidJSON's reader. Faults are thrown as Error, never left to the reader.
class DocumentReader {
 public:
  DocumentReader(JsonInput& in, store::Database& db) : in_(in), db_(db) {}

  ImportCounts counts() const { return {tableCount_, recordCount_}; }
  // A fault that the reader found, made a message in the terms of the document.
  [[noreturn]] void fault(rapidjson::ParseErrorCode code, std::size_t offset);

  bool Null() { return scalar(Token::Null, {}); }
  bool Bool(bool yes) { return scalar(yes ? Token::True : Token::False, {}); }
  bool RawNumber(const char* text, SizeType length, bool) {
    return scalar(Token::Number, in_.numberText({text, length}));
  }
  bool String(const char* text, SizeType length, bool) {
    return scalar(Token::String, checked({text, length}));
  }
  bool Key(const char* text, SizeType length, bool) {
    member(checked({text, length}));
    in_.tokenDone();
    return true;
  }
  bool StartObject();
  bool EndObject(SizeType);
  bool StartArray();
  bool EndArray(SizeType);
  // Numbers come as their text.
  bool Int(int) { return false; }
  bool Uint(unsigned) { return false; }
  bool Int64(std::int64_t) { return false; }
  bool Uint64(std::uint64_t) { return false; }
  bool Double(double) { return false; }

 private:
  bool scalar(Token token, std::string_view text) {
    if (expect_ == Expect::Value) {
      recordValue(token, text);
    } else {
      definitionValue(token, text);
    }
    in_.tokenDone();
    return true;
  }
  std::string_view checked(std::string_view text) const;
  void recordValue(Token token, std::string_view text);
  void definitionValue(Token token, std::string_view text);
  void member(std::string_view key);
  [[noreturn]] void unknownMember(std::string_view key, const char* known) const;
  void push(Frame frame);
  void pop();
  void expectIn(Frame frame);
  void afterValue();

  std::string context(Frame frame) const;
  std::string recordContext() const {
    return draft_->context() + ", record " + std::to_string(recordNumber_);
  }
  // The value that was expected and the token found instead.
  [[noreturn]] void wrong(Token found, TextPosition at) const;
  void makeTable(TextPosition where);

  JsonInput& in_;
  store::Database& db_;
  std::vector<Open> open_;
  Expect expect_ = Expect::Document;
  bool sawTables_ = false;

  std::vector<std::string> tableNames_;
  std::int64_t tableCount_ = 0;
  std::int64_t recordCount_ = 0;
  std::unique_ptr<TableDraft> draft_;
  TextPosition tableStart_;
  std::unique_ptr<TableWriter> writer_;

  std::vector<store::Value> record_;
  std::size_t width_ = 0;
  std::size_t count_ = 0;  // values of the record so far
  std::int64_t recordNumber_ = 0;
  TextPosition recordStart_;
};

// RapidJSON turns a \u escape of a lone low surrogate into bytes that are no UTF-8 (0xED 0xB0..).
std::string_view DocumentReader::checked(std::string_view text) const {
  for (std::size_t at = text.find('\xED'); at != std::string_view::npos;
       at = text.find('\xED', at + 1)) {
    if (at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0xA0) {
      failAt(in_.tokenStart(), "\\u escape of a lone low surrogate");
    }
  }
  return text;
}

void DocumentReader::push(Frame frame) {
  open_.push_back({frame, {}});
  expectIn(frame);
}

void DocumentReader::pop() {
  open_.pop_back();
  afterValue();
}

// A container expects its next element, or its next member name.
void DocumentReader::expectIn(Frame frame) {
  switch (frame) {
    case Frame::TableList: expect_ = Expect::Table; break;
    case Frame::FieldList: expect_ = Expect::Field; break;
    case Frame::IndexList: expect_ = Expect::Index; break;
    case Frame::IndexFieldList: expect_ = Expect::IndexField; break;
    case Frame::DescendingList: expect_ = Expect::Descending; break;
    case Frame::RecordList: expect_ = Expect::Record; break;
    case Frame::Record: expect_ = Expect::Value; break;
    default: expect_ = Expect::Key; break;
  }
}

void DocumentReader::afterValue() {
  if (open_.empty()) {
    expect_ = Expect::Nothing;
  } else {
    expectIn(open_.back().frame);
  }
}

bool DocumentReader::StartObject() {
  const TextPosition at = in_.tokenStart();
  switch (expect_) {
    case Expect::Document: push(Frame::Document); break;
    case Expect::Table:
      ++tableCount_;
      writer_.reset();
      draft_ = std::make_unique<TableDraft>(tableCount_, tableNames_);
      tableStart_ = at;
      push(Frame::Table);
      break;
    case Expect::Field:
      draft_->beginField(at);
      push(Frame::Field);
      break;
    case Expect::Index:
      draft_->beginIndex(at);
      push(Frame::Index);
      break;
    case Expect::Value: recordValue(Token::BeginObject, {}); break;
    default: wrong(Token::BeginObject, at);
  }
  in_.tokenDone();
  return true;
}

bool DocumentReader::EndObject(SizeType) {
  switch (open_.back().frame) {
    case Frame::Document:
      if (!sawTables_) failAt(in_.tokenStart(), "the document has no \"tables\" member");
      break;
    case Frame::Table:
      if (!writer_) makeTable(tableStart_);
      writer_.reset();
      break;
    case Frame::Field: draft_->endField(); break;
    case Frame::Index: draft_->endIndex(); break;
    default: break;
  }
  pop();
  in_.tokenDone();
  return true;
}

bool DocumentReader::StartArray() {
  const TextPosition at = in_.tokenStart();
  switch (expect_) {
    case Expect::TableList: push(Frame::TableList); break;
    case Expect::FieldList:
      draft_->beginFields();
      push(Frame::FieldList);
      break;
    case Expect::IndexList:
      draft_->beginIndexes();
      push(Frame::IndexList);
      break;
    case Expect::IndexFieldList: push(Frame::IndexFieldList); break;
    case Expect::DescendingList:
      draft_->beginDescending(at);
      push(Frame::DescendingList);
      break;
    case Expect::RecordList: push(Frame::RecordList); break;
    case Expect::Record:
      ++recordNumber_;
      count_ = 0;
      recordStart_ = at;
      push(Frame::Record);
      break;
    case Expect::Value: recordValue(Token::BeginArray, {}); break;
    default: wrong(Token::BeginArray, at);
  }
  in_.tokenDone();
  return true;
}

bool DocumentReader::EndArray(SizeType) {
  switch (open_.back().frame) {
    case Frame::IndexFieldList: draft_->indexFieldsDone(); break;
    case Frame::Record:
      if (count_ != width_) {
        failAt(recordStart_, recordContext() + ": the record has " + counted(count_, "value") +
                                 " for the table's " + counted(width_, "field"));
      }
      try {
        writer_->insert(record_);
        ++recordCount_;
      } catch (const Error& error) {
        failAt(recordStart_, recordContext() + ": " + error.what());
      }
      break;
    default: break;
  }
  pop();
  in_.tokenDone();
  return true;
}

void DocumentReader::recordValue(Token token, std::string_view text) {
  if (count_ == width_) {
    failAt(in_.tokenStart(), recordContext() + ": the record has more values than the table's " +
                                 counted(width_, "field"));
  }
  try {
    readFieldValue(token, text, draft_->def().fields[count_], record_[count_]);
  } catch (const ValueRefusal& refusal) {
    failAt(in_.tokenStart(), recordContext() + ", " + refusal.what());
  }
  ++count_;
}

void DocumentReader::definitionValue(Token token, std::string_view text) {
  const TextPosition at = in_.tokenStart();
  const bool isString = token == Token::String;
  const bool isFlag = token == Token::True || token == Token::False;
  switch (expect_) {
    case Expect::TableName:
      if (!isString) wrong(token, at);
      draft_->setName(text, at);
      break;
    case Expect::FieldName:
      if (!isString) wrong(token, at);
      draft_->setFieldName(text, at);
      break;
    case Expect::FieldType:
      if (!isString) wrong(token, at);
      draft_->setFieldType(text, at);
      break;
    case Expect::FieldSize:
      if (token != Token::Number) wrong(token, at);
      draft_->setFieldSize(text, at);
      break;
    case Expect::IndexName:
      if (!isString) wrong(token, at);
      draft_->setIndexName(text, at);
      break;
    case Expect::IndexField:
      if (!isString) wrong(token, at);
      draft_->addIndexField(text);
      break;
    case Expect::Unique:
      if (!isFlag) wrong(token, at);
      draft_->setUnique(token == Token::True);
      break;
    case Expect::Descending:
      if (!isFlag) wrong(token, at);
      draft_->addDescending(token == Token::True);
      break;
    default: wrong(token, at);
  }
  afterValue();
}

void DocumentReader::member(std::string_view key) {
  const TextPosition at = in_.tokenStart();
  Open& object = open_.back();
  for (const std::string& earlier : object.members) {
    if (earlier == key) {
      failAt(at, "duplicate member " + jsonString(key) + " in " + context(object.frame));
    }
  }
  object.members.emplace_back(key);
  switch (object.frame) {
    case Frame::Document:
      if (key != "tables") unknownMember(key, "it has only \"tables\"");
      sawTables_ = true;
      expect_ = Expect::TableList;
      return;
    case Frame::Table:
      if (writer_) {
        failAt(at, "in " + draft_->context() + ", the member " + jsonString(key) +
                       " must come before \"records\"");
      }
      if (key == "name") {
        expect_ = Expect::TableName;
      } else if (key == "fields") {
        expect_ = Expect::FieldList;
      } else if (key == "indexes") {
        expect_ = Expect::IndexList;
      } else if (key == "records") {
        makeTable(at);
        expect_ = Expect::RecordList;
      } else {
        unknownMember(key, "a table has \"name\", \"fields\", \"indexes\" and \"records\"");
      }
      return;
    case Frame::Field:
      if (key == "name") {
        expect_ = Expect::FieldName;
      } else if (key == "type") {
        expect_ = Expect::FieldType;
      } else if (key == "size") {
        expect_ = Expect::FieldSize;
      } else {
        unknownMember(key, "a field has \"name\", \"type\" and \"size\"");
      }
      return;
    case Frame::Index:
      if (key == "name") {
        expect_ = Expect::IndexName;
      } else if (key == "fields") {
        expect_ = Expect::IndexFieldList;
      } else if (key == "unique") {
        expect_ = Expect::Unique;
      } else if (key == "descending") {
        expect_ = Expect::DescendingList;
      } else {
        unknownMember(key, "an index has \"name\", \"fields\", \"unique\" and \"descending\"");
      }
      return;
    default: return;  // only objects have members
  }
}

void DocumentReader::unknownMember(std::string_view key, const char* known) const {
  failAt(in_.tokenStart(), "unknown member " + jsonString(key) + " in " +
                               context(open_.back().frame) + "; " + known);
}

void DocumentReader::makeTable(TextPosition where) {
  const store::TableDef& def = draft_->complete(where);
  tableNames_.push_back(def.name);
  try {
    writer_ = std::make_unique<TableWriter>(db_, def);
  } catch (const Error& error) {
    failAt(where, error.what());
  }
  width_ = def.fields.size();
  record_.assign(width_, store::Value());
  recordNumber_ = 0;
}

std::string DocumentReader::context(Frame frame) const {
  switch (frame) {
    case Frame::Document: return "the document";
    case Frame::TableList: return "the list of tables";
    case Frame::Table: return draft_->context();
    case Frame::FieldList: return "the fields of " + draft_->context();
    case Frame::Field: return draft_->fieldContext();
    case Frame::IndexList: return "the indexes of " + draft_->context();
    case Frame::Index: return draft_->indexContext();
    case Frame::IndexFieldList: return "the fields of " + draft_->indexContext();
    case Frame::DescendingList: return "\"descending\" of " + draft_->indexContext();
    case Frame::RecordList: return "the records of " + draft_->context();
    case Frame::Record: return recordContext();
  }
  return "the document";
}

void DocumentReader::wrong(Token found, TextPosition at) const {
  std::string what;
  switch (expect_) {
    case Expect::Document: what = "the document must be a JSON object: {\"tables\": [...]}"; break;
    case Expect::TableList: what = "\"tables\" must be an array of tables"; break;
    case Expect::Table:
      what = "a table must be an object with \"name\", \"fields\", \"indexes\" and \"records\"";
      break;
    case Expect::TableName:
      what = "the name of table " + std::to_string(tableCount_) + " must be a string";
      break;
    case Expect::FieldList: what = "\"fields\" of " + draft_->context() + " must be an array"; break;
    case Expect::Field:
      what = draft_->fieldContext() + " must be an object with \"name\", \"type\" and \"size\"";
      break;
    case Expect::FieldName: what = "the name of " + draft_->fieldContext() + " must be a string"; break;
    case Expect::FieldType: what = "the type of " + draft_->fieldContext() + " must be a string"; break;
    case Expect::FieldSize:
      what = "the size of " + draft_->fieldContext() + " must be a whole number";
      break;
    case Expect::IndexList: what = "\"indexes\" of " + draft_->context() + " must be an array"; break;
    case Expect::Index:
      what = draft_->indexContext() + " must be an object with \"name\", \"fields\" and \"unique\"";
      break;
    case Expect::IndexName: what = "the name of " + draft_->indexContext() + " must be a string"; break;
    case Expect::IndexFieldList:
      what = "\"fields\" of " + draft_->indexContext() + " must be an array of field names";
      break;
    case Expect::IndexField: what = "a field of " + draft_->indexContext() + " must be a string"; break;
    case Expect::Unique:
      what = "\"unique\" of " + draft_->indexContext() + " must be true or false";
      break;
    case Expect::DescendingList:
      what = "\"descending\" of " + draft_->indexContext() + " must be an array of true or false";
      break;
    case Expect::Descending:
      what = "each of \"descending\" of " + draft_->indexContext() + " must be true or false";
      break;
    case Expect::RecordList:
      what = "\"records\" of " + draft_->context() + " must be an array of records";
      break;
    case Expect::Record:
      what = draft_->context() + ", record " + std::to_string(recordNumber_ + 1) +
             ": a record must be an array of " + counted(width_, "value");
      break;
    case Expect::Key: what = "expected a member name in double quotes in " + context(open_.back().frame); break;
    case Expect::Value:
    case Expect::Nothing: what = "more text follows the end of the document"; break;
  }
  failAt(at, what + ", found " + tokenName(found));
}

void DocumentReader::fault(rapidjson::ParseErrorCode code, std::size_t offset) {
  using namespace rapidjson;
  const TextPosition where = in_.positionOf(offset);
  switch (code) {
    case kParseErrorStringEscapeInvalid:
      failAt(where, in_.isBehind(offset)
                        ? "unknown escape in a string (known: \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX)"
                        : "a control character in a string must be written as an escape (\\n, "
                          "\\u0001, ...)");
    case kParseErrorStringUnicodeEscapeInvalidHex:
      failAt(where, "\\u must be followed by four hexadecimal digits");
    case kParseErrorStringUnicodeSurrogateInvalid:
      failAt(where, "\\u escape of a high surrogate without its low surrogate");
    case kParseErrorStringMissQuotationMark: failAt(in_.tokenStart(), "the string is not closed");
    case kParseErrorStringInvalidEncoding: failAt(where, "the text is not valid UTF-8");
    default: break;
  }
  // The reader stopped before a token that has no place there.
  const TextPosition at = in_.here();
  const Token token = in_.found();
  const std::string found = std::string(", found ") + tokenName(token);
  switch (code) {
    case kParseErrorDocumentRootNotSingular:
      failAt(at, "more text follows the end of the document");
    case kParseErrorObjectMissName:
      failAt(at, "expected a member name in double quotes in " + context(open_.back().frame) +
                     found);
    case kParseErrorObjectMissColon: failAt(at, "expected ':' after the member name" + found);
    case kParseErrorObjectMissCommaOrCurlyBracket:
      failAt(at, "expected ',' or '}' in " + context(open_.back().frame) + found);
    case kParseErrorArrayMissCommaOrSquareBracket:
      if (open_.back().frame == Frame::Record) {
        failAt(at, recordContext() + ": expected ',' or ']'" + found);
      }
      failAt(at, "expected ',' or ']' in " + context(open_.back().frame) + found);
    default:  // a value was expected
      if (expect_ == Expect::Value) recordValue(token, {});
      if (expect_ != Expect::Key && expect_ != Expect::Nothing) wrong(token, at);
      failAt(at, std::string("unexpected ") + tokenName(token));
  }
}

}  // namespace

ImportCounts readDocument(Input& input, store::Database& db) {
  JsonInput in(input);
  DocumentReader reader(in, db);
  rapidjson::Reader parser;
  constexpr unsigned flags = rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag |
                             rapidjson::kParseNumbersAsStringsFlag;
  const rapidjson::ParseResult result = parser.Parse<flags>(in, reader);
  if (result.IsError()) reader.fault(result.Code(), result.Offset());
  return reader.counts();
}

}  // namespace dbtool
