#include "box_driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace testsupport {

namespace {

constexpr int tick = 5;          // milliseconds between looks at the modal window
constexpr int quietTicks = 40;   // how long nothing may happen before a run counts as ended
constexpr int programEnded = 0;  // what the application's loop returns when the program ends it
constexpr int driverEnded = 1;

QString plain(QString text) { return text.remove('&'); }

QString iconName(QMessageBox::Icon icon) {
  switch (icon) {
    case QMessageBox::Warning: return "exclamation";
    case QMessageBox::Information: return "information";
    case QMessageBox::Critical: return "critical";
    case QMessageBox::Question: return "question";
    default: return "none";
  }
}

QAbstractItemView* listOf(QWidget* box) {
  auto* list = box->findChild<QAbstractItemView*>("ListView1");
  return list ? list : box->findChild<QAbstractItemView*>();
}

}  // namespace

void PrintTo(const SeenBox& box, std::ostream* out) {
  *out << "{" << box.kind.toStdString() << " \"" << box.title.toStdString() << "\" \""
       << box.text.toStdString() << "\" icon " << iconName(box.icon).toStdString() << " ["
       << box.buttons.join(", ").toStdString() << "] default \"" << box.defaultButton.toStdString()
       << "\"";
  if (!box.note.isEmpty()) *out << " note \"" << box.note.toStdString() << "\"";
  *out << "}";
}

SeenBox messageBox(const QString& title, const QString& text, QMessageBox::Icon icon,
                   const QStringList& buttons, const QString& defaultButton) {
  SeenBox box;
  box.kind = "message";
  box.title = title;
  box.text = text;
  box.icon = icon;
  box.buttons = buttons;
  box.defaultButton = defaultButton.isEmpty() ? buttons.value(0) : defaultButton;
  return box;
}

BoxDriver::BoxDriver() : timer_(new QTimer(this)) {
  // The tests close windows without ending the application.
  QApplication::setQuitOnLastWindowClosed(false);
  timer_->setInterval(tick);
  connect(timer_, &QTimer::timeout, this, &BoxDriver::poll);
}

BoxDriver::~BoxDriver() = default;

BoxDriver& BoxDriver::then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

bool BoxDriver::run(const std::function<void()>& action, int timeoutMs) {
  actionDone_ = false;
  quietTicks_ = 0;
  elapsed_ = 0;
  timeout_ = timeoutMs;
  QTimer::singleShot(0, this, [this, action] {
    action();
    actionDone_ = true;
  });
  timer_->start();
  const int rc = QApplication::exec();
  timer_->stop();
  return rc == driverEnded;
}

SeenBox BoxDriver::describe(QWidget* box) {
  SeenBox seen;
  seen.title = box->windowTitle();
  if (auto* message = qobject_cast<QMessageBox*>(box)) {
    seen.kind = "message";
    seen.text = message->text();
    seen.icon = message->icon();
    // In the order the box lays them out.
    QList<QAbstractButton*> buttons = message->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
    for (QAbstractButton* button : buttons) seen.buttons << plain(button->text());
    if (message->defaultButton()) seen.defaultButton = plain(message->defaultButton()->text());
  } else if (auto* files = qobject_cast<QFileDialog*>(box)) {
    seen.kind = "file dialog";
    seen.text = files->nameFilters().join(";");
    seen.note = files->directory().absolutePath();
  } else {
    seen.kind = box->objectName();
  }
  return seen;
}

void BoxDriver::poll() {
  elapsed_ += tick;
  QWidget* box = QApplication::activeModalWidget();
  if (qobject_cast<QProgressDialog*>(box)) box = nullptr;  // it closes by itself
  if (elapsed_ > timeout_) {
    timedOut = true;
    if (box) box->close();
    QApplication::exit(driverEnded);
    return;
  }
  const bool known =
      std::any_of(handled_.begin(), handled_.end(),
                  [box](const QPointer<QWidget>& seenBox) { return seenBox == box; });
  if (box && !known) {
    // A box opened while a step acts is handled by a look from inside that box's own loop.
    handled_.emplace_back(box);
    quietTicks_ = 0;
    seen.push_back(describe(box));
    SeenBox& record = seen.back();
    if (steps_.empty()) {
      ++unexpected;
      QTimer::singleShot(0, this, [target = QPointer<QWidget>(box)] {
        if (auto* dialog = qobject_cast<QDialog*>(target.data())) dialog->reject();
      });
      return;
    }
    // The step runs from an event of its own, so that this look can come again from inside any
    // box the step opens (a timer's slot is not entered again while it runs).
    Step step = std::move(steps_.front());
    steps_.pop_front();
    QTimer::singleShot(0, this, [step = std::move(step), target = QPointer<QWidget>(box), &record] {
      if (target) step(target, record);
    });
    return;
  }
  if (!box && actionDone_ && steps_.empty()) {
    if (++quietTicks_ >= quietTicks) QApplication::exit(driverEnded);
  } else if (!box) {
    quietTicks_ = 0;
  }
}

BoxDriver::Step BoxDriver::press(const QString& button) {
  return [button](QWidget* box, SeenBox& seen) {
    auto* message = qobject_cast<QMessageBox*>(box);
    if (!message) {
      seen.note += " (no message box to press " + button + " on)";
      box->close();
      return;
    }
    for (QAbstractButton* candidate : message->buttons()) {
      if (plain(candidate->text()) == button) {
        candidate->click();
        return;
      }
    }
    seen.note += " (no button " + button + ")";
    message->reject();
  };
}

BoxDriver::Step BoxDriver::chooseFile(const QString& path) {
  return [path](QWidget* box, SeenBox& seen) {
    auto* files = qobject_cast<QFileDialog*>(box);
    if (!files) {
      seen.note += " (no file dialog)";
      box->close();
      return;
    }
    // Typed into the name box, as a user does: the dialog may still be reading its folder, and a
    // selection made now could be replaced when it has read it.
    files->selectFile(path);
    if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
    QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);  // as the Open button does
  };
}

BoxDriver::Step BoxDriver::cancel() {
  return [](QWidget* box, SeenBox&) {
    if (auto* dialog = qobject_cast<QDialog*>(box)) {
      dialog->reject();
    } else {
      box->close();
    }
  };
}

BoxDriver::Step BoxDriver::doubleClickRow(const QString& text) {
  return [text](QWidget* box, SeenBox& seen) {
    QAbstractItemView* list = listOf(box);
    if (!list) {
      seen.note += " (no list)";
      box->close();
      return;
    }
    for (int row = 0; row < list->model()->rowCount(); ++row) {
      const QModelIndex index = list->model()->index(row, 0);
      if (index.data().toString() != text) continue;
      list->scrollTo(index);
      const QPoint at = list->visualRect(index).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      return;
    }
    seen.note += " (no row " + text + ")";
    if (auto* dialog = qobject_cast<QDialog*>(box)) dialog->reject();
  };
}

BoxDriver::Step BoxDriver::both(Step first, Step second) {
  return [first, second](QWidget* box, SeenBox& seen) {
    const QPointer<QWidget> still(box);
    first(box, seen);
    if (still && still->isVisible()) second(box, seen);
  };
}

BoxDriver::Step BoxDriver::note(std::function<QString(QWidget*)> observe) {
  return [observe](QWidget* box, SeenBox& seen) {
    if (!seen.note.isEmpty()) seen.note += "; ";
    seen.note += observe(box);
  };
}

BoxDriver::Step BoxDriver::sendActivations(int count) {
  return [count](QWidget* box, SeenBox& seen) { sendActivationsTo(box, count)(box, seen); };
}

BoxDriver::Step BoxDriver::sendActivationsTo(QPointer<QWidget> target, int count) {
  return [target, count](QWidget*, SeenBox&) {
    for (int i = 0; i < count && target; ++i) {
      QEvent activate(QEvent::WindowActivate);
      QApplication::sendEvent(target, &activate);
      QApplication::processEvents();
    }
  };
}

}  // namespace testsupport
