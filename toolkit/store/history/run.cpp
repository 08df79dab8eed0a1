#include "log.h"
#include "recorder.h"
#include "store/engine/access.h"
#include "store/engine/connection.h"
#include "store/history.h"

namespace store {

Run::Run(Database db, std::string function, std::string detail)
    : db_(std::move(db)), function_(std::move(function)), detail_(std::move(detail)) {
  detail::Connection& c = detail::Access::connection(db_);
  if (c.recorder) throw Error(code::misuse, "A run is already recording on this connection.");
  if (db_.readOnly())
    throw Error(code::readOnly, "The database may only be read, so nothing was changed.");
  db_.begin();
  open_ = true;
  recorder_ = std::make_unique<history::Recorder>(c.db());
  c.recorder = recorder_.get();
}

Run::~Run() {
  try {
    rollback();
  } catch (const Error&) {
    // closing the connection drops the transaction as well
  }
}

void Run::end() {
  if (recorder_) {
    if (db_.isOpen()) detail::Access::connection(db_).recorder = nullptr;
    recorder_->detach();
  }
}

void Run::rollback() {
  end();
  recorder_.reset();
  if (!open_) return;
  open_ = false;
  if (db_.isOpen()) db_.rollback();
}

void Run::commit() {
  if (!open_) throw Error(code::misuse, "The run has ended.");
  end();
  try {
    detail::Connection& c = detail::Access::connection(db_);
    if (!recorder_->failure().empty()) {
      throw Error(code::generic, "The change could not be recorded in the history (" +
                                     recorder_->failure() + ").");
    }
    if (!recorder_->empty()) history::writeRun(c, function_, detail_, *recorder_);
    db_.commit();
    open_ = false;
    recorder_.reset();
  } catch (...) {
    rollback();
    throw;
  }
}

}  // namespace store
