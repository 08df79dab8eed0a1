// A one-line text box with the key handling the panels rely on: a key-press hook that sees each
// typed character as its code and may change it or swallow it (0), a key-release hook, optional
// upper-casing of typed characters, and selection of the whole text when the box gains the focus.
#pragma once

#include <QLineEdit>
#include <functional>

namespace roomkit {

class TextBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit TextBox(QWidget* parent = nullptr);
  TextBox(const QString& name, QWidget* parent);

  // Character codes: Enter is 13, Backspace 8; other keys give their character's code.
  std::function<void(int& code)> onKeyPress;
  std::function<void(int key)> onKeyUp;  // the Qt key released
  std::function<void()> onGotFocus;
  std::function<void()> onClick;

  bool upperCase = false;         // typed characters become capitals before onKeyPress
  bool selectAllOnFocus = false;  // gaining the focus selects the whole text

  void selectWhole();  // selection from 0 over the whole length

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The character code of a key press as the hooks see it; 0 for keys that type nothing.
int characterCode(const QKeyEvent& event);
int upperCode(int code);

}  // namespace roomkit
