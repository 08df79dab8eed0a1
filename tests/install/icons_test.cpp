// The icon files installed for the desktop show the same picture as the programs' windows: each
// PNG holds the window icon's pixels at its size, and the SVG draws the same picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "kit/program.h"
#include "kit/program_icon.h"
#include "shell/form1.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "window/program_icon.h"

namespace {

struct Program {
  const char* name;
  const char* iconName;
  std::function<QIcon()> windowIcon;
};

QIcon roomkitWindowIcon() {
  testsupport::TempDir dir;
  roomkit::program().programFolder = QString::fromStdString(dir.path().string());
  testsupport::ScriptedUi ui;
  const roomkit::Form1 form;
  const QIcon icon = form.windowIcon();
  roomkit::program() = roomkit::ProgramValues{};
  return icon;
}

QString iconFile(const QString& folder, const char* name, const char* extension) {
  return QStringLiteral(ROOMKIT_ICON_FOLDER "/%1/apps/%2.%3").arg(folder, name, extension);
}

// The share of pixels whose colour or coverage differs by more than a rounding step.
double differingShare(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      const int step = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
      if (step > 8) ++differing;
    }
  }
  return double(differing) / (a.width() * a.height());
}

class IconFilesTest : public ::testing::TestWithParam<Program> {};

TEST_P(IconFilesTest, EachPngIsTheWindowIconAtItsSize) {
  const QIcon window = GetParam().windowIcon();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString path = iconFile(QStringLiteral("%1x%1").arg(size), GetParam().iconName, "png");
    const QImage installed(path);
    ASSERT_FALSE(installed.isNull()) << path.toStdString();
    EXPECT_EQ(installed.size(), QSize(size, size)) << path.toStdString();
    const QImage shown = window.pixmap(QSize(size, size)).toImage();
    EXPECT_EQ(shown.size(), QSize(size, size)) << "the window icon has no picture of this size";
    EXPECT_EQ(installed.convertToFormat(QImage::Format_ARGB32),
              shown.convertToFormat(QImage::Format_ARGB32))
        << path.toStdString();
  }
}

TEST_P(IconFilesTest, TheSvgDrawsTheSamePicture) {
  const QString path = iconFile(QStringLiteral("scalable"), GetParam().iconName, "svg");
  QSvgRenderer svg(path);
  ASSERT_TRUE(svg.isValid()) << path.toStdString();
  const QImage png(iconFile(QStringLiteral("256x256"), GetParam().iconName, "png"));
  ASSERT_FALSE(png.isNull());
  QImage drawn(png.size(), QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  QPainter painter(&drawn);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter, QRectF(0, 0, drawn.width(), drawn.height()));
  painter.end();
  // SVG has no painter clip or composition mode: a drawing that used one would leave a tile's
  // gloss outside its rounded corners (some 0.6 % of the pixels) or a black patch for a hole.
  EXPECT_LT(differingShare(drawn.convertToFormat(QImage::Format_ARGB32),
                           png.convertToFormat(QImage::Format_ARGB32)),
            0.001);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, IconFilesTest,
    ::testing::Values(Program{"roomkit", "org.roomkit.roomkit", roomkitWindowIcon},
                      Program{"switchboard", "org.roomkit.switchboard", switchboard::programIcon}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
