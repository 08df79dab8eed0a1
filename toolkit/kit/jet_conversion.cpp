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

namespace {

// Converts into `staging`, with a progress dialog and the busy pointer; the summary, or the
// reason it could not.
QString convertInto(QWidget* parent, const QString& path, const QString& staging,
                    jet::Summary& summary) {
  ui().setBusy(true);
  QProgressDialog progress("Converting " + QFileInfo(path).fileName() + "...", QString(), 0, 1000,
                           parent);
  progress.setObjectName("ConversionProgress");
  progress.setWindowTitle(programTitle);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoReset(false);
  QString failure;
  try {
    // The window repaints, and the dialog appears, also while the reader goes without progress.
    jet::Limits limits;
    limits.idle = [] { ui().processEvents(); };
    summary = jet::convert(
        path.toStdString(), staging.toStdString(),
        [&](std::int64_t done, std::int64_t total) {
          progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
          ui().processEvents();
          return true;
        },
        limits);
  } catch (const jet::Error& error) {
    failure = QString::fromStdString(error.what());
  }
  progress.close();
  ui().setBusy(false);
  return failure;
}

void tellLeftOut(const QString& path, const jet::Summary& summary) {
  QString leftOut;
  for (const jet::TableSummary& table : summary.tables) {
    for (const std::string& why : table.leftOutIndexes)
      leftOut += "\r\n" + QString::fromStdString(table.name + ": " + why);
  }
  if (leftOut.isEmpty()) return;
  tell("The database " + path + " was converted with all its tables and records. These "
       "indexes could not be read and were left out:" + leftOut,
       "DATABASE CONVERTED", Icon::Information);
}

}  // namespace

// Whatever would make the conversion fail is found before the question: the file is converted
// into a name of its own beside the original first, which also shows that the folder takes new
// files. Only on Yes does the original step aside to its ".jet" name and the new file take the
// original name; on No the new file goes.
JetOpen offerJetConversion(QWidget* parent, const QString& path) {
  const std::string file = path.toStdString();
  if (!QFileInfo(path).isFile() || !jet::isJetFile(file)) return JetOpen::NotJet;
  const QString kept = keptJetPath(path);
  const QString keptName = QFileInfo(kept).fileName();
  if (QFileInfo::exists(kept) || QFileInfo(kept).isSymLink()) {
    refuse("The database " + path + " cannot be converted: " + kept +
               " already exists, and it is not written over. Move or rename that file and try "
               "again.",
           cannot);
    return JetOpen::Refused;
  }
  const QFileInfo info(path);
  const QString staging = info.dir().filePath(
      "." + info.fileName() + ".converting-" + QUuid::createUuid().toString(QUuid::Id128));
  jet::Summary summary;
  QString failure = convertInto(parent, path, staging, summary);
  if (failure.isEmpty()) {
    if (!ask("The database " + path + " is an Access (Jet) database. To open it, roomkit converts "
             "it into a database of its own under the same name, and keeps the original as " +
                 keptName + " beside it.\r\nConvert it now?",
             "CONVERT DATABASE?", Answer::Yes, Icon::Question)) {
      std::remove(staging.toStdString().c_str());
      return JetOpen::Declined;
    }
    if (!moveTo(path, kept)) {
      failure = "The original could not be renamed to " + keptName + ".";
    } else if (!moveTo(staging, path)) {
      moveTo(kept, path);
      failure = "The converted database could not take the name " + info.fileName() + ".";
    }
  }
  if (!failure.isEmpty()) {
    std::remove(staging.toStdString().c_str());
    refuse("The database " + path + " could not be converted, and nothing was changed.\r\n" + failure,
           cannot);
    return JetOpen::Refused;
  }
  tellLeftOut(path, summary);
  return JetOpen::Converted;
}

}  // namespace roomkit
