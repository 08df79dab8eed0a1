#include "check_command.h"

#include "check_json.h"
#include "store/check.h"
#include "store/database.h"

namespace dbtool {

namespace {

std::string counted(std::int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

void listFindings(std::string& out, const std::string& file, const store::CheckResult& check) {
  if (check.findings.empty()) {
    out += file + ": nothing found\n";
    return;
  }
  out += file + ": " +
         counted(static_cast<std::int64_t>(check.findings.size()), "finding", "findings") + "\n";
  for (std::size_t i = 0; i < check.findings.size();) {
    const store::FindingKind kind = check.findings[i].kind;
    std::size_t end = i;
    while (end < check.findings.size() && check.findings[end].kind == kind) ++end;
    out += std::string(store::kindName(kind)) + " (" + std::to_string(end - i) + ")\n";
    for (; i < end; ++i) {
      const store::Finding& finding = check.findings[i];
      std::string where = finding.table.empty() ? "the engine" : finding.table;
      if (!finding.key.empty()) where += ", " + store::keyText(finding);
      out += "  " + where + ": " + finding.problem;
      if (!finding.mend.empty()) out += " [" + finding.mend + "]";
      out += "\n";
    }
  }
}

std::string mendLine(const store::MendResult& result) {
  if (result.mended() == 0) return "mended: nothing";
  std::string line = "mended:";
  const char* separator = " ";
  const auto part = [&](std::int64_t count, const char* one, const char* many) {
    if (count == 0) return;
    line += separator + counted(count, one, many);
    separator = ", ";
  };
  part(result.removed, "record of a missing room removed", "records of missing rooms removed");
  part(result.renumbered, "room number trimmed and upper-cased",
       "room numbers trimmed and upper-cased");
  part(result.timesAdded, "\"Room Time\" record made", "\"Room Time\" records made");
  return line;
}

}  // namespace

std::optional<CheckRequest> checkRequest(const std::vector<std::string>& args, std::string& why) {
  CheckRequest request;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      request.json = true;
    } else if (arg == "--mend") {
      request.mend = true;
    } else if (arg.rfind("--", 0) == 0) {
      why = "check has no option '" + arg + "'";
      return std::nullopt;
    } else if (!request.file.empty()) {
      why = "check takes one database file, not '" + request.file + "' and '" + arg + "'";
      return std::nullopt;
    } else {
      request.file = arg;
    }
  }
  if (request.file.empty()) {
    why = "check needs the database file";
    return std::nullopt;
  }
  return request;
}

int runCheck(const CheckRequest& request, Output& out, std::ostream& err) {
  const std::string& file = request.file;
  store::Database db;
  store::CheckResult check;
  store::MendResult mend;
  std::size_t left = 0;
  try {
    // The check alone only reads, so a file that may only be read is checked too.
    db = store::Database::open(
        file, request.mend ? store::Database::Access::Write : store::Database::Access::Read);
  } catch (const store::Error& error) {
    check.failure = error;
  } catch (const std::exception& error) {
    check.failure = store::Error(store::code::cantOpen, error.what());
  }
  if (db.isOpen()) {
    if (request.mend) {
      mend = store::mendDatabase(db);
      check = mend.found;
      if (mend.ok()) {
        const store::CheckResult after = store::checkDatabase(db);
        if (!after.ok()) check.failure = after.failure;
        left = after.findings.size();
      }
    } else {
      check = store::checkDatabase(db);
    }
    db.close();
  }
  try {
    if (request.json) {
      out.buffer() +=
          checkDocument(file, check, {request.mend && check.ok() ? &mend : nullptr, left});
    } else if (check.ok()) {
      listFindings(out.buffer(), file, check);
      if (request.mend && mend.ok()) {
        out.buffer() +=
            mendLine(mend) + "\n" + file + ": " +
            (left == 0
                 ? std::string("nothing left")
                 : counted(static_cast<std::int64_t>(left), "finding", "findings") + " left") +
            "\n";
      }
    }
    out.flush();
  } catch (const std::exception& error) {
    err << "roomkit-db: " << error.what() << "\n";
    return checkFailed;
  }
  if (!check.ok()) {
    err << "roomkit-db: " << file << " could not be checked: " << check.message() << "\n";
    return checkFailed;
  }
  if (request.mend && !mend.ok()) {
    err << "roomkit-db: " << file << ": " << mend.message() << " Nothing was mended.\n";
    return checkFound;
  }
  const std::size_t remaining = request.mend ? left : check.findings.size();
  return remaining == 0 ? checkClean : checkFound;
}

}  // namespace dbtool
