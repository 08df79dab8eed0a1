// A program folder of its own, the scripted message layer, and a main window started in it.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <memory>

#include "kit/program.h"
#include "shell/form1.h"
#include "support/building.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

class ShellTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::unique_ptr<roomkit::Form1> form;

  void SetUp() override;
  void TearDown() override;

  // Makes `folder` (relative to the temporary folder) the program folder.
  QString useProgramFolder(const QString& folder);
  QString file(const QString& folderFile) const;  // in the program folder
  void writeSetting(const QString& name, const std::string& bytes);
  void start();  // Form_Load, show, first activation answered Yes
  // A building with rooms 10, 2, 1B (stored in that order) and schedules B1, A1.
  std::string makeSampleBuilding(const QString& path);
  void loadDesktop(const QString& path);  // browse and choose the file

  QString programDir;
};
