// Jet's stored forms of field values turned into store values, from the raw bytes of a record
// (little-endian, as Jet writes them on every machine). No text conversion of the reading
// library sits in between: currency stays exact, dates keep their days before 1900.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "store/value.h"

namespace jet::detail {

std::int64_t signedLittleEndian(const unsigned char* bytes, std::size_t size);  // 1, 2, 4 or 8
float singleAt(const unsigned char* bytes);
double doubleAt(const unsigned char* bytes);

// Currency: a 64-bit count of ten-thousandths.
store::Value currencyAt(const unsigned char* bytes);
// Date and time: the day number as a double; nullopt outside the years 100 to 9999.
std::optional<store::Value> dateAt(const unsigned char* bytes);
// A replication ID: 16 bytes, the first three groups little-endian, as
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string guidAt(const unsigned char* bytes);

// A Jet 4 decimal (17 bytes: a sign byte, then a 128-bit whole number as four 32-bit
// little-endian words, the most significant first) as exact decimal text with `scale` decimals:
// "-12.50", "0.005", "7".
std::string decimalAt(const unsigned char* bytes, int scale);

// Jet 4 text: UTF-16LE, or after the marker FF FE Jet's compressed form, in which a zero byte
// switches between one-byte characters (U+0001 to U+00FF) and two-byte units. Returns UTF-8;
// a lone surrogate becomes U+FFFD.
std::string jet4Text(const unsigned char* bytes, std::size_t size);

}  // namespace jet::detail
