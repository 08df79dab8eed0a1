// The answers to --help and --version, given before any window system is needed.
#pragma once

#include <optional>
#include <string_view>

namespace suite {

struct ProgramInfo {
  std::string_view name;  // as the program is called
  std::string_view version;
  std::string_view usage;  // the --help text, its lines ending in LF
};

// When the arguments hold --help or --version, the first of them is answered on standard output
// with the usage or with "<name> <version>", and the program's exit status comes back: 0, or 1
// when the answer could not be written. Nothing otherwise: every argument is left as it was.
std::optional<int> answerInfoOption(int argc, char** argv, const ProgramInfo& info);

// "<name> <version>" on standard output; the exit status as above.
int printVersion(std::string_view name, std::string_view version);

}  // namespace suite
