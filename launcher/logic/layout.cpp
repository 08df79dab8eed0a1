#include "logic/layout.h"

namespace switchboard {

Layout homeLayout() {
  Layout layout;
  for (int i = 0; i < kButtonCount; ++i)
    layout[i] = TwipRect{kButtonTop, kButtons[i].left, kButtonSize, kButtonSize};
  return layout;
}

QString programPath(const QString& suiteFolder, int button) {
  return suiteFolder + QString::fromLatin1(kButtons[button].program);
}

}  // namespace switchboard
