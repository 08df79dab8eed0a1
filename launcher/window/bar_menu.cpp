#include "window/bar_menu.h"

#include <QAction>

namespace switchboard {

BarMenu::BarMenu(QWidget* owner) : popup1_(new QMenu(QStringLiteral("Popup1"), owner)) {
  popup1_->setObjectName(QStringLiteral("POPUP1"));
  QMenu* position = popup1_->addMenu(QStringLiteral("Position"));
  position->setObjectName(QStringLiteral("POPUP_POSITION"));
  const std::array<QString, kPositionCount> captions = {
      QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")};
  for (int i = 0; i < kPositionCount; ++i) {
    QAction* item = position->addAction(captions[i]);
    item->setObjectName(QStringLiteral("POS_MENU(%1)").arg(i));
    item->setCheckable(true);
    QObject::connect(item, &QAction::triggered, popup1_, [this, i] {
      if (onPosition) onPosition(i);
    });
    position_[i] = item;
  }

  onTop_ = popup1_->addAction(QStringLiteral("Keep on top"));
  onTop_->setObjectName(QStringLiteral("POPUP_ONTOP"));
  onTop_->setCheckable(true);
  QObject::connect(onTop_, &QAction::triggered, popup1_, [this] {
    if (onOnTop) onOnTop();
  });

  // A separator carries no text: styles would draw it as a section heading.
  QAction* separator = popup1_->addSeparator();
  separator->setObjectName(QStringLiteral("DUM1"));

  QAction* close = popup1_->addAction(QStringLiteral("Close toolbar"));
  close->setObjectName(QStringLiteral("POPUP_CLOSE"));
  QObject::connect(close, &QAction::triggered, popup1_, [this] {
    if (onClose) onClose();
  });
}

void BarMenu::show(const MenuState& state) {
  for (int i = 0; i < kPositionCount; ++i) position_[i]->setChecked(state.position[i]);
  onTop_->setChecked(state.onTop);
}

}  // namespace switchboard
