// A refusal of roomkit-db: bad input, a file in the way, output that cannot be written. The
// message says what and where; nothing of a refused import is left behind.
#pragma once

#include <stdexcept>
#include <string>

namespace dbtool {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace dbtool
