#include "program.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "common/qt/settings_folder.h"

namespace roomkit {

namespace {

const QString marker = QStringLiteral("\\corvane asp\\");

bool isSettingsFile(const QString& name) {
  return name == QLatin1String("lastdir.ini") || name == QLatin1String("lastopt.ini");
}

}  // namespace

ProgramValues& program() {
  static ProgramValues values;
  return values;
}

QString programFolder() {
  QString folder = program().programFolder;
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
  while (folder.size() > 1 && (folder.endsWith('/') || folder.endsWith('\\'))) folder.chop(1);
  return folder;
}

QString settingsFolder() {
  QString config = program().configFolder;
  if (config.isEmpty())
    config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return suite::settingsFolderFor(programFolder(), config);
}

QString programFile(const QString& name) {
  return (isSettingsFile(name) ? settingsFolder() : programFolder()) + QDir::separator() + name;
}

static QString backslashed(const QString& folder) {
  QString text = folder;
  text.replace('/', '\\');
  return text.toLower();
}

bool isHostedFolder(const QString& folder) { return backslashed(folder).contains(marker); }

QString hostedDataRoot(const QString& folder) {
#ifdef Q_OS_WIN
  Q_UNUSED(folder);
  return QStringLiteral("D:\\Corvane ASP\\User Accounts\\HQ_DATA\\");
#else
  // No D: drive here: the data root lies beside the program, under the same "Corvane ASP" folder.
  const int at = backslashed(folder).indexOf(marker);
  const QString root = folder.left(at + marker.size() - 1);
  return root + QStringLiteral("/User Accounts/HQ_DATA/");
#endif
}

}  // namespace roomkit
