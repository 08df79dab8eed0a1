// roomkit-db: look into a building database, move it between machines as text, and make sample
// data to try the toolkit on.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "common/text/program_info.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--version") {
    return suite::printVersion("roomkit-db", ROOMKIT_VERSION);
  }
  dbtool::FileInput in(stdin, "standard input");
  dbtool::FileOutput out(stdout, "standard output");
  return dbtool::run(args, in, out, std::cerr);
}
