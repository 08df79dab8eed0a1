// A Jet database opened read-only through libmdb: its tables in catalogue order, each with its
// fields, indexes and records. The only place that walks libmdb's own structures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "field_rules.h"
#include "field_types.h"
#include "jet_file.h"
#include "mdb.h"
#include "store/definition.h"
#include "store/value.h"

namespace jet::detail {

class SourceTable {
 public:
  // The table's definition page is read again from `path` for its indexes.
  SourceTable(MdbHandle* mdb, MdbCatalogEntry* entry, const std::string& path,
              const Header& header);
  ~SourceTable();
  SourceTable(const SourceTable&) = delete;
  SourceTable& operator=(const SourceTable&) = delete;

  // Fields in Jet's order and the indexes by their Jet names; relationship entries, which name
  // no key fields of their own, are left out.
  const store::TableDef& definition() const { return def_; }
  // Indexes whose keys cannot be read, left out of definition(): "the index 'id2': why".
  const std::vector<std::string>& leftOutIndexes() const { return leftOut_; }
  // By field of definition(), and by index of definition().
  const std::vector<FieldRules>& fieldRules() const { return fieldRules_; }
  const std::vector<IndexRules>& indexRules() const { return indexRules_; }
  // The number of records that the table's definition page counts.
  std::int64_t catalogueRecords() const;
  // The next record in stored order, one value per field; false after the last.
  bool next(std::vector<store::Value>& record);
  // Goes back to before the first record.
  void rewind();

 private:
  void readFields();
  void readIndexes(const std::string& path, const Header& header);
  void readLibraryIndexes(const std::string& whyNotPages);
  void checkPages(std::uint64_t pages) const;
  store::Value valueOf(std::size_t column, const MdbField& field);
  std::string text(const unsigned char* bytes, std::size_t size) const;

  MdbHandle* mdb_;
  MdbTableDef* table_ = nullptr;
  bool jet4_;
  store::TableDef def_;
  std::vector<FieldPlan> plans_;
  std::vector<MdbField> cracked_;
  std::vector<std::string> leftOut_;
  std::vector<std::uint32_t> indexPages_;  // the first page of each index of def_
  std::vector<FieldRules> fieldRules_;
  std::vector<IndexRules> indexRules_;
};

class Source {
 public:
  // Throws Error (Damaged) when libmdb cannot open the file or read its catalogue.
  Source(const std::string& path, const Header& header);
  ~Source();
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

  // A table of the catalogue. The engine's own are flagged as system objects or named "MSys...";
  // hidden and temporary ("~TMP...") tables are not the engine's.
  struct Entry {
    std::string name;
    bool engine = false;
    MdbCatalogEntry* catalogue = nullptr;
  };
  // Every local table in catalogue order, the engine's included.
  std::vector<Entry> tables() const;
  // Reads the table's definition; throws Error (CutShort) when it lies past the file's end.
  std::unique_ptr<SourceTable> open(const Entry& entry);
  // Tables whose records live in another file; they are not brought across.
  std::vector<std::string> linkedTables() const;

 private:
  MdbHandle* mdb_ = nullptr;
  std::string path_;
  Header header_;
  std::uint64_t pages_;
};

}  // namespace jet::detail
