#include "text_box.h"

#include <QKeyEvent>
#include <QTimer>

namespace roomkit {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

TextBox::TextBox(const QString& name, QWidget* parent) : QLineEdit(parent) { setObjectName(name); }

int characterCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    default: break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  if (event.modifiers() & Qt::ControlModifier) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
  }
  return text.at(0).unicode();
}

int upperCode(int code) {
  if (code < 32) return code;
  return QChar(static_cast<char16_t>(code)).toUpper().unicode();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  const int original = characterCode(*event);
  if (original == 0 || original == 9 || (!onKeyPress && !upperCase)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  int code = upperCase ? upperCode(original) : original;
  if (onKeyPress) onKeyPress(code);
  if (code == 0) {
    event->accept();
    return;
  }
  if (code == original) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (code == 8 || code == 13 || code == 27) {
    const int key = code == 8 ? Qt::Key_Backspace : code == 13 ? Qt::Key_Return : Qt::Key_Escape;
    QKeyEvent changed(QEvent::KeyPress, key, Qt::NoModifier);
    QLineEdit::keyPressEvent(&changed);
    return;
  }
  if (code < 32) {
    event->accept();  // other control characters type nothing in a one-line box
    return;
  }
  const QString typed(QChar(static_cast<char16_t>(code)));
  QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers() & ~Qt::ControlModifier,
                    typed);
  QLineEdit::keyPressEvent(&changed);
}

void TextBox::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (onKeyUp && !event->isAutoRepeat()) onKeyUp(event->key());
}

void TextBox::selectWhole() { setSelection(0, static_cast<int>(text().size())); }

void TextBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (selectAllOnFocus) selectWhole();
  if (onGotFocus) onGotFocus();
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (onClick) onClick();
}

}  // namespace roomkit
