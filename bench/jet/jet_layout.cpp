// The file: its first page, the catalogue, each table's definition, usage maps, empty index leaf
// pages and record pages, numbered in that order.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "jet_format.h"
#include "jet_writer.h"

namespace jetbench {

using namespace format;

namespace {

constexpr std::size_t kDefinitionHead = 63;              // the fixed part of a table definition
constexpr std::size_t kMapRow = 69;                      // a usage map: its kind, then 68 bytes
constexpr std::uint32_t kInlineMapPages = 512;           // pages an inline (kind 0) map covers
constexpr std::uint32_t kMapPageBits = (kPage - 4) * 8;  // pages one map page (0x05) covers
constexpr std::uint32_t kMapPagesPerRow = 17;            // map pages a reference (kind 1) map names
constexpr std::uint32_t kCatalogParent = 0x0F000001;     // the catalogue's "Tables" container
constexpr double kEngineFlags = 0x80000002;              // marks an engine table in the catalogue
constexpr std::uint32_t kTag = 1625;         // a number the engine repeats in a definition
constexpr std::uint32_t kIndexTag = 1923;    // and one that starts each index's keys
constexpr double kCreated = 45000.5;         // 15 March 2023, noon
constexpr std::size_t kLeafEntries = 0x1e0;  // where a Jet 4 leaf page's entries start

std::uint32_t pageRow(std::uint32_t page, std::uint32_t row) { return page << 8 | row; }

// An inline (kind 0) map of `count` (at most kInlineMapPages) pages from `first`.
std::string inlineMap(std::uint32_t first, std::uint32_t count) {
  std::string map(kMapRow, '\0');
  if (count > kInlineMapPages) throw std::logic_error("an inline map of too many pages");
  put32(map, 1, count ? first : 0);
  for (std::uint32_t i = 0; i < count; ++i)
    map[5 + i / 8] = static_cast<char>(map[5 + i / 8] | 1 << (i % 8));
  return map;
}

std::vector<Column> catalogueColumns() {
  return {{"Id", Type::Long},
          {"ParentId", Type::Long},
          {"Name", Type::Text, 128},
          {"Type", Type::Integer},
          {"DateCreate", Type::DateTime},
          {"DateUpdate", Type::DateTime},
          {"Owner", Type::Binary, 255},
          {"Flags", Type::Long},
          {"Database", Type::Memo},
          {"Connect", Type::Memo},
          {"ForeignName", Type::Text, 128},
          {"RmtInfoShort", Type::Binary, 255},
          {"RmtInfoLong", Type::Ole},
          {"Lv", Type::Ole},
          {"LvProp", Type::Ole},
          {"LvModule", Type::Ole},
          {"LvExtra", Type::Ole}};
}

std::vector<Column> relationshipColumns() {
  return {{"ccolumn", Type::Long},
          {"grbit", Type::Long},
          {"icolumn", Type::Long},
          {"szColumn", Type::Text, 64},
          {"szObject", Type::Text, 64},
          {"szReferencedColumn", Type::Text, 64},
          {"szReferencedObject", Type::Text, 64},
          {"szRelationship", Type::Text, 64}};
}

std::string nameBytes(const std::string& name) {
  const std::string text = ucs2(name);
  std::string out;
  append16(out, text.size());
  return out + text;
}

// The first page: the signature, version 1 (Jet 4) and the engine's settings, which the engine
// keeps RC4-encrypted under a fixed key; in them no database key (so no page is encrypted),
// code page 1252 and the general sort order.
std::string headerPage() {
  std::string page(kPage, '\0');
  page[1] = 0x01;
  std::memcpy(page.data() + 4, "Standard Jet DB", 16);
  put32(page, 0x14, 1);
  std::string settings(128, '\0');
  put16(settings, 0x3c - 0x18, 1252);
  put32(settings, 0x6e - 0x18, 0x409);
  const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};  // 0x6b39dac7, little-endian
  unsigned char state[256];
  for (int i = 0; i < 256; ++i) state[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + state[i] + key[i % 4]) & 0xff;
    std::swap(state[i], state[j]);
  }
  for (std::size_t n = 0, i = 0, j = 0; n < settings.size(); ++n) {
    i = (i + 1) & 0xff;
    j = (j + state[i]) & 0xff;
    std::swap(state[i], state[j]);
    page[0x18 + n] = static_cast<char>(settings[n] ^ state[(state[i] + state[j]) & 0xff]);
  }
  return page;
}

std::string leafPage(std::uint32_t owner) {
  std::string page(kPage, '\0');
  page[0] = 0x04;
  page[1] = 0x01;
  put16(page, 2, kPage - kLeafEntries);
  put32(page, 4, owner);
  return page;
}

class PageFile {
 public:
  explicit PageFile(const std::string& path)
      : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)), path_(path) {
    if (fd_ < 0) fail();
  }
  ~PageFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;
  void put(std::uint32_t number, const std::string& page) {
    const auto at = static_cast<off_t>(number) * static_cast<off_t>(kPage);
    if (::pwrite(fd_, page.data(), kPage, at) != static_cast<ssize_t>(kPage)) fail();
  }
  void finish(std::uint32_t pages) {
    if (::ftruncate(fd_, static_cast<off_t>(pages) * static_cast<off_t>(kPage)) != 0 ||
        ::close(fd_) != 0) {
      fd_ = -1;
      fail();
    }
    fd_ = -1;
  }

 private:
  [[noreturn]] void fail() const {
    throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(errno));
  }
  int fd_;
  std::string path_;
};

}  // namespace

// The definition: its head (counts, where the usage maps are), a block per index, the columns,
// their names, each index's keys, the index list, the index names, and an empty list of the
// long-value columns' usage maps.
std::string Table::definition(const Placement& at) const {
  std::string b(kDefinitionHead, '\0');
  b[0] = 0x02;
  b[1] = 0x01;
  put32(b, 12, kTag);
  put32(b, 16, static_cast<std::uint32_t>(records_));
  b[40] = system_ ? 0x53 : 0x4e;
  put16(b, 41, columns_.size());
  put16(b, 43, static_cast<std::size_t>(varCount_));
  put16(b, 45, columns_.size());
  put32(b, 47, static_cast<std::uint32_t>(indexes_.size()));
  put32(b, 51, static_cast<std::uint32_t>(indexes_.size()));
  put32(b, 55, pageRow(at.maps, 0));
  put32(b, 59, pageRow(at.maps, 1));
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    append32(b, 0);
    append32(b, static_cast<std::uint32_t>(records_));
    append32(b, 0);
  }
  int varsBefore = 0;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const Column& column = columns_[i];
    std::string entry(25, '\0');
    entry[0] = static_cast<char>(column.type);
    put32(entry, 1, kTag);
    put16(entry, 5, i);
    put16(entry, 7, static_cast<std::size_t>(varNumber_[i] >= 0 ? varNumber_[i] : varsBefore));
    put16(entry, 9, i);
    const bool text = column.type == Type::Text || column.type == Type::Memo;
    if (text) put16(entry, 11, 0x409);  // the general sort order
    entry[15] = isFixed(column.type) ? 0x03 : 0x02;
    put16(entry, 21, static_cast<std::size_t>(std::max(fixedOffset_[i], 0)));
    put16(entry, 23, static_cast<std::size_t>(columnLength(column)));
    if (varNumber_[i] >= 0) ++varsBefore;
    b += entry;
  }
  for (const Column& column : columns_) b += nameBytes(column.name);
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    const Index& index = indexes_[i];
    std::string keys(52, '\0');
    put32(keys, 0, kIndexTag);
    for (std::size_t slot = 0; slot < 10; ++slot) {
      std::size_t column = 0xFFFF;
      if (slot < index.columns.size()) {
        for (std::size_t c = 0; c < columns_.size(); ++c)
          if (columns_[c].name == index.columns[slot]) column = c;
      }
      put16(keys, 4 + slot * 3, column);
      keys[4 + slot * 3 + 2] = column == 0xFFFF ? 0 : 0x01;  // ascending
    }
    put32(keys, 34, pageRow(at.maps, static_cast<std::uint32_t>(2 + i)));
    put32(keys, 38, i < at.leaves.size() ? at.leaves[i] : 0);
    keys[42] = static_cast<char>(0x80 | (index.primary ? 0x09 : index.unique ? 0x01 : 0));
    b += keys;
  }
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    std::string entry(28, '\0');
    put32(entry, 0, kTag);
    put32(entry, 4, static_cast<std::uint32_t>(i));
    put32(entry, 8, static_cast<std::uint32_t>(i));
    put32(entry, 13, 0xFFFFFFFFu);  // no related index
    entry[23] = indexes_[i].primary ? 0x01 : 0x00;
    b += entry;
  }
  for (const Index& index : indexes_) b += nameBytes(index.name);
  append16(b, 0xFFFF);
  put32(b, 8, static_cast<std::uint32_t>(b.size()));
  put16(b, 2, b.size() <= kPage - 8 ? kPage - 8 - b.size() : 0);
  return b;
}

Writer::Writer() = default;
Writer::~Writer() = default;

Table& Writer::addTable(const std::string& name, std::vector<Column> columns,
                        std::vector<Index> indexes) {
  for (const auto& table : tables_)
    if (table->name_ == name) throw std::invalid_argument("a second table '" + name + "'");
  tables_.push_back(
      std::unique_ptr<Table>(new Table(name, std::move(columns), std::move(indexes), false)));
  return *tables_.back();
}

std::vector<std::pair<std::string, std::int64_t>> Writer::tableRecords() const {
  std::vector<std::pair<std::string, std::int64_t>> list;
  for (const auto& table : tables_) list.emplace_back(table->name_, table->records_);
  return list;
}

void Writer::write(const std::string& path) {
  Table catalogue("MSysObjects", catalogueColumns(),
                  {{"Id", {"Id"}, false, true}, {"ParentIdName", {"ParentId", "Name"}}}, true);
  Table relationships("MSysRelationships", relationshipColumns(), {}, true);
  std::vector<Table*> all{&catalogue, &relationships};
  for (const auto& table : tables_) all.push_back(table.get());

  // The catalogue's definition is on page 2; its records, which name every definition's page,
  // come after all other tables'.
  std::uint32_t next = 2;
  std::vector<Table::Placement> places(all.size());
  for (std::size_t t = 0; t < all.size(); ++t) {
    Table::Placement& place = places[t];
    const std::size_t size = all[t]->definition(place).size();
    const std::size_t more = size > kPage ? (size - kPage + kPage - 9) / (kPage - 8) : 0;
    for (std::size_t k = 0; k <= more; ++k) place.definition.push_back(next++);
    place.maps = next++;
    for (std::size_t i = 0; i < all[t]->indexes_.size(); ++i) place.leaves.push_back(next++);
    if (t == 0) continue;
    place.firstRecords = next;
    next += static_cast<std::uint32_t>(all[t]->pages_.size());
  }
  for (std::size_t t = 0; t < all.size(); ++t) {
    catalogue.addRecord({static_cast<double>(places[t].definition[0]),
                         static_cast<double>(kCatalogParent),
                         all[t]->name_,
                         1,
                         kCreated,
                         kCreated,
                         {},
                         all[t]->system_ ? kEngineFlags : 0.0,
                         {},
                         {},
                         {},
                         {},
                         {},
                         {},
                         {},
                         {},
                         {}});
  }
  places[0].firstRecords = next;
  next += static_cast<std::uint32_t>(catalogue.pages_.size());

  PageFile file(path);
  file.put(0, headerPage());
  file.put(1, recordPage(0));
  for (std::size_t t = 0; t < all.size(); ++t) {
    Table& table = *all[t];
    const Table::Placement& place = places[t];
    const std::string def = table.definition(place);
    for (std::size_t k = 0, from = 0; k < place.definition.size(); ++k) {
      std::string page(kPage, '\0');
      const std::size_t head = k == 0 ? 0 : 8;
      const std::size_t take = std::min(def.size() - from, kPage - head);
      std::memcpy(page.data() + head, def.data() + from, take);
      from += take;
      page[0] = 0x02;
      page[1] = 0x01;
      put32(page, 4, k + 1 < place.definition.size() ? place.definition[k + 1] : 0);
      file.put(place.definition[k], page);
    }
    // Its records' usage map: inline when the pages fit, else a reference to map pages.
    const auto count = static_cast<std::uint32_t>(table.pages_.size());
    std::string usage;
    if (count <= kInlineMapPages) {
      usage = inlineMap(place.firstRecords, count);
    } else {
      usage.assign(kMapRow, '\0');
      usage[0] = 0x01;
      const std::uint32_t first = place.firstRecords, last = first + count - 1;
      for (std::uint32_t m = first / kMapPageBits; m <= last / kMapPageBits; ++m) {
        if (m >= kMapPagesPerRow) throw std::runtime_error("the file is too large for its maps");
        std::string bits(kPage, '\0');
        bits[0] = 0x05;
        bits[1] = 0x01;
        for (std::uint32_t p = std::max(first, m * kMapPageBits);
             p <= std::min(last, (m + 1) * kMapPageBits - 1); ++p) {
          const std::uint32_t i = p - m * kMapPageBits;
          bits[4 + i / 8] = static_cast<char>(bits[4 + i / 8] | 1 << (i % 8));
        }
        put32(usage, 1 + 4 * m, next);
        file.put(next++, bits);
      }
    }
    std::string maps = recordPage(0);
    addToPage(maps, usage);
    addToPage(maps, inlineMap(0, 0));  // no page has free space to offer
    for (std::uint32_t leaf : place.leaves) addToPage(maps, inlineMap(leaf, 1));
    file.put(place.maps, maps);
    for (std::uint32_t leaf : place.leaves) file.put(leaf, leafPage(place.definition[0]));
    for (std::uint32_t k = 0; k < count; ++k) {
      put32(table.pages_[k], 4, place.definition[0]);
      file.put(place.firstRecords + k, table.pages_[k]);
    }
  }
  file.finish(next);
}

}  // namespace jetbench
