#include "tform4.h"

#include "entrytable.h"
#include "listbox.h"
#include "duetimer.h"
#include "manualclock.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// Long random sequences of everything a child can do, checked after every
// event against a reference model written here from the behaviour, not from
// the production code. The recited texts alone come from the entry table,
// which has tests of its own.
namespace {

enum class Event { Box, Radio, Item, Button1, Button3, Button3Key, Tick };

struct Action {
    Event event;
    int which = 0;  // box 1–13, radio 1–3, item 0–3
};

std::string describe(const Action &action)
{
    static const char *const Names[] = {"box", "radio", "item", "timed", "step", "stepkey", "tick"};
    std::string text = Names[static_cast<int>(action.event)];
    if (action.event == Event::Box || action.event == Event::Radio || action.event == Event::Item)
        text += std::to_string(action.which);
    return text;
}

QString fullWidth(int value)
{
    QString text;
    for (const QChar digit : QString::number(value))
        text += QChar(0xFF10 + digit.digitValue());
    return text;
}

// What the window should show and hold, advanced by the same events.
class Model {
public:
    enum class Phase { Idle, AwaitingAnswer, AwaitingQuestion };

    explicit Model(const EntryTable &table)
        : table(table)
    {
        boxes[13] = true;
    }

    std::array<bool, 14> boxes{};
    int order = 1;  // radio button 1, 2 or 3
    int item = 0;
    int intervalSeconds = 0;
    bool stepMode = false;
    Phase phase = Phase::Idle;
    std::array<QString, 3> labels{"Label1", "Label3", "Label4"};
    bool timerEnabled = true;
    int timerInterval = 1000;
    int currentIndex = 0;
    int count = 0;
    bool built = false;

    // The shown expression is read back only for shuffled runs, whose order
    // is the program's to choose; the model still demands that every fact
    // of the run comes exactly once.
    std::string apply(const Action &action, const QString &shownExpression)
    {
        switch (action.event) {
        case Event::Box:
            toggleBox(action.which);
            return {};
        case Event::Radio:
            order = action.which;
            return {};
        case Event::Item:
            if (action.which != item) {
                item = action.which;
                intervalSeconds = item + 1;
            }
            return {};
        case Event::Button1:
            phase = Phase::AwaitingAnswer;
            build();
            intervalSeconds = item + 1;
            stepMode = false;
            return showQuestion(shownExpression);
        case Event::Button3:
        case Event::Button3Key:
            if (!stepMode) {
                phase = Phase::AwaitingAnswer;
                build();
                stepMode = true;
                return showQuestion(shownExpression);
            }
            return step(false, shownExpression);
        case Event::Tick:
            return step(true, shownExpression);
        }
        return {};
    }

    bool ticks() const { return timerEnabled && timerInterval > 0; }

private:
    void toggleBox(int number)
    {
        boxes[number] = !boxes[number];
        if (!boxes[number])
            return;
        const std::map<int, std::vector<int>> clears = {
            {10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 13}},
            {13, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        };
        const auto found = clears.find(number);
        if (found != clears.end()) {
            for (const int cleared : found->second)
                boxes[cleared] = false;
        } else if (number <= 9) {
            boxes[10] = boxes[13] = false;
        }
    }

    void build()
    {
        std::vector<int> rows;
        for (int row = 0; row <= 9; ++row) {
            const bool chosen = boxes[13] ? row >= 1 : boxes[10] ? true : row >= 1 && boxes[row];
            if (chosen)
                rows.push_back(row);
        }
        facts.clear();
        const int first = boxes[12] ? 0 : 1;
        for (const int row : rows) {
            for (int b = first; b <= 9; ++b)
                facts.push_back(10 * row + (order == 1 ? b : 9 - b + first));
        }
        count = static_cast<int>(facts.size());
        currentIndex = 1;
        shuffled = order == 3;
        unseen.assign(facts.begin(), facts.end());
        built = true;
    }

    std::string showQuestion(const QString &shownExpression)
    {
        std::string fault;
        if (currentIndex <= count) {
            if (shuffled)
                fault = takeShuffled(shownExpression);
            const int fact = facts[currentIndex - 1];
            labels = {expression(fact), QString(), boxes[11] ? chant(table[fact].ChantFactors) : QString()};
        } else {
            labels = {QString(), QString(), QString()};
        }
        timerEnabled = false;
        if (!stepMode) {
            timerEnabled = true;
            timerInterval = intervalSeconds * 1000;
        }
        return fault;
    }

    std::string takeShuffled(const QString &shownExpression)
    {
        if (shownExpression.size() != 3)
            return "unexpected expression " + shownExpression.toStdString();
        const int fact = 10 * (shownExpression[0].unicode() - 0xFF10) + (shownExpression[2].unicode() - 0xFF10);
        const auto found = std::find(unseen.begin(), unseen.end(), fact);
        if (found == unseen.end())
            return shownExpression.toStdString() + " is not an unseen fact of this run";
        unseen.erase(found);
        facts[currentIndex - 1] = fact;
        return {};
    }

    std::string step(bool timed, const QString &shownExpression)
    {
        switch (phase) {
        case Phase::Idle:
            return {};
        case Phase::AwaitingQuestion:
            phase = Phase::AwaitingAnswer;
            return showQuestion(shownExpression);
        case Phase::AwaitingAnswer:
            break;
        }
        if (currentIndex > count) {
            labels[2] = QStringLiteral("ぜんぶ　おしまいです");
            phase = Phase::Idle;
            if (timed)
                timerEnabled = false;
            else
                stepMode = false;
            return {};
        }
        const int fact = facts[currentIndex - 1];
        labels[1] = fullWidth(fact / 10 * (fact % 10));
        if (boxes[11])
            labels[2] = chant(table[fact].ChantFactors) + QStringLiteral("　") + chant(table[fact].ChantProduct);
        ++currentIndex;
        if (currentIndex > count)
            timerInterval = intervalSeconds * 1000;
        else
            phase = Phase::AwaitingQuestion;
        return {};
    }

    static QString expression(int fact) { return fullWidth(fact / 10) + QChar(0x00D7) + fullWidth(fact % 10); }
    static QString chant(const std::string &text) { return QString::fromStdString(text); }

    const EntryTable &table;
    std::vector<int> facts;
    std::vector<int> unseen;
    bool shuffled = false;
};

// Drives one window through its real controls and reads it back.
class WindowProbe {
public:
    WindowProbe(TForm4 &form, ManualClock &clock)
        : form(form)
        , clock(clock)
    {
    }

    template <typename T>
    T *control(const QString &name)
    {
        return form.findChild<T *>(name);
    }

    QString label(int number) { return control<QLabel>("Label" + QString::number(number))->text(); }

    void perform(const Action &action)
    {
        switch (action.event) {
        case Event::Box: {
            auto *box = control<QCheckBox>("CheckBox" + QString::number(action.which));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
            break;
        }
        case Event::Radio:
            QTest::mouseClick(control<QRadioButton>("RadioButton" + QString::number(action.which)), Qt::LeftButton, {},
                              QPoint(5, 10));
            break;
        case Event::Item: {
            auto *list = control<ListBox>("ListBox1");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(action.which)).center());
            break;
        }
        case Event::Button1:
            QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton);
            break;
        case Event::Button3:
            QTest::mouseClick(control<QPushButton>("Button3"), Qt::LeftButton);
            break;
        case Event::Button3Key:
            QTest::keyClick(control<QPushButton>("Button3"), Qt::Key_Space);
            break;
        case Event::Tick:
            clock.setTo(*form.form().Timer1().due());
            emit control<DueTimer>("Timer1")->fired();
            break;
        }
    }

    // Every difference between the window and the model, and every broken
    // invariant; empty when all agree.
    std::string differences(const Model &model)
    {
        std::ostringstream out;
        const std::array<QString, 3> shown{label(1), label(3), label(4)};
        for (int i = 0; i < 3; ++i) {
            if (shown[i] != model.labels[i])
                out << " label" << (i == 0 ? 1 : i + 2) << " '" << shown[i].toStdString() << "' expected '"
                    << model.labels[i].toStdString() << "';";
        }
        for (int number = 1; number <= 13; ++number) {
            if (control<QCheckBox>("CheckBox" + QString::number(number))->isChecked() != model.boxes[number])
                out << " CheckBox" << number << " state;";
        }
        for (int number = 1; number <= 3; ++number) {
            if (control<QRadioButton>("RadioButton" + QString::number(number))->isChecked() != (model.order == number))
                out << " RadioButton" << number << " state;";
        }
        auto *list = control<ListBox>("ListBox1");
        if (list->selectedItems().size() != 1 || list->itemIndex() != model.item)
            out << " interval item " << list->itemIndex() << " of " << list->selectedItems().size() << " selected;";

        const RunStepper &run = form.form().run();
        const int phase = static_cast<int>(run.phase());
        if (phase != 0 && phase != -1 && phase != -2)
            out << " phase " << phase << " between events;";
        if (phase != -static_cast<int>(model.phase))
            out << " phase " << phase << " expected " << -static_cast<int>(model.phase) << ';';
        if (run.stepMode() != model.stepMode)
            out << " step mode;";
        if (run.intervalSeconds() != model.intervalSeconds)
            out << " interval " << run.intervalSeconds() << " expected " << model.intervalSeconds << ';';
        const DrillList &drill = run.drillList();
        if (model.built && (drill.CurrentIndex() < 1 || drill.CurrentIndex() > drill.DrillCount() + 1))
            out << " index " << drill.CurrentIndex() << " outside 1…" << drill.DrillCount() + 1 << ';';
        if (drill.CurrentIndex() != model.currentIndex || drill.DrillCount() != model.count)
            out << " index/count " << drill.CurrentIndex() << '/' << drill.DrillCount() << " expected "
                << model.currentIndex << '/' << model.count << ';';

        const TimerSchedule &timer = form.form().Timer1();
        if (run.stepMode() && timer.isEnabled())
            out << " timer enabled in step mode;";
        if (timer.isEnabled() != model.timerEnabled || timer.interval() != model.timerInterval)
            out << " timer " << timer.isEnabled() << '/' << timer.interval() << " expected " << model.timerEnabled
                << '/' << model.timerInterval << ';';
        return out.str();
    }

private:
    TForm4 &form;
    ManualClock &clock;
};

Action randomAction(std::mt19937 &random, const Model &model)
{
    // Weighted towards stepping, so runs get far and finish often.
    std::discrete_distribution<int> kind({26, 6, 6, 4, 24, 4, 30});
    for (;;) {
        const auto event = static_cast<Event>(kind(random));
        switch (event) {
        case Event::Box:
            return {event, std::uniform_int_distribution<int>(1, 13)(random)};
        case Event::Radio:
            return {event, std::uniform_int_distribution<int>(1, 3)(random)};
        case Event::Item:
            return {event, std::uniform_int_distribution<int>(0, 3)(random)};
        case Event::Tick:
            if (!model.ticks())
                continue;  // a real timer only ticks while it runs
            return {event};
        default:
            return {event};
        }
    }
}

std::string joined(const std::vector<Action> &actions)
{
    std::string text;
    for (const Action &action : actions)
        text += describe(action) + ' ';
    return text;
}

TEST(StormTest, WindowAgreesWithTheModelAfterEveryEvent)
{
    constexpr unsigned Seeds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    constexpr int EventsPerSeed = 10000;
    EntryTable table;
    FillEntryTable(table);
    int events = 0;
    int mismatches = 0;
    for (const unsigned seed : Seeds) {
        ManualClock clock;
        TForm4 form{clock};
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        // Ticks come from the storm alone, never from the wall clock, and
        // painting is not what is checked here.
        form.findChild<DueTimer *>("Timer1")->findChild<QTimer *>()->blockSignals(true);
        form.setUpdatesEnabled(false);
        WindowProbe probe(form, clock);
        Model model(table);
        std::mt19937 random(seed);
        std::vector<Action> done;
        for (int i = 0; i < EventsPerSeed; ++i) {
            const Action action = randomAction(random, model);
            done.push_back(action);
            probe.perform(action);
            ++events;
            std::string fault = model.apply(action, probe.label(1));
            fault += probe.differences(model);
            if (!fault.empty()) {
                ++mismatches;
                // The first mismatch ends the shortest failing prefix.
                ADD_FAILURE() << "seed " << seed << ", after event " << done.size() << " (" << describe(action)
                              << "):" << fault << "\nfailing prefix: " << joined(done);
                break;
            }
        }
    }
    std::printf("storm: %d events over %zu seeds (%u…%u), %d mismatches\n", events, std::size(Seeds), Seeds[0],
                Seeds[std::size(Seeds) - 1], mismatches);
}

} // namespace
