// The window system as Qt offers it, on Linux and Windows alike.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

#include "logic/window_system.h"

class QWidget;

namespace switchboard {

WindowHandle handleOf(const QWidget* widget);
QWidget* widgetOf(WindowHandle handle);

class QtWindowSystem final : public WindowSystem {
 public:
  // `lockPath` is the file whose lock marks the running copy; by default one per user.
  explicit QtWindowSystem(QString lockPath = defaultLockPath());
  ~QtWindowSystem() override;

  static QString defaultLockPath();

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

 private:
  QString lockPath_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace switchboard
