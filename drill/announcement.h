#pragma once

#include <string>
#include <string_view>

enum class StepKind { Question, Answer, Finish };

// What one step of a run has just put on screen.
struct ShownStep {
    StepKind kind;
    std::string_view expression;
    std::string_view answer;
    std::string_view recitation;
};

// The step as one text for a screen reader to say: the question with the
// "＝" beside it ("３×４　＝　さんし"), the answer with its recitation
// ("１２　さんし　じゅうに"), or the finish message. Parts left blank are
// left out; a step with nothing to say gives an empty text.
std::string announcement(const ShownStep &step);
