#include "drilllist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const EntryTable &entries()
{
    static const EntryTable table = [] {
        EntryTable filled;
        FillEntryTable(filled);
        return filled;
    }();
    return table;
}

DrillChoice rows(std::initializer_list<int> chosen, DrillOrder order = DrillOrder::Ascending, bool zero = false)
{
    DrillChoice choice;
    for (const int row : chosen)
        choice.singleRows[row - 1] = true;
    choice.order = order;
    choice.includeTimesZero = zero;
    return choice;
}

DrillChoice allRows(bool fromZero, DrillOrder order = DrillOrder::Ascending, bool zero = false)
{
    DrillChoice choice;
    choice.rowsOneToNine = !fromZero;
    choice.rowsZeroToNine = fromZero;
    choice.order = order;
    choice.includeTimesZero = zero;
    return choice;
}

std::vector<std::string> expressions(const DrillList &list)
{
    std::vector<std::string> texts;
    for (int slot = 1; slot <= list.DrillCount(); ++slot)
        texts.push_back(list.slot(slot).ExpressionText);
    return texts;
}

// The expressions a×b for the given rows and multipliers, in that order.
std::vector<std::string> facts(std::initializer_list<int> rowNumbers, std::vector<int> multipliers)
{
    static const char *const Digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::vector<std::string> texts;
    for (const int row : rowNumbers) {
        for (const int multiplier : multipliers)
            texts.push_back(std::string(Digits[row]) + "×" + Digits[multiplier]);
    }
    return texts;
}

const std::vector<int> Up{1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<int> UpFromZero{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<int> Down{9, 8, 7, 6, 5, 4, 3, 2, 1};
const std::vector<int> DownToZero{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};

struct BuildCase {
    const char *name;
    DrillChoice choice;
    std::vector<std::string> expected;
};

class BuildTest : public testing::TestWithParam<BuildCase> {};

TEST_P(BuildTest, ListsTheChosenFactsInOrder)
{
    DrillList list;
    list.build(GetParam().choice, entries(), 0);
    EXPECT_EQ(expressions(list), GetParam().expected);
    EXPECT_EQ(list.CurrentIndex(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, BuildTest,
    testing::Values(
        BuildCase{"Defaults", allRows(false), facts({1, 2, 3, 4, 5, 6, 7, 8, 9}, Up)},
        BuildCase{"OneToNineWithZero", allRows(false, DrillOrder::Ascending, true),
                  facts({1, 2, 3, 4, 5, 6, 7, 8, 9}, UpFromZero)},
        BuildCase{"ZeroToNine", allRows(true), facts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, Up)},
        BuildCase{"ZeroToNineWithZero", allRows(true, DrillOrder::Ascending, true),
                  facts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, UpFromZero)},
        BuildCase{"ZeroToNineDescending", allRows(true, DrillOrder::Descending),
                  facts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, Down)},
        BuildCase{"RowsTwoAndThreeDescending", rows({2, 3}, DrillOrder::Descending), facts({2, 3}, Down)},
        BuildCase{"SingleRowWithZero", rows({7}, DrillOrder::Ascending, true), facts({7}, UpFromZero)},
        BuildCase{"SingleRowDescendingWithZero", rows({7}, DrillOrder::Descending, true), facts({7}, DownToZero)},
        BuildCase{"SeveralRowsInIncreasingOrder", rows({9, 1, 4}), facts({1, 4, 9}, Up)},
        BuildCase{"NoRow", rows({}), {}},
        BuildCase{"NoRowWithZero", rows({}, DrillOrder::Shuffled, true), {}},
        BuildCase{"OneToNineIgnoresTheOthers",
                  [] {
                      DrillChoice choice = rows({2, 5});
                      choice.rowsOneToNine = choice.rowsZeroToNine = true;
                      return choice;
                  }(),
                  facts({1, 2, 3, 4, 5, 6, 7, 8, 9}, Up)},
        BuildCase{"ZeroToNineIgnoresSingleRows",
                  [] {
                      DrillChoice choice = rows({2, 5});
                      choice.rowsZeroToNine = true;
                      return choice;
                  }(),
                  facts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, Up)}),
    [](const testing::TestParamInfo<BuildCase> &info) { return info.param.name; });

TEST(DrillListTest, LengthsForEveryNumberOfRows)
{
    for (int k = 0; k <= 9; ++k) {
        DrillChoice choice;
        for (int row = 1; row <= k; ++row)
            choice.singleRows[row - 1] = true;
        for (const bool zero : {false, true}) {
            choice.includeTimesZero = zero;
            DrillList list;
            list.build(choice, entries(), 0);
            EXPECT_EQ(list.DrillCount(), (zero ? 10 : 9) * k) << k << " rows";
        }
    }
}

TEST(DrillListTest, SlotsPastTheCountAreEmptyAfterARebuild)
{
    DrillList list;
    list.build(allRows(true, DrillOrder::Ascending, true), entries(), 0);
    ASSERT_EQ(list.DrillCount(), 100);
    EXPECT_EQ(list.slot(100).ExpressionText, "９×９");

    list.build(rows({4}), entries(), 0);
    ASSERT_EQ(list.DrillCount(), 9);
    for (int slot = 10; slot <= DrillList::Capacity; ++slot)
        EXPECT_EQ(list.slot(slot), DrillEntry{}) << slot;
    list.build(rows({}), entries(), 0);
    EXPECT_EQ(list.slot(1), DrillEntry{});
}

TEST(DrillListTest, SlotsCopyTheWholeEntry)
{
    DrillList list;
    list.build(rows({3}, DrillOrder::Descending), entries(), 0);
    EXPECT_EQ(list.slot(1), entries()[39]);
    EXPECT_EQ(list.slot(9), entries()[31]);
}

TEST(DrillListTest, IndexesOutsideTheListReadAsEmpty)
{
    DrillList list;
    list.build(allRows(true, DrillOrder::Ascending, true), entries(), 0);
    EXPECT_EQ(list.slot(0), DrillEntry{});
    EXPECT_EQ(list.slot(101), DrillEntry{});
}

TEST(ShuffleTest, HoldsTheDescendingEntriesEachOnce)
{
    for (const std::uint64_t seed : {1u, 2u, 3u, 977u}) {
        DrillList shuffled, descending;
        shuffled.build(allRows(true, DrillOrder::Shuffled, true), entries(), seed);
        descending.build(allRows(true, DrillOrder::Descending, true), entries(), seed);
        std::vector<std::string> got = expressions(shuffled), want = expressions(descending);
        EXPECT_NE(got, want) << "seed " << seed << " left the list unshuffled";
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << "seed " << seed;
    }
}

TEST(ShuffleTest, SameSeedSameOrderOtherSeedOtherOrder)
{
    DrillList first, again, other;
    first.build(allRows(false, DrillOrder::Shuffled), entries(), 42);
    again.build(allRows(false, DrillOrder::Shuffled), entries(), 42);
    other.build(allRows(false, DrillOrder::Shuffled), entries(), 43);
    EXPECT_EQ(expressions(first), expressions(again));
    EXPECT_NE(expressions(first), expressions(other));
}

// Every entry must be equally likely in every slot. The biased swap (j drawn
// from the whole list each time) puts the entries of a nine-entry list into
// some slots up to a fifth more often than into others, far past this bound.
TEST(ShuffleTest, EveryEntryEquallyLikelyInEverySlot)
{
    constexpr int Builds = 45000;
    constexpr int Size = 9;
    int counts[Size][Size] = {};
    DrillList list;
    for (int seed = 0; seed < Builds; ++seed) {
        list.build(rows({5}, DrillOrder::Shuffled), entries(), static_cast<std::uint64_t>(seed));
        for (int slot = 1; slot <= Size; ++slot) {
            // The last byte of "５×b" is 0x90 + b.
            const int multiplier = static_cast<unsigned char>(list.slot(slot).ExpressionText.back()) - 0x90;
            ++counts[multiplier - 1][slot - 1];
        }
    }
    const double expected = static_cast<double>(Builds) / Size;
    double chiSquare = 0;
    for (const auto &entry : counts) {
        for (const int count : entry)
            chiSquare += (count - expected) * (count - expected) / expected;
    }
    // 64 degrees of freedom: 150 is beyond the one-in-a-billion tail.
    EXPECT_LT(chiSquare, 150.0);
    std::printf("shuffle: %d builds, chi-square %.1f over %d slots\n", Builds, chiSquare, Size * Size);
}

} // namespace
