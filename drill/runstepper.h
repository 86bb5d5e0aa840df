#pragma once

#include "drilllist.h"
#include "entrytable.h"

#include <cstdint>
#include <functional>
#include <string_view>

class RunView;

enum class Phase : int {
    Idle = 0,
    AwaitingAnswer = -1,
    AwaitingQuestion = -2,
    AnswerJustShown = -3,  // only inside one step
};

enum class FinishKind { Timed, Stepped };

inline constexpr std::string_view FinishMessage = "ぜんぶ　おしまいです";
inline constexpr std::string_view ChantSeparator = "　";

using SeedSource = std::function<std::uint64_t()>;

// A fresh seed from a high-resolution clock, so two runs started within the
// same second still get different shuffles.
std::uint64_t clockSeed();

// Presents a run question then answer, driven by timer ticks or by presses.
class RunStepper {
public:
    RunStepper(RunView &view, const EntryTable &table, SeedSource seeds = clockSeed);

    void Button1Click();
    void Button3Click();
    void Timer1Timer();
    void ListBox1Change();

    Phase phase() const { return currentPhase; }
    bool stepMode() const { return inStepMode; }
    int intervalSeconds() const { return interval; }
    const DrillList &drillList() const { return list; }

private:
    void BuildDrillList();
    void ShowQuestion();
    void AdvanceStep(FinishKind finish);
    void applyInterval();

    RunView &view;
    const EntryTable &table;
    const SeedSource seeds;
    DrillList list;
    Phase currentPhase = Phase::Idle;
    bool inStepMode = false;
    int interval = 0;
};
