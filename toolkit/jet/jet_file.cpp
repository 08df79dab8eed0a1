#include "jet_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/error.h"

namespace jet {
namespace {

constexpr char jetSignature[] = "Standard Jet DB";  // with its closing NUL: 16 bytes at offset 4
constexpr char aceSignature[] = "Standard ACE DB";
constexpr int versionOffset = 0x14;
constexpr int catalogPage = 2;  // the table definition of the engine's object catalogue

// Opened without waiting, so that a pipe or device at the path cannot block the caller.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  int fd() const { return fd_; }
  // Reads exactly `size` bytes at `offset`; false when the file holds fewer.
  bool readAt(std::uint64_t offset, unsigned char* buffer, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got =
          ::pread(fd_, buffer + done, size - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
};

std::uint32_t littleEndian32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

Header headerOf(const ReadOnlyFile& file, std::uint64_t size) {
  Header header;
  header.fileSize = size;
  unsigned char start[versionOffset + 4];
  if (!file.readAt(0, start, sizeof start) || start[0] != 0) return header;
  const bool jet = std::memcmp(start + 4, jetSignature, sizeof jetSignature) == 0;
  if (!jet && std::memcmp(start + 4, aceSignature, sizeof aceSignature) != 0) return header;
  header.version = littleEndian32(start + versionOffset);
  if (!jet) {
    header.format = Format::Ace;
  } else if (header.version == 0) {
    header.format = Format::Jet3;
    header.pageSize = 2048;
  } else if (header.version == 1) {
    header.format = Format::Jet4;
    header.pageSize = 4096;
  } else {
    header.format = Format::UnknownVersion;
  }
  return header;
}

}  // namespace

Header readHeader(const std::string& path) {
  const ReadOnlyFile file(path);
  struct stat info {};
  if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return headerOf(file, static_cast<std::uint64_t>(info.st_size));
}

bool isJetFile(const std::string& path) {
  const Format format = readHeader(path).format;
  return format != Format::NotJet;
}

Header checkJetFile(const std::string& path) {
  const ReadOnlyFile file(path);
  if (file.fd() < 0) throw store::Error(store::Fault::Unreadable, std::strerror(errno));
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0)
    throw store::Error(store::Fault::Unreadable, std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw store::Error(store::Fault::Unreadable, "it is a folder");
  if (!S_ISREG(info.st_mode))
    throw store::Error(store::Fault::Unreadable, "it is not a regular file");
  const Header header = headerOf(file, static_cast<std::uint64_t>(info.st_size));
  switch (header.format) {
    case Format::NotJet:
      throw store::Error(store::Fault::NotJet,
                         "it lacks the \"Standard Jet DB\" signature at byte 4");
    case Format::Ace:
      throw store::Error(store::Fault::Ace,
                         "only Jet 3 and Jet 4 databases (Access 97 to 2003) can be converted");
    case Format::UnknownVersion:
      throw store::Error(store::Fault::Version, "its version number is " +
                                                    std::to_string(header.version) +
                                                    ", where Jet 3 has 0 and Jet 4 has 1");
    case Format::Jet3:
    case Format::Jet4: break;
  }
  const auto page = static_cast<std::uint64_t>(header.pageSize);
  if (header.fileSize % page != 0) {
    throw store::Error(store::Fault::CutShort, std::to_string(header.fileSize) +
                                                   " bytes are not a whole number of " +
                                                   std::to_string(page) + "-byte pages");
  }
  if (header.fileSize < (catalogPage + 1) * page) {
    throw store::Error(store::Fault::CutShort, "it ends before the page of its catalogue");
  }
  unsigned char kind[2];
  if (!file.readAt(catalogPage * page, kind, sizeof kind) || kind[0] != 0x02 || kind[1] != 0x01) {
    throw store::Error(store::Fault::Damaged,
                       "the page of its catalogue holds no table definition");
  }
  return header;
}

}  // namespace jet
