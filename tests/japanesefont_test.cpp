#include "japanesefont.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

struct System {
    const char *name;
    QStringList installed;
    const char *chosen;  // empty: none of the Japanese faces
};

void PrintTo(const System &system, std::ostream *out) { *out << system.name; }

class JapaneseFontTest : public testing::TestWithParam<System> {};

TEST_P(JapaneseFontTest, PicksTheFirstFaceOfItsListThatExists)
{
    const QSet<QString> installed(GetParam().installed.begin(), GetParam().installed.end());
    const QString chosen = firstAvailableFamily(JapaneseFamilies, [&](const QString &family) {
        return installed.contains(family);
    });
    EXPECT_EQ(chosen, QString::fromUtf8(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Systems, JapaneseFontTest,
    testing::Values(
        System{"LinuxWithNoto", {"DejaVu Sans", "Noto Sans CJK JP", "Noto Sans CJK KR"}, "Noto Sans CJK JP"},
        System{"Windows11Japanese", {"Segoe UI", "MS UI Gothic", "Meiryo UI", "Yu Gothic UI", "Yu Gothic"}, "Yu Gothic UI"},
        System{"Windows10English", {"Segoe UI", "MS Gothic", "MS UI Gothic", "Yu Gothic", "Yu Gothic UI"}, "Yu Gothic UI"},
        System{"Windows81", {"Segoe UI", "Meiryo", "Meiryo UI", "MS UI Gothic", "Yu Gothic"}, "Meiryo UI"},
        System{"OnlyTheOldestFace", {"Segoe UI", "MS Gothic", "MS UI Gothic"}, "MS UI Gothic"},
        System{"WindowsAndNoto", {"Yu Gothic UI", "Noto Sans CJK JP"}, "Noto Sans CJK JP"},
        System{"NoJapaneseFace", {"DejaVu Sans", "Segoe UI"}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
