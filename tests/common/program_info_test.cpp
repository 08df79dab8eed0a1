// --help and --version are answered whatever else the arguments hold; anything else is left to
// the program.
#include "common/text/program_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Call {
  std::vector<std::string> arguments;  // after the program's name
  std::optional<int> status;
  std::string output;
};

class AnswerInfoOptionTest : public ::testing::TestWithParam<Call> {};

TEST_P(AnswerInfoOptionTest, AnswersTheFirstInfoOption) {
  std::vector<std::string> texts{"prog"};
  texts.insert(texts.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  ::testing::internal::CaptureStdout();
  const auto status = suite::answerInfoOption(static_cast<int>(argv.size()), argv.data(),
                                              {"prog", "1.2.3", "Usage: prog\n"});
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), GetParam().output);
  EXPECT_EQ(status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AnswerInfoOptionTest,
    ::testing::Values(Call{{}, std::nullopt, ""}, Call{{"FILE.MDB", "-style"}, std::nullopt, ""},
                      Call{{"--help"}, 0, "Usage: prog\n"}, Call{{"--version"}, 0, "prog 1.2.3\n"},
                      Call{{"FILE.MDB", "--version", "--help"}, 0, "prog 1.2.3\n"},
                      Call{{"-help", "--versions"}, std::nullopt, ""}));

}  // namespace
