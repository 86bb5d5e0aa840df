#include "japanesefont.h"

#include <QFont>
#include <QFontDatabase>

#include <algorithm>

QString firstAvailableFamily(const QStringList &preferred, const std::function<bool(const QString &)> &isAvailable)
{
    const auto found = std::find_if(preferred.begin(), preferred.end(), isAvailable);
    return found == preferred.end() ? QString() : *found;
}

QFont japaneseFont(int pixelSize)
{
    QFont font;
    // With none of them, the system's default face and its own fallback
    // for Japanese glyphs are the best there is.
    const QString family = firstAvailableFamily(JapaneseFamilies, [](const QString &name) {
        return QFontDatabase::hasFamily(name);
    });
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pixelSize);
    return font;
}
