#include "logic/settings_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "common/qt/settings_folder.h"
#include "logic/fields.h"

namespace switchboard {

namespace {

QByteArray record(int value) {
  QByteArray text = QByteArray::number(value);
  if (value >= 0) text.prepend(' ');
  return text + " \r\n";
}

}  // namespace

Settings parseSettings(const QByteArray& text) {
  Settings settings;
  const QStringList fields = readFields(text, 2);
  if (fields.size() > 0)
    if (const auto value = toInt16(fields[0])) settings.position = *value;
  if (fields.size() > 1)
    if (const auto value = toInt16(fields[1])) settings.onTop = *value;
  return settings;
}

Settings readSettings(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Settings{};
  return parseSettings(file.readAll());
}

QByteArray formatSettings(const Settings& settings) {
  return record(settings.position) + record(settings.onTop);
}

bool writeSettings(const QString& path, const Settings& settings) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(formatSettings(settings));
  return file.commit();
}

QString settingsPathFor(const QString& programFolder, const QString& configFolder) {
  return QDir(suite::settingsFolderFor(programFolder, configFolder)).filePath(kSettingsFileName);
}

}  // namespace switchboard
