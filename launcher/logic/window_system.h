// Everything the bar asks of the window system. The program uses the Qt implementation; tests
// use a fake that records each call.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>

class QMenu;

namespace switchboard {

// A window as the window system knows it; 0 is no window.
using WindowHandle = std::uintptr_t;

// A colour as 0x00BBGGRR; with the highest bit set, the lower 31 bits name a system colour.
using OleColor = std::uint32_t;
constexpr OleColor kPureGreen = 0x0000FF00;
constexpr OleColor kSystemColorBit = 0x80000000u;
constexpr int redOf(OleColor c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(OleColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(OleColor c) { return static_cast<int>((c >> 16) & 0xFF); }

enum class ZOrder { TopMost, NotTopMost, Top };

// A region's rectangle in window pixels: left and top inside, right and bottom outside.
struct PixelRect {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  bool operator==(const PixelRect&) const = default;
};

struct StartResult {
  bool started = false;
  QString reason;  // why not, when not started
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // True when another copy of the program runs; the first copy keeps its claim while it runs.
  virtual bool anotherInstanceRunning() = 0;
  virtual QSize screenSize() = 0;  // pixels

  // Into or out of the always-on-top band, or to the top of its band; size, place and activation
  // stay as they are, and the window is shown.
  virtual void setZOrder(WindowHandle window, ZOrder order) = 0;
  // Every pixel of the colour becomes see-through and lets the pointer through; false when the
  // window cannot take a colour key.
  virtual bool setColorKey(WindowHandle window, OleColor key) = 0;
  // Only this part of the window shows.
  virtual void setWindowRegion(WindowHandle window, const PixelRect& region) = 0;

  virtual QPoint cursorPos() = 0;  // screen pixels
  virtual QPoint screenToClient(WindowHandle window, QPoint screen) = 0;
  virtual OleColor systemColor(int index) = 0;
  virtual WindowHandle parentOf(WindowHandle window) = 0;  // 0 when none
  virtual bool isVisible(WindowHandle window) = 0;

  // Starts the program at this path in a normal, focused window, without waiting for it.
  virtual StartResult startProgram(const QString& path) = 0;

  virtual void popupMenu(QMenu* menu) = 0;            // at the pointer; returns at once
  virtual void showMessage(const QString& text) = 0;  // OK box, exclamation icon
  virtual void letEventsRun() = 0;
  virtual void animationPause() = 0;  // one frame of the magnification
};

}  // namespace switchboard
