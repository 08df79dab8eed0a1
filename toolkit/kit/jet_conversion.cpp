#include "jet_conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <memory>

#include "jet/in_place.h"
#include "jet/jet_file.h"
#include "store/error.h"
#include "ui.h"

namespace roomkit {

QString keptJetPath(const QString& path) { return path + ".jet"; }

namespace {

const QString cannot = QStringLiteral("CANNOT CONTINUE");

// The conversion beside the original, with a progress dialog and the busy pointer; null with the
// reason when it could not be made.
std::unique_ptr<jet::Replacement> convertBeside(QWidget* parent, const QString& path,
                                                QString& failure) {
  ui().setBusy(true);
  QProgressDialog progress("Converting " + QFileInfo(path).fileName() + "...", QString(), 0, 1000,
                           parent);
  progress.setObjectName("ConversionProgress");
  progress.setWindowTitle(programTitle);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoReset(false);
  std::unique_ptr<jet::Replacement> replacement;
  try {
    // The window repaints, and the dialog appears, also while the reader goes without progress.
    jet::Limits limits;
    limits.idle = [] { ui().processEvents(); };
    replacement = std::make_unique<jet::Replacement>(
        path.toStdString(),
        [&](std::int64_t done, std::int64_t total) {
          progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
          ui().processEvents();
          return true;
        },
        limits);
  } catch (const store::Error& error) {
    if (!error.refusesJet()) throw;
    failure = QString::fromStdString(error.what());
  }
  progress.close();
  ui().setBusy(false);
  return replacement;
}

void tellLeftOut(const QString& path, const jet::Summary& summary) {
  QString leftOut;
  for (const jet::TableSummary& table : summary.tables) {
    for (const std::string& why : table.leftOut)
      leftOut += "\r\n" + QString::fromStdString(table.name + ": " + why);
  }
  if (leftOut.isEmpty()) return;
  tell("The database " + path +
           " was converted with all its tables and records. These could "
           "not be brought across and were left out:" +
           leftOut,
       "DATABASE CONVERTED", Icon::Information);
}

}  // namespace

// Whatever would make the conversion fail is found before the question: the file is converted
// beside the original first, which also shows that the folder takes new files. Only on Yes does
// the new file take the original's name, the original kept as "<name>.jet"; on No it goes.
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
  QString failure;
  const std::unique_ptr<jet::Replacement> replacement = convertBeside(parent, path, failure);
  if (replacement) {
    if (!ask("The database " + path +
                 " is an Access (Jet) database. To open it, roomkit converts "
                 "it into a database of its own under the same name, and keeps the original as " +
                 keptName + " beside it.\r\nConvert it now?",
             "CONVERT DATABASE?", Answer::Yes, Icon::Question)) {
      return JetOpen::Declined;
    }
    try {
      replacement->commit();
    } catch (const store::Error& error) {
      if (!error.refusesJet()) throw;
      failure = QString::fromStdString(error.what());
    }
  }
  if (!failure.isEmpty()) {
    refuse(
        "The database " + path + " could not be converted, and nothing was changed.\r\n" + failure,
        cannot);
    return JetOpen::Refused;
  }
  tellLeftOut(path, replacement->summary());
  return JetOpen::Converted;
}

}  // namespace roomkit
