#include "conversion.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "field_rules.h"
#include "source.h"
#include "store/database.h"
#include "store/error.h"
#include "store/inserter.h"

namespace jet::detail {
namespace {

constexpr std::int64_t progressStep = 500;  // records between two progress events

struct Gone {};  // the caller no longer listens

class Sender {
 public:
  explicit Sender(const std::function<bool(const Event&)>& send) : send_(send) {}
  void operator()(const Event& event) const {
    if (!send_(event)) throw Gone{};
  }

 private:
  const std::function<bool(const Event&)>& send_;
};

// Failures of the new file itself are the target's; anything else a record brought.
bool targetFault(int code) {
  switch (code & 0xFF) {
    case 3:   // SQLITE_PERM
    case 7:   // SQLITE_NOMEM
    case 8:   // SQLITE_READONLY
    case 10:  // SQLITE_IOERR
    case 13:  // SQLITE_FULL
    case 14:  // SQLITE_CANTOPEN
      return true;
    default: return false;
  }
}

store::Error storeRefusal(const store::Error& error, const std::string& where) {
  return store::Error(
      targetFault(error.code()) ? store::Fault::Unwritable : store::Fault::Unsupported,
      where + ": " + error.what());
}

// A record that breaks Required or Allow Zero Length, which Access does not test again on the
// records a field already holds when the rule is set.
bool breaksRule(const store::Error& error) {
  return error.code() == store::code::notNull || error.code() == store::code::checkFailed;
}

std::int64_t copyTable(store::Database& db, SourceTable& table, std::int64_t done,
                       std::int64_t total, const Sender& send) {
  const store::TableDef& def = table.definition();
  std::vector<store::Value> record;
  std::int64_t records = 0;
  std::string rulesLeftOut;
  for (bool strict : {true, false}) {
    db.savepoint("jet_table");
    try {
      db.createTable(withRules(def, table.fieldRules(), table.indexRules(), strict));
    } catch (const store::Error& error) {
      throw storeRefusal(error, "the table '" + def.name + "' cannot be made");
    }
    store::Inserter insert(db, def.name);
    records = 0;
    bool again = false;
    while (!again && table.next(record)) {
      try {
        insert.insert(record);
      } catch (const store::Error& error) {
        if (!strict || !breaksRule(error)) {
          throw storeRefusal(error, "record " + std::to_string(records + 1) + " of table '" +
                                        def.name + "' cannot be stored");
        }
        rulesLeftOut = "the rules Required and Allow Zero Length of its fields, which record " +
                       std::to_string(records + 1) + " breaks (" + error.what() + ")";
        again = true;
        continue;
      }
      if (++records % progressStep == 0) send({Event::Kind::Progress, done + records, total, {}});
    }
    if (!again) break;
    db.rollbackToSavepoint("jet_table");
    db.releaseSavepoint("jet_table");
    table.rewind();
  }
  db.releaseSavepoint("jet_table");
  if (records != table.catalogueRecords()) {
    throw store::Error(store::Fault::Damaged, "the table '" + def.name + "' counts " +
                                                  std::to_string(table.catalogueRecords()) +
                                                  " records, of which " + std::to_string(records) +
                                                  " can be read");
  }
  send({Event::Kind::Progress, done + records, total, {}});
  for (const std::string& why : table.leftOutIndexes()) send({Event::Kind::LeftOut, 0, 0, why});
  if (!rulesLeftOut.empty()) send({Event::Kind::LeftOut, 0, 0, rulesLeftOut});
  send({Event::Kind::Table, records, static_cast<std::int64_t>(def.indexes.size()), def.name});
  return records;
}

void convert(const std::string& jetPath, const Header& header, const std::string& target,
             const Sender& send) {
  ::unsetenv("MDB_ICONV");  // libmdb then gives text as UTF-8
  Source source(jetPath, header);
  std::vector<std::unique_ptr<SourceTable>> tables;
  for (const Source::Entry& entry : source.tables()) {
    if (!entry.engine) tables.push_back(source.open(entry));
  }
  std::int64_t total = 0;
  for (const auto& table : tables) total += table->catalogueRecords();
  send({Event::Kind::Total, total, 0, {}});
  for (const std::string& name : source.linkedTables()) send({Event::Kind::Linked, 0, 0, name});

  store::Database db;
  try {
    db = store::Database::create(target);
    db.begin();
  } catch (const store::Error& error) {
    throw storeRefusal(error, "the new file cannot be made");
  }
  std::int64_t done = 0;
  for (const auto& table : tables) done += copyTable(db, *table, done, total, send);
  try {
    db.commit();
    db.close();
  } catch (const store::Error& error) {
    throw storeRefusal(error, "the new file cannot be completed");
  }
  send({Event::Kind::Done, done, 0, {}});
}

}  // namespace

void convertFile(const std::string& jetPath, const Header& header, const std::string& target,
                 const std::function<bool(const Event&)>& send) {
  const Sender sender(send);
  auto refuse = [&](store::Fault reason, const std::string& message) {
    send({Event::Kind::Refused, 0, static_cast<std::int64_t>(reason), message});
  };
  try {
    convert(jetPath, header, target, sender);
  } catch (const Gone&) {
    // The caller stopped listening (it stops the conversion): there is no one left to tell.
  } catch (const store::Error& error) {
    if (error.refusesJet()) {
      refuse(error.fault(), error.what());
    } else {
      refuse(targetFault(error.code()) ? store::Fault::Unwritable : store::Fault::Damaged,
             error.what());
    }
  } catch (const std::bad_alloc&) {
    refuse(store::Fault::Damaged, "reading it takes more memory than there is");
  } catch (const std::exception& error) {
    refuse(store::Fault::Damaged, error.what());
  }
}

}  // namespace jet::detail
