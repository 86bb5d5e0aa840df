#pragma once

#include <QStringList>

#include <functional>

class QFont;

// The faces the window's text is set in, best first: Noto Sans CJK JP on
// Linux desktops. The program needs Windows 8.1 or later, and there: Yu
// Gothic UI, Windows 10's and 11's own, on every install; Meiryo UI, 8.1's
// own, which 10 and 11 have only with the Japanese supplemental fonts; and
// MS UI Gothic, on all of them, plain and small, for a system where both are
// gone.
inline const QStringList JapaneseFamilies = {
    QStringLiteral("Noto Sans CJK JP"),
    QStringLiteral("Yu Gothic UI"),
    QStringLiteral("Meiryo UI"),
    QStringLiteral("MS UI Gothic"),
};

// The first of `preferred` that `isAvailable` knows, or an empty string.
QString firstAvailableFamily(const QStringList &preferred, const std::function<bool(const QString &)> &isAvailable);

// The window's font: the first Japanese face this system has, at `pixelSize`.
QFont japaneseFont(int pixelSize);
