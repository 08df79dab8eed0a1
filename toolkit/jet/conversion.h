// The conversion proper, as the converting process runs it: every table of the Jet file but the
// engine's own, with its fields, indexes and records, into a new store file in one transaction.
#pragma once

#include <functional>
#include <string>

#include "events.h"
#include "jet_file.h"

namespace jet::detail {

// Sends Total first, then Progress now and then and Table after each table (after a LeftOut for
// each of its indexes that cannot be read), Linked for each linked table, and Done when the file is
// complete and closed; a refusal ends with Refused instead (its message without the file's name).
// `send` returns false when no one listens any more, which ends the work.
void convertFile(const std::string& jetPath, const Header& header, const std::string& target,
                 const std::function<bool(const Event&)>& send);

}  // namespace jet::detail
