// Values as the engine keeps them (null, integer, real, text, bytes), packed into the history
// and hashed for the check that a record is still as a run left it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace store::history {

// A field value by its storage class: Null, Integer, Double (real), Text or Binary (blob).
Value storedValue(sqlite3_value* value);

// One value's hash, the same for a value the store writes and for what the engine then keeps: a
// real number with a whole value hashes as that integer (a column may keep it either way), a date
// as its text, yes/no and currency as their whole numbers.
std::uint64_t valueHash(const Value& stored);
std::uint64_t otherValueHash(sqlite3_value* value);  // any but a whole number
inline constexpr std::uint64_t nullValueHash = 0x5bd1e9955bd1e995ULL;

// Whole numbers, the most common values by far, are hashed without a call.
inline std::uint64_t integerHash(std::int64_t n) {
  return (static_cast<std::uint64_t>(n) + 0x632BE59BD9B4E019ULL) * 0x9E3779B97F4A7C15ULL;
}
inline std::uint64_t valueHash(sqlite3_value* value) {
  return sqlite3_value_type(value) == SQLITE_INTEGER ? integerHash(sqlite3_value_int64(value))
                                                     : otherValueHash(value);
}

// A run's checksum over its packed changes and their counts, kept beside them in the history.
std::uint64_t digest(std::string_view bytes, std::string_view counts);

// A record's hash is the sum of its fields' hashes, each tied to its position, so that a change
// of some fields changes it by their part alone. The value hashes are well mixed already.
inline std::uint64_t fieldHash(std::size_t position, std::uint64_t value) {
  return (value ^ (static_cast<std::uint64_t>(position) * 0x9E3779B97F4A7C15ULL)) *
         0xD6E8FEB86659FD93ULL;
}

// Appends to and reads from the packed history: whole numbers as variable-length integers,
// values with a kind byte.
class Packer {
 public:
  void number(std::uint64_t n);
  void signedNumber(std::int64_t n);
  void word(std::uint64_t n);  // 8 bytes
  void value(const Value& stored);
  void value(sqlite3_value* value);
  std::string& bytes() { return bytes_; }
  const std::string& bytes() const { return bytes_; }

 private:
  void blob(char kind, const void* data, std::size_t size);
  std::string bytes_;
};

// A packed whole number or text, read where it lies.
struct PackedKey {
  bool text = false;
  std::int64_t integer = 0;
  std::string_view bytes;
};

// Reading past the end, or a number of more than ten bytes, is damage (Error code::corrupt).
class Unpacker {
 public:
  explicit Unpacker(std::string_view bytes) : bytes_(bytes) {}
  bool atEnd() const { return pos_ >= bytes_.size(); }
  // Inline: an undo reads a few of them for each of hundreds of thousands of records.
  std::uint64_t number() {
    std::uint64_t n = 0;
    for (int shift = 0; shift < 64 && pos_ < bytes_.size(); shift += 7) {
      const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
      n |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return n;
    }
    damage();
  }
  std::int64_t signedNumber();
  std::uint64_t word();
  Value value();
  std::optional<PackedKey> textOrInteger();  // any other value is passed over
  std::string_view bytes(std::size_t size) { return take(size); }
  void skipValue();
  std::size_t offset() const { return pos_; }

 private:
  std::string_view take(std::size_t size) {
    if (size > bytes_.size() - pos_) damage();
    const std::string_view part = bytes_.substr(pos_, size);
    pos_ += size;
    return part;
  }
  [[noreturn]] static void damage();
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace store::history
