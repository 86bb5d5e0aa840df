#include "tform4.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The window class on X11, which the menu entry names: fixed here so a
    // renamed binary still matches it.
    QApplication::setApplicationName(QStringLiteral("pimbola"));
    // Lets a desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIMBOLA_APP_ID));
    TForm4 form;
    form.show();
    return application.exec();
}
