#include "listbox.h"

#include "drawnrows.h"

#include <QFontDatabase>
#include <QFontMetricsF>
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

// The interval list's items, in a list of its size on the window.
class ListBoxFaceTest : public testing::TestWithParam<const char *> {
protected:
    static void SetUpTestSuite()
    {
        for (const char *file : {"pimbola-tall-ink.ttf", "pimbola-loose-lines.ttf"})
            ASSERT_NE(QFontDatabase::addApplicationFont(QStringLiteral(PIMBOLA_TEST_FONTS "/") + QLatin1String(file)), -1)
                << file;
    }

    void showIn(const QString &family, int pixelSize)
    {
        QFont font(family);
        font.setPixelSize(pixelSize);
        list.setFont(font);
        list.addItems({"１びょうおき", "２びょうおき", "３びょうおき", "４びょうおき"});
        list.setItemIndex(0);
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list.resize(110, 126);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    ListBox list{nullptr};
};

TEST_P(ListBoxFaceTest, EachRowHoldsItsGlyphsUnderItsBar)
{
    const QString family = QString::fromLatin1(GetParam());
    ASSERT_TRUE(QFontDatabase::hasFamily(family));
    showIn(family, 16);
    for (const DrawnRow &drawn : drawnRows(list)) {
        SCOPED_TRACE(testing::Message() << "row " << drawn.row.top() << " to " << drawn.row.bottom() << ", ink "
                                        << drawn.ink.top() << " to " << drawn.ink.bottom() + 1);
        ASSERT_FALSE(drawn.ink.isNull());
        EXPECT_TRUE(clearOfEdges(drawn));
    }
}

TEST_P(ListBoxFaceTest, RowsAreAtLeastALineApart)
{
    const QString family = QString::fromLatin1(GetParam());
    showIn(family, 16);
    const qreal lineSpacing = QFontMetricsF(list.font()).lineSpacing();
    for (int row = 0; row < list.count(); ++row)
        EXPECT_GE(list.visualItemRect(list.item(row)).height(), lineSpacing) << "row " << row;
}

// Faces whose ink or lines a row as tall as ascent plus descent would not hold.
INSTANTIATE_TEST_SUITE_P(Faces, ListBoxFaceTest,
                         testing::Values("Pimbola Tall Ink", "Pimbola Loose Lines", "Noto Sans CJK JP"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             std::string name = info.param;
                             std::erase(name, ' ');
                             return name;
                         });

TEST_F(ListBoxFaceTest, RowsOfATooLargeFaceStayInsideTheList)
{
    showIn(QStringLiteral("Noto Sans CJK JP"), 40);
    const QRect field = list.viewport()->rect();
    for (int row = 0; row < list.count(); ++row) {
        const QRect rect = list.visualItemRect(list.item(row));
        EXPECT_GE(rect.top(), field.top()) << "row " << row;
        EXPECT_LE(rect.bottom(), field.bottom()) << "row " << row;
        EXPECT_GT(rect.height(), 0) << "row " << row;
    }
}

} // namespace
