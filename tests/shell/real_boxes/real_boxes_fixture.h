// The main window with the real message layer, driven through its real boxes and dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>

#include "box_driver.h"
#include "shell/form1.h"
#include "support/temp_dir.h"

class RealBoxesTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::BoxDriver driver;
  std::unique_ptr<roomkit::Form1> form;
  QString programDir;

  void SetUp() override;
  void TearDown() override;

  QString useProgramFolder(const QString& folder);  // below the temporary folder
  QString path(const QString& name) const;          // in the temporary folder
  // A building with rooms 10, 2, 1B, schedules B1 (used by 10), A1 (used by 2) and C9 (unused),
  // banks 1 and 2, sort values and an assignment.
  QString makeBuilding(const QString& name);
  // Desktop start-up, the warning answered Yes.
  void startDesktop();
  // Loads the building through the path box, as a browse does after its dialog.
  void load(const QString& file);

  std::vector<testsupport::SeenBox> boxes() const {
    return {driver.seen.begin(), driver.seen.end()};
  }
};

// The boxes of the toolkit, as the user sees them.
testsupport::SeenBox warningBox();
testsupport::SeenBox question(const QString& title, const QString& text, bool yesIsDefault,
                              QMessageBox::Icon icon = QMessageBox::NoIcon);
testsupport::SeenBox report(const QString& title, const QString& text,
                            QMessageBox::Icon icon = QMessageBox::NoIcon);
