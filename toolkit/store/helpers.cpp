#include "helpers.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace store {

double leadingNumber(std::string_view text) {
  // Collect the characters of the number, skipping white space anywhere.
  std::string number;
  bool digits = false, point = false, exponent = false, exponentDigits = false;
  bool signAllowed = true;
  for (char ch : text) {
    if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') continue;
    if ((ch == '+' || ch == '-') && signAllowed) {
      number += ch;
      signAllowed = false;
    } else if (ch >= '0' && ch <= '9') {
      number += ch;
      (exponent ? exponentDigits : digits) = true;
      signAllowed = false;
    } else if (ch == '.' && !point && !exponent) {
      number += ch;
      point = true;
      signAllowed = false;
    } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && digits && !exponent) {
      number += 'e';
      exponent = true;
      signAllowed = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  if (exponent && !exponentDigits) {
    while (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-')) {
      number.pop_back();
    }
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

double roundHalfEven(double number) { return std::nearbyint(number); }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string roomLine(std::string_view number, std::string_view name) {
  std::string line(number);
  line += ", ";
  line += name;
  return line;
}

std::string roomNumberOfLine(std::string_view line) {
  return std::string(line.substr(0, line.find(',')));
}

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

}  // namespace store
