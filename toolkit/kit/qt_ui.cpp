// The real message-box layer over QMessageBox and QFileDialog.
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui.h"

namespace roomkit {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

// A file pattern that matches in any letter case: "jox_*.mdb" becomes
// "[jJ][oO][xX]_*.[mM][dD][bB]".
QString caseBlind(const QString& pattern) {
  QString out;
  for (QChar ch : pattern) {
    if (ch.isLetter()) {
      out += '[' + QString(ch.toLower()) + QString(ch.toUpper()) + ']';
    } else {
      out += ch;
    }
  }
  return out;
}

class QtUi : public Ui {
 public:
  Answer message(const Message& m) override {
    QMessageBox box(qtIcon(m.icon), m.title.isEmpty() ? programTitle : m.title, m.text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    if (m.buttons == Buttons::YesNo) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(m.defaultButton == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    } else {
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
    }
    const bool wasBusy = busy_;
    setBusy(false);  // a box is answered with the normal pointer
    const int result = box.exec();
    setBusy(wasBusy);
    if (result == QMessageBox::Yes) return Answer::Yes;
    if (result == QMessageBox::No) return Answer::No;
    return Answer::Ok;
  }

  void beep() override { QApplication::beep(); }

  void setBusy(bool busy) override {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }

  void processEvents() override { QApplication::processEvents(); }

  QString openFile(QWidget* parent, const QString& filterName, const QString& pattern,
                   const QString& initialName) override {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The entry shows its name only; the pattern behind it ignores letter case.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filterName + " (" + caseBlind(pattern) + ")");
    const QFileInfo initial(initialName);
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
    const bool wasBusy = busy_;
    setBusy(false);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    setBusy(wasBusy);
    return chosen ? dialog.selectedFiles().constFirst() : initialName;
  }

  int showModal(QDialog& dialog) override { return dialog.exec(); }

  void endProgram() override { QApplication::exit(0); }

 private:
  bool busy_ = false;
};

}  // namespace

Ui& realUi() {
  static QtUi layer;
  return layer;
}

}  // namespace roomkit
