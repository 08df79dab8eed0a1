// Opening a suite database that is still an Access (Jet) file: the user is asked, and on Yes the
// file is converted into a store file under its own name while the original is kept beside it
// as "<name>.jet", its bytes untouched.
#pragma once

#include <QString>

class QWidget;

namespace roomkit {

enum class JetOpen {
  NotJet,     // an ordinary store file (or no file at all): open it as it is
  Converted,  // converted now: open it
  Declined,   // the user said No: nothing changed
  Refused,    // it cannot be converted: the user was told why, nothing changed
};

// When `path` is a Jet database: converts it beside the original (with a progress dialog and the
// busy pointer), and only when that succeeded asks whether to put the result in its place; a file
// that cannot be converted is refused without the question.
JetOpen offerJetConversion(QWidget* parent, const QString& path);

// Whether the file may be opened now: it is no Jet database, or it has just been converted.
inline bool readyToOpen(QWidget* parent, const QString& path) {
  const JetOpen result = offerJetConversion(parent, path);
  return result == JetOpen::NotJet || result == JetOpen::Converted;
}

// Where the original is kept: the file's name with ".jet" appended.
QString keptJetPath(const QString& path);

}  // namespace roomkit
