// The database work of "Copy Room Inventory (Templates)": reading one room's inventory per bank
// and writing it, multiplied, into the records that the target rooms already have.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database.h"
#include "store/outcome.h"
#include "store/table.h"

namespace roomkit::copy_inventory {

inline constexpr std::size_t maxBankRows = 100;  // rows of the copy buffer
inline constexpr int maxMultiplier = 32767;      // the multiplier is a 16-bit whole number
inline constexpr int itemCount = 100;

// The multiplier of a "Multiply by" text: its leading number rounded, halves to even. nullopt
// when the number is not above 0 or rounds above maxMultiplier.
std::optional<int> multiplierOf(std::string_view text);

struct CopyTables {
  store::Database& db;
  store::Table& banks;      // "Inventory Banks"
  store::Table& inventory;  // "Room Inventory"
};

struct BankRow {
  store::Value bank;                      // the "Bank" value as stored
  std::array<double, itemCount> items{};  // items 1..100; null and non-numbers read as 0
};

// Failed: the engine's reason when the read failed.
struct SourceRead : store::Outcome {
  std::vector<BankRow> rows;  // in bank order, the banks where the source has a record
  bool tooManyBanks = false;  // records in more than maxBankRows banks: rows is then empty
};

SourceRead readSource(CopyTables tables, const std::string& room);

struct CopyOptions {
  int multiplier = 1;
  bool exact = false;  // write all 100 items, zeros included
  bool add = false;    // add to the targets' quantities (not with exact)
};

// Failed (any status but Done): why nothing was copied; for ReadFailed and WriteFailed the
// engine's message.
struct CopyResult : store::Outcome {
  enum class Status { Done, TooManyBanks, ReadFailed, WriteFailed };
  Status status = Status::Done;
  std::int32_t completed = 0;  // target rooms processed
};

// Copies the source's buffer into each target, in one transaction: a refused operation rolls
// everything back, so either every target is written or none.
CopyResult copyInventory(CopyTables tables, const std::string& source,
                         const std::vector<std::string>& targets, const CopyOptions& options);

}  // namespace roomkit::copy_inventory
