#include "common/text/program_info.h"

#include <cstdio>
#include <string>

namespace suite {

namespace {

int print(std::string_view text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written ? 0 : 1;
}

}  // namespace

std::optional<int> answerInfoOption(int argc, char** argv, const ProgramInfo& info) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help") return print(info.usage);
    if (argument == "--version") return printVersion(info.name, info.version);
  }
  return std::nullopt;
}

int printVersion(std::string_view name, std::string_view version) {
  std::string line(name);
  line += ' ';
  line += version;
  line += '\n';
  return print(line);
}

}  // namespace suite
