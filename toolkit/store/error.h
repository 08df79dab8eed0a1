// The one failure type of roomkit's code: the store, the Jet reader and roomkit-db all throw
// Error, and each caller acts on its fault (and, for the engine's, its result code). The message
// is what the user is told.
#pragma once

#include <stdexcept>
#include <string>

namespace store {

enum class Fault {
  // The engine refused, or the store refused on a check of its own; code() says which.
  Engine,
  // roomkit-db refuses bad input: a fault of a document, a file in the way, output that cannot be
  // written. The message says what and where.
  Input,
  // roomkit-db was called wrongly; the usage text follows the message.
  Usage,
  // A refused conversion of a Jet database:
  NotJet,        // no Jet signature: a text file, a zeroed header, any other kind of file
  Ace,           // an Access 2007 or later database ("Standard ACE DB")
  Version,       // the Jet signature with a version number that is neither Jet 3 nor Jet 4
  CutShort,      // fewer bytes than the file's pages need
  Damaged,       // a broken structure, or one that made the reader fail
  Unsupported,   // a field or value that no store type holds without loss
  Unreadable,    // the file cannot be opened or read
  TargetExists,  // something exists at the path of the new file
  Unwritable,    // the new file cannot be written
  Stopped,       // the progress callback asked to stop
};

// Store-made failures use SQLite's primary codes of the matching kind.
namespace code {
inline constexpr int generic = 1;      // SQLITE_ERROR
inline constexpr int busy = 5;         // SQLITE_BUSY: another connection holds the file
inline constexpr int readOnly = 8;     // SQLITE_READONLY: the file was opened for reading
inline constexpr int ioError = 10;     // SQLITE_IOERR: a file beside the database failed
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

class Error : public std::runtime_error {
 public:
  // A failure of the engine, or of a check the store makes, with its result code.
  Error(int code, const std::string& message)
      : std::runtime_error(message), fault_(Fault::Engine), code_(code) {}
  // Any other fault; its code is the generic one.
  Error(Fault fault, const std::string& message)
      : std::runtime_error(message), fault_(fault), code_(code::generic) {}
  // The same failure told with another message (the caller's place before the engine's reason).
  Error(const Error& cause, const std::string& message)
      : std::runtime_error(message), fault_(cause.fault_), code_(cause.code_) {}

  Fault fault() const { return fault_; }
  int code() const { return code_; }
  bool is(Fault fault) const { return fault_ == fault; }
  // Whether it refuses a Jet conversion (any fault from NotJet on).
  bool refusesJet() const { return fault_ >= Fault::NotJet; }

 private:
  Fault fault_;
  int code_;
};

}  // namespace store
