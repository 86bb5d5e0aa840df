#include "runstepper.h"

#include "announcement.h"
#include "runview.h"

#include <chrono>
#include <utility>

std::uint64_t clockSeed()
{
    return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

RunStepper::RunStepper(RunView &view, const EntryTable &table, SeedSource seeds)
    : view(view)
    , table(table)
    , seeds(std::move(seeds))
{
}

void RunStepper::Button1Click()
{
    currentPhase = Phase::AwaitingAnswer;
    BuildDrillList();
    interval = view.intervalItemIndex() + 1;
    inStepMode = false;
    ShowQuestion();
}

void RunStepper::Button3Click()
{
    if (inStepMode) {
        AdvanceStep(FinishKind::Stepped);
        return;
    }
    currentPhase = Phase::AwaitingAnswer;
    BuildDrillList();
    inStepMode = true;
    ShowQuestion();
}

void RunStepper::Timer1Timer()
{
    AdvanceStep(FinishKind::Timed);
}

// Takes effect the next time the interval is applied, never mid-countdown.
void RunStepper::ListBox1Change()
{
    interval = view.intervalItemIndex() + 1;
}

void RunStepper::BuildDrillList()
{
    list.build(view.drillChoice(), table, seeds());
}

void RunStepper::ShowQuestion()
{
    const DrillEntry &entry = list.current();
    const std::string recitation = view.recitationWanted() ? entry.ChantFactors : std::string();
    view.showExpression(entry.ExpressionText);
    view.showAnswer({});
    view.showRecitation(recitation);
    view.announce(announcement({StepKind::Question, entry.ExpressionText, {}, recitation}));
    // Switching off first makes the enable below start a full countdown.
    view.setTimerEnabled(false);
    if (inStepMode)
        return;
    view.setTimerEnabled(true);
    applyInterval();
}

void RunStepper::AdvanceStep(FinishKind finish)
{
    if (currentPhase == Phase::AwaitingAnswer) {
        if (list.CurrentIndex() <= list.DrillCount()) {
            const DrillEntry &entry = list.current();
            view.showAnswer(entry.AnswerText);
            std::string recitation;
            if (view.recitationWanted()) {
                recitation = entry.ChantFactors;
                recitation += ChantSeparator;
                recitation += entry.ChantProduct;
                view.showRecitation(recitation);
            }
            view.announce(announcement({StepKind::Answer, entry.ExpressionText, entry.AnswerText, recitation}));
            const bool last = list.CurrentIndex() == list.DrillCount();
            list.moveToNext();
            if (last) {
                // The last answer stays one step; a new interval chosen
                // during the run governs how long.
                applyInterval();
                return;
            }
        }
        if (list.CurrentIndex() > list.DrillCount()) {
            view.showRecitation(std::string(FinishMessage));
            view.announce(announcement({StepKind::Finish, {}, {}, FinishMessage}));
            currentPhase = Phase::Idle;
            if (finish == FinishKind::Timed)
                view.setTimerEnabled(false);
            else
                inStepMode = false;
            return;
        }
        currentPhase = Phase::AnswerJustShown;
    }
    if (currentPhase == Phase::AwaitingQuestion) {
        currentPhase = Phase::AwaitingAnswer;
        ShowQuestion();  // replaces the recitation too
    }
    if (currentPhase == Phase::AnswerJustShown)
        currentPhase = Phase::AwaitingQuestion;
}

void RunStepper::applyInterval()
{
    view.setTimerInterval(interval * 1000);
}
