// A window system that records every call and answers from what the test set up.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "logic/window_system.h"

namespace switchboard {

class FakeWindowSystem final : public WindowSystem {
 public:
  // What the calls answer.
  bool otherCopy = false;
  QSize screen{1024, 768};  // pixels: 15360 x 11520 twips
  QPoint cursor;            // screen pixels
  QPoint clientOrigin;      // where every client area lies on the screen
  bool colorKeyTakes = true;
  std::map<int, OleColor> systemColors;
  std::map<WindowHandle, WindowHandle> parents;
  std::set<WindowHandle> visible;
  StartResult startAnswer{true, QString()};
  std::function<void()> onAnimationPause;  // runs inside each animation frame
  // Run while pending events run, and while a message box is open: what the event loop may
  // deliver meanwhile.
  std::function<void()> onLetEventsRun;
  std::function<void()> onMessage;

  // What was asked, in order: one word per call.
  QStringList calls;
  std::vector<ZOrder> zOrders;
  std::vector<OleColor> colorKeys;
  std::vector<WindowHandle> colorKeyWindows;
  std::vector<PixelRect> regions;
  QStringList started;
  QStringList messages;
  int menusOpened = 0;
  int framesPaused = 0;

  bool anotherInstanceRunning() override;
  QSize screenSize() override;
  void setZOrder(WindowHandle window, ZOrder order) override;
  bool setColorKey(WindowHandle window, OleColor key) override;
  void setWindowRegion(WindowHandle window, const PixelRect& region) override;
  QPoint cursorPos() override;
  QPoint screenToClient(WindowHandle window, QPoint screen) override;
  OleColor systemColor(int index) override;
  WindowHandle parentOf(WindowHandle window) override;
  bool isVisible(WindowHandle window) override;
  StartResult startProgram(const QString& path) override;
  void popupMenu(QMenu* menu) override;
  void showMessage(const QString& text) override;
  void letEventsRun() override;
  void animationPause() override;
};

}  // namespace switchboard
