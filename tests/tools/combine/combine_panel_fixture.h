// A main window started in a program folder of its own, with the Combine Rooms building loaded
// and the Combine Rooms panel chosen.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "combine_building.h"
#include "shell/form1.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "tools/combine_rooms_panel.h"

class CombinePanelTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::unique_ptr<roomkit::Form1> form;
  roomkit::CombineRoomsPanel* panel = nullptr;
  QString path;  // the building database

  void SetUp() override;
  void TearDown() override;

  int row(const QString& room) const;  // in display order; -1 when not listed
  QStringList rooms() const;           // the list's room numbers in display order
  QStringList ticked() const;
  void tick(const QStringList& rooms);
  void clickCombine();
  store::Database database() const;  // a connection of the test's own
  QString logText() const;
};
