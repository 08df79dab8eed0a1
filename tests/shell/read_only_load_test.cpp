// A building that the user may only read, on a read-only share or copied from a CD, is loaded and
// shown; every function that writes refuses it before it asks anything, and the undo too.
#include <sys/stat.h>

#include <functional>

#include "shell_fixture.h"
#include "support/nobody.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_assignment_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"
#include "tools/cleanup_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/copy_inventory_panel.h"
#include "tools/modify_room_data_panel.h"

using namespace roomkit;

namespace {

class ReadOnlyLoadTest : public ShellTest {};

TEST_F(ReadOnlyLoadTest, IsShownAndEveryWritingFunctionRefusesIt) {
  const std::filesystem::path share = dir.path() / "share";
  testsupport::makeFolder(share, true);
  const QString path = QString::fromStdString((share / "JOX_RO.MDB").string());
  makeSampleBuilding(path);
  ::chmod(path.toStdString().c_str(), 0444);
  testsupport::makeFolder(share, false);
  start();
  {
    testsupport::RunAsNobody nobody;
    if (testsupport::userMayWrite(share))
      GTEST_SKIP() << "the folder cannot be made read-only here";
    loadDesktop(path);
  }
  ASSERT_TRUE(ui.lastText().isEmpty() || ui.lastTitle() != "CANNOT CONTINUE")
      << ui.lastText().toStdString();
  EXPECT_EQ(form->Frame2->List1->count(), 3) << "the rooms are listed";
  EXPECT_EQ(form->Frame10->ListView1->count(), 3);
  EXPECT_TRUE(form->CommandHistory->isEnabled());

  const std::pair<const char*, std::function<void()>> buttons[] = {
      {"Change Room Number", [&] { form->Frame1->Command1_Click(); }},
      {"Modify Room Data", [&] { form->Frame2->Command3_Click(); }},
      {"Copy Room Inventory", [&] { form->Frame3->Command4_Click(); }},
      {"Auto Generate Rooms", [&] { form->Frame4->aaCommand2_Click(); }},
      {"Database Cleanup", [&] { form->Frame8->Command6_Click(); }},
      {"Change Assignment Number", [&] { form->Frame9->Command7_Click(); }},
      {"Combine Rooms", [&] { form->Frame10->Command8_Click(); }},
      {"Change Sort Fields", [&] { form->Frame11->Command9_Click(); }},
      {"Undo Last Run", [&] { form->CommandUndo_Click(); }},
  };
  for (const auto& [name, press] : buttons) {
    SCOPED_TRACE(name);
    ui.messages.clear();
    press();
    ASSERT_EQ(ui.messages.size(), 1u) << "refused before anything is asked";
    EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
    EXPECT_TRUE(ui.lastText().contains(path + " may only be read")) << ui.lastText().toStdString();
  }
}

}  // namespace
