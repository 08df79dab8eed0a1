// The main window started in a program folder of its own with a small building loaded and
// "Auto Generate Rooms" chosen, under the scripted message layer.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <ostream>

#include "shell/form1.h"
#include "support/building.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "tools/auto_generate_panel.h"

class GenerateTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::string path;  // the building, with banks 1 to 3 and schedule A1
  store::Database db;
  std::unique_ptr<roomkit::Form1> form;
  roomkit::AutoGeneratePanel* panel = nullptr;

  void SetUp() override;
  void TearDown() override;

  // Types the digits into the boxes by program: start[i] into aaText1(i) (which copies it into
  // aaText2(i)), then end[i] into aaText2(i); a '*' in locks ticks that position's lock.
  void setPattern(const QString& start, const QString& end, const QString& locks = {});
  QStringList lines() const;
  QWidget* focused() const;
};
