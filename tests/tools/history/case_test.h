// A table of cases, each named, run as one test apiece on a building file of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace historytest {

template <typename Case>
class CaseTest : public ::testing::TestWithParam<Case> {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_CASE.MDB");
};

// Names each test after its case.
inline constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace historytest
