#include "table_pages.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include "store/error.h"

namespace jet::detail {
namespace {

// Where the two versions keep the parts of a table definition.
struct Layout {
  std::size_t indexCount;   // the number of entries in the index list
  std::size_t keyDefCount;  // the number of key definitions they share
  std::size_t firstBlock;   // the first of the per-key-definition counts
  std::size_t columnCount;
  std::size_t countBlock;      // bytes per key-definition count
  std::size_t columnBlock;     // bytes per column
  std::size_t columnNumberAt;  // where a column has the number that keys name
  std::size_t columnPlaceAt;   // where it has its place in a record
  std::size_t nameLength;      // bytes of a name's length
  std::size_t keyDefBlock;     // bytes per key definition
  std::size_t keysAt;          // where its ten key slots start
  std::size_t firstPageAt;     // where the number of its first page is
  std::size_t flagsAt;         // where its flags are
  std::size_t indexBlock;      // bytes per entry of the index list
  std::size_t keyDefAt;        // where the entry names its key definition
  std::size_t typeAt;          // where the entry's kind is: 1 primary key, 2 relationship
};

constexpr Layout jet3{0x1b, 0x1f, 0x2b, 0x19, 8, 18, 1, 5, 1, 39, 0, 34, 38, 20, 4, 19};
constexpr Layout jet4{0x2f, 0x33, 0x3f, 0x2d, 12, 25, 5, 9, 2, 52, 4, 38, 46, 28, 8, 23};

constexpr int keySlots = 10;
constexpr unsigned noColumn = 0xFFFF;
constexpr unsigned char uniqueFlag = 0x01, ignoreNullsFlag = 0x02, requiredFlag = 0x08;
constexpr std::size_t pageHeader = 8;  // kind, a byte, free space, the next page

[[noreturn]] void damaged(const std::string& what) {
  throw store::Error(store::Fault::Damaged, "the definition of its indexes " + what);
}

// The definition's bytes over all its pages: the first page whole, then each continuation page
// without its header, so that offsets run as in the first page.
std::string definitionBytes(const std::string& path, const Header& header, std::uint32_t first) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) damaged(std::string("cannot be read: ") + std::strerror(errno));
  const auto pageSize = static_cast<std::size_t>(header.pageSize);
  const std::uint64_t pages = header.fileSize / pageSize;
  std::string bytes, page(pageSize, '\0');
  std::set<std::uint32_t> seen;
  for (std::uint32_t number = first; number != 0;) {
    if (number >= pages || !seen.insert(number).second) {
      ::close(fd);
      damaged("goes on to page " + std::to_string(number) + ", which it cannot");
    }
    const ssize_t got =
        ::pread(fd, page.data(), pageSize, static_cast<off_t>(number * std::uint64_t{pageSize}));
    if (got != static_cast<ssize_t>(pageSize) || page[0] != 0x02) {
      ::close(fd);
      damaged("goes on to page " + std::to_string(number) + ", which holds no table definition");
    }
    bytes += bytes.empty() ? page : page.substr(pageHeader);
    const auto* next = reinterpret_cast<const unsigned char*>(page.data() + 4);
    number = next[0] | next[1] << 8 | next[2] << 16 | static_cast<std::uint32_t>(next[3]) << 24;
  }
  ::close(fd);
  return bytes;
}

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  std::uint32_t at(std::size_t offset, std::size_t size) const {
    if (offset + size > bytes_.size()) damaged("ends before its last part");
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
      value = value << 8 | static_cast<unsigned char>(bytes_[offset + i]);
    return value;
  }

 private:
  const std::string& bytes_;
};

}  // namespace

std::vector<PageIndex> readPageIndexes(const std::string& path, const Header& header,
                                       std::uint32_t page) {
  const Layout& layout = header.format == Format::Jet4 ? jet4 : jet3;
  const std::string bytes = definitionBytes(path, header, page);
  const Reader read(bytes);
  const std::uint32_t indexes = read.at(layout.indexCount, 4);
  const std::uint32_t keyDefs = read.at(layout.keyDefCount, 4);
  const std::uint32_t columns = read.at(layout.columnCount, 2);
  if (keyDefs > indexes || indexes > bytes.size()) {
    damaged("counts " + std::to_string(indexes) + " entries over " + std::to_string(keyDefs) +
            " keys");
  }
  std::size_t at = layout.firstBlock + keyDefs * layout.countBlock;
  std::map<std::uint32_t, int> places;  // by the number that keys name
  for (std::uint32_t i = 0; i < columns; ++i, at += layout.columnBlock) {
    places[read.at(at + layout.columnNumberAt, 2)] =
        static_cast<int>(read.at(at + layout.columnPlaceAt, 2));
  }
  for (std::uint32_t i = 0; i < columns; ++i)
    at += layout.nameLength + read.at(at, layout.nameLength);
  const std::size_t keyDefsAt = at;
  at += keyDefs * layout.keyDefBlock;

  std::vector<PageIndex> list(indexes);
  for (PageIndex& index : list) {
    const std::uint32_t type = read.at(at + layout.typeAt, 1);
    const std::uint32_t keyDef = read.at(at + layout.keyDefAt, 4);
    at += layout.indexBlock;
    index.primary = type == 1;
    index.relationship = type == 2;
    if (keyDef >= keyDefs) continue;  // names no keys the table holds
    const std::size_t def = keyDefsAt + keyDef * layout.keyDefBlock;
    for (int slot = 0; slot < keySlots; ++slot) {
      const std::size_t key = def + layout.keysAt + static_cast<std::size_t>(slot) * 3;
      const std::uint32_t column = read.at(key, 2);
      if (column == noColumn) continue;
      const auto place = places.find(column);
      index.keys.push_back({place == places.end() ? -1 : place->second, read.at(key + 2, 1) == 0});
    }
    index.firstPage = read.at(def + layout.firstPageAt, 4);
    const std::uint32_t flags = read.at(def + layout.flagsAt, 1);
    index.unique = index.primary || (flags & uniqueFlag);
    index.ignoreNulls = flags & ignoreNullsFlag;
    index.required = flags & requiredFlag;
  }
  return list;
}

}  // namespace jet::detail
