// Damaged files on which the reading library loops without end, printing the same warning and
// taking more memory as it goes: each is refused as damaged once it goes without progress for
// the time allowed, or once it passes its memory, and the same file unmutated converts under
// the same limits.
#include <gtest/gtest.h>

#include <chrono>

#include "jet/convert.h"
#include "jet_support.h"
#include "support/temp_dir.h"

namespace {

struct Mutant {
  const char* name;
  const char* file;    // of tests/jet/data
  std::size_t offset;  // of the byte whose bit 7 is flipped
};

const Mutant mutants[] = {
    {"Jet3Catalogue", "testV1997.mdb", 100099},
    {"Jet4RowPlace", "node-adodb.mdb", 122898},
    {"Jet4PropertyBlock", "node-adodb.mdb", 200490},
};

struct Bound {
  const char* name;
  jet::Limits limits;
  const char* says;  // part of the refusal's message
};

jet::Limits limits(int silenceSeconds, std::uint64_t memoryBytes) {
  jet::Limits limits;
  limits.silenceSeconds = silenceSeconds;
  limits.memoryBytes = memoryBytes;
  return limits;
}

const Bound bounds[] = {
    {"Silence", limits(2, jet::Limits().memoryBytes), "the reader made no progress in 2 seconds"},
    {"Memory", limits(600, 96 << 20), "the reader took more than the 96 MiB of memory it may have"},
};

class Damaged : public ::testing::TestWithParam<std::tuple<Mutant, Bound>> {};

TEST_P(Damaged, IsRefusedWithinItsLimits) {
  const auto& [mutant, bound] = GetParam();
#if defined(__SANITIZE_ADDRESS__)
  if (bound.limits.memoryBytes < jet::Limits().memoryBytes) {
    GTEST_SKIP() << "under the address sanitizer the reader has no memory limit";
  }
#endif
  testsupport::TempDir dir;
  const std::string sound = jettest::dataFile(mutant.file);
  jet::convert(sound, dir.file("sound.db"), {}, bound.limits);

  std::string bytes = testsupport::readFile(sound);
  bytes[mutant.offset] = static_cast<char>(bytes[mutant.offset] ^ 0x80);
  const std::string file = dir.file("damaged.mdb");
  testsupport::writeFile(file, bytes);
  const auto start = std::chrono::steady_clock::now();
  try {
    jet::convert(file, dir.file("damaged.db"), {}, bound.limits);
    ADD_FAILURE() << "converted";
  } catch (const store::Error& error) {
    EXPECT_EQ(error.fault(), store::Fault::Damaged) << error.what();
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("'" + file + "' is damaged: ", 0), 0u) << message;
    EXPECT_NE(message.find(bound.says), std::string::npos) << message;
  }
  // Well before the defaults' half minute: the limits given ended it.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(25));
  EXPECT_EQ(jettest::namesIn(dir.path().string()),
            (std::vector<std::string>{"damaged.mdb", "sound.db"}));
}

INSTANTIATE_TEST_SUITE_P(
    Mutants, Damaged, ::testing::Combine(::testing::ValuesIn(mutants), ::testing::ValuesIn(bounds)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

}  // namespace
