// Writes the icon files of roomkit and switchboard in the hicolor layout, from the same drawings
// that the programs' windows show: <folder>/<n>x<n>/apps/<name>.png for each size and
// <folder>/scalable/apps/<name>.svg.
//   roomkit_render_icons FOLDER ROOMKIT_NAME SWITCHBOARD_NAME SIZE...
#include <QDir>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "kit/program_icon.h"
#include "window/program_icon.h"

namespace {

struct Icon {
  QString name;
  QString title;
  std::function<void(QPainter&)> draw;
  std::function<QImage(int)> image;
};

bool writeSvg(const Icon& icon, const QString& path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setTitle(icon.title);
  svg.setSize(QSize(suite::kIconGrid, suite::kIconGrid));
  svg.setViewBox(QRect(0, 0, suite::kIconGrid, suite::kIconGrid));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  icon.draw(painter);
  return painter.end();
}

bool writeIcon(const Icon& icon, const QString& root, const std::vector<int>& sizes) {
  const QDir folder(root);
  for (int size : sizes) {
    const QString apps = QStringLiteral("%1x%1/apps").arg(size);
    if (!folder.mkpath(apps)) return false;
    if (!icon.image(size).save(folder.filePath(apps + "/" + icon.name + ".png"), "PNG")) {
      return false;
    }
  }
  return folder.mkpath("scalable/apps") &&
         writeSvg(icon, folder.filePath("scalable/apps/" + icon.name + ".svg"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fputs("usage: roomkit_render_icons FOLDER ROOMKIT_NAME SWITCHBOARD_NAME SIZE...\n",
               stderr);
    return 2;
  }
  std::vector<int> sizes;
  for (int i = 4; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) {
      std::fprintf(stderr, "roomkit_render_icons: '%s' is no icon size\n", argv[i]);
      return 2;
    }
    sizes.push_back(size);
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const Icon icons[] = {
      {QString::fromLocal8Bit(argv[2]), QStringLiteral("roomkit"), roomkit::drawProgramIcon,
       roomkit::programIconImage},
      {QString::fromLocal8Bit(argv[3]), QStringLiteral("switchboard"), switchboard::drawProgramIcon,
       switchboard::programIconImage},
  };
  for (const Icon& icon : icons) {
    if (!writeIcon(icon, root, sizes)) {
      std::fprintf(stderr, "roomkit_render_icons: cannot write the %s icon into %s\n",
                   qPrintable(icon.title), argv[1]);
      return 1;
    }
  }
  return 0;
}
