// Shared steps of the roomkit-db tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dbtest {

// What a roomkit-db command printed and the status it ended with.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};
Outcome run(const std::vector<std::string>& args, const std::string& input = "");

std::string exportText(const std::string& path);
void importText(const std::string& json, const std::string& target);  // throws as import does
// The message with which import refuses the document, or "imported"; also fails the running
// test when a refused import leaves a file behind.
std::string importRefusal(const std::string& json);
// The names in a folder, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder);
// Runs SQL on the raw connection, for content the store itself never writes.
void execute(const std::string& path, const std::string& sql);

}  // namespace dbtest
