// "switchboard.ini": the docking position and the always-on-top flag, one record per line.
#pragma once

#include <QByteArray>
#include <QString>

namespace switchboard {

inline const QString kSettingsFileName = QStringLiteral("switchboard.ini");

struct Settings {
  int position = 1;  // 0 left, 1 centre, 2 right; 3 when no position was ticked
  int onTop = 0;     // -1 on, 0 off
  bool operator==(const Settings&) const = default;
};

// A record that is missing, not a number or outside 16 bits keeps its default.
Settings parseSettings(const QByteArray& text);
// The defaults when the file does not exist or cannot be read.
Settings readSettings(const QString& path);

// " 1 " and "-1 " style records, each ending in CR LF.
QByteArray formatSettings(const Settings& settings);
// Replaces the file whole, so a failed write leaves the old file as it was.
bool writeSettings(const QString& path, const Settings& settings);

// Where "switchboard.ini" lies, by the suite's rule (suite::settingsFolderFor): in the program
// folder when the user may write there, otherwise in `configFolder`, made when missing.
QString settingsPathFor(const QString& programFolder, const QString& configFolder);

}  // namespace switchboard
