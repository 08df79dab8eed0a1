#include "window/bar_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include "logic/docking.h"
#include "logic/launch_plan.h"
#include "logic/layout.h"
#include "logic/settings_file.h"
#include "logic/window_routines.h"
#include "window/artwork.h"
#include "window/bar_menu.h"
#include "window/image_control.h"
#include "window/qt_window_system.h"

namespace switchboard {

namespace {

const QColor kKeyColour(redOf(kPureGreen), greenOf(kPureGreen), blueOf(kPureGreen));
const QColor kCaptionColour(64, 64, 64);
constexpr int kTimerInterval = 100;

QRect toPixels(const TwipRect& r) {
  return QRect(pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height));
}

int vbBool(bool value) { return value ? -1 : 0; }

}  // namespace

BarWindow::BarWindow(WindowSystem& windowSystem, Paths paths)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      ws_(windowSystem),
      paths_(std::move(paths)),
      bar_(*this, homeLayout()),
      client_(new QWidget(this)),
      timer1_(new QTimer(this)),
      menu_(std::make_unique<BarMenu>(this)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kProgramTitle);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kKeyColour);
  setPalette(palette);
  setAutoFillBackground(true);
  resize(pixels(kWindowWidth), pixels(kWindowHeight));
  client_->setGeometry(pixels(kFrameBorder), pixels(kFrameCaption), pixels(kClientWidth),
                       pixels(kClientHeight));

  image2_ = new ImageControl(backdropPicture, client_);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(toPixels(kBackdrop));
  image2_->hide();

  for (int i = 0; i < kButtonCount; ++i) {
    auto* button = new ImageControl([i](QSize size) { return buttonPicture(i, size); }, client_);
    button->setObjectName(QStringLiteral("Image1(%1)").arg(i));
    button->setGeometry(toPixels(bar_.ButtonHome()[i]));
    button->onMouseMove = [this, i] { Image1_MouseMove(i); };
    button->onMouseUp = [this, i](Qt::MouseButton pressed) { Image1_MouseUp(i, pressed); };
    image1_[i] = button;
  }

  // Drawn without smoothing: soft text edges would blend the key green into the letters.
  label2_ = new QLabel(client_);
  label2_->setObjectName(QStringLiteral("Label2"));
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(8);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  label2_->setFont(font);
  QPalette text = label2_->palette();
  text.setColor(QPalette::WindowText, kCaptionColour);
  label2_->setPalette(text);
  label2_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  label2_->setGeometry(0, pixels(kCaptionTop), pixels(kCaptionWidth), pixels(kCaptionHeight));
  label2_->hide();

  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(kTimerInterval);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  menu_->onPosition = [this](int index) { POS_MENU_Click(index); };
  menu_->onOnTop = [this] { POPUP_ONTOP_Click(); };
  menu_->onClose = [this] { POPUP_CLOSE_Click(); };
  menu_->show(menuState_);
}

BarWindow::~BarWindow() = default;

bool BarWindow::Form_Load() {
  const StartupPlan plan = planStartup(ws_, paths_, widthInTwips());
  if (plan.endProgram) return false;
  suiteFolder_ = plan.suiteFolder;
  resize(width(), pixels(plan.height));
  menuState_ = plan.menu;
  menu_->show(menuState_);
  placeAt(plan.left, plan.top);

  const WindowHandle window = handleOf(this);
  SetTopMost(ws_, window, vbBool(true));
  ShapeWindow(ws_, window, kPureGreen,
              WindowSizes{widthInTwips(), height() * kTwipsPerPixel,
                          client_->width() * kTwipsPerPixel, client_->height() * kTwipsPerPixel});
  SetTopMost(ws_, window, vbBool(menuState_.onTop));
  timer1_->start();
  loaded_ = true;
  return true;
}

void BarWindow::Image1_MouseMove(int index) { bar_.pointerOver(index); }

// A release that arrives while a launch lets events run or shows why it failed (a double click,
// say) starts nothing inside that launch.
void BarWindow::Image1_MouseUp(int index, Qt::MouseButton button) {
  if (launching_) return;
  if (button != Qt::LeftButton) {
    ws_.popupMenu(menu_->menu());
    return;
  }
  launching_ = true;
  bar_.ResetButtons();
  ws_.letEventsRun();
  const QString path = programPath(suiteFolder_, index);
  const StartResult result = ws_.startProgram(path);
  if (!result.started) ws_.showMessage(launchFailureText(path, result.reason));
  launching_ = false;
}

void BarWindow::Timer1_Timer() {
  ws_.letEventsRun();
  const QPoint pointer = ws_.screenToClient(handleOf(client_), ws_.cursorPos());
  bar_.timerTick(pointer, widthInTwips());
}

void BarWindow::POS_MENU_Click(int index) {
  if (bar_.beginReposition()) {
    menuState_.tickOnly(index);
    menu_->show(menuState_);
    const QSize screen = ws_.screenSize() * kTwipsPerPixel;
    placeAt(dockLeft(index, screen.width(), widthInTwips()), y() * kTwipsPerPixel);
    ws_.letEventsRun();
    bar_.endReposition();
    update();
  }
  menu_->show(menuState_);
}

void BarWindow::POPUP_ONTOP_Click() {
  menuState_.onTop = !menuState_.onTop;
  menu_->show(menuState_);
  SetTopMost(ws_, handleOf(this), vbBool(menuState_.onTop));
}

void BarWindow::POPUP_CLOSE_Click() { close(); }

bool BarWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Form_Activate();
  return QWidget::event(event);
}

void BarWindow::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void BarWindow::Form_Activate() { update(); }

void BarWindow::Form_Unload() {
  if (!loaded_) return;
  timer1_->stop();
  writeSettings(paths_.settingsFile, menuState_.toSettings());  // a failure is skipped
}

void BarWindow::showLook(const Look& look) {
  for (int i = 0; i < kButtonCount; ++i) {
    const QRect place = toPixels(look.buttons[i]);
    if (image1_[i]->geometry() != place) image1_[i]->setGeometry(place);
  }
  if (look.frontButton != frontButton_ && look.frontButton >= 0) {
    for (int i = 0; i < kButtonCount; ++i)
      if (i != look.frontButton) image1_[i]->raise();
    image1_[look.frontButton]->raise();
  }
  frontButton_ = look.frontButton;
  image2_->setVisible(look.backdropVisible);
  if (look.captionVisible) {
    label2_->setText(look.captionText);
    label2_->move(pixels(look.captionLeft), pixels(kCaptionTop));
  }
  label2_->setVisible(look.captionVisible);
  if (look.captionVisible) label2_->update();
}

void BarWindow::animationPause() { ws_.animationPause(); }

void BarWindow::placeAt(double leftTwips, double topTwips) {
  move(pixels(leftTwips), pixels(topTwips));
}

int BarWindow::widthInTwips() const { return width() * kTwipsPerPixel; }

}  // namespace switchboard
