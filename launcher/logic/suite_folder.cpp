#include "logic/suite_folder.h"

#include <QDir>
#include <QFile>

#include "logic/fields.h"

namespace switchboard {

QString systemFolder(bool windows, const std::function<bool(const QString& folder)>& yieldsFile) {
  if (!windows) return QStringLiteral("/etc/");
  const QString classic = QStringLiteral("C:\\WINDOWS\\SYSTEM\\");
  return yieldsFile(classic) ? classic : QStringLiteral("C:\\WINNT\\SYSTEM\\");
}

QString thisSystemFolder() {
#ifdef Q_OS_WIN
  constexpr bool windows = true;
#else
  constexpr bool windows = false;
#endif
  return systemFolder(windows, [](const QString& folder) {
    return !QDir(QDir::fromNativeSeparators(folder)).entryList(QDir::Files).isEmpty();
  });
}

QString readSuiteFolder(const QString& systemFolder) {
  QFile file(QDir::fromNativeSeparators(systemFolder + kSuiteIniName));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  const QStringList fields = readFields(file.readAll(), 1);
  return fields.isEmpty() ? QString() : fields.front();
}

}  // namespace switchboard
