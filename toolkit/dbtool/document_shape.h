// The shape of a document as import follows it: the containers it opens, what each place in them
// takes, and the words with which messages name them.
#pragma once

#include <cstdint>
#include <string>

#include "table_draft.h"

namespace dbtool {

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
  Required,
  AllowZeroLength,
  Default,
  IndexList,
  Index,
  IndexName,
  IndexFieldList,
  IndexField,
  Unique,
  IgnoreNulls,
  DescendingList,
  Descending,
  RecordList,
  Record,
  Value,   // a value of the record
  Nothing  // after the document
};

// What comes next inside a container: its next element, or (in an object) a member name.
Expect expectIn(Frame frame);

// "3 fields", "1 value".
std::string counted(std::size_t count, const char* noun);

// Where the reader stands, as messages name it.
struct Place {
  const TableDraft* table;    // the table being read; null before the first
  std::int64_t tableNumber;   // counting from 1
  std::int64_t recordNumber;  // of the record being read, or the last one read
  std::size_t width;          // values of a record of the table

  std::string record() const;         // table "Rooms", record 12
  std::string of(Frame frame) const;  // the fields of table "Rooms"
  // What the value must be where `expect` stands inside `enclosing`: "\"unique\" of index 1 of
  // table \"T\" must be true or false".
  std::string expected(Expect expect, Frame enclosing) const;
};

}  // namespace dbtool
