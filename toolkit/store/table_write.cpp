// The cursor's writes: edit, add new, setting fields, update and delete.
#include <algorithm>

#include "coerce.h"
#include "engine/connection.h"
#include "engine/record_write.h"
#include "history/recorder.h"
#include "table.h"

namespace store {

using detail::quote;
using detail::StatementUse;

void Table::edit() {
  resolve();
  refreshIfStale();
  requireCurrent();
  buffer_ = batch_[pos_].values;
  dirty_.assign(buffer_.size(), false);
  mode_ = Mode::Edit;
}

void Table::addNew() {
  connection();
  buffer_.assign(info_->def.fields.size(), Value());
  dirty_.assign(buffer_.size(), false);
  mode_ = Mode::AddNew;
}

void Table::setField(std::size_t position, const Value& value) {
  const FieldDef& def = fieldDef(position);
  if (mode_ == Mode::None) {
    throw Error(code::misuse, "Set a field of '" + info_->def.name + "' after edit or add new.");
  }
  buffer_[position] = coerce(def, value);
  dirty_[position] = true;
}

void Table::setField(std::string_view name, const Value& value) {
  setField(fieldPosition(name), value);
}

void Table::cancelUpdate() { mode_ = Mode::None; }

// The statement that writes the changed fields of the edited or the new record.
std::string Table::updateSql(Mode mode, const std::vector<std::size_t>& changed) const {
  std::string sql;
  if (mode == Mode::Edit) {
    sql = "UPDATE " + info_->quotedName + " SET ";
    for (std::size_t k = 0; k < changed.size(); ++k) {
      if (k > 0) sql += ", ";
      sql += quote(info_->def.fields[changed[k]].name) + " = ?" + std::to_string(k + 1);
    }
    return sql + " WHERE " + info_->rowidName + " = ?" + std::to_string(changed.size() + 1);
  }
  if (changed.empty()) return "INSERT INTO " + info_->quotedName + " DEFAULT VALUES";
  std::string names, params;
  for (std::size_t k = 0; k < changed.size(); ++k) {
    if (k > 0) {
      names += ", ";
      params += ", ";
    }
    names += quote(info_->def.fields[changed[k]].name);
    params += "?" + std::to_string(k + 1);
  }
  return sql + "INSERT INTO " + info_->quotedName + " (" + names + ") VALUES (" + params + ")";
}

void Table::update() {
  detail::Connection& c = connection();
  if (mode_ == Mode::None) {
    throw Error(code::misuse, "Update of '" + info_->def.name + "' without edit or add new.");
  }
  const Mode mode = mode_;
  mode_ = Mode::None;
  refreshIfStale();
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < dirty_.size(); ++i) {
    if (dirty_[i]) changed.push_back(i);
  }
  if (mode == Mode::Edit) {
    requireCurrent();
    if (changed.empty()) return;
  }
  if (updateSql_.sql.empty() || updateMode_ != mode || updateDirty_ != dirty_) {
    updateSql_.sql = updateSql(mode, changed);
    updateMode_ = mode;
    updateDirty_ = dirty_;
  }
  const std::string& sql = updateSql_.sql;
  {
    StatementUse use(c.statement(sql));
    for (std::size_t k = 0; k < changed.size(); ++k) {
      detail::bindStored(use.get(), static_cast<int>(k + 1), buffer_[changed[k]]);
    }
    if (mode == Mode::Edit) {
      sqlite3_bind_int64(use.get(), static_cast<int>(changed.size() + 1), batch_[pos_].rowid);
    }
    // A recording run is told what is written: the whole new record, or the changed fields.
    std::vector<Value> written;
    if (c.recorder && mode == Mode::Edit) {
      for (std::size_t i : changed) written.push_back(buffer_[i]);
    }
    detail::writeRecord(
        c, use.get(),
        {&info_->def.name, mode == Mode::AddNew, mode == Mode::AddNew ? nullptr : &changed,
         mode == Mode::AddNew ? &buffer_ : &written, &info_->keyFields},
        tableCounter_);
  }
  if (mode == Mode::Edit) {
    bool keyChanged = false;
    for (std::size_t i : changed) {
      batch_[pos_].values[i] = buffer_[i];
      if (index_ &&
          std::find(index_->columns.begin(), index_->columns.end(), i) != index_->columns.end()) {
        keyChanged = true;
      }
    }
    if (keyChanged) keepOnlyCurrent();  // the record moved in the index order
  } else if (state_ == State::OnRecord || state_ == State::Deleted) {
    keepOnlyCurrent();  // the new record may fall anywhere in the order
  } else if (state_ != State::Unresolved) {
    count_ = 0;
  }
  markFresh();
}

void Table::remove() {
  detail::Connection& c = connection();
  resolve();
  mode_ = Mode::None;
  refreshIfStale();
  requireCurrent();
  {
    StatementUse use(
        c.statement("DELETE FROM " + info_->quotedName + " WHERE " + info_->rowidName + " = ?1"));
    sqlite3_bind_int64(use.get(), 1, batch_[pos_].rowid);
    const int rc = sqlite3_step(use.get());
    if (rc != SQLITE_DONE) c.fail(rc);
  }
  ++*tableCounter_;
  state_ = State::Deleted;
  markFresh();
}

}  // namespace store
