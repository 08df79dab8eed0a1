#include "copy_inventory_work.h"

#include <algorithm>
#include <utility>

#include "kit/numbers.h"
#include "store/error.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/writes.h"

namespace roomkit::copy_inventory {

namespace sch = store::schema;

namespace {

using ItemPositions = std::array<std::size_t, itemCount>;

ItemPositions itemPositions(const store::Table& inventory) {
  ItemPositions positions{};
  for (int item = 1; item <= itemCount; ++item) {
    positions[static_cast<std::size_t>(item - 1)] =
        inventory.fieldPosition(sch::quantityField(item));
  }
  return positions;
}

// A quantity as its text reads: null, and text that is no number, give 0.
double quantity(const store::Value& value) {
  return value.isNumber() ? value.number() : leadingNumber(value.toText());
}

// The items one bank row writes: all of them for an exact copy, else those above 0.
using Writes = std::vector<std::pair<std::size_t, double>>;

Writes writesOf(const BankRow& row, const ItemPositions& positions, bool exact) {
  Writes writes;
  for (std::size_t i = 0; i < row.items.size(); ++i) {
    if (exact || row.items[i] > 0) writes.emplace_back(positions[i], row.items[i]);
  }
  return writes;
}

}  // namespace

std::optional<int> multiplierOf(std::string_view text) {
  const double number = leadingNumber(text);
  if (!(number > 0)) return std::nullopt;
  const double whole = roundHalfEven(number);
  if (whole > maxMultiplier) return std::nullopt;
  return static_cast<int>(whole);
}

SourceRead readSource(CopyTables tables, const std::string& room) {
  SourceRead read;
  try {
    store::Table& banks = tables.banks;
    store::Table& inventory = tables.inventory;
    const ItemPositions items = itemPositions(inventory);
    const std::size_t bankField = banks.fieldPosition(sch::bank);
    banks.setIndex(sch::primaryKey);
    for (store::moveToFirst(banks); !banks.eof(); banks.moveNext()) {
      const store::Value bank = banks.field(bankField);
      inventory.setIndex(sch::primaryKey);
      inventory.seek({store::Value(room), bank});
      if (inventory.noMatch()) continue;
      if (read.rows.size() == maxBankRows) {
        read.rows.clear();
        read.tooManyBanks = true;
        return read;
      }
      BankRow& row = read.rows.emplace_back();
      row.bank = bank;
      for (std::size_t i = 0; i < items.size(); ++i)
        row.items[i] = quantity(inventory.field(items[i]));
    }
  } catch (const store::Error& error) {
    read.rows.clear();
    read.failure = error;
  }
  return read;
}

CopyResult copyInventory(CopyTables tables, const std::string& source,
                         const std::vector<std::string>& targets, const CopyOptions& options) {
  CopyResult result;
  const SourceRead read = readSource(tables, source);
  if (!read.ok()) {
    result.status = CopyResult::Status::ReadFailed;
    result.failure = read.failure;
    return result;
  }
  if (read.tooManyBanks) {
    result.status = CopyResult::Status::TooManyBanks;
    result.failure =
        store::Error(store::code::generic, "Room " + source + " has inventory in more than " +
                                               std::to_string(maxBankRows) + " banks; at most " +
                                               std::to_string(maxBankRows) + " can be copied.");
    return result;
  }

  const bool add = options.add && !options.exact;
  const double multiplier = options.multiplier;
  store::Table& banks = tables.banks;
  store::Table& inventory = tables.inventory;
  try {
    const ItemPositions items = itemPositions(inventory);
    std::vector<store::KeyUpdate> updates;
    std::vector<std::vector<store::Value>> values;
    for (const BankRow& row : read.rows) {
      std::vector<std::size_t> positions;
      std::vector<store::Value>& rowValues = values.emplace_back();
      for (const auto& [position, q] : writesOf(row, items, options.exact)) {
        positions.push_back(position);
        rowValues.emplace_back(q * multiplier);
      }
      updates.push_back(store::prepareUpdateWhereKey(tables.db, sch::roomInventory, sch::primaryKey,
                                                     2, positions, add));
    }

    store::Run run(tables.db, "Copy Room Inventory (Templates)",
                   "from " + source + " to " + std::to_string(targets.size()) + " rooms");
    // Every target walks the banks, and bank k of the walk takes buffer row k. The transaction
    // keeps other writers out, so the walk is the same for each target: it is made once.
    std::size_t bankCount = 0;
    banks.setIndex(sch::primaryKey);
    for (store::moveToFirst(banks); !banks.eof(); banks.moveNext()) ++bankCount;
    const std::size_t filled = std::min(bankCount, read.rows.size());
    // Every target takes the same values: they are fitted to their fields once, where the first
    // target's writes would fit them.
    std::vector<std::vector<store::Value>> fitted;
    for (std::size_t p = 0; p < filled && !targets.empty(); ++p) {
      fitted.push_back(updates[p].fit(values[p]));
    }
    for (const std::string& target : targets) {
      for (std::size_t p = 0; p < filled; ++p) {
        // The key is unique and the items are number fields: this writes what a seek, edit and
        // update of the record would write, without reading it first.
        store::updateWhereKeyFitted(tables.db, updates[p],
                                    {store::Value(target), read.rows[p].bank}, fitted[p]);
      }
      // A room counts once the banks have been walked for it, whether or not it has records.
      if (bankCount > 0) ++result.completed;
    }
    run.commit();
  } catch (const store::Error& error) {
    inventory.cancelUpdate();
    result.status = CopyResult::Status::WriteFailed;
    result.completed = 0;
    result.failure = error;
  }
  return result;
}

}  // namespace roomkit::copy_inventory
