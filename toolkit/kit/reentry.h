// A handler that waits in a message box or a dialog lets the event loop run, and an event that
// arrives meanwhile (an activation, a timer, a click sent by program) may call a handler that has
// not ended yet. Such a handler holds a Reentry for its run; a call that finds it held does
// nothing.
#pragma once

namespace roomkit {

class Reentry {
 public:
  explicit Reentry(bool& running) : running_(running), entered_(!running) { running_ = true; }
  ~Reentry() {
    if (entered_) running_ = false;
  }
  Reentry(const Reentry&) = delete;
  Reentry& operator=(const Reentry&) = delete;

  bool entered() const { return entered_; }

 private:
  bool& running_;
  bool entered_;
};

// The program runs one user action at a time: a tool's button, the browse button, an undo. While
// one waits in a box of its own, another is not started.
bool& actionRunning();

}  // namespace roomkit
