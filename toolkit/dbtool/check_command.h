// roomkit-db check: lists what a building database holds half done, as text or as one JSON
// document, and with --mend mends what has one sound mend as one run of the change history.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "byte_io.h"

namespace dbtool {

struct CheckRequest {
  std::string file;
  bool json = false;
  bool mend = false;
};

// The request of "check [--json] [--mend] FILE" (the arguments with the command); nullopt with
// the reason in `why` for wrong usage.
std::optional<CheckRequest> checkRequest(const std::vector<std::string>& args, std::string& why);

// Exit statuses: nothing found (with --mend: nothing left after the mend), something found, or
// the database could not be checked.
inline constexpr int checkClean = 0;
inline constexpr int checkFound = 1;
inline constexpr int checkFailed = 2;

int runCheck(const CheckRequest& request, Output& out, std::ostream& err);

}  // namespace dbtool
