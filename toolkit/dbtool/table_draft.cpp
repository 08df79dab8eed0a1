#include "table_draft.h"

#include <charconv>

#include "field_value.h"
#include "json_text.h"
#include "sql_names.h"
#include "store/history.h"

namespace dbtool {
namespace {

using store::FieldType;

constexpr std::int64_t largestSize = 2147483647;

std::string sameNameHint(const std::string& a, std::string_view b, const char* what) {
  return a == b ? ""
                : std::string(" (names that differ only in letter case are the same ") + what + ")";
}

// What sizes a type takes, for the message about one it does not.
std::string sizeRule(FieldType type) {
  switch (type) {
    case FieldType::Text:
    case FieldType::Binary: return "from 1 to " + std::to_string(largestSize);
    case FieldType::Integer: return "1, 2, 4 or 8 (bytes) for an integer field";
    case FieldType::Double: return "4 or 8 (bytes) for a double field";
    default:
      return std::to_string(store::defaultSize(type)) + " for a " + store::fieldTypeName(type) +
             " field";
  }
}

std::string knownTypes() {
  std::string known;
  for (FieldType type :
       {FieldType::Text, FieldType::Integer, FieldType::Double, FieldType::Date, FieldType::Boolean,
        FieldType::Currency, FieldType::Memo, FieldType::Binary, FieldType::Ole, FieldType::Guid}) {
    known += (known.empty() ? "\"" : ", \"") + std::string(store::fieldTypeName(type)) + "\"";
  }
  return known;
}

}  // namespace

std::string TableDraft::context() const {
  return def_.name.empty() ? "table " + std::to_string(number_) : "table " + jsonString(def_.name);
}

std::string TableDraft::fieldContext() const {
  return "field " + std::to_string(def_.fields.size() + 1) + " of " + context();
}

std::string TableDraft::indexContext() const {
  return "index " + std::to_string(indexes_.size() + 1) + " of " + context();
}

std::string TableDraft::nameOf(std::string_view name, const std::string& what,
                               TextPosition at) const {
  if (name.empty()) failAt(at, what + " is empty");
  if (name.find('\0') != std::string_view::npos) failAt(at, what + " holds a NUL character");
  return std::string(name);
}

void TableDraft::setName(std::string_view name, TextPosition at) {
  def_.name = nameOf(name, "the name of table " + std::to_string(number_), at);
  if (def_.name.size() >= 7 && sameSqlName(def_.name.substr(0, 7), "sqlite_")) {
    failAt(at, "the table name " + jsonString(def_.name) +
                   " is reserved: names beginning with \"sqlite_\" belong to the engine");
  }
  if (store::isHistoryTable(def_.name)) {
    failAt(at, "the table name " + jsonString(def_.name) + " is reserved: names beginning with \"" +
                   store::historyTablePrefix + "\" belong to the change history");
  }
  for (const std::string& earlier : earlier_) {
    if (sameSqlName(earlier, def_.name)) {
      failAt(at, "duplicate table name " + jsonString(def_.name) +
                     sameNameHint(earlier, def_.name, "table"));
    }
  }
}

void TableDraft::beginField(TextPosition at) {
  field_ = store::FieldDef{};
  fieldStart_ = at;
  sawFieldName_ = sawFieldType_ = false;
  size_.reset();
  default_.reset();
}

void TableDraft::setFieldName(std::string_view name, TextPosition at) {
  field_.name = nameOf(name, "the name of " + fieldContext(), at);
  sawFieldName_ = true;
}

void TableDraft::setFieldType(std::string_view type, TextPosition at) {
  const auto known = store::fieldTypeFromName(type);
  if (!known) {
    failAt(at, "unknown type " + jsonString(type) + " of " + fieldContext() +
                   " (known: " + knownTypes() + ")");
  }
  field_.type = *known;
  sawFieldType_ = true;
}

void TableDraft::setFieldSize(std::string_view number, TextPosition at) {
  std::int64_t size = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), size);
  if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
    failAt(at, "the size of " + fieldContext() + " must be a whole number, found " +
                   std::string(number));
  }
  size_ = size;
  sizeAt_ = at;
}

void TableDraft::setDefault(Token token, std::string_view text, TextPosition at) {
  default_ = PendingDefault{token, std::string(text), at};
}

void TableDraft::endField() {
  const std::string context = fieldContext();
  if (!sawFieldName_) failAt(fieldStart_, context + " has no \"name\"");
  if (!sawFieldType_) failAt(fieldStart_, context + " has no \"type\"");
  if (size_ && (*size_ > largestSize || !store::validSize(field_.type, static_cast<int>(*size_)))) {
    failAt(sizeAt_, "the size of " + context + " must be " + sizeRule(field_.type));
  }
  field_.size = size_ ? static_cast<int>(*size_) : store::defaultSize(field_.type);
  if (default_ && default_->token != Token::Null) {
    store::Value value;
    try {
      readFieldValue(default_->token, default_->text, field_, value);
    } catch (const store::Error& error) {
      failAt(default_->at, std::string("the default of ") + error.what());
    }
    field_.defaultValue = value;
  }
  for (const store::FieldDef& earlier : def_.fields) {
    if (sameSqlName(earlier.name, field_.name)) {
      failAt(fieldStart_, "duplicate field name " + jsonString(field_.name) + " in " +
                              this->context() + sameNameHint(earlier.name, field_.name, "field"));
    }
  }
  def_.fields.push_back(std::move(field_));
}

void TableDraft::beginIndex(TextPosition at) {
  index_ = PendingIndex{{}, at};
  sawIndexName_ = sawIndexFields_ = false;
  descendingAt_.reset();
}

void TableDraft::setIndexName(std::string_view name, TextPosition at) {
  index_.def.name = nameOf(name, "the name of " + indexContext(), at);
  sawIndexName_ = true;
}

void TableDraft::beginDescending(TextPosition at) {
  index_.def.descending.clear();
  descendingAt_ = at;
}

void TableDraft::endIndex() {
  const std::string context = indexContext();
  if (!sawIndexName_) failAt(index_.position, context + " has no \"name\"");
  if (!sawIndexFields_ || index_.def.fields.empty()) {
    failAt(index_.position, context + " names no fields");
  }
  const std::size_t keys = index_.def.fields.size();
  if (descendingAt_ && index_.def.descending.size() != keys) {
    failAt(*descendingAt_, "\"descending\" of " + context +
                               " must have one true or false for each of its " +
                               std::to_string(keys) + (keys == 1 ? " field" : " fields"));
  }
  indexes_.push_back(std::move(index_));
}

const store::TableDef& TableDraft::complete(TextPosition where) {
  if (def_.name.empty()) failAt(where, context() + " has no \"name\"");
  if (!sawFields_ || def_.fields.empty()) failAt(where, context() + " has no fields");
  if (rowidAlias(def_).empty()) {
    failAt(where, context() +
                      " has fields named rowid, _rowid_ and oid, which leave its records no stored "
                      "order");
  }
  def_.indexes.clear();
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    const PendingIndex& index = indexes_[i];
    for (std::size_t k = 0; k < i; ++k) {
      if (sameSqlName(indexes_[k].def.name, index.def.name)) {
        failAt(index.position,
               "duplicate index name " + jsonString(index.def.name) + " in " + context());
      }
    }
    for (const std::string& field : index.def.fields) {
      bool known = false;
      for (const store::FieldDef& def : def_.fields) known = known || def.name == field;
      if (!known) {
        failAt(index.position, "the index " + jsonString(index.def.name) + " of " + context() +
                                   " names the field " + jsonString(field) +
                                   ", which the table does not have");
      }
    }
    def_.indexes.push_back(index.def);
  }
  return def_;
}

}  // namespace dbtool
