#include "ui.h"

namespace roomkit {

Ui& realUi();  // qt_ui.cpp

namespace {
Ui* installed = nullptr;
}

Ui& ui() { return installed ? *installed : realUi(); }
void setUi(Ui* layer) { installed = layer; }

void tell(const QString& text, const QString& title, Icon icon) {
  ui().message({text, title, Buttons::Ok, Answer::Ok, icon});
}

void refuse(const QString& text, const QString& title) {
  ui().message({text, title, Buttons::Ok, Answer::Ok, Icon::Exclamation});
}

bool ask(const QString& text, const QString& title, Answer defaultButton, Icon icon) {
  return ui().message({text, title, Buttons::YesNo, defaultButton, icon}) == Answer::Yes;
}

}  // namespace roomkit
