// Shared steps of the Jet tests: the test files, running mdbtools' programs (the reference for
// what a Jet file holds), reading their CSV, and reading a converted store file back.
#pragma once

#include <string>
#include <vector>

#include "store/value.h"

namespace jettest {

// A file of tests/jet/data.
std::string dataFile(const std::string& name);

// The sound Jet files there, each compared with mdbtools' programs.
inline const char* const testFiles[] = {
    "node-adodb.mdb",         "fruit.mdb",
    "testV1997.mdb",          "JOX_JETDEMO.MDB",
    "compIndexTestV2000.mdb", "fixedNumericTestV2000.mdb",
    "delColTestV2000.mdb",    "testIndexPropertiesV2000.mdb",
};

struct Run {
  int status = -1;  // the exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};
// Runs a program found on PATH with these arguments, no shell in between.
Run run(const std::vector<std::string>& argv);

// One cell of mdb-export's CSV: its text, and whether it stood in quotes (mdb-export quotes
// text-like values and leaves numbers and nulls bare).
struct Cell {
  std::string text;
  bool quoted = false;
};
std::vector<std::vector<Cell>> parseCsv(const std::string& csv);

// Every record of a store table in stored order.
std::vector<std::vector<store::Value>> records(const std::string& storeFile,
                                               const std::string& table);

// The names in a folder, sorted.
std::vector<std::string> namesIn(const std::string& folder);

}  // namespace jettest
