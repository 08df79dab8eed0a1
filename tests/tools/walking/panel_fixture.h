// A main window in a program folder of its own, loaded with a small building, and the scripted
// message layer.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "shell/form1.h"
#include "support/building.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

class PanelTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::string path;
  store::Database db;
  std::unique_ptr<roomkit::Form1> form;

  void SetUp() override;  // the building at `path`, open as `db`; the window started
  void TearDown() override;

  void load();                // browse to `path`; forgets the messages so far
  void choose(int function);  // the function selector
  QWidget* focused() const;
  // The one message shown since the last clear, checked whole.
  void expectOnly(const roomkit::Message& expected);
};
