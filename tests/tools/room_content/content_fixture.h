// A building database in a folder of its own, and the main window loaded with it and showing one
// of the room content panels; the scripted message layer records what the user is told.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/form1.h"
#include "support/building.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

class ContentTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::unique_ptr<roomkit::Form1> form;
  std::string path;    // the building database
  store::Database db;  // the test's own connection to it

  void SetUp() override;
  void TearDown() override;

  // Starts the main window, loads the building and shows the function's panel.
  void open(int function);
  // Refuses every update of "Room Inventory" records of the room, with the reason given.
  void refuseInventoryWrites(const std::string& room, const std::string& reason);

  std::vector<std::vector<std::string>> inventoryRows() {
    return testsupport::rows(db, "Room Inventory");
  }
  std::vector<std::vector<std::string>> roomRows() { return testsupport::rows(db, "Room Info"); }
  // A click on a check box or option button, on its mark (a click far right of a short caption
  // misses the button).
  static void clickBox(QWidget* box);

  // A field of the "Room Inventory" record of room and bank, as text ("<none>" without record).
  std::string item(const std::string& room, int bank, int item);
};
