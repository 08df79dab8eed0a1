// The bytes of a Jet 4 file shared by the record and the layout halves of the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "jet_writer.h"

namespace jetbench::format {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kRowsAt = 12;  // a record page's record count, then each record's start

inline void put16(std::string& b, std::size_t at, std::size_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}
inline void put32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}
inline void put64(std::string& b, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}
inline std::uint16_t get16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}
inline void append16(std::string& b, std::size_t v) {
  b.append(2, '\0');
  put16(b, b.size() - 2, v);
}
inline void append32(std::string& b, std::uint32_t v) {
  b.append(4, '\0');
  put32(b, b.size() - 4, v);
}

// UTF-8 as the UCS-2 (UTF-16LE) that Jet 4 keeps text in.
std::string ucs2(const std::string& utf8);

bool isFixed(Type type);
int fixedBytes(Type type);          // a Yes/No field takes none: it lives in the null mask
int columnLength(const Column& c);  // the length a definition gives the column

// A record page owned by the table whose definition starts on `owner`.
std::string recordPage(std::uint32_t owner);
bool pageFits(const std::string& page, std::size_t recordSize);
// Returns the record's number on the page.
int addToPage(std::string& page, const std::string& record);

}  // namespace jetbench::format
