#include "common/text/settings_file.h"

#include <fstream>
#include <sstream>

#include "common/text/trim.h"

namespace suite {

std::vector<std::string> settingsFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  auto isBlank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    std::string field;
    if (i < line.size() && line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      field = std::string(line.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? line.size() : close + 1;
      while (i < line.size() && line[i] != ',') ++i;  // anything after the quote is dropped
    } else {
      const std::size_t comma = line.find(',', i);
      const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
      field = std::string(trimBlanks(line.substr(i, end - i)));
      while (!field.empty() && isBlank(field.back())) field.pop_back();
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) break;
    ++i;  // the comma
  }
  return fields;
}

std::vector<std::string> settingsLines(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::optional<std::string> readFirstSettingsField(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  const auto lines = settingsLines(content.str());
  if (lines.empty()) return std::nullopt;
  return settingsFields(lines.front()).front();
}

bool writeSettingsLine(const std::string& path, std::string_view value) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << value << "\r\n";
  out.close();
  return static_cast<bool>(out);
}

}  // namespace suite
