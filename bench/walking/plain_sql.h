// The plain SQL statements that make the same changes as the walking tools, on a connection of
// the store (which brings the FOLD collation that the indexes use).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Runs the statements, each with its text parameters, in one transaction on a new connection to
// the file; returns the records each of them changed.
std::vector<std::int64_t> runPlain(
    const std::string& path,
    const std::vector<std::pair<std::string, std::vector<std::string>>>& statements);

// The first column of the first row of a query, as text.
std::string queryText(const std::string& path, const std::string& sql);

}  // namespace bench
