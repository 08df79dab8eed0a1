// Where a program keeps its settings files: in its own folder when the user may write there, as
// for a copy unpacked anywhere; otherwise (a copy installed in /usr/bin) in the user's
// configuration folder, ~/.config/<program>/ or its place under $XDG_CONFIG_HOME.
#pragma once

#include <QString>

namespace suite {

// `configFolder` is made when it is needed and missing; the program folder is kept when there is
// no configuration folder or it cannot be made.
QString settingsFolderFor(const QString& programFolder, const QString& configFolder);

}  // namespace suite
