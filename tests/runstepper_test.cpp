#include "runstepper.h"

#include "fakewindow.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string Finish(FinishMessage);

struct Labels {
    std::string expression, answer, recitation;
    friend bool operator==(const Labels &, const Labels &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Labels &l)
    {
        return out << '[' << l.expression << " | " << l.answer << " | " << l.recitation << ']';
    }
};

class RunStepperTest : public testing::Test {
protected:
    RunStepperTest()
    {
        FillEntryTable(table);
        window.onTick = [this] { run.Timer1Timer(); };
        window.choice.rowsOneToNine = true;
    }

    Labels labels() const { return {window.label1, window.label3, window.label4}; }

    const DrillEntry &entry(int a, int b) const { return table[10 * a + b]; }
    static Labels question(const DrillEntry &e, bool recited = true) { return {e.ExpressionText, "", recited ? e.ChantFactors : ""}; }
    static Labels answer(const DrillEntry &e) { return {e.ExpressionText, e.AnswerText, e.ChantFactors + "　" + e.ChantProduct}; }

    // What a step says, as a screen reader gets it.
    using Said = std::vector<std::string>;
    static std::string questionSaid(const DrillEntry &e, bool recited = true)
    {
        return e.ExpressionText + "　＝" + (recited ? "　" + e.ChantFactors : "");
    }
    static std::string answerSaid(const DrillEntry &e) { return e.AnswerText + "　" + e.ChantFactors + "　" + e.ChantProduct; }

    // What was said since the last call.
    Said said() { return std::exchange(window.announcements, {}); }

    void chooseRows(std::initializer_list<int> rows)
    {
        window.choice = {};
        for (const int row : rows)
            window.choice.singleRows[row - 1] = true;
    }

    std::vector<std::string> listedExpressions() const
    {
        std::vector<std::string> texts;
        for (int slot = 1; slot <= run.drillList().DrillCount(); ++slot)
            texts.push_back(run.drillList().slot(slot).ExpressionText);
        return texts;
    }

    EntryTable table;
    FakeWindow window;
    int seedsDrawn = 0;
    RunStepper run{window, table, [this] { return static_cast<std::uint64_t>(++seedsDrawn); }};
};

TEST_F(RunStepperTest, TicksBeforeAnyRunChangeNothing)
{
    for (int tick = 0; tick < 5; ++tick)
        ASSERT_TRUE(window.tick());
    EXPECT_EQ(labels(), (Labels{"Label1", "Label3", "Label4"}));
    EXPECT_EQ(run.phase(), Phase::Idle);
    EXPECT_EQ(window.nextTick, 6000) << "the start-up timer keeps ticking every second";
    EXPECT_EQ(said(), Said{});
}

// Every label change of a whole timed run, to the millisecond.
TEST_F(RunStepperTest, TimedRunOfAllRowsFollowsTheTimeline)
{
    constexpr int N = 2000;
    window.recitation = true;
    window.itemIndex = 1;
    window.advanceTo(300);  // the run starts between start-up ticks
    const long long start = window.now;
    run.Button1Click();
    EXPECT_EQ(labels(), question(entry(1, 1)));
    EXPECT_EQ(said(), Said{questionSaid(entry(1, 1))});
    EXPECT_EQ(window.nextTick, start + N);

    std::vector<const DrillEntry *> facts;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 9; ++b)
            facts.push_back(&entry(a, b));
    const int k = static_cast<int>(facts.size());
    for (int i = 1; i <= k; ++i) {
        ASSERT_TRUE(window.tick());
        EXPECT_EQ(window.now, start + (2 * i - 1) * N);
        EXPECT_EQ(labels(), answer(*facts[i - 1]));
        EXPECT_EQ(said(), Said{answerSaid(*facts[i - 1])});
        ASSERT_TRUE(window.tick());
        EXPECT_EQ(window.now, start + 2 * i * N);
        if (i < k) {
            EXPECT_EQ(labels(), question(*facts[i]));
            EXPECT_EQ(said(), Said{questionSaid(*facts[i])});
            EXPECT_EQ(run.phase(), Phase::AwaitingAnswer);
        }
    }
    EXPECT_EQ(labels(), (Labels{"９×９", "８１", Finish}));
    EXPECT_EQ(said(), Said{Finish});
    EXPECT_EQ(run.phase(), Phase::Idle);
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_FALSE(window.tick()) << "the timer must stop at the finish";
}

TEST_F(RunStepperTest, PhasesAlongATimedRun)
{
    chooseRows({2});
    run.Button1Click();
    EXPECT_EQ(run.phase(), Phase::AwaitingAnswer);
    window.tick();
    EXPECT_EQ(run.phase(), Phase::AwaitingQuestion);
    for (int step = 0; step < 16; ++step)
        window.tick();
    EXPECT_EQ(window.label3, "１８") << "the last answer";
    EXPECT_EQ(run.phase(), Phase::AwaitingAnswer);
    EXPECT_EQ(run.drillList().CurrentIndex(), 10);
    EXPECT_TRUE(window.timerEnabled);
}

TEST_F(RunStepperTest, SteppedRunAdvancesOnePressAtATime)
{
    chooseRows({3});
    window.recitation = true;
    run.Button3Click();
    EXPECT_EQ(labels(), question(entry(3, 1)));
    EXPECT_EQ(said(), Said{"３×１　＝　さんいちが"});
    EXPECT_FALSE(window.timerEnabled);
    for (int b = 1; b <= 9; ++b) {
        if (b > 1) {
            run.Button3Click();
            EXPECT_EQ(labels(), question(entry(3, b)));
            EXPECT_EQ(said(), Said{questionSaid(entry(3, b))});
        }
        run.Button3Click();
        EXPECT_EQ(labels(), answer(entry(3, b)));
        EXPECT_EQ(said(), Said{answerSaid(entry(3, b))});
        EXPECT_TRUE(run.stepMode());
    }
    run.Button3Click();  // press 2k + 1
    EXPECT_EQ(labels(), (Labels{"３×９", "２７", Finish}));
    EXPECT_EQ(said(), Said{Finish});
    EXPECT_FALSE(run.stepMode());
    EXPECT_EQ(run.phase(), Phase::Idle);

    run.Button3Click();  // press 2k + 2
    EXPECT_EQ(labels(), question(entry(3, 1)));
    EXPECT_TRUE(run.stepMode());
    EXPECT_EQ(seedsDrawn, 2) << "a new run builds a new list";
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_FALSE(window.nextTick.has_value());
}

TEST_F(RunStepperTest, EachStepSaysTheRecitationChosenForIt)
{
    run.Button3Click();
    window.recitation = true;
    run.Button3Click();
    window.recitation = false;
    run.Button3Click();
    run.Button3Click();
    EXPECT_EQ(said(), (Said{"１×１　＝", "１　いんいちが　いち", "１×２　＝", "２"}));
}

TEST_F(RunStepperTest, EmptyTimedRunFinishesAfterOneInterval)
{
    chooseRows({});
    window.recitation = true;
    window.itemIndex = 2;
    run.Button1Click();
    EXPECT_EQ(labels(), (Labels{"", "", ""}));
    window.advanceTo(2999);
    EXPECT_EQ(labels(), (Labels{"", "", ""}));
    window.advanceTo(3000);
    EXPECT_EQ(labels(), (Labels{"", "", Finish}));
    EXPECT_EQ(said(), (Said{"", Finish})) << "an empty question has nothing to say";
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_EQ(run.phase(), Phase::Idle);
}

TEST_F(RunStepperTest, EmptySteppedRunFinishesAtTheSecondPress)
{
    chooseRows({});
    run.Button3Click();
    EXPECT_EQ(labels(), (Labels{"", "", ""}));
    run.Button3Click();
    EXPECT_EQ(labels(), (Labels{"", "", Finish}));
    EXPECT_EQ(said(), (Said{"", Finish}));
    EXPECT_FALSE(run.stepMode());
    run.Button3Click();
    EXPECT_EQ(labels(), (Labels{"", "", ""}));
    EXPECT_TRUE(run.stepMode());
    EXPECT_EQ(run.phase(), Phase::AwaitingAnswer);
}

TEST_F(RunStepperTest, SteppedRunInterruptsATimedRun)
{
    run.Button1Click();
    window.tick();
    window.tick();
    EXPECT_EQ(window.label1, "１×２");
    run.Button3Click();
    EXPECT_EQ(labels(), question(entry(1, 1), false));
    EXPECT_TRUE(run.stepMode());
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_FALSE(window.tick());
}

TEST_F(RunStepperTest, TimedRunInterruptsASteppedRunWithAFullCountdown)
{
    window.itemIndex = 3;
    run.Button3Click();
    run.Button3Click();
    window.advanceTo(700);
    run.Button1Click();
    EXPECT_EQ(labels(), question(entry(1, 1), false));
    EXPECT_FALSE(run.stepMode());
    EXPECT_EQ(window.nextTick, 700 + 4000);
}

TEST_F(RunStepperTest, RestartingATimedRunRestartsTheCountdown)
{
    run.Button1Click();
    window.advanceTo(1500);
    EXPECT_EQ(window.label3, "１");
    EXPECT_EQ(said(), (Said{"１×１　＝", "１"})) << "without the recitation";
    run.Button1Click();
    EXPECT_EQ(labels(), question(entry(1, 1), false));
    EXPECT_EQ(window.nextTick, 2500);
}

TEST_F(RunStepperTest, SteppedRunAfterAFinishedTimedRun)
{
    chooseRows({9});
    run.Button1Click();
    while (window.tick()) {
    }
    EXPECT_EQ(window.label4, Finish);
    run.Button3Click();
    EXPECT_EQ(labels(), question(entry(9, 1), false));
    EXPECT_TRUE(run.stepMode());
}

struct RecitationCase {
    const char *name;
    bool atQuestion;
    bool atAnswer;
    bool questionShowsFirstHalf;
    enum { Empty, FirstHalf, Whole } answerShows;
};

class RecitationTest : public RunStepperTest, public testing::WithParamInterface<RecitationCase> {};

// The recitation box is read at every step, not once per run.
TEST_P(RecitationTest, ReadAtEachStep)
{
    const RecitationCase &c = GetParam();
    const DrillEntry &fact = entry(1, 1);
    window.recitation = c.atQuestion;
    run.Button3Click();
    EXPECT_EQ(window.label4, c.questionShowsFirstHalf ? fact.ChantFactors : "");
    window.recitation = c.atAnswer;
    run.Button3Click();
    const std::string expected[] = {"", fact.ChantFactors, answer(fact).recitation};
    EXPECT_EQ(window.label4, expected[c.answerShows]);
}

INSTANTIATE_TEST_SUITE_P(Changes, RecitationTest,
                         testing::Values(RecitationCase{"Throughout", true, true, true, RecitationCase::Whole},
                                         RecitationCase{"CheckedAfterTheQuestion", false, true, false, RecitationCase::Whole},
                                         RecitationCase{"UncheckedAfterTheQuestion", true, false, true, RecitationCase::FirstHalf},
                                         RecitationCase{"Never", false, false, false, RecitationCase::Empty}),
                         [](const testing::TestParamInfo<RecitationCase> &info) { return info.param.name; });

TEST_F(RunStepperTest, WithoutRecitationTheLastLabelStaysEmptyUntilTheFinish)
{
    chooseRows({6});
    run.Button1Click();
    while (window.tick())
        EXPECT_TRUE(window.label4.empty() || window.label4 == Finish);
    EXPECT_EQ(window.label4, Finish);
}

TEST_F(RunStepperTest, OptionsChangedDuringARunWaitForTheNextStart)
{
    run.Button1Click();
    chooseRows({7});
    window.choice.order = DrillOrder::Descending;
    window.choice.includeTimesZero = true;
    window.tick();
    window.tick();
    EXPECT_EQ(window.label1, "１×２");
    EXPECT_EQ(run.drillList().DrillCount(), 81);
    run.Button1Click();
    EXPECT_EQ(window.label1, "７×９");
    EXPECT_EQ(run.drillList().DrillCount(), 10);
}

TEST_F(RunStepperTest, NewIntervalWaitsForTheNextQuestion)
{
    run.Button1Click();
    window.advanceTo(500);
    window.itemIndex = 3;
    run.ListBox1Change();
    EXPECT_EQ(run.intervalSeconds(), 4);
    EXPECT_EQ(window.nextTick, 1000) << "the countdown in progress is left alone";
    window.tick();
    EXPECT_EQ(window.label3, "１");
    EXPECT_EQ(window.nextTick, 2000) << "the answer keeps the old beat";
    window.tick();
    EXPECT_EQ(window.label1, "１×２");
    EXPECT_EQ(window.nextTick, 6000);
}

TEST_F(RunStepperTest, NewIntervalGovernsTheLastAnswer)
{
    chooseRows({4});
    run.Button1Click();
    for (int step = 0; step < 16; ++step)
        window.tick();
    ASSERT_EQ(window.label1, "４×９");
    EXPECT_EQ(window.now, 16000);
    window.itemIndex = 2;
    run.ListBox1Change();
    window.tick();
    EXPECT_EQ(window.label3, "３６");
    EXPECT_EQ(window.nextTick, 17000 + 3000);
    window.advanceTo(19999);
    EXPECT_EQ(window.label4, "");
    window.advanceTo(20000);
    EXPECT_EQ(window.label4, Finish);
}

TEST_F(RunStepperTest, LastAnswerOfASteppedRunLeavesTheTimerOff)
{
    chooseRows({1});
    run.Button3Click();
    for (int press = 0; press < 17; ++press)
        run.Button3Click();
    EXPECT_EQ(window.label3, "９");
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_FALSE(window.nextTick.has_value());
}

TEST_F(RunStepperTest, OnlyATimedStartReadsTheIntervalList)
{
    window.itemIndex = 3;
    run.Button3Click();
    EXPECT_EQ(run.intervalSeconds(), 0);
    run.Button1Click();
    EXPECT_EQ(run.intervalSeconds(), 4);
    window.itemIndex = 1;
    run.ListBox1Change();
    EXPECT_EQ(run.intervalSeconds(), 2);
}

TEST_F(RunStepperTest, EveryShuffledStartDrawsAFreshOrder)
{
    window.choice.order = DrillOrder::Shuffled;
    run.Button1Click();
    const std::vector<std::string> first = listedExpressions();
    run.Button1Click();
    EXPECT_EQ(seedsDrawn, 2);
    EXPECT_NE(listedExpressions(), first);
    EXPECT_EQ(window.label1, run.drillList().slot(1).ExpressionText);
}

} // namespace
