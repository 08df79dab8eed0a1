// What the panels that replace one value by another share: the checks of the path and the two
// boxes, the question, the run on a connection of the tool's own, and the report.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "kit/shell_context.h"
#include "kit/text_box.h"
#include "walking_work.h"

namespace roomkit {

struct ValueChange {
  TextBox* current;
  TextBox* replacement;
  QString missing;  // the refusal of an empty box
  QString title;    // the question's title
  // Runs the change on the trimmed path and box texts.
  std::function<WalkResult(const std::string& path, const std::string& current,
                           const std::string& replacement)>
      run;
};

// An empty path or box is refused and gets the focus; then "Are you sure?" with No as the
// default; then the run, and "Done" or the reason nothing was changed.
void runValueChange(ShellContext& shell, const ValueChange& change);

// Enter in one box of the pair moves the focus to the other and types nothing.
void moveOnEnter(int& KeyAscii, TextBox* other);

}  // namespace roomkit
