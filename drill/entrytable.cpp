#include "entrytable.h"

#include <string_view>

namespace {

constexpr std::string_view FullWidthDigits[10] = {
    "０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

// The first half of each recitation. Euphony makes these irregular
// ("さざんが", "さぶろく", "はっぱ" …), so they are spelled out whole.
constexpr std::string_view FactorReadings[10][10] = {
    {"れいれいが", "れいいちが", "れいにが", "れいさんが", "れいしが",
     "れいごが", "れいろくが", "れいしちが", "れいはちが", "れいくが"},
    {"いんれいが", "いんいちが", "いんにが", "いんさんが", "いんしが",
     "いんごが", "いんろくが", "いんしちが", "いんはちが", "いんくが"},
    {"にれいが", "にいちが", "ににんが", "にさんが", "にしが",
     "にご", "にろく", "にしち", "にはち", "にく"},
    {"さんれいが", "さんいちが", "さんにが", "さざんが", "さんし",
     "さんご", "さぶろく", "さんしち", "さんぱ", "さんく"},
    {"しれいが", "しいちが", "しにが", "しさん", "しし",
     "しご", "しろく", "ししち", "しは", "しく"},
    {"ごれいが", "ごいちが", "ごに", "ごさん", "ごし",
     "ごご", "ごろく", "ごしち", "ごは", "ごっく"},
    {"ろくれいが", "ろくいちが", "ろくに", "ろくさん", "ろくし",
     "ろくご", "ろくろく", "ろくしち", "ろくは", "ろっく"},
    {"しちれいが", "しちいちが", "しちに", "しちさん", "しちし",
     "しちご", "しちろく", "しちしち", "しちは", "しちく"},
    {"はちれいが", "はちいちが", "はちに", "はちさん", "はちし",
     "はちご", "はちろく", "はちしち", "はっぱ", "はっく"},
    {"くれいが", "くいちが", "くに", "くさん", "くし",
     "くご", "くろく", "くしち", "くは", "くく"},
};

// The second half depends on the product alone and is regular: the tens
// as recited ("しじゅう", not "よんじゅう"), then the unit digit.
constexpr std::string_view UnitReadings[10] = {
    "", "いち", "に", "さん", "し", "ご", "ろく", "しち", "はち", "く"};
constexpr std::string_view TensReadings[9] = {
    "", "じゅう", "にじゅう", "さんじゅう", "しじゅう",
    "ごじゅう", "ろくじゅう", "しちじゅう", "はちじゅう"};

std::string productReading(int product)
{
    if (product == 0)
        return "れい";
    std::string reading(TensReadings[product / 10]);
    reading += UnitReadings[product % 10];
    return reading;
}

std::string fullWidthNumber(int value)
{
    std::string text;
    if (value >= 10)
        text += FullWidthDigits[value / 10];
    text += FullWidthDigits[value % 10];
    return text;
}

} // namespace

void FillEntryTable(EntryTable &table)
{
    for (int a = 0; a <= 9; ++a) {
        for (int b = 0; b <= 9; ++b) {
            DrillEntry &entry = table[10 * a + b];
            entry.ExpressionText = std::string(FullWidthDigits[a]) + "×" + std::string(FullWidthDigits[b]);
            entry.AnswerText = fullWidthNumber(a * b);
            entry.ChantFactors = FactorReadings[a][b];
            entry.ChantProduct = productReading(a * b);
        }
    }
}
