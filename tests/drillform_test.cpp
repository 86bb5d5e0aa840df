#include "drillform.h"

#include "fakeformview.h"
#include "manualclock.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using std::chrono::milliseconds;
using Strings = std::vector<std::string>;

class DrillFormTest : public testing::Test {
protected:
    // A click on a box flips it, as the view reports it.
    void click(int checkBox) { form.checkBoxChanged(checkBox, !form.isChecked(checkBox)); }

    void chooseOnly(std::initializer_list<int> rows)
    {
        for (const int row : rows)
            form.checkBoxChanged(row, true);
    }

    // The view's timer fires at the moment it was armed for, plus lateness.
    void fireTimer(milliseconds late = milliseconds(0))
    {
        ASSERT_TRUE(view.timerDue) << "the timer is not armed";
        clock.setTo(*view.timerDue + late);
        form.timerFired();
    }

    long long untilDue() const
    {
        return view.timerDue ? std::chrono::duration_cast<milliseconds>(*view.timerDue - clock.now()).count() : -1;
    }

    std::set<int> checkedRowBoxes() const
    {
        std::set<int> checked;
        for (const int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13}) {
            if (form.isChecked(number))
                checked.insert(number);
        }
        return checked;
    }

    Strings labels() const { return {form.labelText(1), form.labelText(3), form.labelText(4)}; }

    Strings listedExpressions() const
    {
        Strings texts;
        const DrillList &list = form.run().drillList();
        for (int slot = 1; slot <= list.DrillCount(); ++slot)
            texts.push_back(list.slot(slot).ExpressionText);
        return texts;
    }

    ManualClock clock;
    FakeFormView view;
    DrillForm form{view, clock, [] { return std::uint64_t{7}; }};
};

// What a view is shown when a form starts: every label's text and every
// control's state, as the table gives them.
const Strings StartShown{"Label1=Label1", "Label2=＝", "Label3=Label3", "Label4=Label4",
                         "CheckBox1=0", "CheckBox2=0", "CheckBox3=0", "CheckBox4=0", "CheckBox5=0",
                         "CheckBox6=0", "CheckBox7=0", "CheckBox8=0", "CheckBox9=0", "CheckBox10=0",
                         "CheckBox11=0", "CheckBox12=0", "CheckBox13=1", "RadioButton1", "ListBox1=0"};

TEST_F(DrillFormTest, StartsInTheTablesStatesShowsThemAndRunsNoHandler)
{
    for (int number = 1; number <= DrillForm::CheckBoxCount; ++number)
        EXPECT_EQ(form.isChecked(number), number == 13) << "CheckBox" << number;
    EXPECT_EQ(form.chosenRadioButton(), 1);
    EXPECT_EQ(form.listItem(), 0);
    EXPECT_EQ(labels(), (Strings{"Label1", "Label3", "Label4"}));
    EXPECT_EQ(form.labelText(2), "＝");
    EXPECT_EQ(form.run().intervalSeconds(), 0) << "selecting the first item would have set it";
    EXPECT_EQ(form.run().phase(), Phase::Idle);
    EXPECT_FALSE(form.run().stepMode());
    EXPECT_EQ(view.shown, StartShown) << "a view holds no state of its own";
    EXPECT_TRUE(view.announced.empty());
    EXPECT_EQ(untilDue(), 1000) << "Timer1 ticks from start-up";
}

// A restart: a new form on a view that was showing a run and other
// choices shows it the start again, with nothing left over.
TEST_F(DrillFormTest, NewFormShowsAUsedViewTheStartAgain)
{
    chooseOnly({3});
    click(11);
    form.radioButtonChosen(3);
    form.listItemChosen(2);
    form.Button3Click();
    view.shown.clear();

    const DrillForm restarted(view, clock);
    EXPECT_EQ(view.shown, StartShown);
    EXPECT_EQ(view.labels, (std::map<int, std::string>{{1, "Label1"}, {2, "＝"}, {3, "Label3"}, {4, "Label4"}}));
    for (const auto &[number, checked] : view.checkBoxes)
        EXPECT_EQ(checked, number == 13) << "CheckBox" << number;
    EXPECT_EQ(view.radioButton, 1);
    EXPECT_EQ(view.listItem, 0);
    EXPECT_EQ(untilDue(), 1000) << "the stepped run's timer is off; the new form's ticks";
}

struct Cascade {
    const char *name;
    std::vector<int> clicks;  // check box numbers, clicked in order from start-up
    std::set<int> checked;
};

class CascadeTest : public DrillFormTest, public testing::WithParamInterface<Cascade> {};

TEST_P(CascadeTest, KeepsTheWaysOfChoosingRowsApart)
{
    for (const int number : GetParam().clicks)
        click(number);
    EXPECT_EQ(checkedRowBoxes(), GetParam().checked);
    for (const auto &[number, checked] : view.checkBoxes)
        EXPECT_EQ(checked, form.isChecked(number)) << "the view shows CheckBox" << number << " wrongly";
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, CascadeTest,
    testing::Values(Cascade{"RowClearsAllRows", {5}, {5}},
                    Cascade{"SeveralRowsTogether", {1, 3, 9}, {1, 3, 9}},
                    Cascade{"ZeroToNineClearsRows", {2, 7, 10}, {10}},
                    Cascade{"OneToNineClearsRows", {4, 6, 13}, {13}},
                    Cascade{"OneToNineClearsZeroToNine", {10, 13}, {13}},
                    Cascade{"RowClearsZeroToNine", {10, 8}, {8}},
                    Cascade{"UncheckingClearsNothingElse", {1, 3, 3}, {1}},
                    Cascade{"EveryBoxMayBeUnchecked", {13}, {}},
                    Cascade{"NothingIsRechecked", {2, 2}, {}},
                    Cascade{"RecitationAndZeroTouchNoRow", {11, 12}, {13}}),
    [](const testing::TestParamInfo<Cascade> &info) { return info.param.name; });

TEST_F(DrillFormTest, CascadeUnchecksRowsInOrderThenTheOtherWay)
{
    chooseOnly({7, 2});
    view.shown.clear();
    click(10);
    EXPECT_EQ(view.shown, (Strings{"CheckBox10=1", "CheckBox2=0", "CheckBox7=0"}));
}

TEST_F(DrillFormTest, ReportingAStateTheBoxAlreadyHasChangesNothing)
{
    view.shown.clear();
    form.checkBoxChanged(13, true);
    form.checkBoxChanged(4, false);
    EXPECT_TRUE(view.shown.empty());
}

struct OrderCase {
    const char *name;
    int radioButton;
    DrillOrder order;
};

class OrderTest : public DrillFormTest, public testing::WithParamInterface<OrderCase> {};

TEST_P(OrderTest, EachRadioButtonGivesItsOrder)
{
    chooseOnly({2});
    view.shown.clear();
    form.radioButtonChosen(GetParam().radioButton);
    EXPECT_EQ(form.chosenRadioButton(), GetParam().radioButton);
    const int chosen = GetParam().radioButton;
    EXPECT_EQ(view.shown, chosen == 1 ? Strings{} : Strings{"RadioButton" + std::to_string(chosen)})
        << "the view shows a new choice, and only that";
    EXPECT_EQ(form.drillChoice().order, GetParam().order);

    form.Button3Click();
    const Strings ascending{"２×１", "２×２", "２×３", "２×４", "２×５", "２×６", "２×７", "２×８", "２×９"};
    const Strings descending(ascending.rbegin(), ascending.rend());
    const Strings listed = listedExpressions();
    switch (GetParam().order) {
    case DrillOrder::Ascending:
        EXPECT_EQ(listed, ascending);
        break;
    case DrillOrder::Descending:
        EXPECT_EQ(listed, descending);
        break;
    case DrillOrder::Shuffled:
        EXPECT_NE(listed, ascending);
        EXPECT_NE(listed, descending);
        EXPECT_EQ(std::multiset<std::string>(listed.begin(), listed.end()),
                  std::multiset<std::string>(ascending.begin(), ascending.end()));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, OrderTest,
                         testing::Values(OrderCase{"Nobori", 1, DrillOrder::Ascending},
                                         OrderCase{"Kudari", 2, DrillOrder::Descending},
                                         OrderCase{"Bara", 3, DrillOrder::Shuffled}),
                         [](const testing::TestParamInfo<OrderCase> &info) { return info.param.name; });

TEST_F(DrillFormTest, ChoiceHandedToTheListBuilderIsTheBoxesAsTheyStand)
{
    chooseOnly({4, 9});
    click(12);
    const DrillChoice choice = form.drillChoice();
    EXPECT_FALSE(choice.rowsOneToNine);
    EXPECT_FALSE(choice.rowsZeroToNine);
    EXPECT_EQ(choice.singleRows, (std::array<bool, 9>{false, false, false, true, false, false, false, false, true}));
    EXPECT_TRUE(choice.includeTimesZero);

    click(10);
    EXPECT_TRUE(form.drillChoice().rowsZeroToNine);
    EXPECT_EQ(form.drillChoice().singleRows, (std::array<bool, 9>{}));
}

TEST_F(DrillFormTest, RunWithNoRowChosenIsEmpty)
{
    click(13);
    form.Button1Click();
    EXPECT_EQ(labels(), (Strings{"", "", ""}));
}

TEST_F(DrillFormTest, IntervalListNeverLosesItsItem)
{
    for (const int index : {-1, 4}) {
        view.shown.clear();
        form.listItemChosen(index);
        EXPECT_EQ(form.listItem(), 0);
        EXPECT_EQ(view.shown, (Strings{"ListBox1=0"})) << "the view must show the item again";
    }
    view.shown.clear();
    form.listItemChosen(0);
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DrillFormTest, NewIntervalTakesEffectWithoutRestartingTheTimer)
{
    form.Button1Click();
    clock.advance(milliseconds(300));
    form.listItemChosen(2);
    EXPECT_EQ(form.run().intervalSeconds(), 3);
    EXPECT_EQ(untilDue(), 700);
    fireTimer();  // the answer
    fireTimer();  // the next question, at the new interval
    EXPECT_EQ(form.labelText(1), "１×２");
    EXPECT_EQ(untilDue(), 3000);
}

TEST_F(DrillFormTest, TimedRunWithRecitationToItsFinish)
{
    chooseOnly({3});
    click(11);
    form.listItemChosen(1);
    form.Button1Click();
    EXPECT_EQ(labels(), (Strings{"３×１", "", "さんいちが"}));
    EXPECT_EQ(untilDue(), 2000);
    fireTimer();
    EXPECT_EQ(labels(), (Strings{"３×１", "３", "さんいちが　さん"}));
    for (int step = 0; step < 2 * 8; ++step)
        fireTimer();
    EXPECT_EQ(labels(), (Strings{"３×９", "２７", "さんく　にじゅうしち"}));
    fireTimer();
    EXPECT_EQ(labels(), (Strings{"３×９", "２７", "ぜんぶ　おしまいです"}));
    EXPECT_EQ(view.timerDue, std::nullopt) << "a finished run leaves the timer off";
    EXPECT_EQ(form.run().phase(), Phase::Idle);
}

// The view's timer is armed again after every expiry, and a late one gives
// the question it shows a whole interval.
TEST_F(DrillFormTest, TimerIsArmedFromTheSchedule)
{
    form.Button1Click();
    fireTimer(milliseconds(30));  // the answer
    EXPECT_EQ(untilDue(), 970) << "an answer keeps to its deadline";
    fireTimer(milliseconds(400));  // the next question, late
    EXPECT_EQ(form.labelText(1), "１×２");
    EXPECT_EQ(untilDue(), 1000);
}

TEST_F(DrillFormTest, EarlyExpiryChangesNothingAndArmsAgain)
{
    form.Button1Click();
    const auto due = view.timerDue;
    clock.setTo(*due - milliseconds(1));
    form.timerFired();
    EXPECT_EQ(form.labelText(3), "");
    EXPECT_EQ(view.timerDue, due);
}

TEST_F(DrillFormTest, SteppedRunLeavesTheTimerOff)
{
    form.Button3Click();
    EXPECT_EQ(view.timerDue, std::nullopt);
    form.Button3Click();
    EXPECT_EQ(form.labelText(3), "１");
}

TEST_F(DrillFormTest, OwariClosesTheWindow)
{
    form.Button2Click();
    EXPECT_EQ(view.closed, 1);
}

TEST_F(DrillFormTest, ClosingStopsTheTimerForGood)
{
    form.Button1Click();
    form.FormClose();
    EXPECT_EQ(view.timerDue, std::nullopt);
    clock.advance(milliseconds(5000));
    form.timerFired();
    EXPECT_EQ(form.labelText(3), "") << "no tick may reach a closing window";
}

} // namespace
