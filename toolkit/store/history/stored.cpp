#include "stored.h"

#include <cmath>
#include <cstring>

#include "store/error.h"

namespace store::history {

namespace {

enum Kind : char { kNull = 0, kInteger = 1, kReal = 2, kText = 3, kBlob = 4 };

std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::uint64_t bytesHash(std::uint64_t seed, const unsigned char* data, std::size_t size) {
  std::uint64_t h = mix(seed ^ size);
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    h = mix(h ^ word);
  }
  std::uint64_t rest = 0;
  if (size > i) std::memcpy(&rest, data + i, size - i);  // an empty value may have no bytes at all
  return mix(h ^ rest);
}

std::uint64_t realHash(double d) {
  if (d == std::trunc(d) && std::fabs(d) < 9.2e18) return integerHash(static_cast<std::int64_t>(d));
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return mix(bits ^ 0x2ULL);
}

}  // namespace

Value storedValue(sqlite3_value* value) {
  Value out;
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: out.setInteger(sqlite3_value_int64(value)); break;
    case SQLITE_FLOAT: out.setDouble(sqlite3_value_double(value)); break;
    case SQLITE_TEXT:
      out.setText({static_cast<const char*>(sqlite3_value_blob(value)),
                   static_cast<std::size_t>(sqlite3_value_bytes(value))});
      break;
    case SQLITE_BLOB:
      out.setBinary({static_cast<const char*>(sqlite3_value_blob(value)),
                     static_cast<std::size_t>(sqlite3_value_bytes(value))});
      break;
    default: break;
  }
  return out;
}

std::uint64_t valueHash(const Value& stored) {
  switch (stored.kind()) {
    case Value::Kind::Null: return nullValueHash;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
    case Value::Kind::Currency: return integerHash(stored.integer());
    case Value::Kind::Double: return realHash(stored.number());
    case Value::Kind::Text:
      return bytesHash(kText, reinterpret_cast<const unsigned char*>(stored.text().data()),
                       stored.text().size());
    case Value::Kind::Binary:
      return bytesHash(kBlob, reinterpret_cast<const unsigned char*>(stored.bytes().data()),
                       stored.bytes().size());
    case Value::Kind::Date: {
      const std::string iso = stored.date().iso();
      return bytesHash(kText, reinterpret_cast<const unsigned char*>(iso.data()), iso.size());
    }
  }
  return nullValueHash;
}

std::uint64_t digest(std::string_view bytes, std::string_view counts) {
  const std::uint64_t h =
      bytesHash(0x52554E53ULL, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return bytesHash(h, reinterpret_cast<const unsigned char*>(counts.data()), counts.size());
}

std::uint64_t otherValueHash(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: return integerHash(sqlite3_value_int64(value));
    case SQLITE_FLOAT: return realHash(sqlite3_value_double(value));
    case SQLITE_TEXT: {
      // Read as bytes: the text is then neither copied nor given a terminating NUL.
      const auto* text = static_cast<const unsigned char*>(sqlite3_value_blob(value));
      return bytesHash(kText, text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
    }
    case SQLITE_BLOB: {
      const auto* data = static_cast<const unsigned char*>(sqlite3_value_blob(value));
      return bytesHash(kBlob, data, static_cast<std::size_t>(sqlite3_value_bytes(value)));
    }
    default: return nullValueHash;
  }
}

void Packer::number(std::uint64_t n) {
  while (n >= 0x80) {
    bytes_ += static_cast<char>((n & 0x7F) | 0x80);
    n >>= 7;
  }
  bytes_ += static_cast<char>(n);
}

void Packer::signedNumber(std::int64_t n) {
  const auto u = static_cast<std::uint64_t>(n);
  number((u << 1) ^ (n < 0 ? ~std::uint64_t{0} : 0));
}

void Packer::word(std::uint64_t n) {
  char raw[8];
  std::memcpy(raw, &n, 8);
  bytes_.append(raw, 8);
}

void Packer::blob(char kind, const void* data, std::size_t size) {
  bytes_ += kind;
  number(size);
  bytes_.append(static_cast<const char*>(data), size);
}

void Packer::value(const Value& stored) {
  switch (stored.kind()) {
    case Value::Kind::Null: bytes_ += kNull; return;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
    case Value::Kind::Currency:
      bytes_ += kInteger;
      signedNumber(stored.integer());
      return;
    case Value::Kind::Double: {
      bytes_ += kReal;
      double d = stored.number();
      std::uint64_t bits;
      std::memcpy(&bits, &d, 8);
      word(bits);
      return;
    }
    case Value::Kind::Text: blob(kText, stored.text().data(), stored.text().size()); return;
    case Value::Kind::Binary: blob(kBlob, stored.bytes().data(), stored.bytes().size()); return;
    case Value::Kind::Date: {
      const std::string iso = stored.date().iso();
      blob(kText, iso.data(), iso.size());
      return;
    }
  }
}

void Packer::value(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      bytes_ += kInteger;
      signedNumber(sqlite3_value_int64(value));
      return;
    case SQLITE_FLOAT: {
      bytes_ += kReal;
      const double d = sqlite3_value_double(value);
      std::uint64_t bits;
      std::memcpy(&bits, &d, 8);
      word(bits);
      return;
    }
    case SQLITE_TEXT: {
      const void* text = sqlite3_value_blob(value);
      blob(kText, text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
      return;
    }
    case SQLITE_BLOB: {
      const void* data = sqlite3_value_blob(value);
      blob(kBlob, data, static_cast<std::size_t>(sqlite3_value_bytes(value)));
      return;
    }
    default: bytes_ += kNull;
  }
}

void Unpacker::damage() {
  throw Error(code::corrupt, "The change history of this database is damaged.");
}

std::int64_t Unpacker::signedNumber() {
  const std::uint64_t u = number();
  return static_cast<std::int64_t>((u >> 1) ^ (~(u & 1) + 1));
}

std::uint64_t Unpacker::word() {
  std::uint64_t n;
  std::memcpy(&n, take(8).data(), 8);
  return n;
}

void Unpacker::skipValue() {
  const char kind = take(1)[0];
  switch (kind) {
    case kNull: return;
    case kInteger: number(); return;
    case kReal: take(8); return;
    case kText:
    case kBlob: take(number()); return;
    default: damage();
  }
}

std::optional<PackedKey> Unpacker::textOrInteger() {
  const char kind = take(1)[0];
  if (kind == kInteger) return PackedKey{false, signedNumber(), {}};
  if (kind == kText) return PackedKey{true, 0, take(number())};
  --pos_;
  skipValue();
  return std::nullopt;
}

Value Unpacker::value() {
  const char kind = take(1)[0];
  switch (kind) {
    case kNull: return Value();
    case kInteger: return Value(signedNumber());
    case kReal: {
      const std::uint64_t bits = word();
      double d;
      std::memcpy(&d, &bits, 8);
      return Value(d);
    }
    case kText: {
      const std::size_t size = number();
      return Value(std::string(take(size)));
    }
    case kBlob: {
      const std::size_t size = number();
      return Value::binary(std::string(take(size)));
    }
    default: damage();
  }
}

}  // namespace store::history
