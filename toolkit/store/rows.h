// Reading a table's records as the file keeps them, field by field, before any fitting to the
// fields' types: for a faithful copy of the file (export), which must see and name whatever a
// field holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "database.h"

namespace store {

namespace detail {
struct RowsState;
}

// How a field of a record is kept in the file.
enum class Stored { Null, Integer, Real, Text, Bytes };

class StoredRows {
 public:
  // Every field of the table, in position order; the records in stored order.
  StoredRows(const Database& db, const std::string& table);
  ~StoredRows();
  StoredRows(const StoredRows&) = delete;
  StoredRows& operator=(const StoredRows&) = delete;

  bool next();  // the next record; false after the last

  // Ask for the kind first: reading a field another way may convert it.
  Stored kind(std::size_t field) const;
  std::int64_t integer(std::size_t field) const;
  double real(std::size_t field) const;
  std::string_view text(std::size_t field) const;   // as text; numbers are converted
  std::string_view bytes(std::size_t field) const;  // as they are

 private:
  std::unique_ptr<detail::RowsState> state_;
};

// A read transaction for as long as it lives, so that several reads see one state of the file.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(const Database& db);
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  Database db_;
};

}  // namespace store
