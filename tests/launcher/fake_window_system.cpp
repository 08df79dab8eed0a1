#include "fake_window_system.h"

namespace switchboard {

bool FakeWindowSystem::anotherInstanceRunning() {
  calls << "instance";
  return otherCopy;
}

QSize FakeWindowSystem::screenSize() {
  calls << "screen";
  return screen;
}

void FakeWindowSystem::setZOrder(WindowHandle, ZOrder order) {
  calls << "zorder";
  zOrders.push_back(order);
}

bool FakeWindowSystem::setColorKey(WindowHandle window, OleColor key) {
  calls << "colorkey";
  colorKeyWindows.push_back(window);
  colorKeys.push_back(key);
  return colorKeyTakes;
}

void FakeWindowSystem::setWindowRegion(WindowHandle, const PixelRect& region) {
  calls << "region";
  regions.push_back(region);
}

QPoint FakeWindowSystem::cursorPos() { return cursor; }

QPoint FakeWindowSystem::screenToClient(WindowHandle, QPoint point) { return point - clientOrigin; }

OleColor FakeWindowSystem::systemColor(int index) {
  const auto found = systemColors.find(index);
  return found == systemColors.end() ? 0 : found->second;
}

WindowHandle FakeWindowSystem::parentOf(WindowHandle window) {
  const auto found = parents.find(window);
  return found == parents.end() ? 0 : found->second;
}

bool FakeWindowSystem::isVisible(WindowHandle window) { return visible.count(window) > 0; }

StartResult FakeWindowSystem::startProgram(const QString& path) {
  calls << "start";
  started << path;
  return startAnswer;
}

void FakeWindowSystem::popupMenu(QMenu*) {
  calls << "menu";
  ++menusOpened;
}

void FakeWindowSystem::showMessage(const QString& text) {
  calls << "message";
  messages << text;
  if (onMessage) onMessage();
}

void FakeWindowSystem::letEventsRun() {
  if (onLetEventsRun) onLetEventsRun();
}

void FakeWindowSystem::animationPause() {
  ++framesPaused;
  if (onAnimationPause) onAnimationPause();
}

}  // namespace switchboard
