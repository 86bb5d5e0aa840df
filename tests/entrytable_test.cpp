#include "entrytable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// Full-width digits are U+FF10 + d, three bytes in UTF-8: EF BC 90+d.
std::string fullWidth(const std::string &asciiDigits)
{
    std::string text;
    for (const char digit : asciiDigits)
        text += {'\xEF', '\xBC', static_cast<char>(0x90 + (digit - '0'))};
    return text;
}

bool endsWith(const std::string &text, const std::string &suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class EntryTableTest : public testing::Test {
protected:
    void SetUp() override { FillEntryTable(table); }

    EntryTable table;
};

TEST_F(EntryTableTest, ExpressionAndAnswerFollowTheFactors)
{
    for (int a = 0; a <= 9; ++a) {
        for (int b = 0; b <= 9; ++b) {
            const DrillEntry &entry = table[10 * a + b];
            SCOPED_TRACE(entry.ExpressionText);
            EXPECT_EQ(entry.ExpressionText, fullWidth(std::to_string(a)) + "\u00D7" + fullWidth(std::to_string(b)));
            EXPECT_EQ(entry.AnswerText, fullWidth(std::to_string(a * b)));
        }
    }
}

TEST_F(EntryTableTest, FirstHalfEndsInGaExactlyBelowTen)
{
    for (int index = 0; index < 100; ++index) {
        const int product = (index / 10) * (index % 10);
        EXPECT_EQ(endsWith(table[index].ChantFactors, "が"), product < 10) << table[index].ChantFactors;
    }
}

TEST_F(EntryTableTest, SecondHalfDependsOnTheProductAlone)
{
    std::map<int, std::string> readingOf;
    std::set<std::string> distinctReadings;
    for (int index = 0; index < 100; ++index) {
        const int product = (index / 10) * (index % 10);
        const auto [known, added] = readingOf.emplace(product, table[index].ChantProduct);
        EXPECT_EQ(known->second, table[index].ChantProduct) << "product " << product;
        if (added)
            distinctReadings.insert(table[index].ChantProduct);
    }
    EXPECT_EQ(distinctReadings.size(), readingOf.size()) << "two products read alike";
}

TEST_F(EntryTableTest, EveryFirstHalfIsDistinct)
{
    std::set<std::string> readings;
    for (const DrillEntry &entry : table)
        readings.insert(entry.ChantFactors);
    EXPECT_EQ(readings.size(), 100u);
}

struct KnownEntry {
    int index;
    const char *expression;
    const char *answer;
    const char *factors;
    const char *product;
};

// The irregular readings and the entries at the table's edges.
constexpr KnownEntry KnownEntries[] = {
    {0, "０×０", "０", "れいれいが", "れい"},
    {7, "０×７", "０", "れいしちが", "れい"},
    {10, "１×０", "０", "いんれいが", "れい"},
    {14, "１×４", "４", "いんしが", "し"},
    {19, "１×９", "９", "いんくが", "く"},
    {22, "２×２", "４", "ににんが", "し"},
    {33, "３×３", "９", "さざんが", "く"},
    {34, "３×４", "１２", "さんし", "じゅうに"},
    {36, "３×６", "１８", "さぶろく", "じゅうはち"},
    {38, "３×８", "２４", "さんぱ", "にじゅうし"},
    {43, "４×３", "１２", "しさん", "じゅうに"},
    {48, "４×８", "３２", "しは", "さんじゅうに"},
    {52, "５×２", "１０", "ごに", "じゅう"},
    {59, "５×９", "４５", "ごっく", "しじゅうご"},
    {69, "６×９", "５４", "ろっく", "ごじゅうし"},
    {77, "７×７", "４９", "しちしち", "しじゅうく"},
    {79, "７×９", "６３", "しちく", "ろくじゅうさん"},
    {88, "８×８", "６４", "はっぱ", "ろくじゅうし"},
    {89, "８×９", "７２", "はっく", "しちじゅうに"},
    {99, "９×９", "８１", "くく", "はちじゅういち"},
};

TEST_F(EntryTableTest, KnownEntries)
{
    for (const KnownEntry &known : KnownEntries) {
        SCOPED_TRACE(known.index);
        const DrillEntry &entry = table[known.index];
        EXPECT_EQ(entry, (DrillEntry{known.expression, known.answer, known.factors, known.product}));
    }
}

TEST_F(EntryTableTest, EveryRowOfOneBeginsWithIn)
{
    for (int b = 0; b <= 9; ++b)
        EXPECT_EQ(table[10 + b].ChantFactors.rfind("いん", 0), 0u) << table[10 + b].ChantFactors;
}

} // namespace
