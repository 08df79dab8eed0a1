#include "logic/menu_state.h"

namespace switchboard {

MenuState MenuState::fromSettings(const Settings& settings) {
  MenuState state;
  if (settings.position >= 0 && settings.position < kPositionCount)
    state.position[settings.position] = true;
  state.onTop = settings.onTop == -1;
  return state;
}

void MenuState::tickOnly(int position) {
  for (int i = 0; i < kPositionCount; ++i) this->position[i] = i == position;
}

Settings MenuState::toSettings() const {
  Settings settings{kPositionCount, onTop ? -1 : 0};
  for (int i = 0; i < kPositionCount; ++i) {
    if (position[i]) {
      settings.position = i;
      break;
    }
  }
  return settings;
}

}  // namespace switchboard
