// The findings of roomkit-db check as one JSON document: the file, whether it could be checked,
// the number of findings, every kind with its count and findings (table, key, problem, mend),
// and with --mend what the mend did.
#pragma once

#include <string>

#include "store/check.h"

namespace dbtool {

struct MendSummary {
  const store::MendResult* result = nullptr;  // null without --mend
  std::size_t left = 0;                       // findings of the check after the mend
};

std::string checkDocument(const std::string& file, const store::CheckResult& check,
                          const MendSummary& mend = {});

}  // namespace dbtool
