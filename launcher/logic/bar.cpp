#include "logic/bar.h"

#include "logic/magnify.h"

namespace switchboard {

Bar::Bar(View& view, const Layout& buttonHome) : view_(view), home_(buttonHome) {
  for (int i = 0; i < kButtonCount; ++i) {
    labels_[i] = QString::fromLatin1(kButtons[i].caption);
    programs_[i] = QString::fromLatin1(kButtons[i].program);
  }
  look_.buttons = home_;
}

void Bar::pointerOver(int index) {
  if (busy_ == kIdle && hover_ != index) MagnifyButton(index);
}

void Bar::MagnifyButton(int index) {
  if (busy_ != kIdle || index < 0 || index >= kButtonCount) return;
  busy_ = kWorking;
  if (hover_ != -1) ResetButtons();
  look_.backdropVisible = true;
  look_.captionVisible = false;
  hover_ = index;
  view_.showLook(look_);

  const unsigned resetsBefore = resets_;
  for (const Layout& frame : magnifyFrames(home_, index)) {
    look_.buttons = frame;
    view_.showLook(look_);
    view_.animationPause();
    if (resets_ != resetsBefore) {
      busy_ = kIdle;
      return;
    }
  }

  look_.frontButton = index;
  look_.captionLeft = captionLeft(look_.buttons[index]);
  look_.captionText = labels_[index];
  look_.captionVisible = true;
  view_.showLook(look_);
  busy_ = kIdle;
}

void Bar::ResetButtons() {
  ++resets_;
  look_.backdropVisible = false;
  look_.captionVisible = false;
  look_.buttons = home_;
  view_.showLook(look_);
}

void Bar::timerTick(QPoint pointer, int barWidth) {
  if (!pointerHasLeft(pointer, barWidth)) return;
  ResetButtons();
  hover_ = -1;
  busy_ = kIdle;
}

bool Bar::beginReposition() {
  if (busy_ != kIdle) return false;
  busy_ = kRepositioning;
  return true;
}

void Bar::endReposition() { busy_ = kIdle; }

}  // namespace switchboard
