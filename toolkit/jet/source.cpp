#include "source.h"

#include <cmath>
#include <cstring>

#include "long_value.h"
#include "store/error.h"
#include "store/text_case.h"
#include "table_pages.h"
#include "values.h"

namespace jet::detail {
namespace {

constexpr int rowOffsetMask = 0x1FFF;  // a row's offset on its page, without the flag bits

[[noreturn]] void damaged(const std::string& what) {
  throw store::Error(store::Fault::Damaged, what);
}

bool isEngineTable(const MdbCatalogEntry* entry) {
  return mdb_is_system_table(const_cast<MdbCatalogEntry*>(entry)) ||
         store::toUpper(entry->object_name).rfind("MSYS", 0) == 0;
}

template <typename T>
T* item(GPtrArray* array, unsigned index) {
  return static_cast<T*>(g_ptr_array_index(array, index));
}

}  // namespace

SourceTable::SourceTable(MdbHandle* mdb, MdbCatalogEntry* entry, const std::string& path,
                         const Header& header)
    : mdb_(mdb), jet4_(header.format == Format::Jet4) {
  def_.name = entry->object_name;
  // Columns and indexes are read right after the definition page: libmdb reads the index
  // entries from the page where the columns end.
  table_ = mdb_read_table(entry);
  if (!table_) damaged("the definition of table '" + def_.name + "' cannot be read");
  if (!mdb_read_columns(table_) || table_->num_cols != table_->columns->len) {
    damaged("the fields of table '" + def_.name + "' cannot be read");
  }
  mdb_read_indices(table_);
  readFields();
  readIndexes(path, header);
  checkPages(header.fileSize / static_cast<std::uint64_t>(header.pageSize));
  cracked_.resize(table_->num_cols);
}

// A file cut at a page boundary loses pages without a trace in its size: the table's record
// pages (its usage map) and the first page of each index must still be there.
void SourceTable::checkPages(std::uint64_t pages) const {
  auto pastEnd = [&](std::uint64_t page, const std::string& what) {
    if (page < pages) return;
    throw store::Error(store::Fault::CutShort,
                       what + " of table '" + def_.name + "' lies on page " + std::to_string(page) +
                           ", past its last page " + std::to_string(pages - 1));
  };
  for (guint32 page = 0;;) {
    const gint32 next =
        mdb_map_find_next(mdb_, table_->usage_map, static_cast<unsigned>(table_->map_sz), page);
    if (next <= 0) break;
    page = static_cast<guint32>(next);
    pastEnd(page, "a record page");
  }
  for (std::size_t i = 0; i < indexPages_.size(); ++i)
    pastEnd(indexPages_[i], "the index '" + def_.indexes[i].name + "'");
}

SourceTable::~SourceTable() {
  if (table_) mdb_free_tabledef(table_);
}

void SourceTable::readFields() {
  for (unsigned i = 0; i < table_->num_cols; ++i) {
    const MdbColumn* column = item<MdbColumn>(table_->columns, i);
    // libmdb names a decimal's scale col_prec and its precision col_scale.
    const Column shape{column->name, column->col_type, column->col_size, column->col_scale,
                       column->col_prec};
    plans_.push_back(planField(def_.name, shape, jet4_));
    def_.fields.push_back(plans_.back().field);
    auto property = [&](const char* key) {
      const char* value = mdb_col_get_prop(column, key);
      return value ? std::string(value) : std::string();
    };
    fieldRules_.push_back({property("Required") == "yes", property("AllowZeroLength") != "no",
                           property("DefaultValue")});
  }
}

// The keys and flags come from the definition pages, which hold them also where libmdb loses
// them; libmdb's reading serves where the pages cannot be read.
void SourceTable::readIndexes(const std::string& path, const Header& header) {
  if (!table_->indices) damaged("the indexes of table '" + def_.name + "' cannot be read");
  std::vector<PageIndex> pages;
  try {
    pages = readPageIndexes(path, header, static_cast<std::uint32_t>(table_->entry->table_pg));
  } catch (const store::Error& error) {
    // Pages that do not hold what the definition counts leave the keys to libmdb's reading.
    if (!error.refusesJet()) throw;
    return readLibraryIndexes(error.what());
  }
  if (pages.size() != table_->indices->len) {
    return readLibraryIndexes("the definition lists " + std::to_string(pages.size()) +
                              " indexes, libmdb " + std::to_string(table_->indices->len));
  }
  for (unsigned i = 0; i < table_->indices->len; ++i) {
    const PageIndex& page = pages[i];
    if (page.relationship) continue;  // a relationship's entry, not an index of its own
    store::IndexDef def{item<MdbIndex>(table_->indices, i)->name, {}, page.unique};
    std::string problem = page.keys.empty() ? "its definition names no key fields" : "";
    for (const PageKey& key : page.keys) {
      const MdbColumn* column = nullptr;
      for (unsigned c = 0; c < table_->num_cols && !column; ++c) {
        const MdbColumn* candidate = item<MdbColumn>(table_->columns, c);
        if (candidate->row_col_num == key.column) column = candidate;
      }
      if (!column) {
        problem = "a key field it names is not in the table";
        break;
      }
      def.fields.emplace_back(column->name);
      def.descending.push_back(key.descending);
    }
    if (!problem.empty()) {
      leftOut_.push_back("the index '" + def.name + "': " + problem);
      continue;
    }
    def_.indexes.push_back(std::move(def));
    indexPages_.push_back(page.firstPage);
    indexRules_.push_back({page.ignoreNulls, page.required || page.primary});
  }
}

void SourceTable::readLibraryIndexes(const std::string& whyNotPages) {
  for (unsigned i = 0; i < table_->indices->len; ++i) {
    const MdbIndex* index = item<MdbIndex>(table_->indices, i);
    if (index->index_type == 2) continue;  // a relationship's entry, not an index of its own
    store::IndexDef def{index->name, {}, index->index_type == 1 || (index->flags & MDB_IDX_UNIQUE)};
    std::string problem;
    if (index->num_keys < 1 || index->num_keys > MDB_MAX_IDX_COLS) problem = "no key fields";
    for (unsigned key = 0; key < index->num_keys && problem.empty(); ++key) {
      const int column = index->key_col_num[key];  // counted from 1
      if (column < 1 || column > static_cast<int>(def_.fields.size())) {
        problem = "a key field that the table lacks";
        break;
      }
      def.fields.push_back(def_.fields[static_cast<std::size_t>(column - 1)].name);
      def.descending.push_back(index->key_col_order[key] == MDB_DESC);
    }
    if (!problem.empty()) {
      leftOut_.push_back("the index '" + def.name + "': " + whyNotPages + ", and libmdb reads " +
                         problem);
      continue;
    }
    def_.indexes.push_back(std::move(def));
    indexPages_.push_back(index->first_pg);
    indexRules_.push_back({(index->flags & MDB_IDX_IGNORENULLS) != 0,
                           index->index_type == 1 || (index->flags & MDB_IDX_REQUIRED) != 0});
  }
}

std::int64_t SourceTable::catalogueRecords() const { return table_->num_rows; }

void SourceTable::rewind() { mdb_rewind_table(table_); }

bool SourceTable::next(std::vector<store::Value>& record) {
  if (!mdb_fetch_row(table_)) return false;
  // libmdb has cracked the row into the page buffer's positions and keeps only what was bound;
  // cracking it again gives each field's bytes and its null flag.
  int start = 0;
  size_t size = 0;
  const int row = static_cast<int>(table_->cur_row) - 1;
  if (mdb_find_row(mdb_, row, &start, &size) != 0 ||
      mdb_crack_row(table_, start & rowOffsetMask, size, cracked_.data()) < 0) {
    damaged("a record of table '" + def_.name + "' cannot be read");
  }
  record.resize(cracked_.size());
  for (std::size_t i = 0; i < cracked_.size(); ++i) record[i] = valueOf(i, cracked_[i]);
  return true;
}

std::string SourceTable::text(const unsigned char* bytes, std::size_t size) const {
  if (jet4_) return jet4Text(bytes, size);
  // Jet 3 text is in the code page libmdb assumes (CP1252 unless MDB_JET3_CHARSET names
  // another); each byte becomes at most three bytes of UTF-8.
  std::string out(size * 3 + 1, '\0');
  const int length =
      mdb_unicode2ascii(mdb_, reinterpret_cast<const char*>(bytes), size, out.data(), out.size());
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return out;
}

store::Value SourceTable::valueOf(std::size_t column, const MdbField& field) {
  const FieldPlan& plan = plans_[column];
  if (plan.jetType == MDB_BOOL)
    return store::Value::boolean(!field.is_null);  // kept in the null mask
  if (field.is_null) return {};
  // Named only in a message: made for every value, the name would cost more than the value.
  auto where = [&] { return "field '" + plan.field.name + "' of table '" + def_.name + "'"; };
  if (field.start < 0 || field.siz < 0 || field.start + field.siz > mdb_->fmt->pg_size) {
    damaged("a value of the " + where() + " lies outside its page");
  }
  const unsigned char* bytes = mdb_->pg_buf + field.start;
  const auto size = static_cast<std::size_t>(field.siz);
  auto need = [&](std::size_t bytesNeeded) {
    if (size != bytesNeeded)
      damaged("a value of the " + where() + " has " + std::to_string(size) + " bytes");
  };
  auto number = [&](double value) {
    if (!std::isfinite(value)) {
      throw store::Error(store::Fault::Unsupported,
                         "the " + where() + " holds a number that is not finite");
    }
    return store::Value(value);
  };
  switch (plan.jetType) {
    case MDB_BYTE: need(1); return store::Value(std::int64_t{bytes[0]});
    case MDB_INT: need(2); return store::Value(signedLittleEndian(bytes, 2));
    case MDB_LONGINT: need(4); return store::Value(signedLittleEndian(bytes, 4));
    case MDB_MONEY: need(8); return currencyAt(bytes);
    case MDB_FLOAT: need(4); return number(singleAt(bytes));
    case MDB_DOUBLE: need(8); return number(doubleAt(bytes));
    case MDB_DATETIME: {
      need(8);
      if (auto date = dateAt(bytes)) return *date;
      throw store::Error(store::Fault::Unsupported,
                         "the " + where() + " holds a date outside the years 100 to 9999");
    }
    case MDB_REPID: need(16); return store::Value(guidAt(bytes));
    case MDB_NUMERIC: {
      need(17);
      const std::string decimal = decimalAt(bytes, plan.scale);
      if (plan.field.type == store::FieldType::Text) return store::Value(decimal);
      if (const auto amount = store::parseCurrency(decimal)) return store::Value::currency(*amount);
      damaged("a decimal of the " + where() + " has more digits than its precision");
    }
    case MDB_TEXT: return store::Value(text(bytes, size));
    case MDB_BINARY:
      return store::Value::binary(std::string(reinterpret_cast<const char*>(bytes), size));
    case MDB_MEMO: {
      if (size == 0) return store::Value("");
      const std::string stored = longValue(mdb_, bytes, size);
      return store::Value(
          text(reinterpret_cast<const unsigned char*>(stored.data()), stored.size()));
    }
    case MDB_OLE:
      return store::Value::binary(size == 0 ? std::string() : longValue(mdb_, bytes, size));
    default: break;
  }
  damaged("the " + where() + " has a type the reader does not know");
}

Source::Source(const std::string& path, const Header& header)
    : path_(path),
      header_(header),
      pages_(header.fileSize / static_cast<std::uint64_t>(header.pageSize)) {
  mdb_ = mdb_open(path.c_str(), MDB_NOFLAGS);
  if (!mdb_) damaged("the reading library cannot open it");
  const bool jet4 = header.format == Format::Jet4;
  if ((jet4 ? MDB_VER_JET4 : MDB_VER_JET3) != mdb_->f->jet_version) {
    damaged("the reading library sees another Jet version in it");
  }
  if (!mdb_read_catalog(mdb_, MDB_ANY) || mdb_->num_catalog == 0) {
    damaged("its catalogue cannot be read");
  }
  // The catalogue is read like any table, and a page it cannot read ends it early.
  MdbCatalogEntry* catalogue = mdb_get_catalogentry_by_name(mdb_, "MSysObjects");
  MdbTableDef* table = catalogue ? mdb_read_table(catalogue) : nullptr;
  if (!table) damaged("its catalogue lacks its own definition");
  const std::int64_t listed = table->num_rows;
  mdb_free_tabledef(table);
  if (listed != static_cast<std::int64_t>(mdb_->num_catalog)) {
    damaged("its catalogue lists " + std::to_string(listed) + " objects, of which " +
            std::to_string(mdb_->num_catalog) + " can be read");
  }
}

Source::~Source() {
  if (mdb_) mdb_close(mdb_);
}

std::vector<Source::Entry> Source::tables() const {
  std::vector<Entry> entries;
  for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
    MdbCatalogEntry* entry = item<MdbCatalogEntry>(mdb_->catalog, i);
    if (entry->object_type == MDB_TABLE)
      entries.push_back({entry->object_name, isEngineTable(entry), entry});
  }
  return entries;
}

std::unique_ptr<SourceTable> Source::open(const Entry& entry) {
  if (entry.catalogue->table_pg >= pages_) {
    throw store::Error(store::Fault::CutShort,
                       "the definition of table '" + entry.name + "' lies on page " +
                           std::to_string(entry.catalogue->table_pg) + ", past its last page " +
                           std::to_string(pages_ - 1));
  }
  return std::make_unique<SourceTable>(mdb_, entry.catalogue, path_, header_);
}

std::vector<std::string> Source::linkedTables() const {
  std::vector<std::string> names;
  for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
    const MdbCatalogEntry* entry = item<MdbCatalogEntry>(mdb_->catalog, i);
    if (entry->object_type == MDB_LINKED_TABLE) names.emplace_back(entry->object_name);
  }
  return names;
}

}  // namespace jet::detail
