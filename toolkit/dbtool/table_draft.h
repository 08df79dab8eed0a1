// The definition of one table as the document gives it, member by member: its name, fields and
// indexes, each checked where it stands (a duplicate name, an unknown type, a size the type
// cannot have, an index of a field the table lacks), until it is complete and the table is made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json_input.h"
#include "store/definition.h"

namespace dbtool {

class TableDraft {
 public:
  // `number` counts the tables of the document from 1; `earlier` names those made before.
  TableDraft(std::int64_t number, const std::vector<std::string>& earlier)
      : number_(number), earlier_(earlier) {}

  const store::TableDef& def() const { return def_; }
  std::string context() const;       // table "Rooms", or table 3 before its name is known
  std::string fieldContext() const;  // of the field being read: field 2 of table "Rooms"
  std::string indexContext() const;

  void setName(std::string_view name, TextPosition at);

  void beginFields() {
    def_.fields.clear();
    sawFields_ = true;
  }
  void beginField(TextPosition at);
  void setFieldName(std::string_view name, TextPosition at);
  void setFieldType(std::string_view type, TextPosition at);
  void setFieldSize(std::string_view number, TextPosition at);
  void setRequired(bool required) { field_.required = required; }
  void setAllowZeroLength(bool allow) { field_.allowZeroLength = allow; }
  // A scalar value, read for the field once its type is known.
  void setDefault(Token token, std::string_view text, TextPosition at);
  void endField();

  void beginIndexes() { indexes_.clear(); }
  void beginIndex(TextPosition at);
  void setIndexName(std::string_view name, TextPosition at);
  void addIndexField(std::string_view field) { index_.def.fields.emplace_back(field); }
  void indexFieldsDone() { sawIndexFields_ = true; }
  void setUnique(bool unique) { index_.def.unique = unique; }
  void setIgnoreNulls(bool ignore) { index_.def.ignoreNulls = ignore; }
  void beginDescending(TextPosition at);
  void addDescending(bool descends) { index_.def.descending.push_back(descends); }
  void endIndex();

  // The complete definition, checked as a whole; `where` is the place to name for a table
  // without name or fields.
  const store::TableDef& complete(TextPosition where);

 private:
  struct PendingIndex {
    store::IndexDef def;
    TextPosition position;
  };

  std::string nameOf(std::string_view name, const std::string& what, TextPosition at) const;

  std::int64_t number_;
  const std::vector<std::string>& earlier_;
  store::TableDef def_;
  bool sawFields_ = false;

  store::FieldDef field_;
  TextPosition fieldStart_;
  bool sawFieldName_ = false;
  bool sawFieldType_ = false;
  std::optional<std::int64_t> size_;
  TextPosition sizeAt_;
  struct PendingDefault {
    Token token;
    std::string text;
    TextPosition at;
  };
  std::optional<PendingDefault> default_;

  std::vector<PendingIndex> indexes_;
  PendingIndex index_;
  bool sawIndexName_ = false;
  bool sawIndexFields_ = false;
  std::optional<TextPosition> descendingAt_;
};

}  // namespace dbtool
