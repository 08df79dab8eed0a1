// Values that the whole program shares: the installation mode, the current user and the folders
// it reads and writes its files in.
#pragma once

#include <QString>

namespace roomkit {

struct ProgramValues {
  QString DataRootPath;  // non-empty means hosted mode
  QString CurrentUserID;
  QString programFolder;  // the executable's folder, without a trailing separator
  QString configFolder;   // the user's configuration folder; empty: the system's own
};

ProgramValues& program();

// The folder the program lies in (tests set programFolder to a folder of their own).
QString programFolder();
// A file of the program folder. The two settings files the program writes, "lastdir.ini" and
// "lastopt.ini", follow settingsFolder() instead; "jox.usr" and the rest stay in the program
// folder.
QString programFile(const QString& name);

// Where the settings files live, by the suite's rule (suite::settingsFolderFor): the program
// folder when the user may write there; otherwise configFolder, or the system's configuration
// folder for roomkit when that is empty.
QString settingsFolder();

// Hosted mode: the program folder, written with backslashes and in lower case, holds
// "\corvane asp\". The data root then lies beside that folder.
bool isHostedFolder(const QString& folder);
QString hostedDataRoot(const QString& folder);

}  // namespace roomkit
