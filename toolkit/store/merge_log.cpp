#include "merge_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "history/log.h"

namespace store {

std::string undoneMergeLine(const RunInfo& run, const std::string& when) {
  std::string line = "Undone " + when + ": the merge";
  if (!run.detail.empty()) line += " " + run.detail;
  line += " of " + run.when;
  for (char& ch : line) {
    if (ch == ',' || ch == '\r' || ch == '\n') ch = ' ';
  }
  return line;
}

std::string noteUndoneMerge(const std::string& databasePath, const RunInfo& run) {
  if (run.function != combineRunFunction) return {};
  const std::string path = combineLogPath(databasePath);
  std::error_code error;
  const bool fresh = !std::filesystem::exists(path, error);
  std::string content = fresh ? std::string(combineLogHeader) + "\r\n" : std::string();
  content += undoneMergeLine(run, history::localTime()) + "\r\n";
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file)
    return "The combine log " + path + " could not be written: " + std::strerror(errno) + ".";
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const int saved = errno;
  if (std::fclose(file) != 0 || !written) {
    return "The combine log " + path +
           " could not be written: " + std::strerror(written ? errno : saved) + ".";
  }
  return {};
}

}  // namespace store
