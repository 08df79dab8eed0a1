// Checking the loaded database, and mending it on request.
#include "check_window.h"
#include "form1.h"
#include "kit/reentry.h"
#include "kit/ui.h"

namespace roomkit {

// The window is shown, as the modal window it stays, before the check, so a long check shows
// its progress in it.
void Form1::CommandCheck_Click() {
  const Reentry action(actionRunning());
  if (!action.entered() || !currentDB_.isOpen()) return;
  CheckWindow window(
      currentDB_.path(), [this] { LoadCurrentDB(); }, [this] { return refuseReadOnly(); }, this);
  window.setWindowModality(Qt::ApplicationModal);
  window.show();
  window.check();
  ui().showModal(window);
}

}  // namespace roomkit
