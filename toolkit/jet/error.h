// A refused conversion of a Jet database: why, and a message that names the file and the reason.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum class Refusal {
  NotJet,        // no Jet signature: a text file, a zeroed header, any other kind of file
  Ace,           // an Access 2007 or later database ("Standard ACE DB")
  Version,       // the Jet signature with a version number that is neither Jet 3 nor Jet 4
  CutShort,      // fewer bytes than the file's pages need
  Damaged,       // a broken structure, or one that made the reader fail
  Unsupported,   // a field or value that no store type holds without loss
  Unreadable,    // the file cannot be opened or read
  TargetExists,  // something exists at the path of the new file
  Unwritable,    // the new file cannot be written
  Stopped,       // the progress callback asked to stop
};

class Error : public std::runtime_error {
 public:
  Error(Refusal reason, const std::string& message)
      : std::runtime_error(message), reason_(reason) {}
  Refusal reason() const { return reason_; }

 private:
  Refusal reason_;
};

}  // namespace jet
