#include "common/qt/settings_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace suite {

namespace {

// Asks the system rather than reading the mode bits, so that a read-only mount and the user's
// groups count too.
bool userMayWrite(const QString& folder) {
#ifdef Q_OS_UNIX
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
#else
  return QFileInfo(folder).isWritable();
#endif
}

}  // namespace

QString settingsFolderFor(const QString& programFolder, const QString& configFolder) {
  if (userMayWrite(programFolder)) return programFolder;
  if (configFolder.isEmpty() || !QDir().mkpath(configFolder)) return programFolder;
  return configFolder;
}

}  // namespace suite
