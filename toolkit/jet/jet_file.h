// Telling a Jet (Access) database by its first page, and the checks made on a file before the
// reading library is given it.
#pragma once

#include <cstdint>
#include <string>

namespace jet {

enum class Format { NotJet, Jet3, Jet4, Ace, UnknownVersion };

struct Header {
  Format format = Format::NotJet;
  std::uint32_t version = 0;   // the version number that follows the signature
  std::uint64_t fileSize = 0;  // bytes
  int pageSize = 0;            // 2048 for Jet 3, 4096 for Jet 4, else 0
};

// Reads at most the first page. A file that cannot be read shows as NotJet.
Header readHeader(const std::string& path);

// Whether the file is an Access database by its signature at byte 4: "Standard Jet DB", and also
// "Standard ACE DB", which convert() refuses with a message of its own so that the user learns
// why such a file cannot be opened.
bool isJetFile(const std::string& path);

// The header of a Jet 3 or Jet 4 file that is a whole number of pages and holds the catalogue's
// table definition where it belongs; throws Error otherwise. The message says what is wrong
// without naming the file, which the caller adds.
Header checkJetFile(const std::string& path);

}  // namespace jet
