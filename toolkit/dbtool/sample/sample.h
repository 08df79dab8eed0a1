// Sample building and account databases for tests, benchmarks and trying the toolkit out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sample {
struct Options {
  int rooms = 300;  // "Room Info" records
  int banks = 5;  // "Inventory Banks" records; every room gets one "Room Inventory" record per bank
  std::uint64_t variant = 1;  // same options, same file content
};
// Writes a new building database (refuses an existing path, throws store::Error) with every table
// of store::schema::buildingTables() filled.
void writeBuilding(const std::string& path, const Options& options);
// Writes a new account database ("Users- Building Access") whose users may access the given
// building codes.
void writeAccount(const std::string& path, const std::vector<std::string>& buildingCodes,
                  std::uint64_t variant);
// The room numbers writeBuilding makes, in stored order (so benchmarks can pick rooms without
// reading the file).
std::vector<std::string> roomNumbers(const Options& options);
}  // namespace sample
