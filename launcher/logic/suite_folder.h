// The suite's program folder: the first field of "jox.ini" in the system folder.
#pragma once

#include <QString>
#include <functional>

namespace switchboard {

inline const QString kSuiteIniName = QStringLiteral("jox.ini");

// On Windows the system folder is "C:\WINDOWS\SYSTEM\" when listing it yields a file, else
// "C:\WINNT\SYSTEM\"; elsewhere it is "/etc/". Every answer ends with its separator.
QString systemFolder(bool windows, const std::function<bool(const QString& folder)>& yieldsFile);
// The system folder of the machine the program runs on.
QString thisSystemFolder();

// The first field of systemFolder + "jox.ini"; "" when the file is missing or empty.
QString readSuiteFolder(const QString& systemFolder);

}  // namespace switchboard
