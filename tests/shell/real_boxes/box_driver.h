// Drives the program through its real message boxes and modal dialogs: it watches the event loop
// for the modal window on top, records what each one shows and answers it with the next step of
// a script. A box that no step expects is recorded and closed, so a test never hangs on it.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <ostream>
#include <vector>

class QTimer;

namespace testsupport {

struct SeenBox {
  QString kind;  // "message", "file dialog", or the dialog's object name
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;  // in the box's order
  QString defaultButton;
  QString note;  // what a step observed, when it says so

  bool operator==(const SeenBox& other) const = default;
};
void PrintTo(const SeenBox& box, std::ostream* out);

// A message box as the test expects it.
SeenBox messageBox(const QString& title, const QString& text, QMessageBox::Icon icon,
                   const QStringList& buttons, const QString& defaultButton = {});

class BoxDriver : public QObject {
 public:
  using Step = std::function<void(QWidget* box, SeenBox& seen)>;

  BoxDriver();
  ~BoxDriver() override;

  // The next box that appears gets this step.
  BoxDriver& then(Step step);

  // Starts the action from the event loop, runs the loop (the application's own, as the program
  // does) until the action has returned, every step has been used, no modal window is open and
  // nothing new has appeared for a moment. Returns false when the program ended the loop itself
  // (it ended the program).
  bool run(const std::function<void()>& action, int timeoutMs = 20000);

  std::deque<SeenBox> seen;  // a deque: a step writes into its record while others are added
  int unexpected = 0;        // boxes that came after the script ran out
  bool timedOut = false;

  // Steps.
  static Step press(const QString& button);         // "Yes", "No", "OK" of a message box
  static Step chooseFile(const QString& path);      // the file dialog
  static Step cancel();                             // any dialog: rejected
  static Step doubleClickRow(const QString& text);  // a picker's list: the row with that text
  static Step both(Step first, Step second);        // one after the other on the same box
  static Step note(std::function<QString(QWidget*)> observe);  // records into SeenBox::note
  static Step sendActivations(int count);  // to the box, as a window system may do
  static Step sendActivationsTo(QPointer<QWidget> target, int count);

 private:
  void poll();
  static SeenBox describe(QWidget* box);

  QTimer* timer_;
  std::deque<Step> steps_;
  std::vector<QPointer<QWidget>> handled_;
  bool actionDone_ = false;
  int quietTicks_ = 0;
  int elapsed_ = 0;
  int timeout_ = 0;
};

}  // namespace testsupport
