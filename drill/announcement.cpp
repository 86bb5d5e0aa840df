#include "announcement.h"

#include <initializer_list>

namespace {

// Shown beside every question, so it belongs to the question's text.
constexpr std::string_view EqualsSign = "＝";
constexpr std::string_view Separator = "　";

std::string joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += Separator;
        text += part;
    }
    return text;
}

} // namespace

std::string announcement(const ShownStep &step)
{
    switch (step.kind) {
    case StepKind::Question:
        if (step.expression.empty())
            return {};
        return joined({step.expression, EqualsSign, step.recitation});
    case StepKind::Answer:
        return joined({step.answer, step.recitation});
    case StepKind::Finish:
        return std::string(step.recitation);
    }
    return {};
}
