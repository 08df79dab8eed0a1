// The shared controls: key hooks of text boxes, the report list and the line list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "kit/line_list.h"
#include "kit/report_list.h"
#include "kit/text_box.h"

using namespace roomkit;

namespace {

TEST(TextBoxTest, KeyPressHookChangesOrSwallowsCharacters) {
  TextBox box("box", nullptr);
  std::vector<int> seen;
  box.upperCase = true;
  box.onKeyPress = [&](int& code) {
    seen.push_back(code);
    if (code == 'X') code = 0;    // swallowed
    if (code == '1') code = '9';  // replaced
  };
  QTest::keyClicks(&box, "ax1");
  QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"));
  QApplication::sendEvent(&box, &accented);
  EXPECT_EQ(box.text(), "A9É");
  QTest::keyClick(&box, Qt::Key_Backspace);
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_EQ(box.text(), "A9");
  EXPECT_EQ(seen, (std::vector<int>{'A', 'X', '1', 0xC9, 8, 13}));
}

TEST(TextBoxTest, KeyUpHookSeesEveryRelease) {
  TextBox box("box", nullptr);
  int releases = 0;
  box.onKeyUp = [&](int) { ++releases; };
  QTest::keyClicks(&box, "ab");
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(releases, 3);
  EXPECT_EQ(box.text(), "a");
}

TEST(ReportListTest, SortStaysInForceAndPrefixSearchFollowsDisplayOrder) {
  ReportList list("list", nullptr);
  list.setColumns({"A", "B"});
  list.model().setRows({{"10", "b"}, {"100", "a"}, {"2", "c"}});
  EXPECT_EQ(list.findPrefix("10"), 0);
  list.model().sortBy(1, false);
  EXPECT_EQ(list.findPrefix("10"), 0) << "100 now sorts first";
  EXPECT_EQ(list.text(0), "100");
  list.model().addRow({"3", "ab"});
  EXPECT_EQ(list.text(1), "3") << "rows added later keep the sort";
  list.model().sortBy(0, true);
  EXPECT_EQ(list.text(0), "3");
  EXPECT_EQ(list.findPrefix(""), 0);
  EXPECT_EQ(list.findPrefix("9"), -1);
}

TEST(ReportListTest, ChecksFollowTheirRowThroughASort) {
  ReportList list("list", nullptr);
  list.setCheckable(true);
  list.setColumns({"Room"});
  list.model().setRows({{"B"}, {"A"}});
  list.model().setChecked(0, true);
  list.model().sortBy(0, false);
  EXPECT_FALSE(list.model().isChecked(0));
  EXPECT_TRUE(list.model().isChecked(1));
}

TEST(LineListTest, SortedIgnoringCaseAndClickOnEveryChange) {
  QStringList lines{"b, X", "A, Y", "a, Z", "10, Q", "1, R"};
  sortLines(lines);
  EXPECT_EQ(lines, (QStringList{"1, R", "10, Q", "A, Y", "a, Z", "b, X"}));
  LineList list("List3", true, nullptr);
  list.setLines(lines);
  int clicks = 0;
  QObject::connect(&list, &LineList::Click, [&] { ++clicks; });
  list.setSelected(1, true);
  list.setSelected(3, true);
  EXPECT_EQ(list.firstSelected(), 1);
  list.clearSelected();
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(list.firstSelected(), -1);
}

}  // namespace
