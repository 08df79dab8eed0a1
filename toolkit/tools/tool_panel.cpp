#include "tool_panel.h"

namespace roomkit {

ToolPanel::ToolPanel(ShellContext& shell, const QString& name, const QString& caption,
                     QWidget* parent)
    : QGroupBox(caption, parent), shell_(shell) {
  setObjectName(name);
  place(this, 120, 1560, panelWidth, panelHeight);
  hide();
}

QLabel* ToolPanel::label(const QString& text, int left, int top, int width, int height,
                         const QString& name) {
  auto* caption = new QLabel(text, this);
  if (!name.isEmpty()) caption->setObjectName(name);
  place(caption, left, top, width, height);
  return caption;
}

}  // namespace roomkit
