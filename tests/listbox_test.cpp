#include "listbox.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QPoint centreOf(ListBox &list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

class ListBoxTest : public testing::Test {
protected:
    ListBoxTest()
    {
        list.addItems({"1", "2", "3", "4"});
        list.setItemIndex(0);
        list.resize(100, 300);  // room below the items
        list.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
    }

    ListBox list{nullptr};
};

struct UserAction {
    const char *name;
    std::function<void(ListBox &)> act;
    int expectedIndex;
    int expectedChanges;
};

class ListBoxActionTest : public ListBoxTest, public testing::WithParamInterface<UserAction> {};

TEST_P(ListBoxActionTest, KeepsExactlyOneItemSelected)
{
    QSignalSpy changes(&list, &ListBox::changed);
    GetParam().act(list);
    EXPECT_EQ(list.itemIndex(), GetParam().expectedIndex);
    EXPECT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(changes.count(), GetParam().expectedChanges);
}

INSTANTIATE_TEST_SUITE_P(
    UserActions, ListBoxActionTest,
    testing::Values(
        UserAction{"ClickAnother",
                   [](ListBox &l) { QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centreOf(l, 2)); },
                   2, 1},
        UserAction{"ClickTheSelected",
                   [](ListBox &l) { QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centreOf(l, 0)); },
                   0, 0},
        UserAction{"CtrlClickTheSelected",
                   [](ListBox &l) {
                       QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(l, 0));
                   },
                   0, 0},
        UserAction{"ClickBelowTheItems",
                   [](ListBox &l) {
                       QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, QPoint(10, l.viewport()->height() - 5));
                   },
                   0, 0},
        UserAction{"CtrlSpace", [](ListBox &l) { QTest::keyClick(&l, Qt::Key_Space, Qt::ControlModifier); },
                   0, 0},
        UserAction{"ArrowDown", [](ListBox &l) { QTest::keyClick(&l, Qt::Key_Down); }, 1, 1},
        UserAction{"CtrlArrowDown", [](ListBox &l) { QTest::keyClick(&l, Qt::Key_Down, Qt::ControlModifier); },
                   1, 1},
        UserAction{"End", [](ListBox &l) { QTest::keyClick(&l, Qt::Key_End); }, 3, 1},
        UserAction{"TypedKey", [](ListBox &l) { QTest::keyClicks(&l, "3"); }, 2, 1},
        UserAction{"Escape", [](ListBox &l) { QTest::keyClick(&l, Qt::Key_Escape); }, 0, 0}),
    [](const testing::TestParamInfo<UserAction> &info) { return info.param.name; });

} // namespace
