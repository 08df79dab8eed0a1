#include "long_value.h"

#include <cstring>

#include "store/error.h"
#include "values.h"

namespace jet::detail {
namespace {

constexpr std::size_t headerSize = MDB_MEMO_OVERHEAD;  // length and flags, page and row, unused
constexpr std::uint32_t inlineFlag = 0x80000000;
constexpr std::uint32_t onePageFlag = 0x40000000;
constexpr std::uint32_t lengthMask = 0x3FFFFFFF;

[[noreturn]] void broken(const std::string& what) {
  throw store::Error(store::Fault::Damaged, "a memo or OLE value " + what);
}

// One row of a long-value page: its bytes stay valid until the next page is read.
std::string pageRow(MdbHandle* mdb, std::uint32_t pageRow) {
  void* page = nullptr;
  int start = 0;
  size_t length = 0;
  if (mdb_find_pg_row(mdb, static_cast<int>(pageRow), &page, &start, &length) != 0) {
    broken("lies on page " + std::to_string(pageRow >> 8) + ", which cannot be read");
  }
  const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
  if (start < 0 || static_cast<std::size_t>(start) + length > pageSize) {
    broken("lies outside its page " + std::to_string(pageRow >> 8));
  }
  return std::string(static_cast<const char*>(page) + start, length);
}

}  // namespace

std::string longValue(MdbHandle* mdb, const unsigned char* field, std::size_t size) {
  if (size < headerSize) broken("has no complete header");
  const auto word = static_cast<std::uint32_t>(signedLittleEndian(field, 4));
  const std::size_t length = word & lengthMask;
  const auto first = static_cast<std::uint32_t>(signedLittleEndian(field + 4, 4));
  if (word & inlineFlag) {
    if (size - headerSize != length) broken("kept in its record has the wrong length");
    return std::string(reinterpret_cast<const char*>(field) + headerSize, length);
  }
  if (word & onePageFlag) {
    std::string bytes = pageRow(mdb, first);
    if (bytes.size() != length) broken("on one page has the wrong length");
    return bytes;
  }
  if (word & ~lengthMask) broken("has an unknown kind of storage");
  // A chain: every row begins with the page and row of the next one, 0 after the last.
  std::string bytes;
  bytes.reserve(length);
  for (std::uint32_t next = first; next != 0;) {
    const std::string row = pageRow(mdb, next);
    if (row.size() <= 4) broken("has an empty part in its chain of pages");
    next = static_cast<std::uint32_t>(
        signedLittleEndian(reinterpret_cast<const unsigned char*>(row.data()), 4));
    if (bytes.size() + row.size() - 4 > length) broken("runs on past its length");
    bytes.append(row, 4, std::string::npos);
  }
  if (bytes.size() != length) broken("ends before its length");
  return bytes;
}

}  // namespace jet::detail
