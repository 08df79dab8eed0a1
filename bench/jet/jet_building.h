// A Jet 4 building database of the suite's shape (the tables, fields and indexes of
// tests/jet/data/JOX_JETDEMO.MDB) filled with the sample building's content for any size.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace jetbench {

struct BuildingSize {
  int rooms = 5000;
  int banks = 25;
  std::uint64_t variant = 1;
};

// Writes the file (replacing one at the path); returns each table's name and record count, in the
// order of the catalogue. Throws std::runtime_error or std::invalid_argument.
std::vector<std::pair<std::string, std::int64_t>> writeJetBuilding(const std::string& path,
                                                                   const BuildingSize& size);

}  // namespace jetbench
