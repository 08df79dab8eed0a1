// Set-based writes that give the same writes and refusals as walking every record with a cursor
// and setting or deleting the matching ones. Each returns the number of records touched, and a
// run in progress records what they write as it records a cursor's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "database.h"
#include "value.h"

namespace store {

namespace detail {
struct KeyUpdatePlan;
}

// Sets `field` to `value` where the field's value, read as text and upper-cased, equals
// `upperText` exactly.
std::int64_t updateWhereUpperText(const Database& db, const std::string& table,
                                  const std::string& field, const Value& value,
                                  const std::string& upperText);

// Deletes the records whose `field`, read as text, equals `text` exactly.
std::int64_t deleteWhereText(const Database& db, const std::string& table, const std::string& field,
                             const std::string& text);

// Whether a seek on `index` with `keys` would find a record (the keys compared as the index
// compares them), without reading it.
bool hasKey(const Database& db, const std::string& table, const std::string& index,
            const std::vector<Value>& keys);

// Sets fields (by position) of the record that a seek on `index` with `keys` makes current (the
// first with those leading keys in the index order): a seek, edit and update without reading
// the record. With `addToPresent` each value is added to the field's present number (none counts
// as 0); only number fields take that. Returns 0 when no record has those keys.
using FieldValues = std::vector<std::pair<std::size_t, Value>>;
std::int64_t updateWhereKey(const Database& db, const std::string& table, const std::string& index,
                            const std::vector<Value>& keys, const FieldValues& fields,
                            bool addToPresent = false);

// The same update made once for a set of fields and run for many records; the values come in
// the order of the positions it was made with.
class KeyUpdate {
 public:
  KeyUpdate();
  ~KeyUpdate();
  KeyUpdate(KeyUpdate&&) noexcept;
  KeyUpdate& operator=(KeyUpdate&&) noexcept;
  KeyUpdate(const KeyUpdate&) = delete;
  KeyUpdate& operator=(const KeyUpdate&) = delete;

  // The values fitted to the update's fields, once, for an update run with the same values for
  // many records (see updateWhereKeyFitted).
  std::vector<Value> fit(const std::vector<Value>& values) const;

 private:
  friend struct detail::KeyUpdatePlan;
  std::unique_ptr<detail::KeyUpdatePlan> plan_;
};

KeyUpdate prepareUpdateWhereKey(const Database& db, const std::string& table,
                                const std::string& index, std::size_t keys,
                                const std::vector<std::size_t>& positions,
                                bool addToPresent = false);
std::int64_t updateWhereKey(const Database& db, const KeyUpdate& update,
                            const std::vector<Value>& keys, const std::vector<Value>& values);
// With values that KeyUpdate::fit gave.
std::int64_t updateWhereKeyFitted(const Database& db, const KeyUpdate& update,
                                  const std::vector<Value>& keys, const std::vector<Value>& fitted);

}  // namespace store
