#include "document_shape.h"

namespace dbtool {

Expect expectIn(Frame frame) {
  switch (frame) {
    case Frame::TableList: return Expect::Table;
    case Frame::FieldList: return Expect::Field;
    case Frame::IndexList: return Expect::Index;
    case Frame::IndexFieldList: return Expect::IndexField;
    case Frame::DescendingList: return Expect::Descending;
    case Frame::RecordList: return Expect::Record;
    case Frame::Record: return Expect::Value;
    default: return Expect::Key;
  }
}

std::string counted(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Place::record() const {
  return table->context() + ", record " + std::to_string(recordNumber);
}

std::string Place::of(Frame frame) const {
  switch (frame) {
    case Frame::Document: return "the document";
    case Frame::TableList: return "the list of tables";
    case Frame::Table: return table->context();
    case Frame::FieldList: return "the fields of " + table->context();
    case Frame::Field: return table->fieldContext();
    case Frame::IndexList: return "the indexes of " + table->context();
    case Frame::Index: return table->indexContext();
    case Frame::IndexFieldList: return "the fields of " + table->indexContext();
    case Frame::DescendingList: return "\"descending\" of " + table->indexContext();
    case Frame::RecordList: return "the records of " + table->context();
    case Frame::Record: return record();
  }
  return "the document";
}

std::string Place::expected(Expect expect, Frame enclosing) const {
  std::string what;
  switch (expect) {
    case Expect::Document: what = "the document must be a JSON object: {\"tables\": [...]}"; break;
    case Expect::TableList: what = "\"tables\" must be an array of tables"; break;
    case Expect::Table:
      what = "a table must be an object with \"name\", \"fields\", \"indexes\" and \"records\"";
      break;
    case Expect::TableName:
      what = "the name of table " + std::to_string(tableNumber) + " must be a string";
      break;
    case Expect::FieldList: what = "\"fields\" of " + table->context() + " must be an array"; break;
    case Expect::Field:
      what = table->fieldContext() + " must be an object with \"name\", \"type\" and \"size\"";
      break;
    case Expect::FieldName:
      what = "the name of " + table->fieldContext() + " must be a string";
      break;
    case Expect::FieldType:
      what = "the type of " + table->fieldContext() + " must be a string";
      break;
    case Expect::FieldSize:
      what = "the size of " + table->fieldContext() + " must be a whole number";
      break;
    case Expect::Required:
      what = "\"required\" of " + table->fieldContext() + " must be true or false";
      break;
    case Expect::AllowZeroLength:
      what = "\"allowZeroLength\" of " + table->fieldContext() + " must be true or false";
      break;
    case Expect::Default:
      what = "\"default\" of " + table->fieldContext() + " must be a value of the field";
      break;
    case Expect::IndexList:
      what = "\"indexes\" of " + table->context() + " must be an array";
      break;
    case Expect::Index:
      what = table->indexContext() + " must be an object with \"name\", \"fields\" and \"unique\"";
      break;
    case Expect::IndexName:
      what = "the name of " + table->indexContext() + " must be a string";
      break;
    case Expect::IndexFieldList:
      what = "\"fields\" of " + table->indexContext() + " must be an array of field names";
      break;
    case Expect::IndexField:
      what = "a field of " + table->indexContext() + " must be a string";
      break;
    case Expect::Unique:
      what = "\"unique\" of " + table->indexContext() + " must be true or false";
      break;
    case Expect::IgnoreNulls:
      what = "\"ignoreNulls\" of " + table->indexContext() + " must be true or false";
      break;
    case Expect::DescendingList:
      what = "\"descending\" of " + table->indexContext() + " must be an array of true or false";
      break;
    case Expect::Descending:
      what = "each of \"descending\" of " + table->indexContext() + " must be true or false";
      break;
    case Expect::RecordList:
      what = "\"records\" of " + table->context() + " must be an array of records";
      break;
    case Expect::Record:
      what = table->context() + ", record " + std::to_string(recordNumber + 1) +
             ": a record must be an array of " + counted(width, "value");
      break;
    case Expect::Key: what = "expected a member name in double quotes in " + of(enclosing); break;
    case Expect::Value:
    case Expect::Nothing: what = "more text follows the end of the document"; break;
  }
  return what;
}

}  // namespace dbtool
