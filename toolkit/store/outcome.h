// How a unit of database work ended: done, or stopped by one failure, after which nothing of it
// was kept. Every work result (a tool's, the history's, the check's) derives from Outcome, so its
// caller asks every one the same way and shows the same message.
#pragma once

#include <optional>
#include <string>

#include "error.h"

namespace store {

struct Outcome {
  std::optional<Error> failure;  // what stopped the work; empty when it was done

  bool ok() const { return !failure.has_value(); }
  // The failure as the user is told it; "" when the work was done.
  std::string message() const { return failure ? std::string(failure->what()) : std::string(); }
};

}  // namespace store
