#include "window/qt_window_system.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "logic/launch_plan.h"
#include "logic/layout.h"
#include "window/color_keyer.h"

namespace switchboard {

namespace {

// One frame of the magnification. The classic 125 rounds of pending events take well under a
// millisecond on today's machines, which would make the animation invisible; a frame lasts this
// long instead, with events running all the while.
constexpr int kFrameMilliseconds = 20;

OleColor toOle(const QColor& colour) {
  return static_cast<OleColor>(colour.red()) | static_cast<OleColor>(colour.green()) << 8 |
         static_cast<OleColor>(colour.blue()) << 16;
}

}  // namespace

WindowHandle handleOf(const QWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }
QWidget* widgetOf(WindowHandle handle) { return reinterpret_cast<QWidget*>(handle); }

QtWindowSystem::QtWindowSystem(QString lockPath) : lockPath_(std::move(lockPath)) {}
QtWindowSystem::~QtWindowSystem() = default;

QString QtWindowSystem::defaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(kProgramTitle + QStringLiteral(".lock"));
}

bool QtWindowSystem::anotherInstanceRunning() {
  if (lock_) return false;  // this copy already holds the claim
  auto lock = std::make_unique<QLockFile>(lockPath_);
  lock->setStaleLockTime(0);  // a lock is stale only when its copy is no longer running
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return false;
  }
  // When no lock can be taken for any other reason than another copy, the bar still starts.
  return lock->error() == QLockFile::LockFailedError;
}

QSize QtWindowSystem::screenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize();
}

void QtWindowSystem::setZOrder(WindowHandle window, ZOrder order) {
  QWidget* widget = widgetOf(window);
  if (order != ZOrder::Top) {
    const bool onTop = order == ZOrder::TopMost;
    if (widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
      const QPoint place = widget->pos();
      widget->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hides the window
      widget->move(place);
    }
  }
  widget->setAttribute(Qt::WA_ShowWithoutActivating);
  widget->show();
  widget->raise();
  ColorKeyer::of(widget)->refresh(true);
}

bool QtWindowSystem::setColorKey(WindowHandle window, OleColor key) {
  ColorKeyer* keyer = ColorKeyer::of(widgetOf(window));
  keyer->setKey(QColor(redOf(key), greenOf(key), blueOf(key)));
  keyer->refresh();
  return true;
}

void QtWindowSystem::setWindowRegion(WindowHandle window, const PixelRect& region) {
  ColorKeyer* keyer = ColorKeyer::of(widgetOf(window));
  keyer->setRegion(QRect(region.x1, region.y1, region.x2 - region.x1, region.y2 - region.y1));
  keyer->refresh();
}

QPoint QtWindowSystem::cursorPos() { return QCursor::pos(); }

QPoint QtWindowSystem::screenToClient(WindowHandle window, QPoint screen) {
  return widgetOf(window)->mapFromGlobal(screen);
}

// The Windows system colour numbers, answered from the desktop's palette.
OleColor QtWindowSystem::systemColor(int index) {
  const QPalette palette = QApplication::palette();
  QPalette::ColorRole role;
  QPalette::ColorGroup group = QPalette::Active;
  switch (index) {
    case 1:
    case 12: role = QPalette::Dark; break;  // desktop, workspace
    case 2:
    case 13: role = QPalette::Highlight; break;  // active caption, selection
    case 3:
      role = QPalette::Highlight;
      group = QPalette::Inactive;
      break;
    case 5: role = QPalette::Base; break;    // window
    case 6: role = QPalette::Shadow; break;  // window frame
    case 7:
    case 8: role = QPalette::Text; break;  // menu and window text
    case 9:
    case 14: role = QPalette::HighlightedText; break;
    case 16: role = QPalette::Mid; break;              // button shadow
    case 17: role = QPalette::PlaceholderText; break;  // grey text
    case 18: role = QPalette::ButtonText; break;
    case 20: role = QPalette::Light; break;  // button highlight
    case 21: role = QPalette::Shadow; break;
    case 22: role = QPalette::Midlight; break;
    case 23: role = QPalette::ToolTipText; break;
    case 24: role = QPalette::ToolTipBase; break;
    case 0:
    case 4:
    case 10:
    case 11:
    case 15: role = QPalette::Button; break;
    default: return 0;
  }
  return toOle(palette.color(group, role));
}

WindowHandle QtWindowSystem::parentOf(WindowHandle window) {
  return handleOf(widgetOf(window)->parentWidget());
}

bool QtWindowSystem::isVisible(WindowHandle window) {
  return window != 0 && widgetOf(window)->isVisible();
}

StartResult QtWindowSystem::startProgram(const QString& path) {
  const LaunchPlan plan = planLaunch(path, thisHost());
  if (!plan.ok) return {false, plan.reason};
  QProcess process;
  process.setProgram(plan.program);
  process.setArguments(plan.arguments);
  process.setWorkingDirectory(plan.workingFolder);
  if (!process.startDetached())
    return {false, QStringLiteral("the system did not start it (%1)").arg(process.errorString())};
  return {true, QString()};
}

void QtWindowSystem::popupMenu(QMenu* menu) { menu->popup(QCursor::pos()); }

void QtWindowSystem::showMessage(const QString& text) {
  QMessageBox box(QMessageBox::Warning, kProgramTitle, text, QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);  // the bar may be on top of everything else
  box.exec();
}

void QtWindowSystem::letEventsRun() { QCoreApplication::processEvents(); }

void QtWindowSystem::animationPause() {
  QEventLoop frame;
  QTimer::singleShot(kFrameMilliseconds, &frame, &QEventLoop::quit);
  frame.exec();
}

}  // namespace switchboard
