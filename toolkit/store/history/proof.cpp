// Whether a run's recorded changes can be trusted, without undoing anything.
#include "log.h"
#include "store/engine/access.h"
#include "store/engine/connection.h"
#include "store/history.h"

namespace store {

std::string runDamage(const Database& db, std::int64_t run) {
  detail::Connection& c = detail::Access::connection(db);
  try {
    for (const history::TablePart& part : history::readChanges(c, run)) {
      std::vector<history::Added> added;
      std::vector<history::Change> others;
      history::readPart(part.bytes, added, others, part.counts.added);
      history::checkCounts(part, added, others);
    }
  } catch (const Error& error) {
    if ((error.code() & 0xFF) != code::corrupt) throw;
    return error.what();
  }
  return {};
}

}  // namespace store
