// make_jet_building PATH [ROOMS [BANKS]]: writes a Jet 4 building database of the suite's shape
// (5,000 rooms in 25 banks unless told) and prints each table's record count.
#include <cstdio>
#include <exception>
#include <string>

#include "jet_building.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s PATH [ROOMS [BANKS]]\n", argv[0]);
    return 2;
  }
  jetbench::BuildingSize size;
  try {
    if (argc > 2) size.rooms = std::stoi(argv[2]);
    if (argc > 3) size.banks = std::stoi(argv[3]);
    for (const auto& [table, records] : jetbench::writeJetBuilding(argv[1], size))
      std::printf("%s\t%lld\n", table.c_str(), static_cast<long long>(records));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
