#include "announcement.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *name;
    ShownStep step;
    const char *said;
};

const Case Cases[] = {
    {"Question", {StepKind::Question, "３×４", "", ""}, "３×４　＝"},
    {"QuestionRecited", {StepKind::Question, "３×４", "", "さんし"}, "３×４　＝　さんし"},
    {"QuestionOfAnEmptyRun", {StepKind::Question, "", "", ""}, ""},
    {"Answer", {StepKind::Answer, "３×４", "１２", ""}, "１２"},
    {"AnswerRecited", {StepKind::Answer, "３×４", "１２", "さんし　じゅうに"}, "１２　さんし　じゅうに"},
    {"AnswerZero", {StepKind::Answer, "０×０", "０", "れいれいが　れい"}, "０　れいれいが　れい"},
    {"Finish", {StepKind::Finish, "３×９", "２７", "ぜんぶ　おしまいです"}, "ぜんぶ　おしまいです"},
    {"FinishOfAnEmptyRun", {StepKind::Finish, "", "", "ぜんぶ　おしまいです"}, "ぜんぶ　おしまいです"},
};

class AnnouncementTest : public testing::TestWithParam<Case> {};

TEST_P(AnnouncementTest, SaysTheStepInOneText)
{
    EXPECT_EQ(announcement(GetParam().step), GetParam().said);
}

INSTANTIATE_TEST_SUITE_P(Steps, AnnouncementTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Case> &info) { return info.param.name; });

} // namespace
