// The one place that talks to the user outside the windows' own controls: message boxes, the
// beep, the busy pointer, letting pending events run, the file-open dialog and modal dialogs.
// The program installs QtUi; tests install a scripted layer that records and answers.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace roomkit {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };
enum class Icon { None, Exclamation, Information, Critical, Question };

struct Message {
  QString text;
  QString title;  // "" shows the program's title
  Buttons buttons = Buttons::Ok;
  Answer defaultButton = Answer::Ok;
  Icon icon = Icon::None;
};

inline const QString programTitle = QStringLiteral("roomkit");

class Ui {
 public:
  virtual ~Ui() = default;
  virtual Answer message(const Message& message) = 0;
  virtual void beep() = 0;
  virtual void setBusy(bool busy) = 0;  // hourglass, or the default pointer
  virtual void processEvents() = 0;
  // An Open dialog with one filter entry; returns the chosen file's full path, or initialName
  // unchanged when the user cancels.
  virtual QString openFile(QWidget* parent, const QString& filterName, const QString& pattern,
                           const QString& initialName) = 0;
  virtual int showModal(QDialog& dialog) = 0;
  // Ends the program at once, without closing its windows.
  virtual void endProgram() = 0;
};

Ui& ui();
void setUi(Ui* layer);  // nullptr restores the real layer

// Shorthands for the common boxes.
void tell(const QString& text, const QString& title = {}, Icon icon = Icon::None);
void refuse(const QString& text, const QString& title);  // OK, exclamation icon
bool ask(const QString& text, const QString& title, Answer defaultButton, Icon icon = Icon::None);

}  // namespace roomkit
