#include "jet_conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUuid>

#include <cstdio>

#include "jet/convert.h"
#include "jet/jet_file.h"
#include "ui.h"

namespace roomkit {

namespace {

const QString cannot = QStringLiteral("CANNOT CONTINUE");

bool moveTo(const QString& from, const QString& to) {
  // rename() in one folder neither copies nor leaves a half-written file.
  return std::rename(from.toStdString().c_str(), to.toStdString().c_str()) == 0;
}

}  // namespace

QString keptJetPath(const QString& path) { return path + ".jet"; }

JetOpen offerJetConversion(QWidget* parent, const QString& path) {
  const std::string file = path.toStdString();
  if (!QFileInfo(path).isFile() || !jet::isJetFile(file)) return JetOpen::NotJet;
  const QString kept = keptJetPath(path);
  const QString keptName = QFileInfo(kept).fileName();
  if (!ask("The database " + path + " is an Access (Jet) database. To open it, roomkit converts "
           "it into a database of its own under the same name, and keeps the original as " +
               keptName + " beside it.\r\nConvert it now?",
           "CONVERT DATABASE?", Answer::Yes, Icon::Question)) {
    return JetOpen::Declined;
  }
  if (QFileInfo::exists(kept) || QFileInfo(kept).isSymLink()) {
    refuse("The database " + path + " cannot be converted: " + kept +
               " already exists, and it is not written over. Move or rename that file and try "
               "again.",
           cannot);
    return JetOpen::Refused;
  }

  // The new file is made under a name of its own beside the original; only when it is complete
  // does the original step aside to its ".jet" name and the new file take the original name.
  const QFileInfo info(path);
  const QString staging = info.dir().filePath(
      "." + info.fileName() + ".converting-" + QUuid::createUuid().toString(QUuid::Id128));
  ui().setBusy(true);
  QProgressDialog progress("Converting " + info.fileName() + "...", QString(), 0, 1000, parent);
  progress.setObjectName("ConversionProgress");
  progress.setWindowTitle(programTitle);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoReset(false);
  QString failure;
  jet::Summary summary;
  try {
    // The window repaints, and the dialog appears, also while the reader goes without progress.
    jet::Limits limits;
    limits.idle = [] { ui().processEvents(); };
    summary = jet::convert(
        file, staging.toStdString(),
        [&](std::int64_t done, std::int64_t total) {
          progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
          ui().processEvents();
          return true;
        },
        limits);
    if (!moveTo(path, kept)) {
      failure = "The original could not be renamed to " + keptName + ".";
    } else if (!moveTo(staging, path)) {
      moveTo(kept, path);
      failure = "The converted database could not take the name " + info.fileName() + ".";
    }
  } catch (const jet::Error& error) {
    failure = QString::fromStdString(error.what());
  }
  progress.close();
  ui().setBusy(false);
  if (!failure.isEmpty()) {
    std::remove(staging.toStdString().c_str());
    refuse("The database " + path + " could not be converted, and nothing was changed.\r\n" + failure,
           cannot);
    return JetOpen::Refused;
  }
  QString leftOut;
  for (const jet::TableSummary& table : summary.tables) {
    for (const std::string& why : table.leftOutIndexes)
      leftOut += "\r\n" + QString::fromStdString(table.name + ": " + why);
  }
  if (!leftOut.isEmpty()) {
    tell("The database " + path + " was converted with all its tables and records. These "
         "indexes could not be read and were left out:" + leftOut,
         "DATABASE CONVERTED", Icon::Information);
  }
  return JetOpen::Converted;
}

}  // namespace roomkit
