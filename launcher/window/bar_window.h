// The launcher bar: a borderless window whose pure-green background and picture pixels are
// see-through, with eight picture buttons that magnify under the pointer and start the suite's
// module programs.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "logic/bar.h"
#include "logic/menu_state.h"
#include "logic/startup.h"
#include "logic/window_system.h"

class QLabel;
class QTimer;

namespace switchboard {

class BarMenu;
class ImageControl;

class BarWindow final : public QWidget, private Bar::View {
 public:
  BarWindow(WindowSystem& windowSystem, Paths paths);
  ~BarWindow() override;

  // Start-up; false when the program is to end at once (another copy runs, no program folder).
  bool Form_Load();

  void Image1_MouseMove(int index);
  void Image1_MouseUp(int index, Qt::MouseButton button);
  void Timer1_Timer();
  void POS_MENU_Click(int index);
  void POPUP_ONTOP_Click();
  void POPUP_CLOSE_Click();

  const QString& SuiteFolder() const { return suiteFolder_; }
  const Bar& bar() const { return bar_; }
  const MenuState& menuState() const { return menuState_; }
  QWidget* clientArea() const { return client_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void showLook(const Look& look) override;
  void animationPause() override;
  void Form_Activate();
  void Form_Unload();
  void placeAt(double leftTwips, double topTwips);
  int widthInTwips() const;

  WindowSystem& ws_;
  Paths paths_;
  Bar bar_;
  MenuState menuState_;
  QString suiteFolder_;
  bool loaded_ = false;
  bool launching_ = false;  // a launch lets events run and may show a box meanwhile
  int frontButton_ = -1;

  QWidget* client_;
  std::array<ImageControl*, kButtonCount> image1_{};
  ImageControl* image2_;
  QLabel* label2_;
  QTimer* timer1_;
  std::unique_ptr<BarMenu> menu_;
};

}  // namespace switchboard
