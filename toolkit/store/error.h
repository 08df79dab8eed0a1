// The one error type of the store: every failing operation throws it with the engine's result code
// and message (or a store code of the same family for checks the store makes itself).
#pragma once

#include <stdexcept>
#include <string>

namespace store {

class Error : public std::runtime_error {
 public:
  Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Store-made failures use SQLite's primary codes of the matching kind.
namespace code {
inline constexpr int generic = 1;      // SQLITE_ERROR
inline constexpr int busy = 5;         // SQLITE_BUSY: another connection holds the file
inline constexpr int readOnly = 8;     // SQLITE_READONLY: the file was opened for reading
inline constexpr int corrupt = 11;     // SQLITE_CORRUPT
inline constexpr int cantOpen = 14;    // SQLITE_CANTOPEN
inline constexpr int notFound = 12;    // SQLITE_NOTFOUND: table, field, index or current record
inline constexpr int constraint = 19;  // SQLITE_CONSTRAINT: value longer than the field
inline constexpr int mismatch = 20;    // SQLITE_MISMATCH: value cannot become the field's type
inline constexpr int misuse = 21;      // SQLITE_MISUSE: operation out of order
inline constexpr int notADb = 26;      // SQLITE_NOTADB
// Extended codes of a constraint that a record breaks.
inline constexpr int notNull = 1299;     // SQLITE_CONSTRAINT_NOTNULL: a field that takes no null
inline constexpr int checkFailed = 275;  // SQLITE_CONSTRAINT_CHECK: a rule of the field
}  // namespace code

}  // namespace store
