// A plain Jet 4 (Access 2000) file writer for the benchmarks: tables of fixed and variable fields,
// their index definitions and their records, laid out so that libmdb (mdbtools) and our reader
// read every record. It writes no index keys (each index gets one empty leaf page), no
// properties, and memo values only inline, so memos stay short (under about 1,000 characters).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace jetbench {

enum class Type : std::uint8_t {
  YesNo = 0x01,
  Byte = 0x02,
  Integer = 0x03,
  Long = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0a,
  Ole = 0x0b,
  Memo = 0x0c,
};

struct Column {
  std::string name;
  Type type = Type::Text;
  int length = 0;  // characters of a Text field (bytes of Binary); other types have their own
};

struct Index {
  std::string name;
  std::vector<std::string> columns;  // ascending keys
  bool primary = false;
  bool unique = false;
};

// One field's value: null, a number (Yes/No, the integers, Currency, Single, Double, and
// Date/Time as days since 30 December 1899) or UTF-8 text (Text and Memo; bytes for Binary/OLE).
struct Value {
  enum class Kind { Null, Number, Text } kind = Kind::Null;
  double number = 0;
  std::string text;

  Value() = default;
  Value(double n) : kind(Kind::Number), number(n) {}  // NOLINT: values read like literals
  Value(int n) : kind(Kind::Number), number(n) {}     // NOLINT
  Value(std::string s) : kind(Kind::Text), text(std::move(s)) {}  // NOLINT
  Value(const char* s) : kind(Kind::Text), text(s) {}             // NOLINT
};

class Table;

class Writer {
 public:
  Writer();
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // A user table; its records are added through the returned table, which lives as long as the
  // writer. Throws std::invalid_argument for a definition it cannot write.
  Table& addTable(const std::string& name, std::vector<Column> columns,
                  std::vector<Index> indexes = {});
  // Writes the whole file, replacing one at the path. Throws std::runtime_error.
  void write(const std::string& path);
  // Each user table's name and record count, in the order they were added.
  std::vector<std::pair<std::string, std::int64_t>> tableRecords() const;

 private:
  std::vector<std::unique_ptr<Table>> tables_;
};

class Table {
 public:
  // Throws std::invalid_argument when the values do not fit the columns.
  void addRecord(const std::vector<Value>& values);
  std::int64_t records() const { return records_; }

 private:
  friend class Writer;
  // Where the writer puts the table: its definition's pages, the page of its usage maps (its
  // records', its free space's, then each index's), each index's leaf page, its first record page.
  struct Placement {
    std::vector<std::uint32_t> definition;
    std::uint32_t maps = 0;
    std::vector<std::uint32_t> leaves;
    std::uint32_t firstRecords = 0;
  };

  Table(std::string name, std::vector<Column> columns, std::vector<Index> indexes, bool system);
  std::string encode(const std::vector<Value>& values) const;
  // The definition's bytes as one run (the writer splits them over the placement's pages).
  std::string definition(const Placement& placement) const;

  std::string name_;
  std::vector<Column> columns_;
  std::vector<Index> indexes_;
  bool system_;
  std::vector<int> fixedOffset_;  // per column: its place in the fixed part, or -1
  std::vector<int> varNumber_;    // per column: its place among the variable fields, or -1
  int fixedSize_ = 0;
  int varCount_ = 0;
  std::vector<std::string> pages_;  // record pages, their owner's page number still to be set
  std::int64_t records_ = 0;
};

}  // namespace jetbench
