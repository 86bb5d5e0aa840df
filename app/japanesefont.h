#pragma once

#include <QStringList>

#include <functional>

class QFont;

// The faces the window's text is set in, best first: Noto Sans CJK JP on
// Linux desktops; on Windows, Yu Gothic UI (8.1 and later), Meiryo UI (Vista
// and 7) and MS UI Gothic (older systems).
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
