// A tool panel: the frame that holds one function's controls. All panels share one size and are
// moved into the panel place of the main window when their function is chosen.
#pragma once

#include <QGroupBox>
#include <QLabel>

#include "kit/shell_context.h"
#include "kit/twips.h"

namespace roomkit {

inline constexpr int panelWidth = 7695;  // twips
inline constexpr int panelHeight = 5535;

class ToolPanel : public QGroupBox {
  Q_OBJECT

 public:
  ToolPanel(ShellContext& shell, const QString& name, const QString& caption, QWidget* parent);

 protected:
  // A caption label at a twips position.
  QLabel* label(const QString& text, int left, int top, int width, int height = 255,
                const QString& name = {});
  ShellContext& shell_;
};

}  // namespace roomkit
