// The history of a file as the tests read it, each through a connection of its own.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/history.h"

namespace historytest {

// Per table: records added, changed, removed.
using Counts = std::map<std::string, std::array<std::int64_t, 3>>;
Counts countsOf(const store::RunInfo& run);

std::vector<store::RunInfo> runsOf(const std::string& path);
store::UndoResult undoOn(const std::string& path);

}  // namespace historytest
