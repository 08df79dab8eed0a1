// The green key as a window mask: what the bar shows is exactly its non-green pixels, whatever
// state the buttons are in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "window/bar_window.h"
#include "window/color_keyer.h"
#include "window/qt_window_system.h"

using namespace switchboard;

namespace {

const QColor kGreen(0, 255, 0);

TEST(RegionWithoutKeyTest, HoldsExactlyTheOtherPixels) {
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(kGreen);
  picture.setPixel(0, 0, qRgb(0, 254, 0));
  picture.setPixel(5, 3, qRgb(255, 255, 255));
  picture.setPixel(2, 1, qRgb(0, 0, 0));
  picture.setPixel(3, 1, qRgb(0, 0, 0));
  const QRegion region = regionWithoutKey(picture, kGreen);
  EXPECT_EQ(region, QRegion(0, 0, 1, 1) + QRegion(5, 3, 1, 1) + QRegion(2, 1, 2, 1));
  picture.fill(kGreen);
  EXPECT_TRUE(regionWithoutKey(picture, kGreen).isEmpty());
}

// Every pixel of the window is in the mask exactly when it is not the key green.
void expectMaskIsTheNonGreenPixels(QWidget& window) {
  QApplication::sendPostedEvents();
  QApplication::processEvents();
  QImage drawn(window.size(), QImage::Format_RGB32);
  drawn.fill(kGreen);
  window.render(&drawn, QPoint(), QRegion(),
                QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
  const QRegion mask = window.mask();
  int shown = 0;
  int wrong = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const bool green = QColor(drawn.pixel(x, y)) == kGreen;
      const bool inMask = mask.contains(QPoint(x, y));
      shown += inMask ? 1 : 0;
      wrong += green == inMask ? 1 : 0;
    }
  }
  EXPECT_EQ(wrong, 0) << "pixels whose mask state does not match their colour";
  EXPECT_GT(shown, 8 * 300) << "the eight pictures show";
}

class ShapedBarTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::unique_ptr<QtWindowSystem> ws;
  std::unique_ptr<BarWindow> bar;

  void SetUp() override {
    QFile jox(dir.filePath("jox.ini"));
    ASSERT_TRUE(jox.open(QIODevice::WriteOnly));
    jox.write("/opt/suite/\r\n");
    jox.close();
    ws = std::make_unique<QtWindowSystem>(dir.filePath("switchboard.lock"));
    bar = std::make_unique<BarWindow>(*ws, Paths{dir.path() + "/", dir.filePath("sb.ini")});
    ASSERT_TRUE(bar->Form_Load());
  }
};

TEST_F(ShapedBarTest, NoGreenShowsAtRestMagnifiedOrReset) {
  EXPECT_TRUE(bar->isVisible());
  expectMaskIsTheNonGreenPixels(*bar);
  EXPECT_FALSE(bar->mask().contains(QPoint(2, 2))) << "the frame is cut away";

  // The timer runs meanwhile: the pointer stays on the button so it does not end the animation.
  const auto pointAt = [this](int button) {
    const QWidget* picture = bar->findChild<QWidget*>(QString("Image1(%1)").arg(button));
    QCursor::setPos(picture->mapToGlobal(picture->rect().center()));
  };
  pointAt(3);
  bar->Image1_MouseMove(3);
  ASSERT_EQ(bar->bar().HoverIndex(), 3);
  ASSERT_TRUE(bar->bar().look().captionVisible);
  expectMaskIsTheNonGreenPixels(*bar);
  const QWidget* backdrop = bar->findChild<QWidget*>("Image2");
  const QWidget* caption = bar->findChild<QWidget*>("Label2");
  const QPoint client = bar->clientArea()->pos();
  EXPECT_FALSE((bar->mask() & backdrop->geometry().translated(client)).isEmpty());
  EXPECT_FALSE((bar->mask() & caption->geometry().translated(client)).isEmpty());

  pointAt(6);
  bar->Image1_MouseMove(6);
  ASSERT_TRUE(bar->bar().look().captionVisible);
  expectMaskIsTheNonGreenPixels(*bar);

  QCursor::setPos(bar->mapToGlobal(QPoint(20, -30)));  // above the bar
  bar->Timer1_Timer();
  ASSERT_EQ(bar->bar().HoverIndex(), -1);
  expectMaskIsTheNonGreenPixels(*bar);
  EXPECT_TRUE((bar->mask() & backdrop->geometry().translated(client)).isEmpty());
}

}  // namespace
