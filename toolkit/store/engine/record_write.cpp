#include "record_write.h"

namespace store::detail {

void writeRecord(Connection& c, sqlite3_stmt* stmt, const history::WriteHint& hint,
                 std::uint64_t* counter) {
  const history::HintScope scope(c.recorder, hint);
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    sqlite3_reset(stmt);
    c.fail(rc);
  }
  ++*counter;
}

}  // namespace store::detail
