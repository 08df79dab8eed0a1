#include "document_reader.h"

#include <rapidjson/reader.h>

#include <cstring>
#include <memory>

#include "document_shape.h"
#include "field_value.h"
#include "json_input.h"
#include "json_text.h"
#include "store/error.h"
#include "table_draft.h"
#include "table_writer.h"

namespace dbtool {
namespace {

using rapidjson::SizeType;

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
  // The value of a number is read from its literal, exactly.
  bool Int(int) { return number(); }
  bool Uint(unsigned) { return number(); }
  bool Int64(std::int64_t) { return number(); }
  bool Uint64(std::uint64_t) { return number(); }
  bool Double(double) { return number(); }
  bool RawNumber(const char*, SizeType, bool) { return number(); }
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

 private:
  bool number() { return scalar(Token::Number, in_.numberText()); }
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
  void afterValue();

  Place place() const { return {draft_.get(), tableCount_, recordNumber_, width_}; }
  std::string context(Frame frame) const { return place().of(frame); }
  std::string recordContext() const { return place().record(); }
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
  expect_ = expectIn(frame);
}

void DocumentReader::pop() {
  open_.pop_back();
  afterValue();
}

void DocumentReader::afterValue() {
  if (open_.empty()) {
    expect_ = Expect::Nothing;
  } else {
    expect_ = expectIn(open_.back().frame);
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
      } catch (const store::Error& error) {
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
  } catch (const store::Error& refusal) {
    failAt(in_.tokenStart(), recordContext() + ", " + refusal.what());
  }
  ++count_;
}

void DocumentReader::definitionValue(Token token, std::string_view text) {
  const TextPosition at = in_.tokenStart();
  // The value read as the member's kind; any other kind is refused naming what it must be.
  const auto string = [&] {
    if (token != Token::String) wrong(token, at);
    return text;
  };
  const auto flag = [&] {
    if (token != Token::True && token != Token::False) wrong(token, at);
    return token == Token::True;
  };
  switch (expect_) {
    case Expect::TableName: draft_->setName(string(), at); break;
    case Expect::FieldName: draft_->setFieldName(string(), at); break;
    case Expect::FieldType: draft_->setFieldType(string(), at); break;
    case Expect::FieldSize:
      if (token != Token::Number) wrong(token, at);
      draft_->setFieldSize(text, at);
      break;
    case Expect::Required: draft_->setRequired(flag()); break;
    case Expect::AllowZeroLength: draft_->setAllowZeroLength(flag()); break;
    case Expect::Default: draft_->setDefault(token, text, at); break;
    case Expect::IndexName: draft_->setIndexName(string(), at); break;
    case Expect::IndexField: draft_->addIndexField(string()); break;
    case Expect::Unique: draft_->setUnique(flag()); break;
    case Expect::IgnoreNulls: draft_->setIgnoreNulls(flag()); break;
    case Expect::Descending: draft_->addDescending(flag()); break;
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
      } else if (key == "required") {
        expect_ = Expect::Required;
      } else if (key == "allowZeroLength") {
        expect_ = Expect::AllowZeroLength;
      } else if (key == "default") {
        expect_ = Expect::Default;
      } else {
        unknownMember(key,
                      "a field has \"name\", \"type\" and \"size\", and may have \"required\", "
                      "\"allowZeroLength\" and \"default\"");
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
      } else if (key == "ignoreNulls") {
        expect_ = Expect::IgnoreNulls;
      } else {
        unknownMember(key,
                      "an index has \"name\", \"fields\", \"unique\", \"descending\" and "
                      "\"ignoreNulls\"");
      }
      return;
    default: return;  // only objects have members
  }
}

void DocumentReader::unknownMember(std::string_view key, const char* known) const {
  failAt(in_.tokenStart(),
         "unknown member " + jsonString(key) + " in " + context(open_.back().frame) + "; " + known);
}

void DocumentReader::makeTable(TextPosition where) {
  const store::TableDef& def = draft_->complete(where);
  tableNames_.push_back(def.name);
  try {
    writer_ = std::make_unique<TableWriter>(db_, def);
  } catch (const store::Error& error) {
    failAt(where, error.what());
  }
  width_ = def.fields.size();
  record_.assign(width_, store::Value());
  recordNumber_ = 0;
}

void DocumentReader::wrong(Token found, TextPosition at) const {
  const Frame enclosing = open_.empty() ? Frame::Document : open_.back().frame;
  failAt(at, place().expected(expect_, enclosing) + ", found " + tokenName(found));
}

void DocumentReader::fault(rapidjson::ParseErrorCode code, std::size_t offset) {
  using namespace rapidjson;
  const TextPosition where = in_.positionOf(offset);
  switch (code) {
    case kParseErrorStringEscapeInvalid:
      failAt(where,
             in_.isBehind(offset)
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
      failAt(at,
             "expected a member name in double quotes in " + context(open_.back().frame) + found);
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
  constexpr unsigned flags = rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
  const rapidjson::ParseResult result = parser.Parse<flags>(in, reader);
  if (result.IsError()) reader.fault(result.Code(), result.Offset());
  return reader.counts();
}

}  // namespace dbtool
