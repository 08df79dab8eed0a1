// The bar's state apart from any window: where each button is, which one is magnified
// (HoverIndex), what the bar is busy with (BusyState), and the routines that change them.
#pragma once

#include <QPoint>
#include <QString>
#include <array>

#include "logic/layout.h"

namespace switchboard {

inline const QString kIdle = QString();
inline const QString kWorking = QStringLiteral("WORKING");     // a button is being magnified
inline const QString kRepositioning = QStringLiteral("NONO");  // the bar is being moved

// What the controls show.
struct Look {
  Layout buttons = homeLayout();
  bool backdropVisible = false;  // Image2
  bool captionVisible = false;   // Label2
  double captionLeft = 0;
  QString captionText;
  int frontButton = -1;  // the button drawn above the others, -1 for none
};

class Bar {
 public:
  class View {
   public:
    virtual ~View() = default;
    virtual void showLook(const Look& look) = 0;
    // One animation frame; pending window events run meanwhile.
    virtual void animationPause() = 0;
  };

  Bar(View& view, const Layout& buttonHome);

  const Look& look() const { return look_; }
  const Layout& ButtonHome() const { return home_; }
  const std::array<QString, kButtonCount>& ButtonLabels() const { return labels_; }
  const std::array<QString, kButtonCount>& ButtonPrograms() const { return programs_; }
  int HoverIndex() const { return hover_; }
  const QString& BusyState() const { return busy_; }

  // The pointer moved over button `index`.
  void pointerOver(int index);

  // Grows the button in six frames, pushing the others aside, then shows its caption. A reset
  // during a frame (the pointer left the bar, a launch, another button) ends the animation there,
  // so later frames never build on buttons that have already gone home.
  void MagnifyButton(int index);

  // Everything back home, backdrop and caption hidden; HoverIndex and BusyState unchanged.
  void ResetButtons();

  // A timer tick: resets the bar when the pointer (client pixels) has left a bar `barWidth`
  // twips wide.
  void timerTick(QPoint pointer, int barWidth);

  // Moving the bar to another docking place may start only when the bar is idle.
  bool beginReposition();
  void endReposition();

 private:
  View& view_;
  Layout home_;
  std::array<QString, kButtonCount> labels_;
  std::array<QString, kButtonCount> programs_;
  Look look_;
  int hover_ = -1;
  QString busy_;
  unsigned resets_ = 0;
};

}  // namespace switchboard
